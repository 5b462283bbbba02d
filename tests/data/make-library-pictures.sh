#!/bin/sh
# Makes the PNG, GIF, TIFF, EPS and JPEG test pictures, each from a 13 x 9 source of distinctive pixels, and
# beside each its reference: the raw 8-bit R, G, B, A rows that ImageMagick reads from it (.rgba).
# Needs ImageMagick and libtiff-tools; run from anywhere.
set -eu
cd "$(dirname "$0")"
im=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A 13 x 9 ImageMagick pixel enumeration of the given kind, in 16 bits per sample.
source_picture() {
  awk -v kind="$1" 'BEGIN {
    print "# ImageMagick pixel enumeration: 13,9,65535,srgba"
    for (y = 0; y < 9; y++) for (x = 0; x < 13; x++) {
      r = (x * 5003 + y * 1111 + 77) % 65536; g = (y * 7001 + x * 313 + 1234) % 65536
      b = (x * y * 2999 + 40000) % 65536; a = 65535
      if (kind == "alpha" || kind == "greyalpha") a = ((x + y) % 5) * 16383
      if (kind == "rgb8") { r = int(r / 257) * 257; g = int(g / 257) * 257; b = int(b / 257) * 257 }
      if (kind == "palette" || kind == "key") {
        i = (x * 3 + y * 5) % 7; r = i * 36 * 257; g = (255 - i * 31) * 257; b = (i * i * 5 % 256) * 257
        if (kind == "key" && i == 3) a = 0
      }
      if (kind ~ /^grey/) { v = (x * 4099 + y * 7919) % 65536; r = g = b = v }
      if (kind ~ /^levels/) { n = substr(kind, 7) + 0; v = int(((x + 2 * y) % n) * 65535 / (n - 1)); r = g = b = v }
      if (kind == "greykey") { v = ((x * 19 + y * 23) % 256) * 257; r = g = b = v; if (v == 19 * 257) a = 0 }
      printf "%d,%d: (%d,%d,%d,%d)\n", x, y, r, g, b, a
    }
  }' > "$work/$1.txt"
}

for kind in colour alpha rgb8 palette key grey greyalpha greykey levels2 levels4 levels16; do source_picture "$kind"; done

# reference <picture file>: its .rgba beside it.
reference() { "$im" "$1" -depth 8 "rgba:${1%.*}.rgba"; }

# png <name> <source kind> <colour type> <bit depth> [more ImageMagick options]
png() {
  name=png/$1.png kind=$2 type=$3 depth=$4; shift 4
  "$im" "txt:$work/$kind.txt" -strip "$@" -define png:color-type="$type" -define png:bit-depth="$depth" "$name"
  reference "$name"
}

mkdir -p png gif tiff eps jpeg
png rgba16 alpha 6 16
png rgba8 alpha 6 8
png rgba8-interlaced alpha 6 8 -interlace PNG
png rgb16 colour 2 16
png rgb16-interlaced colour 2 16 -interlace PNG
png rgb8 rgb8 2 8
png rgb8-key key 2 8
png palette8 palette 3 8
png palette4 palette 3 4
png palette4-interlaced palette 3 4 -interlace PNG
png palette2 levels4 3 2
png palette1 levels2 3 1
# ImageMagick writes a palette's transparency (tRNS) only through its PNG8 writer.
"$im" "txt:$work/key.txt" -strip png8:png/palette-key.png
reference png/palette-key.png
png grey1 levels2 0 1
png grey1-interlaced levels2 0 1 -interlace PNG
png grey2 levels4 0 2
png grey4 levels16 0 4
png grey8 grey 0 8
png grey16 grey 0 16
png grey-key greykey 0 8
png greyalpha8 greyalpha 4 8
png greyalpha16 greyalpha 4 16

# gif <name> <source kind> [more ImageMagick options]
gif() {
  name=gif/$1.gif kind=$2; shift 2
  "$im" "txt:$work/$kind.txt" -strip "$@" "$name"
  reference "$name"
}

gif palette palette -alpha off
gif interlaced palette -alpha off -interlace GIF
gif transparent key
# The image at (4, 3) of a 20 x 15 logical screen; the reference is the whole screen.
"$im" "txt:$work/palette.txt" -strip -alpha off -page 20x15+4+3 gif/placed.gif
"$im" gif/placed.gif -background none -flatten -depth 8 rgba:gif/placed.rgba

