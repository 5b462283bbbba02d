#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own 32-bit prefix. ctest uses it as the emulator.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: the program needs neither. No debugger either: a crashing test ends at once
# with a failure instead of waiting in winedbg.
export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

if [ ! -f "$WINEPREFIX/.orlo-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.orlo-ready" ]; then
    wineboot --init >/dev/null 2>&1
    # Wine draws the window frames itself: test displays run no window manager.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    # Georgia, the control panel's heading font, is not among Wine's fonts: a serif of its width stands in.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Georgia /d 'DejaVu Serif Condensed' /f >/dev/null 2>&1
    wineserver --wait
    touch "$WINEPREFIX/.orlo-ready"
  fi
  exec 9>&-
fi
# Wine's own fonts (Marlett draws the title bar's buttons, "MS Sans Serif" the dialogs) are not found where
# Debian installs them: the prefix's font folder gets them.
fonts=$WINEPREFIX/drive_c/windows/Fonts
if [ ! -f "$fonts/marlett.ttf" ] && [ -d /usr/share/wine/fonts ]; then
  cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
fi
exec wine "$@"
