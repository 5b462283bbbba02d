#!/usr/bin/env bash
# Writes PNG pictures of the windows into docs/: the shell tests' picture step shows each dialog and asks for
# its picture with a "<name>.want" file holding the window's place; this script takes it from the screen.
# Usage: screenshot-windows.sh <shell_tests.exe> <docs folder>  (inside tools/with-display.sh)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
tests=$(realpath "$1")
docs=$(realpath "$2")
# The windows show their folder's path: the pictures are taken in C:\Muralia, as an installed copy would be.
prefix=${WINEPREFIX:-$repo/build/wineprefix}
[ -d "$prefix/drive_c" ] || "$repo/tools/wine-run.sh" cmd /c exit >/dev/null 2>&1
work=$prefix/drive_c/Muralia
rm -rf "$work" && mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cd "$work"
# The about dialog shows the version of the program file in the folder the pictures are taken in: the
# program's own, not the test program's.
cp "$(dirname "$tests")/orlo.exe" .
# The control panel's collection: pictures made here.
convert -size 1600x1200 -seed 11 plasma:orange-purple sunset.jpg
convert -size 1200x1200 -seed 12 plasma:teal-blue lagoon.png
convert -size 2400x1000 -seed 13 plasma:khaki-sienna dunes.jpg
convert -size 800x600 -seed 14 plasma:green-yellow meadow.jpg
"$repo/tools/wine-run.sh" "$tests" --gtest_also_run_disabled_tests --gtest_filter='*Screenshots.*' >/dev/null &
program=$!
while kill -0 $program 2>/dev/null; do
  for want in *.want; do
    [ -f "$want" ] || continue
    name=${want%.want}
    sleep 0.3  # the last paint reaches the X server
    import -window root -crop "$(cat "$want")" +repage "$name.tmp.png"
    mv "$name.tmp.png" "$docs/$name.png"
    rm "$want"
    echo "screenshot: wrote $docs/$name.png"
  done
  sleep 0.1
done
wait $program
