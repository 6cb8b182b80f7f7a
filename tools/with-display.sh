#!/usr/bin/env bash
# Runs a command on a private Xvfb display with a persistent Wine server, then stops both,
# so that nothing is left running afterwards. TARVELIX_WINEPREFIX names the prefix; stand-in DLLs that lie
# beside a program are loaded instead of Windows' own.
set -u
: "${TARVELIX_WINEPREFIX:?}"
# The private prefix is made once and reused; later runs find it ready.
(
  set -eu
  mkdir -p "$TARVELIX_WINEPREFIX"
  exec 9>"$TARVELIX_WINEPREFIX.lock"
  flock 9
  [ -f "$TARVELIX_WINEPREFIX/.tarvelix-ready" ] && exit 0
  export WINEPREFIX=$TARVELIX_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i >/dev/null 2>&1
  # A crashing program must end, not wait for someone to close winedbg's dialog.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 0 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # No window manager runs on the virtual display: unmanaged windows close at once instead of waiting 2 s for one.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$TARVELIX_WINEPREFIX/.tarvelix-ready"
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
