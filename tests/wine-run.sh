#!/usr/bin/env bash
# Runs a Windows program under the build tree's own Wine prefix, making the prefix on first use.
# Stand-in DLLs that lie beside the program are loaded instead of Windows' own.
set -eu
exe=$1
shift
build=$(cd "$(dirname "$exe")" && pwd)
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do build=$(dirname "$build"); done
export WINEPREFIX=${TARVELIX_WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"dinput8=n,b;mscoree,mshtml="}
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX"
# Wine's own helper processes outlive the program and inherit its output; going through files
# keeps them from holding the caller's pipes open.
out=$(mktemp)
err=$(mktemp)
rc=0
wine "$exe" "$@" >"$out" 2>"$err" </dev/null || rc=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $rc
