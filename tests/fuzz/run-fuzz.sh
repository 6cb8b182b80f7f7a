#!/usr/bin/env bash
# Builds the settings fuzzer with clang straight from the portable sources and runs it for a bounded time.
# Usage: run-fuzz.sh <outdir> <seconds>. New inputs go to <outdir>/corpus, findings to <outdir>/findings;
# the committed corpus beside this script is only read.
set -eu
if [ $# -ne 2 ]; then
  echo "usage: $0 <outdir> <seconds>" >&2
  exit 2
fi
out=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cxx=${FUZZ_CXX:-clang++}
fuzzer=$out/settings_fuzzer
sources=("$root/core/settings_text.cpp" "$here/settings_fuzzer.cpp")
mkdir -p "$out/corpus" "$out/findings"

stale=0
[ -x "$fuzzer" ] || stale=1
for source in "${sources[@]}" "$root/core/settings_text.h"; do
  [ "$source" -nt "$fuzzer" ] && stale=1
done
if [ $stale = 1 ]; then
  "$cxx" -std=c++20 -g -O1 -Wall -Wextra -Wshadow -Werror -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -I"$root" "${sources[@]}" -o "$fuzzer"
fi

"$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -dict="$here/settings.dict" -print_final_stats=1 \
  -artifact_prefix="$out/findings/" "$out/corpus" "$here/corpus"
