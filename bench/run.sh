#!/usr/bin/env bash
# make bench: our desktop bitmap conversion (the shipped i686 conversion under Wine, and a native -O2 build of
# the imaging code) against libvips, GraphicsMagick and Pillow, and against libjpeg-turbo's own decode in each
# build, in one run with the rows interleaved (bench/compare.py). RUNS rounds (default 9).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out=$repo/build/bench
runs=${RUNS:-9}

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
missing=()
for p in python3 python3-pil libvips-dev libgraphicsmagick1-dev imagemagick clang pkg-config libjpeg62-turbo-dev \
         libpng-dev libtiff-dev libgif-dev zlib1g-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bench: installing ${missing[*]}"
  sudo_ apt-get update -qq
  DEBIAN_FRONTEND=noninteractive sudo_ apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$out"
cd "$out"
# The pictures: a smooth textured plasma as JPEG (quality 90, ImageMagick's default 4:4:4 sampling) and as
# PNG; a camera-like one with sensor noise and 4:2:0 chroma; and one that the screen scales only mildly
# (ratio below 1.6), which the conversion draws with the halftone StretchBlt.
[ -f photo-6000x4000.jpg ] || convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x1 -quality 90 \
  photo-6000x4000.jpg
[ -f camera-6000x4000.jpg ] || convert photo-6000x4000.jpg -attenuate 0.6 +noise Gaussian -sampling-factor 2x2 \
  -quality 90 camera-6000x4000.jpg
[ -f photo-4000x3000.png ] || convert photo-6000x4000.jpg -resize 4000x3000! photo-4000x3000.png
[ -f photo-1200x750.jpg ] || convert photo-6000x4000.jpg -resize 1200x750! -quality 90 photo-1200x750.jpg
[ -f mild-2560x1600.jpg ] || convert camera-6000x4000.jpg -resize 2560x1600! -sampling-factor 2x2 -quality 90 \
  mild-2560x1600.jpg

# Every bench program is built by CMake, with the project's own flags: the i686 ones in the program's build,
# linked with the shipped libraries; the native ones in a build of their own, optimised and without sanitizers,
# against Debian's libraries.
cmake --build "$repo/build" --target changer_bench list_bench memory_bench -- --no-print-directory >/dev/null
CC=clang CXX=clang++ cmake -S "$repo" -B "$repo/build-bench" -DORLO_BENCH=ON -DCMAKE_BUILD_TYPE=Release \
  -Wno-dev >/dev/null
cmake --build "$repo/build-bench" --target bench-native peers -- --no-print-directory >/dev/null
cp "$repo/build-bench/bench-native" "$repo/build-bench/peers" .

"$repo/tools/with-display.sh" /usr/bin/python3 "$repo/bench/compare.py" "$repo" "$runs"
"$repo/tools/wine-run.sh" list_bench.exe 10000 "$runs"
for job in "photo-6000x4000.jpg center" "photo-6000x4000.jpg stretch" "photo-4000x3000.png center" \
           "photo-4000x3000.png stretch"; do
  echo "memory $job: $("$repo/tools/wine-run.sh" memory_bench.exe $job 1920 1200)"
done
