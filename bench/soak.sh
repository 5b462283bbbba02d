#!/usr/bin/env bash
# make soak: 1,000 wallpaper changes driven by the control panel's timer over five real pictures, with the
# process's handle, GDI and USER object counts and memory every 100 changes (CHANGES to change the count). Two
# of them are large enough that the test screen (1280 x 1024) scales them by more than 1.6: their changes take
# the Lanczos resampler, which reads the JPEG and PNG rows ahead on a second thread.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out=$repo/build/bench
cmake --build "$repo/build" --target soak -- --no-print-directory >/dev/null
cd "$out"
[ -f soak/photo.jpg ] || { mkdir -p soak && convert -size 1600x1200 -seed 3 plasma:fractal -quality 90 soak/photo.jpg; }
[ -f soak/photo.png ] || convert -size 1200x900 -seed 5 plasma:fractal soak/photo.png
[ -f soak/camera.jpg ] || convert soak/photo.jpg -attenuate 0.6 +noise Gaussian -sampling-factor 2x2 -quality 90 \
  soak/camera.jpg
[ -f soak/large.jpg ] || convert -size 4000x3000 -seed 11 plasma:fractal -quality 90 soak/large.jpg
[ -f soak/large.png ] || convert -size 2600x2000 -seed 13 plasma:fractal soak/large.png
folder=$(echo "Z:$out/soak/" | tr / '\\')
"$repo/tools/with-display.sh" "$repo/tools/wine-run.sh" "$out/soak.exe" "$folder" "${CHANGES:-1000}"
