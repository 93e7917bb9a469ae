#!/usr/bin/env python3
"""Generates the artwork shipped with 墨鸢截图工具.

Run from the repository root:

    python3 tools/make_art.py

Writes
  forms/art/banner.png  600x300 RGBA, Adam7-interlaced PNG (about-box banner)
  forms/art/app.ico     one 64x64 32-bit BMP-style icon entry (application icon)

Both files are encoded here by hand (zlib + struct): Pillow cannot write
interlaced PNGs, and its ICO writer may store PNG-compressed entries, while the
icon must be a classic BITMAPINFOHEADER entry with an AND mask.  Pillow is only
used to rasterise shapes and CJK text.  The output is deterministic for a given
Pillow/FreeType and font file.
"""

import os
import struct
import sys
import zlib

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    # A private interpreter (pyenv, venv) may lack Pillow while the system
    # one has python3-pil; hand over to it once.
    system_python = "/usr/bin/python3"
    if (os.environ.get("MAKE_ART_REEXEC") != "1" and os.path.exists(system_python)
            and os.path.realpath(sys.executable) != os.path.realpath(system_python)):
        os.environ["MAKE_ART_REEXEC"] = "1"
        os.execv(system_python, [system_python] + sys.argv)
    sys.exit("make_art: Pillow is not available (install python3-pil)")


FONT_CANDIDATES = (
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
    "/usr/share/fonts/wqy-zenhei/wqy-zenhei.ttc",
    "/usr/share/fonts/truetype/wqy-zenhei/wqy-zenhei.ttc",
)

# Banner layout: a 2x2 checkerboard of fields split at (SPLIT_X, SPLIT_Y).
BANNER_W, BANNER_H = 600, 300
SPLIT_X, SPLIT_Y = 327, 145
GREY_BLUE = (178, 199, 207, 255)  # top-left and bottom-right
SKY_BLUE = (93, 195, 233, 227)    # top-right and bottom-left
WHITE = (255, 255, 255)

TITLE = "墨鸢截图工具"
TITLE_SIZE = 40
TITLE_ORIGIN = (42, 48)     # top-left field

CREDIT = "作者：墨鸢"
CREDIT_SIZE = 26
CREDIT_ORIGIN = (400, 206)  # bottom-right field


def find_font():
    override = os.environ.get("MOYUAN_CJK_FONT")
    for path in ((override,) if override else ()) + FONT_CANDIDATES:
        if path and os.path.isfile(path):
            return path
    sys.exit("make_art: CJK font not found (looked for %s); install fonts-wqy-zenhei "
             "or point MOYUAN_CJK_FONT at a font with Chinese glyphs"
             % ", ".join(FONT_CANDIDATES))


# ---------------------------------------------------------------- PNG writer

ADAM7 = (  # (x0, y0, dx, dy) of each interlace pass
    (0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4),
    (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2),
)


def png_chunk(kind, data):
    crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_row(row, prev, bpp):
    """Return the filtered row (with its type byte) that looks cheapest to
    deflate, using the usual minimum-sum-of-absolute-differences rule."""
    n = len(row)
    left = bytes(bpp) + row[:n - bpp] if n > bpp else bytes(n)
    upleft = bytes(bpp) + prev[:n - bpp] if n > bpp else bytes(n)
    candidates = [
        bytes(row),
        bytes((row[i] - left[i]) & 0xFF for i in range(n)),
        bytes((row[i] - prev[i]) & 0xFF for i in range(n)),
        bytes((row[i] - ((left[i] + prev[i]) >> 1)) & 0xFF for i in range(n)),
        bytes((row[i] - paeth(left[i], prev[i], upleft[i])) & 0xFF for i in range(n)),
    ]
    best_type, best_cost = 0, None
    for ftype, data in enumerate(candidates):
        cost = sum(v if v < 128 else 256 - v for v in data)
        if best_cost is None or cost < best_cost:
            best_type, best_cost = ftype, cost
    return bytes((best_type,)) + candidates[best_type]


