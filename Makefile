# The README's commands. Each installs what is missing, configures, builds and runs.
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
BUILD := $(CURDIR)/build
export TARVELIX_WINEPREFIX := $(BUILD)/windows/wineprefix
JOBS ?= 2

.PHONY: test soak demo bench screenshot fuzz dist deps build host windows clean

deps:
	@tools/install-deps.sh

host: deps
	@cmake --preset host >/dev/null
	@cmake --build --preset host -j$(JOBS)

windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j$(JOBS)

build: host windows
	@printf 'subdirs("host" "windows")\n' > $(BUILD)/CTestTestfile.cmake

# Every suite in one CTest run: the native tests, the Win32 tests and the end-to-end suite under Wine.
test: build
	@tools/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) --timeout 600

# The end-to-end property run for longer, from a seed of its own or a given one to replay a failure.
SECONDS ?= 600
soak: windows
	@TARVELIX_BUILD=$(BUILD)/windows tools/with-display.sh python3 tests/e2e/property_run.py $(SECONDS) $(SEED)

demo: windows
	@TARVELIX_BUILD=$(BUILD)/windows tools/with-display.sh python3 tools/demo.py

# One table of the release figures: in process under Wine, the real exe from outside, and the native curve
# code. A prefix of its own, so that its Wine server never meets a test run's. All on one core: on a virtual
# machine a wake-up across cores costs tens of microseconds, and every Wine server call pays it twice.
bench: windows
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j$(JOBS)
	@TARVELIX_WINEPREFIX=$(BUILD)/bench/wineprefix taskset -c 0 tools/with-display.sh python3 bench/run_bench.py

clean:
	rm -rf $(BUILD) dist

# A picture of the main window under Wine on a virtual display.
screenshot: windows
	@tools/with-display.sh tools/screenshot.sh $(BUILD)/windows

# Both fuzz targets (the settings reader; the pump's arithmetic and the editor geometry) under libFuzzer,
# each for a bounded time (FUZZ_SECONDS, default 60).
fuzz: deps
	@tests/fuzz/run-fuzz.sh $(BUILD)/fuzz $${FUZZ_SECONDS:-60}

# The release package for Windows users.
dist: windows
	@packaging/make-dist.sh $(BUILD)/windows dist
