#!/usr/bin/env bash
# Builds the fuzz targets with clang straight from the portable sources and runs each for a bounded time.
# Usage: run-fuzz.sh <outdir> <seconds> [settings|pump ...] (both when none is named). New inputs go to
# <outdir>/<target>/corpus, findings to <outdir>/<target>/findings; the committed corpus is only read.
set -eu
out=${1:?outdir}
seconds=${2:?seconds}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings pump)
for target in "${targets[@]}"; do
  fuzzer=$out/$target/${target}_fuzzer
  mkdir -p "$out/$target/corpus" "$out/$target/findings"
  if [ ! -x "$fuzzer" ] || [ -n "$(find "$here"/*.cpp "$here"/*.h "$root/core" -newer "$fuzzer")" ]; then
    "${FUZZ_CXX:-clang++}" -std=c++20 -g -O1 -Wall -Wextra -Wshadow -Werror -fsanitize=fuzzer,address,undefined \
      -fno-sanitize-recover=all -I"$root" "$here/${target}_fuzzer.cpp" "$root"/core/*.cpp -o "$fuzzer"
  fi
  # New inputs go to the first folder given, so the committed corpus comes last.
  options=(-max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 -artifact_prefix="$out/$target/findings/")
  [ -f "$here/$target.dict" ] && options+=(-dict="$here/$target.dict")
  folders=("$out/$target/corpus")
  [ -d "$here/corpus/$target" ] && folders+=("$here/corpus/$target")
  "$fuzzer" "${options[@]}" "${folders[@]}"
done
