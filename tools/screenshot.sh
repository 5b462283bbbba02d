#!/usr/bin/env bash
# Starts a program under Wine, waits for the window titled "Muralia Control Panel" and writes a PNG of it.
# Usage: screenshot.sh <program.exe> <out.png>  (inside tools/with-display.sh)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/wine-run.sh" "$1" >/dev/null 2>&1 &
program=$!
window=
for _ in $(seq 200); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Muralia Control Panel"/ {print $1; exit}')
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshot: no window appeared" >&2; kill $program 2>/dev/null; exit 1; }
sleep 1  # let the window paint
import -window "$window" "$2"
kill $program 2>/dev/null || true
echo "screenshot: wrote $2"
