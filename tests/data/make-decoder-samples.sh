#!/bin/sh
# Makes the small sample pictures of the Targa, PCX, portable map and bitmap decoder tests, each with the
# raw RGBA that ImageMagick decodes from it (<file stem>.rgba) as the reference. Run from tests/data.
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A 7 x 5 picture of distinct colours, and the same with a varying alpha.
python3 - "$tmp" <<'PY'
import sys
w, h = 7, 5
rgb, rgba = bytearray(), bytearray()
for y in range(h):
    for x in range(w):
        p = [(x * 37 + y * 11) % 256, (y * 53 + x * 5) % 256, (x * y * 29 + 17) % 256]
        rgb += bytes(p)
        rgba += bytes(p + [(x * 40 + y * 3) % 256])
open(sys.argv[1] + "/ref.ppm", "wb").write(b"P6\n7 5\n255\n" + rgb)
open(sys.argv[1] + "/alpha.rgba", "wb").write(rgba)
PY
ref="$tmp/ref.ppm"
alpha="-size 7x5 -depth 8 rgba:$tmp/alpha.rgba"

sample() {  # sample <output> <convert arguments...>
  out=$1
  shift
  convert "$@" "$out"
  convert "$out" -depth 8 "rgba:${out%.*}.rgba"
}

# ImageMagick keeps a Targa file's rows in file order and only notes a bottom-left origin, so a bottom-left
# sample is written flipped, to show the source upright, and its reference flipped back.
bottom_up_targa() {  # bottom_up_targa <output> <convert arguments...>
  out=$1
  shift
  convert "$@" -flip "$out"
  convert "$out" -flip -depth 8 "rgba:${out%.*}.rgba"
}

mkdir -p targa pcx ppm bmp probe
bottom_up_targa targa/rgb24.tga "$ref"
sample targa/rgb24-topleft.tga "$ref" -orient TopLeft
bottom_up_targa targa/rgb24-rle.tga "$ref" -compress RLE
bottom_up_targa targa/rgba32.tga $alpha
bottom_up_targa targa/palette.tga "$ref" -type Palette
bottom_up_targa targa/palette-rle.tga "$ref" -type Palette -compress RLE
bottom_up_targa targa/gray.tga "$ref" -colorspace Gray
bottom_up_targa targa/gray-rle.tga "$ref" -colorspace Gray -compress RLE

sample pcx/rgb24.pcx "$ref"
sample pcx/rgba32.pcx $alpha
sample pcx/palette8.pcx "$ref" -type Palette

sample ppm/p1.pbm "$ref" -monochrome -compress none
sample ppm/p2.pgm "$ref" -colorspace Gray -compress none
sample ppm/p3.ppm "$ref" -compress none
sample ppm/p4.pbm "$ref" -monochrome
sample ppm/p5.pgm "$ref" -colorspace Gray
sample ppm/p6.ppm "$ref"
sample ppm/p5-16bit.pgm "$ref" -colorspace Gray -depth 16
sample ppm/p6-16bit.ppm "$ref" -depth 16

sample bmp/rgb24-v3.bmp "$ref" -define bmp:format=bmp3
sample bmp/rgb24-os2.bmp "$ref" -define bmp:format=bmp2
sample bmp/palette8-v3.bmp "$ref" -type Palette -compress None -define bmp:format=bmp3
sample bmp/palette8-os2.bmp "$ref" -type Palette -define bmp:format=bmp2
sample bmp/rle8.bmp "$ref" -type Palette -compress RLE
sample bmp/palette4.bmp "$ref" -colors 16 -type Palette -define bmp:format=bmp3
sample bmp/mono.bmp "$ref" -monochrome -define bmp:format=bmp3
sample bmp/rgb565.bmp "$ref" -define bmp:subtype=RGB565
sample bmp/argb32-v5.bmp $alpha
sample bmp/rgb555-v4.bmp "$ref" -define bmp:subtype=RGB555 -define bmp:format=bmp4

# Files of other formats, for the content tests.
convert "$ref" probe/ref.png
convert "$ref" probe/ref.gif
convert "$ref" probe/ref.tif
convert "$ref" -compress LZW probe/ref-lzw.tif
convert "$ref" probe/ref.jpg
convert "$ref" probe/ref.ico
python3 - <<'PY'
import struct
# A placeable Windows metafile: the placeable header, the metafile header, one end record.
records = struct.pack("<IH", 3, 0)
header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(records)) // 2, 0, 3, 0)
place = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 70, 50, 1440, 0)
checksum = 0
for (word,) in struct.iter_unpack("<H", place):
    checksum ^= word
open("probe/ref.wmf", "wb").write(place + struct.pack("<H", checksum) + header + records)
open("probe/plain.wmf", "wb").write(header + records)
# An enhanced metafile: the header record and the end-of-file record.
eof = struct.pack("<IIIII", 14, 20, 0, 16, 20)
emf = struct.pack("<II4i4iIIIIHHIII2i2i", 1, 88, 0, 0, 6, 4, 0, 0, 185, 132, 0x464D4520, 0x10000,
                  88 + len(eof), 2, 1, 0, 0, 0, 0, 1024, 768, 320, 240)
open("probe/ref.emf", "wb").write(emf + eof)
PY
