#!/bin/sh
# Makes the damaged PNG files of png-damaged/, each a small picture spoiled in one way that a decoder must
# refuse cleanly. Run from tests/data.
set -eu
mkdir -p png-damaged
python3 - <<'PY'
import struct, zlib

def chunk(kind, data, crc=None):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) if crc is None else crc)

def png(width, height, colour_type, rows, palette=None, bit_depth=8):
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0))
    if palette is not None:
        out += chunk(b"PLTE", palette)
    return out + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")

def write(name, data):
    open("png-damaged/" + name, "wb").write(data)

# A 4 x 3 RGB picture, every row with filter type 0.
rgb_rows = b"".join(b"\0" + bytes(range(y * 12, y * 12 + 12)) for y in range(3))
good = png(4, 3, 2, rgb_rows)

# The IHDR chunk's CRC does not match its data.
bad = bytearray(good)
bad[29] ^= 0xFF
write("bad-header-crc.png", bytes(bad))
# The IDAT chunk's CRC does not match its data.
bad = bytearray(good)
idat = good.index(b"IDAT")
length = struct.unpack(">I", good[idat - 4:idat])[0]
bad[idat + 4 + length] ^= 0xFF
write("bad-data-crc.png", bytes(bad))
# Header sizes: no width, no height, more than 2^31 - 1, and a width whose rows overflow 32 bits.
for name, width, height in [("zero-width", 0, 3), ("zero-height", 4, 0), ("width-beyond-2g", 0x80000000, 1),
                            ("huge", 0x7FFFFFFF, 0x7FFFFFFF)]:
    write(name + ".png", png(width, height, 2, rgb_rows))
# A bit depth that the colour type does not allow.
write("bad-bit-depth.png", png(4, 3, 2, rgb_rows, bit_depth=3))
# The compressed data ends in the middle of the second row.
write("truncated-data.png", png(4, 3, 2, rgb_rows[:20]))
# The IDAT chunk itself is cut short, and the file ends there.
write("truncated-chunk.png", good[:idat + 4 + length // 2])
# A row with filter type 5; only 0 to 4 exist.
write("bad-filter-type.png", png(4, 3, 2, rgb_rows[:13] + b"\x05" + rgb_rows[14:]))
# A palette picture of two colours whose pixels use index 7.
write("bad-palette-index.png", png(4, 1, 3, b"\0\0\1\7\1", palette=bytes([255, 0, 0, 0, 0, 255])))
# A palette picture without its palette.
write("missing-palette.png", png(4, 1, 3, b"\0\0\1\0\1"))
PY
