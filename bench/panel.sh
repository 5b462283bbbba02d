#!/usr/bin/env bash
# make bench-panel: the control panel with a collection of 10,000 entries, and the preview of a 6000 x 4000
# JPEG picture against libjpeg-turbo's whole decode, under Wine.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out=$repo/build/bench
cmake --build "$repo/build" --target panel_bench -- --no-print-directory >/dev/null
cd "$out"
[ -f photo-6000x4000.jpg ] || convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x1 -quality 90 photo-6000x4000.jpg
picture=$(echo "Z:$out/photo-6000x4000.jpg" | tr / '\\')
"$repo/tools/with-display.sh" sh -c "
  [ -n '${SKIP_LIST:-}' ] || '$repo/tools/wine-run.sh' '$out/panel_bench.exe' list ${ENTRIES:-10000}
  '$repo/tools/wine-run.sh' '$out/panel_bench.exe' preview '$picture'"
