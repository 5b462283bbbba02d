#!/bin/sh
# Makes the pictures whose desktop bitmaps the conversion tests know by checksum: textured photographs of a
# few hundred pixels in the layouts that take different ways through the conversion (JPEG 4:2:0 and
# progressive, PNG RGB, interlaced with alpha, 16-bit grey, palette). Needs ImageMagick; run from anywhere.
# The checksums in tests/engine/conversion_output_tests.cpp belong to these exact files: after remaking them,
# record the new ones.
set -eu
cd "$(dirname "$0")"
im=/usr/bin/convert
mkdir -p conversion
photo="-size 480x320 -seed 11 plasma:fractal -blur 0x1"
$im $photo -attenuate 0.3 +noise Gaussian -quality 85 -sampling-factor 2x2 conversion/photo-420.jpg
$im $photo -resize 300x200! -quality 90 -interlace JPEG conversion/progressive.jpg
$im $photo -resize 320x200! -strip -define png:color-type=2 -define png:bit-depth=8 conversion/photo.png
$im $photo -resize 200x140! -strip \( +clone -fx 'u.r' -negate \) -alpha off -compose copy_opacity -composite \
  -interlace PNG -define png:color-type=6 -define png:bit-depth=8 conversion/interlaced-alpha.png
$im $photo -resize 200x150! -strip -colorspace gray -depth 16 -define png:color-type=0 -define png:bit-depth=16 \
  conversion/grey16.png
$im $photo -resize 240x160! -strip -colors 60 -define png:color-type=3 conversion/palette.png
