#!/usr/bin/env python3
"""Converts uncompressed 24-bit BMP files to PNG, with the standard library only.

    bmp2png.py IN.bmp OUT.png
    bmp2png.py -d OUT_DIR IN.bmp...     (OUT_DIR/NAME.png for each)
"""
import os
import struct
import sys
import zlib


class BmpError(ValueError):
    pass


def read_bmp24(data):
    """Returns (width, height, rows) with rows top-down as RGB bytes."""
    if len(data) < 54 or data[:2] != b"BM":
        raise BmpError("not a BMP file")
    offset, = struct.unpack_from("<I", data, 10)
    header_size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if header_size < 40 or planes != 1:
        raise BmpError("unsupported BMP header")
    if bits != 24 or compression != 0:
        raise BmpError("only uncompressed 24-bit BMPs are supported (got %d bits, compression %d)"
                       % (bits, compression))
    bottom_up = height > 0
    height = abs(height)
    if width <= 0 or height == 0:
        raise BmpError("empty image")
    stride = (width * 3 + 3) & ~3
    if offset + stride * height > len(data):
        raise BmpError("pixel data truncated")
    rows = []
    for y in range(height):
        start = offset + stride * (height - 1 - y if bottom_up else y)
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3] = bgr[2::3]
        rgb[1::3] = bgr[1::3]
        rgb[2::3] = bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def png_bytes(width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 on every row
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def convert(src, dst):
    with open(src, "rb") as f:
        width, height, rows = read_bmp24(f.read())
    with open(dst, "wb") as f:
        f.write(png_bytes(width, height, rows))


def main(argv):
    try:
        if len(argv) >= 3 and argv[0] == "-d":
            for src in argv[2:]:
                name = os.path.splitext(os.path.basename(src))[0] + ".png"
                convert(src, os.path.join(argv[1], name))
        elif len(argv) == 2:
            convert(argv[0], argv[1])
        else:
            sys.stderr.write(__doc__)
            return 2
    except (OSError, BmpError) as e:
        sys.stderr.write("bmp2png: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