def encode_png_adam7(image):
    """Encode an RGBA Pillow image as an 8-bit RGBA, Adam7-interlaced PNG."""
    image = image.convert("RGBA")
    width, height = image.size
    raw = image.tobytes()
    stride = width * 4
    stream = bytearray()
    for x0, y0, dx, dy in ADAM7:
        pass_w = (width - x0 + dx - 1) // dx if width > x0 else 0
        pass_h = (height - y0 + dy - 1) // dy if height > y0 else 0
        if pass_w == 0 or pass_h == 0:
            continue  # empty passes contribute no rows, not even filter bytes
        prev = bytes(pass_w * 4)
        for y in range(y0, height, dy):
            line = raw[y * stride:(y + 1) * stride]
            row = bytearray(pass_w * 4)
            for i, x in enumerate(range(x0, width, dx)):
                row[i * 4:i * 4 + 4] = line[x * 4:x * 4 + 4]
            row = bytes(row)
            stream += filter_row(row, prev, 4)
            prev = row
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 1)  # RGBA, Adam7
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(bytes(stream), 9))
            + png_chunk(b"IEND", b""))


# ---------------------------------------------------------------- ICO writer

def encode_ico_bmp32(image):
    """Encode one RGBA image (at most 256x256) as a single-entry .ico with a
    classic DIB payload: BITMAPINFOHEADER (double height), bottom-up BGRA
    rows, then a 1-bpp AND mask whose rows are padded to 32 bits."""
    image = image.convert("RGBA")
    width, height = image.size
    px = image.load()

    xor = bytearray()
    for y in range(height - 1, -1, -1):
        for x in range(width):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))

    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(width):
            if px[x, y][3] == 0:  # fully transparent: set the AND bit
                row[x >> 3] |= 0x80 >> (x & 7)
        mask += row

    dib = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                      len(xor) + len(mask), 0, 0, 0, 0) + bytes(xor) + bytes(mask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                        len(dib), 6 + 16)
    return header + entry + dib


# ---------------------------------------------------------------- artwork

def field_colour(x, y):
    left, top = x < SPLIT_X, y < SPLIT_Y
    return GREY_BLUE if left == top else SKY_BLUE


def draw_text_over_field(image, origin, text, font):
    """Composite white text onto the banner: full glyph coverage becomes
    exact white, edges blend with the field colour, alpha stays the field's."""
    mask = Image.new("L", image.size, 0)
    ImageDraw.Draw(mask).text(origin, text, fill=255, font=font)
    bbox = mask.getbbox()
    px, mpx = image.load(), mask.load()
    for y in range(bbox[1], bbox[3]):
        for x in range(bbox[0], bbox[2]):
            cov = mpx[x, y]
            if cov == 0:
                continue
            r, g, b, a = px[x, y]
            blend = tuple((c * (255 - cov) + w * cov + 127) // 255
                          for c, w in zip((r, g, b), WHITE))
            px[x, y] = blend + (a,)
    return bbox