# tiff <name> <base picture> [tiffcp options]: a copy of a base picture by tiffcp.
tiff() {
  name=tiff/$1.tif base=$work/$2.tif; shift 2
  tiffcp "$@" "$base" "$name"
  reference "$name"
}

# base <name> <source kind> [ImageMagick options]: an uncompressed TIFF to copy from, also kept itself.
base() {
  name=$1 kind=$2; shift 2
  "$im" "txt:$work/$kind.txt" -strip "$@" -compress none "$work/$name.tif"
  tiff "$name" "$name"
}

# float_base <name> <source kind> <bits> [ImageMagick options]: the same with floating-point samples, which
# ImageMagick writes only compressed.
float_base() {
  name=$1 kind=$2 bits=$3; shift 3
  "$im" "txt:$work/$kind.txt" -strip "$@" -depth "$bits" -define quantum:format=floating-point -compress zip \
    "$work/$name-zip.tif"
  tiffcp -c none "$work/$name-zip.tif" "$work/$name.tif"
  tiff "$name" "$name"
}

base rgb8 rgb8 -alpha off -depth 8
base rgba8 alpha -depth 8
base rgb16 colour -alpha off -depth 16
base grey8 grey -alpha off -type grayscale -depth 8
base grey16 grey -alpha off -type grayscale -depth 16
base palette palette -alpha off -depth 8 -type palette
base bilevel levels2 -alpha off -depth 1 -type bilevel
base greyalpha8 greyalpha -type grayscalealpha -depth 8
base greyalpha16 greyalpha -type grayscalealpha -depth 16
base cmyk colour -alpha off -depth 8 -colorspace cmyk
base cmyk16 colour -alpha off -depth 16 -colorspace cmyk
base rgba16 alpha -depth 16
float_base float32 alpha 32
float_base float64 colour 64 -alpha off
float_base greyfloat32 grey 32 -alpha off -type grayscale
tiff rgb8-packbits rgb8 -c packbits
tiff rgb8-lzw rgb8 -c lzw
tiff rgb8-deflate-predictor rgb8 -c zip:2
tiff rgb8-jpeg-ycbcr rgb8 -c jpeg
tiff rgb8-jpeg-rgb rgb8 -c jpeg:r
tiff rgb8-tiles rgb8 -c lzw -t -w 16 -l 16
tiff rgb8-strips rgb8 -c packbits -r 2
tiff rgb8-bigtiff rgb8 -8 -c zip
tiff rgba8-separate rgba8 -p separate -c lzw
tiff rgb16-big-endian rgb16 -B -c lzw:2
tiff palette-lzw palette -c lzw
tiff bilevel-g3 bilevel -c g3
tiff bilevel-g4 bilevel -c g4
tiff grey16-tiles grey16 -t -w 16 -l 16
tiff greyalpha8-tiles greyalpha8 -t -w 16 -l 16 -c lzw
tiff float32-predictor float32 -c zip:3
tiff float64-predictor-tiles float64 -c lzw:3 -t -w 16 -l 16
tiff rgba8-separate-tiles rgba8 -p separate -t -w 16 -l 16

# eps <name>: a DOS EPS file, a short PostScript program with tiff/<name>.tif as its preview, and the TIFF's
# reference (the preview is the picture).
eps() {
  python3 - "tiff/$1.tif" "eps/$1.eps" <<'PY'
import struct, sys
tiff = open(sys.argv[1], "rb").read()
ps = b"%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 13 9\n%%EndComments\nshowpage\n%%EOF\n"
header = struct.pack("<4s6IH", b"\xc5\xd0\xd3\xc6", 30, len(ps), 0, 0, 30 + len(ps), len(tiff), 0xFFFF)
open(sys.argv[2], "wb").write(header + ps + tiff)
PY
  cp "tiff/$1.rgba" "eps/$1.rgba"
}

eps rgb8-lzw
eps grey8

# jpeg <name> <source kind> [ImageMagick options]
jpeg() {
  name=jpeg/$1.jpg kind=$2; shift 2
  "$im" "txt:$work/$kind.txt" -strip -alpha off "$@" "$name"
  reference "$name"
}

jpeg baseline colour -quality 92
jpeg progressive colour -quality 92 -interlace JPEG
jpeg subsampled colour -quality 80 -sampling-factor 2x2
jpeg grey grey -colorspace gray -quality 92
jpeg cmyk colour -colorspace cmyk -quality 92
