#!/usr/bin/env bash
# Runs a command with one X display and one persistent wineserver for all the Wine starts inside it.
# Uses the caller's DISPLAY when there is one, else an Xvfb of its own that it stops at the end.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
export WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}

xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.05; done
fi

# Create the prefix before the server starts, then keep the server warm for the whole run.
"$repo/tools/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1
wineserver -p
"$@"
status=$?
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit $status
