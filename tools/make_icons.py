#!/usr/bin/env python3
"""Draws the editor's icons: the eight 16 x 16 toolbar pictograms and the application icon.

Run by hand from anywhere (python3 tools/make_icons.py); the build never runs it, the outputs are
committed under resources/icons/. Only the standard library is used: the PNG files are written
here with zlib, and the output is the same on every run, so regenerating shows no change in review.

The toolbar icons are pixel drawings, one text row per pixel row, because at 16 x 16 hand-placed
pixels stay sharper than any scaled drawing. The application icon is a handful of shapes in a
64-unit square, filled with 4 x 4 samples per pixel at 64 and 256 pixels, and also written as SVG
for desktops that scale icons themselves.
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.normpath(os.path.join(HERE, "..", "resources", "icons"))

# ------------------------------------------------------------------------------------------------
# PNG output


def png_bytes(width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples, 8 bits each, top row first."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.relpath(path, os.path.join(HERE, "..")))


# ------------------------------------------------------------------------------------------------
# Toolbar pictograms

CLEAR = (0, 0, 0, 0)
PALETTE = {
    ".": CLEAR,
    "k": (40, 40, 45, 255),  # outline
    "w": (255, 255, 255, 255),  # paper
    "g": (150, 155, 165, 255),  # text lines on paper
    "s": (200, 205, 212, 255),  # metal
    "K": (85, 90, 100, 255),  # scissor blades
    "y": (246, 204, 88, 255),  # folder
    "Y": (222, 168, 48, 255),  # folder front
    "b": (44, 96, 178, 255),  # blue
    "n": (160, 110, 60, 255),  # clipboard board
    "r": (200, 48, 48, 255),  # scissor handles
    "c": (52, 118, 190, 255),  # car body
    "l": (214, 232, 248, 255),  # car windows
    "o": (246, 196, 64, 255),  # car stripe
    "G": (40, 150, 60, 255),  # plus sign
}

TOOLBAR = {
    # A blank page with its corner folded.
    "new": [
        "................",
        "..kkkkkkkk......",
        "..kwwwwwwkk.....",
        "..kwwwwwwkgk....",
        "..kwwwwwwkkkk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kkkkkkkkkkk...",
        "................",
    ],
    # A folder whose front flap falls open.
    "open": [
        "................",
        "................",
        ".kkkk...........",
        "kyyyyk..........",
        "kyyyykkkkkkk....",
        "kyyyyyyyyyyk....",
        "kyyyyyyyyyyk....",
        "kyykkkkkkkkkkkkk",
        "kyykYYYYYYYYYYk.",
        "kykYYYYYYYYYYYk.",
        "kykYYYYYYYYYYk..",
        "kkYYYYYYYYYYYk..",
        "kkYYYYYYYYYYk...",
        "kkkkkkkkkkkk....",
        "................",
        "................",
    ],
    # A diskette-like box: shutter at the top, label below.
    "save": [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kbbssssssssbbk.",
        ".kbbsskkssssbbk.",
        ".kbbsskkssssbbk.",
        ".kbbssssssssbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbwwwwwwwwwwbk.",
        ".kbwwwwwwwwwwbk.",
        ".kbwggggggggwbk.",
        ".kbwwwwwwwwwwbk.",
        ".kbwggggggggwbk.",
        ".kbwwwwwwwwwwbk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    ],
    # Open scissors, blades up.
    "cut": [
        "...K........K...",
        "...KK......KK...",
        "....KK....KK....",
        ".....KK..KK.....",
        "......KKKK......",
        ".......kk.......",
        "......r..r......",
        ".....r....r.....",
        ".....r....r.....",
        "..rrrr....rrrr..",
        ".rr..rr..rr..rr.",
        ".r....r..r....r.",
        ".r....r..r....r.",
        ".rr..rr..rr..rr.",
        "..rrrr....rrrr..",
        "................",
    ],
    # A small train car with a plus: add a car.
    "addcar": [
        "............G...",
        "............G...",
        "..........GGGGG.",
        "............G...",
        "............G...",
        "................",
        ".kkkkkkkkkkkkk..",
        "kcccccccccccccck",
        "kcllcllcllcllcck",
        "kcllcllcllcllcck",
        "kcccccccccccccck",
        "kooooooooooooook",
        "kcccccccccccccck",
        ".kkkkkkkkkkkkkk.",
        "..kk.kk..kk.kk..",
        "gggggggggggggggg",
    ],
    # Two pages, one over the other.
    "copy": [
        "................",
        ".kkkkkkkk.......",
        ".kwwwwwwk.......",
        ".kwggggwk.......",
        ".kwwwwwwk.......",
        ".kwgggkkkkkkkkk.",
        ".kwwwwkwwwwwwwk.",
        ".kwgggkwggggwwk.",
        ".kwwwwkwwwwwwwk.",
        ".kwgggkwggggggk.",
        ".kwwwwkwwwwwwwk.",
        ".kkkkkkwggggggk.",
        "......kwwwwwwwk.",
        "......kwggggwwk.",
        "......kwwwwwwwk.",
        "......kkkkkkkkk.",
    ],
    # A clipboard holding a page.
    "paste": [
        "................",
        "......kkkk......",
        "..kkkksssskkkk..",
        ".knnkkkkkkkknnk.",
        ".knnwwwwwwwwnnk.",
        ".knnwggggggwnnk.",
        ".knnwwwwwwwwnnk.",
        ".knnwggggggwnnk.",
        ".knnwwwwwwwwnnk.",
        ".knnwggggwwwnnk.",
        ".knnwwwwwwwwnnk.",
        ".knnwggggggwnnk.",
        ".knnwwwwwwwwnnk.",
        ".knnnnnnnnnnnnk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    ],
    # A question mark on a round blue sign.
    "help": [
        ".....bbbbbb.....",
        "...bbbbbbbbbb...",
        "..bbbbbbbbbbbb..",
        ".bbbbbwwwwbbbbb.",
        ".bbbbwwbbwwbbbb.",
        "bbbbbbbbbwwbbbbb",
        "bbbbbbbbwwbbbbbb",
        "bbbbbbbwwbbbbbbb",
        "bbbbbbbwwbbbbbbb",
        "bbbbbbbbbbbbbbbb",
        ".bbbbbbwwbbbbbb.",
        ".bbbbbbwwbbbbbb.",
        "..bbbbbbbbbbbb..",
        "...bbbbbbbbbb...",
        ".....bbbbbb.....",
        "................",
    ],
}


def pictogram(name, rows):
    if len(rows) != 16 or any(len(r) != 16 for r in rows):
        raise SystemExit("%s: every pictogram is 16 rows of 16 pixels" % name)
    try:
        return [[PALETTE[ch] for ch in row] for row in rows]
    except KeyError as e:
        raise SystemExit("%s: no colour for %s" % (name, e))


# ------------------------------------------------------------------------------------------------
# Application icon: a train car from the side, in a 64-unit square.


def line(x0, y0, x1, y1, width):
    """A straight stroke as a four-cornered polygon."""
    dx, dy = x1 - x0, y1 - y0
    length = (dx * dx + dy * dy) ** 0.5
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    return [(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]


RAIL = (95, 95, 100)
SLEEPER = (125, 95, 65)
PANTOGRAPH = (60, 62, 70)
ROOF = (128, 134, 146)
OUTLINE = (34, 44, 60)
BODY = (243, 237, 220)
DOOR = (222, 214, 194)
GLASS = (44, 74, 116)
SHINE = (120, 160, 205)
STRIPE = (30, 92, 172)
FRAME = (56, 56, 62)
BOGIE = (74, 74, 80)
WHEEL = (30, 30, 34)
HUB = (176, 176, 182)

WINDOWS = [(8, 15), (17.5, 25.5), (38.5, 46.5), (49, 56)]
WHEELS = [12, 20, 44, 52]

CAR = (
    [("rect", x, 55, x + 3, 57, SLEEPER) for x in range(5, 60, 8)]
    + [
        ("rect", 2, 53.5, 62, 55.5, RAIL),
        ("poly", line(27, 12, 32, 6, 1.2), PANTOGRAPH),
        ("poly", line(37, 12, 32, 6, 1.2), PANTOGRAPH),
        ("rect", 26, 4.6, 38, 6, PANTOGRAPH),
        ("rrect", 7, 11, 57, 17, 3, ROOF),
        ("rrect", 3, 14, 61, 46, 6, OUTLINE),
        ("rrect", 4.5, 15.5, 59.5, 44.5, 5, BODY),
        ("rrect", 28.5, 20, 35.5, 42, 1, DOOR),
        ("rrect", 29.8, 22, 34.2, 30, 1, GLASS),
    ]
    + [("rrect", x0, 21, x1, 30, 1.5, GLASS) for x0, x1 in WINDOWS]
    + [("poly", [(x0 + 1, 29), (x0 + 4, 22), (x0 + 5.5, 22), (x0 + 2.5, 29)], SHINE) for x0, _ in WINDOWS]
    + [
        ("rect", 4.5, 34, 28.5, 38, STRIPE),
        ("rect", 35.5, 34, 59.5, 38, STRIPE),
        ("rect", 28.5, 34, 35.5, 38, STRIPE),
        ("rect", 9, 44.5, 55, 47.5, FRAME),
        ("rrect", 8, 45.5, 24, 49, 1.5, BOGIE),
        ("rrect", 40, 45.5, 56, 49, 1.5, BOGIE),
    ]
    + [("circle", x, 50, 3.4, WHEEL) for x in WHEELS]
    + [("circle", x, 50, 1.3, HUB) for x in WHEELS]
)


def inside(shape, x, y):
    kind = shape[0]
    if kind == "rect":
        _, x0, y0, x1, y1, _ = shape
        return x0 <= x < x1 and y0 <= y < y1
    if kind == "rrect":
        _, x0, y0, x1, y1, r, _ = shape
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if kind == "circle":
        _, cx, cy, r, _ = shape
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if kind == "poly":
        points = shape[1]
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    raise ValueError(kind)


def bounds(shape):
    kind = shape[0]
    if kind in ("rect", "rrect"):
        return shape[1:5]
    if kind == "circle":
        _, cx, cy, r, _ = shape
        return cx - r, cy - r, cx + r, cy + r
    xs = [p[0] for p in shape[1]]
    ys = [p[1] for p in shape[1]]
    return min(xs), min(ys), max(xs), max(ys)


def render(shapes, size, samples=4):
    """Fills the shapes in order over a clear square of size pixels; returns RGBA rows."""
    scale = size / 64.0
    # Premultiplied colour and alpha per pixel, as floats.
    acc = [[[0.0, 0.0, 0.0, 0.0] for _ in range(size)] for _ in range(size)]
    offsets = [(i + 0.5) / samples for i in range(samples)]
    for shape in shapes:
        colour = shape[-1]
        x0, y0, x1, y1 = bounds(shape)
        for py in range(max(int(y0 * scale), 0), min(int(y1 * scale) + 1, size)):
            for px in range(max(int(x0 * scale), 0), min(int(x1 * scale) + 1, size)):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if inside(shape, (px + ox) / scale, (py + oy) / scale):
                            hits += 1
                if hits:
                    a = hits / (samples * samples)
                    p = acc[py][px]
                    for c in range(3):
                        p[c] = colour[c] / 255.0 * a + p[c] * (1 - a)
                    p[3] = a + p[3] * (1 - a)
    rows = []
    for row in acc:
        out = []
        for r, g, b, a in row:
            if a <= 0:
                out.append(CLEAR)
            else:
                out.append(tuple(min(255, int(round(v / a * 255))) for v in (r, g, b)) + (int(round(a * 255)),))
        rows.append(out)
    return rows


def svg(shapes):
    def fmt(v):
        return ("%.2f" % v).rstrip("0").rstrip(".")

    def fill(colour):
        return "#%02x%02x%02x" % colour

    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 64 64">']
    for shape in shapes:
        kind = shape[0]
        if kind in ("rect", "rrect"):
            x0, y0, x1, y1 = shape[1:5]
            rounded = ' rx="%s"' % fmt(shape[5]) if kind == "rrect" else ""
            parts.append('  <rect x="%s" y="%s" width="%s" height="%s"%s fill="%s"/>'
                         % (fmt(x0), fmt(y0), fmt(x1 - x0), fmt(y1 - y0), rounded, fill(shape[-1])))
        elif kind == "circle":
            _, cx, cy, r, colour = shape
            parts.append('  <circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (fmt(cx), fmt(cy), fmt(r), fill(colour)))
        else:
            points = " ".join("%s,%s" % (fmt(x), fmt(y)) for x, y in shape[1])
            parts.append('  <polygon points="%s" fill="%s"/>' % (points, fill(shape[-1])))
    parts.append("</svg>")
    return ("\n".join(parts) + "\n").encode("ascii")


def main():
    for name, rows in TOOLBAR.items():
        write(os.path.join(ICONS, "toolbar", name + ".png"), png_bytes(16, 16, pictogram(name, rows)))
    write(os.path.join(ICONS, "ksned32-64.png"), png_bytes(64, 64, render(CAR, 64)))
    write(os.path.join(ICONS, "ksned32.png"), png_bytes(256, 256, render(CAR, 256)))
    write(os.path.join(ICONS, "ksned32.svg"), svg(CAR))


if __name__ == "__main__":
    main()
