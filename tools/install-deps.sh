#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian or Ubuntu machine, when it is missing.
# fonts-noto-core gives the Wine prefix a message font shaped like Windows' own (tools/with-display.sh).
set -u
packages="cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xdotool imagemagick x11-apps zip python3
  fonts-noto-core"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
line="apt-get install -y --no-install-recommends$missing"
if [ "$(id -u)" != 0 ]; then
  echo "Missing packages. Run as root: apt-get update && $line" >&2
  exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null && $line >/dev/null || { echo "apt-get failed" >&2; exit 1; }
