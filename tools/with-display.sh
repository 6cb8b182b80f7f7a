#!/usr/bin/env bash
# Runs a command on a private Xvfb display with a persistent Wine server, then stops both,
# so that nothing is left running afterwards. TARVELIX_WINEPREFIX names the prefix; stand-in DLLs that lie
# beside a program are loaded instead of Windows' own.
set -u
: "${TARVELIX_WINEPREFIX:?}"
# What the prefix stands in for, beyond Wine's defaults. Windows 10's message font is Segoe UI 9 pt (tmHeight 16
# at 96 DPI); Noto Sans at -12 is the open font closest to it (tmHeight 17) and leaves every caption whole. Wine's
# own choice hangs on the fonts installed: DejaVu Sans (13) is wider for its height and clips some captions.
# Windows 10 paints the menu colour (the window's background) and the button face alike, 240 240 240, where Wine
# paints the menu white; its links are 0 102 204, where Wine's theme has a pale grey that hides the About dialog's
# link. Then the rig's own: a crashing program ends instead of waiting for someone to close winedbg's dialog, and
# with no window manager on the virtual display, unmanaged windows close at once instead of waiting 2 s for one.
message_font=$(python3 -c 'import struct
font = struct.pack("<5i8B", -12, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0) + "Noto Sans".encode("utf-16-le").ljust(64, b"\0")
print(",".join("%02x" % b for b in font))')
prefix_settings='Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]
"MessageFont"=hex:'"$message_font"'

[HKEY_CURRENT_USER\Control Panel\Colors]
"Menu"="240 240 240"
"ButtonFace"="240 240 240"
"HotTrackingColor"="0 102 204"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="0"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
'
# The private prefix is made once and reused. Its marker holds a digest of the settings above: a prefix made
# before they or Wine last changed takes them at its next run, so an existing build sees what a new one sees.
stamp=$({ printf '%s' "$prefix_settings"; wine --version 2>/dev/null; } | sha1sum | cut -d' ' -f1)
(
  set -eu
  mkdir -p "$TARVELIX_WINEPREFIX"
  exec 9>"$TARVELIX_WINEPREFIX.lock"
  flock 9
  marker=$TARVELIX_WINEPREFIX/.tarvelix-ready
  [ "$(cat "$marker" 2>/dev/null)" = "$stamp" ] && exit 0
  export WINEPREFIX=$TARVELIX_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # wineboot returns before all it started has written the registry: waited for, so that nothing of its overwrites
  # the settings below.
  [ -f "$marker" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
  settings=$(mktemp --suffix=.reg)
  printf '%s' "$prefix_settings" >"$settings"
  wine regedit /S "$(winepath -w "$settings")" >/dev/null 2>&1
  rm -f "$settings"
  wineserver -w
  echo "$stamp" >"$marker"
) || exit 1
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$fdfile")"
rm -f "$fdfile"
export WINEPREFIX=$TARVELIX_WINEPREFIX WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"dinput8=n,b;mscoree,mshtml="}
wineserver -p
# Wine's helper processes start with the first program and inherit its output: started here, they hold no
# caller's pipes open.
wine cmd /c exit >/dev/null 2>&1 </dev/null
"$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $rc
