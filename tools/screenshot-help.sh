#!/usr/bin/env bash
# Opens a help file in Wine's help viewer at its contents topic and writes a PNG of the viewer's window.
# Usage: screenshot-help.sh <file.hlp> <out.png>  (inside tools/with-display.sh)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
# The viewer's title names the file's path: the file is opened from C:\Muralia, as an installed copy would be,
# not from the build folder.
prefix=${WINEPREFIX:-$repo/build/wineprefix}
[ -d "$prefix/drive_c" ] || "$repo/tools/wine-run.sh" cmd /c exit >/dev/null 2>&1
mkdir -p "$prefix/drive_c/Muralia"
cp "$1" "$prefix/drive_c/Muralia/orlo.hlp"
help_file='C:\Muralia\orlo.hlp'
"$repo/tools/wine-run.sh" winhlp32 "$help_file" >/dev/null 2>&1 &
viewer=$!
window=
for _ in $(seq 200); do
  # The viewer names its window after the file's title: "Muralia Help Wine Help - <path>".
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Muralia Help / {print $1; exit}')
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshot-help: no viewer window appeared" >&2; kill $viewer 2>/dev/null; exit 1; }
sleep 1  # let the window paint
import -window "$window" "$2"
kill $viewer 2>/dev/null || true
rm -rf "$prefix/drive_c/Muralia"
echo "screenshot-help: wrote $2"
