#!/usr/bin/env bash
# make demo: runs the demo against the given Windows build folder (inside tests/with-display.sh).
set -eu
export TARVELIX_BUILD=$(cd "${1:?windows build folder}" && pwd)
exec python3 "$(dirname "$0")/demo.py"