def make_banner(font_path):
    image = Image.new("RGBA", (BANNER_W, BANNER_H))
    draw = ImageDraw.Draw(image)
    draw.rectangle((0, 0, SPLIT_X - 1, SPLIT_Y - 1), fill=GREY_BLUE)
    draw.rectangle((SPLIT_X, 0, BANNER_W - 1, SPLIT_Y - 1), fill=SKY_BLUE)
    draw.rectangle((0, SPLIT_Y, SPLIT_X - 1, BANNER_H - 1), fill=SKY_BLUE)
    draw.rectangle((SPLIT_X, SPLIT_Y, BANNER_W - 1, BANNER_H - 1), fill=GREY_BLUE)

    title_font = ImageFont.truetype(font_path, TITLE_SIZE, index=0)
    credit_font = ImageFont.truetype(font_path, CREDIT_SIZE, index=0)
    boxes = (
        ("title", draw_text_over_field(image, TITLE_ORIGIN, TITLE, title_font),
         (0, 0, SPLIT_X, SPLIT_Y)),
        ("credit", draw_text_over_field(image, CREDIT_ORIGIN, CREDIT, credit_font),
         (SPLIT_X, SPLIT_Y, BANNER_W, BANNER_H)),
    )
    # Keep both texts clear of their field's edges.
    margin = 15
    for name, (x0, y0, x1, y1), (fx0, fy0, fx1, fy1) in boxes:
        if x0 < fx0 + margin or y0 < fy0 + margin or x1 > fx1 - margin or y1 > fy1 - margin:
            sys.exit("make_art: %s text box %r is too close to its field %r"
                     % (name, (x0, y0, x1, y1), (fx0, fy0, fx1, fy1)))
    return image, dict((name, box) for name, box, _ in boxes)


def make_icon():
    """64x64 capture icon, drawn at 4x and box-filtered down for smooth edges:
    a sky-blue rounded tile, a white dashed selection rectangle and a red
    handle on its lower-right corner."""
    s = 4
    size = 64 * s
    big = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    d.rounded_rectangle((2 * s, 2 * s, 62 * s - 1, 62 * s - 1), radius=12 * s,
                        fill=(40, 150, 215, 255))
    d.rounded_rectangle((4 * s, 4 * s, 60 * s - 1, 60 * s - 1), radius=10 * s,
                        fill=(93, 195, 233, 255))

    # Dashed selection rectangle.
    x0, y0, x1, y1 = 14 * s, 16 * s, 48 * s, 46 * s
    t = 3 * s
    dash, gap = 6 * s, 4 * s
    white = (255, 255, 255, 255)

    def hdash(y, xa, xb):
        x = xa
        while x < xb:
            d.rectangle((x, y, min(x + dash, xb) - 1, y + t - 1), fill=white)
            x += dash + gap

    def vdash(x, ya, yb):
        y = ya
        while y < yb:
            d.rectangle((x, y, x + t - 1, min(y + dash, yb) - 1), fill=white)
            y += dash + gap

    hdash(y0, x0, x1 + t)
    hdash(y1, x0, x1 + t)
    vdash(x0, y0, y1 + t)
    vdash(x1, y0, y1 + t)

    # Corner marks on the other three corners, red handle bottom-right.
    for cx, cy in ((x0, y0), (x1, y0), (x0, y1)):
        d.rectangle((cx, cy, cx + t - 1, cy + t - 1), fill=white)
    d.rectangle((x1 - 3 * s, y1 - 3 * s, x1 + t + 3 * s - 1, y1 + t + 3 * s - 1),
                fill=(226, 48, 48, 255))
    d.rectangle((x1 - 2 * s, y1 - 2 * s, x1 + t + 2 * s - 1, y1 + t + 2 * s - 1),
                fill=(240, 70, 60, 255))

    return big.resize((64, 64), Image.BOX)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = os.path.join(root, "forms", "art")
    font_path = find_font()
    os.makedirs(out_dir, exist_ok=True)

    banner, boxes = make_banner(font_path)
    banner_path = os.path.join(out_dir, "banner.png")
    with open(banner_path, "wb") as f:
        f.write(encode_png_adam7(banner))

    icon_path = os.path.join(out_dir, "app.ico")
    with open(icon_path, "wb") as f:
        f.write(encode_ico_bmp32(make_icon()))

    for name, box in sorted(boxes.items()):
        print("make_art: %s text box x %d..%d, y %d..%d"
              % (name, box[0], box[2] - 1, box[1], box[3] - 1))
    for path in (banner_path, icon_path):
        print("make_art: wrote %s (%d bytes)"
              % (os.path.relpath(path, root), os.path.getsize(path)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
