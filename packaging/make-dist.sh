#!/usr/bin/env bash
# Builds the release zip for Windows users from a Windows build folder:
#   packaging/make-dist.sh <windows-build-dir> <output-dir>
# The version comes from the build, and must be the one the exe's version resource and About dialog carry.
set -eu
build=$(cd "${1:?windows build folder}" && pwd)
out=${2:?output folder}
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build" >&2; exit 1; }
exe=$build/Tarvelix.exe
if ! strings -el "$exe" | grep -qx "Tarvelix, Version $version"; then
  echo "Tarvelix.exe does not say version $version in its About dialog" >&2
  exit 1
fi
if [ "$(strings -el "$exe" | grep -A1 -x FileVersion | tail -n1)" != "$version" ]; then
  echo "Tarvelix.exe's version resource is not $version" >&2
  exit 1
fi
mkdir -p "$out"
zip=$(cd "$out" && pwd)/Tarvelix-$version-win64.zip
python3 - "$zip" "$version" "$exe" "$root" <<'PY'
import sys, zipfile
from pathlib import Path
zip_path, version, exe, root = sys.argv[1], sys.argv[2], Path(sys.argv[3]), Path(sys.argv[4])
folder = f"Tarvelix-{version}/"
readme = (root / "packaging" / "README.txt").read_text().replace("@VERSION@", version)
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as z:
    z.write(exe, folder + "Tarvelix.exe")
    z.writestr(folder + "README.txt", readme.replace("\n", "\r\n"))
    z.writestr(folder + "LICENSE.txt", (root / "LICENSE").read_text().replace("\n", "\r\n"))
PY
echo "$zip"
