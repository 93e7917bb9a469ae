#!/usr/bin/python3
"""Writes the small picture fixtures of the decoder tests into tests/fixtures/.

Usage: /usr/bin/python3 tools/make_fixtures.py

The files are written byte by byte with zlib and struct, so they are the same on every run.
When Pillow is present (Debian's python3-pil, for /usr/bin/python3) every file is read back
with it and compared with the pixels it was made from, so a fault in this writer cannot
hide behind the same fault in our decoder.

The pixel formulas are repeated in tests/unit/picture_decode_test.cpp: change both together.
"""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "tests", "fixtures")


# --- Pixels (the same formulas as in the test) ----------------------------------------------

def adam7_rgba(x, y):
    return ((x * 29 + y * 7) & 255, (x * 11 + y * 37 + 5) & 255,
            (x * x + y * 53) & 255, (x * 17 + y * 31 + 9) & 255)


PALETTE = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (250, 240, 10), (12, 34, 56), (200, 100, 50)]
PALETTE_ALPHA = [255, 128, 0]  # entries 3 and up are opaque


def palette_index(x, y):
    return (x + 2 * y) % len(PALETTE)


def gray16(x, y):
    return ((x * 40 + y * 70) % 256) * 257


RGB8_TRANSPARENT = (10, 200, 30)


def rgb8(x, y):
    return RGB8_TRANSPARENT if (x + y) % 3 == 0 else ((x * 40) & 255, (y * 60) & 255, 99)


def rgb8_rgba(x, y):
    return rgb8(x, y) + (0 if rgb8(x, y) == RGB8_TRANSPARENT else 255,)


def bmp_rgb(x, y):
    return ((x * 50 + 7) & 255, (y * 80 + 3) & 255, (x * 13 + y * 29) & 255)


def bmp_rgba(x, y):
    r, g, b = bmp_rgb(x, y)
    return (r, g, b, (x * 60 + y * 90 + 15) & 255)


# --- PNG ------------------------------------------------------------------------------------

def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_file(width, height, bit_depth, colour_type, interlace, raw, extra=b""):
    ihdr = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def pack_row(samples, bit_depth):
    """Packs sample values of one row into bytes (filter byte not included)."""
    if bit_depth == 8:
        return bytes(samples)
    if bit_depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    per_byte = 8 // bit_depth
    out = bytearray()
    for i in range(0, len(samples), per_byte):
        byte = 0
        for j in range(per_byte):
            s = samples[i + j] if i + j < len(samples) else 0
            byte |= s << (8 - bit_depth * (j + 1))
        out.append(byte)
    return bytes(out)


def sub_filter(row, bpp):
    """Filter type 1 (Sub), so the decoder's unfiltering is part of what is checked."""
    return bytes([1]) + bytes((row[i] - (row[i - bpp] if i >= bpp else 0)) & 255
                              for i in range(len(row)))


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def adam7_raw(width, height, samples_at, bit_depth, bpp):
    raw = bytearray()
    for x0, y0, dx, dy in ADAM7:
        xs = range(x0, width, dx)
        ys = range(y0, height, dy)
        if not xs or not ys:
            continue  # an empty pass has no rows at all, not even filter bytes
        for y in ys:
            row = pack_row([s for x in xs for s in samples_at(x, y)], bit_depth)
            raw += sub_filter(row, bpp)
    return bytes(raw)


def plain_raw(width, height, samples_at, bit_depth, bpp):
    raw = bytearray()
    for y in range(height):
        row = pack_row([s for x in range(width) for s in samples_at(x, y)], bit_depth)
        raw += sub_filter(row, bpp)
    return bytes(raw)


# --- BMP ------------------------------------------------------------------------------------

def bmp24_bottom_up(width, height):
    stride = (24 * width + 31) // 32 * 4
    rows = b""
    for y in reversed(range(height)):
        row = b"".join(bytes((b, g, r)) for r, g, b in (bmp_rgb(x, y) for x in range(width)))
        rows += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    header = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


def bmp32_v5_top_down(width, height):
    """124-byte header, BI_BITFIELDS with the usual masks and an alpha mask, rows top-down."""
    rows = b"".join(bytes((b, g, r, a)) for y in range(height) for x in range(width)
                    for r, g, b, a in [bmp_rgba(x, y)])
    info = struct.pack("<IiiHHIIiiII", 124, width, -height, 1, 32, 3, len(rows), 2835, 2835, 0, 0)
    info += struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    info += b"sRGB"[::-1] + b"\0" * (124 - len(info) - 4)
    assert len(info) == 124
    header = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


# --- The fixtures ---------------------------------------------------------------------------

def fixtures():
    w, h = 9, 7
    yield ("rgba_adam7_9x7.png",
           png_file(w, h, 8, 6, 1, adam7_raw(w, h, adam7_rgba, 8, 4)),
           [[adam7_rgba(x, y) for x in range(w)] for y in range(h)])

    w, h = 5, 4
    plte = b"".join(bytes(c) for c in PALETTE)
    extra = chunk(b"PLTE", plte) + chunk(b"tRNS", bytes(PALETTE_ALPHA))
    yield ("palette4_trns_5x4.png",
           png_file(w, h, 4, 3, 0, plain_raw(w, h, lambda x, y: [palette_index(x, y)], 4, 1),
                    extra),
           [[PALETTE[palette_index(x, y)] +
             (PALETTE_ALPHA[palette_index(x, y)] if palette_index(x, y) < len(PALETTE_ALPHA)
              else 255,) for x in range(w)] for y in range(h)])

    w, h = 6, 3
    # Pillow keeps 16-bit grey as 16-bit samples: it is compared with those.
    yield ("gray16_6x3.png",
           png_file(w, h, 16, 0, 0, plain_raw(w, h, lambda x, y: [gray16(x, y)], 16, 2)),
           [[(gray16(x, y) >> 8,) * 3 + (255,) for x in range(w)] for y in range(h)],
           [[gray16(x, y) for x in range(w)] for y in range(h)])

    # 8-bit RGB with one colour made transparent by a tRNS chunk: outside a palette, where
    # expanding the palette does not bring the transparency along.
    w, h = 6, 4
    yield ("rgb8_trns_6x4.png",
           png_file(w, h, 8, 2, 0, plain_raw(w, h, rgb8, 8, 3),
                    chunk(b"tRNS", struct.pack(">HHH", *RGB8_TRANSPARENT))),
           [[rgb8_rgba(x, y) for x in range(w)] for y in range(h)])

    w, h = 5, 3
    yield ("rgb24_bottom_up_5x3.bmp", bmp24_bottom_up(w, h),
           [[bmp_rgb(x, y) + (255,) for x in range(w)] for y in range(h)])

    w, h = 4, 3
    yield ("rgba32_v5_top_down_4x3.bmp", bmp32_v5_top_down(w, h),
           [[bmp_rgba(x, y) for x in range(w)] for y in range(h)])


def check_with_pillow(path, expected, native):
    try:
        from PIL import Image
    except ImportError:
        print("  (Pillow not found: not cross-checked)")
        return
    with Image.open(path) as image:
        if native is not None:
            image.load()
            rgba, expected = image, native
        else:
            rgba = image.convert("RGBA")
        got = [[rgba.getpixel((x, y)) for x in range(rgba.width)] for y in range(rgba.height)]
    if got != expected:
        sys.exit(f"{path}: Pillow reads other pixels than were written:\n{got}\n{expected}")


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data, expected, *native in fixtures():
        path = os.path.join(OUT, name)
        with open(path, "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")
        check_with_pillow(path, expected, native[0] if native else None)


if __name__ == "__main__":
    main()
