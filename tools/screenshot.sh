#!/usr/bin/env bash
# Pictures of the main window and the About dialog under Wine, for a person to look at.
# Usage: tools/screenshot.sh <windows-build-dir>; needs DISPLAY and TARVELIX_WINEPREFIX
# (tools/with-display.sh sets both and ends the Wine server afterwards).
set -eu
build=$(cd "${1:?windows build folder}" && pwd)
: "${DISPLAY:?}" "${TARVELIX_WINEPREFIX:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
shots=$root/build/screenshots
mkdir -p "$shots"

# A scratch folder with the program and the stand-ins, so no real simulator or controller is needed.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$build/Tarvelix.exe" "$scratch/"
for dll in SimConnect.dll dinput8.dll; do
  [ -f "$build/tests/bin/$dll" ] && cp "$build/tests/bin/$dll" "$scratch/"
done

export WINEPREFIX=$TARVELIX_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="dinput8=n,b;mscoree,mshtml="
(cd "$scratch" && exec wine Tarvelix.exe >/dev/null 2>&1 </dev/null) &

# The window of the given title, once it is mapped.
wait_for_window() {
  local id=""
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "no window named $1" >&2; return 1; }
  echo "$id"
}

main=$(wait_for_window Tarvelix)
sleep 2  # the start-up settings and the first paints
import -window root -crop 700x500+0+0 "$shots/main.png"
echo "$shots/main.png"

xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --window "$main" alt+question
about=$(wait_for_window "About Tarvelix")
sleep 1
import -window root -crop 700x500+0+0 "$shots/about.png"
echo "$shots/about.png"
# Escape closes the dialog at once, so the key's release may find its window gone.
xdotool key --window "$about" Escape 2>/dev/null || true
