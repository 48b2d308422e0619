#!/usr/bin/env python3
"""Writes the sample formations of samples/: car bitmaps drawn here, a horn sound and five
formation files that between them use every path form the editor meets in real folders.

Run by hand from anywhere (python3 tools/make_samples.py); the build never runs it. The output is
the same byte for byte on every run: nothing depends on the clock, the locale or the host, and the
sound is made with integer arithmetic only, so that regenerating the samples never shows up as a
change in review.

The formation files expect drive K: to be the samples folder (on Windows "subst K: <folder>",
elsewhere KSNED_DRIVES="K:=<folder>") and the default folder to be K:\\.
"""

import os
import struct
import sys
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = os.path.normpath(os.path.join(HERE, "..", "samples"))

# Colours, as (r, g, b).
BACKGROUND = (255, 255, 255)
ROOF = (150, 150, 155)
ROOF_LINE = (70, 70, 75)
UNDERFRAME = (60, 60, 60)
WHEEL = (30, 30, 30)
HUB = (170, 170, 170)
GLASS = (70, 110, 150)
OUTLINE = (40, 40, 40)
PANTOGRAPH = (50, 50, 50)


class Canvas:
    """A picture with its origin at the top left, written as a 24-bit bottom-up BMP."""

    def __init__(self, width, height, colour=BACKGROUND):
        self.width = width
        self.height = height
        self.rows = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle whose corners are (x0, y0) and (x1, y1), both included."""
        for y in range(max(y0, 0), min(y1, self.height - 1) + 1):
            row = self.rows[y]
            for x in range(max(x0, 0), min(x1, self.width - 1) + 1):
                row[x] = colour

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0, colour)
        self.rect(x0, y1, x1, y1, colour)
        self.rect(x0, y0, x0, y1, colour)
        self.rect(x1, y0, x1, y1, colour)

    def line(self, x0, y0, x1, y1, colour):
        """A straight line by integer steps (Bresenham), both ends included."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.put(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, colour):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r:
                    self.put(x, y, colour)

    def mirrored(self):
        out = Canvas(self.width, self.height)
        out.rows = [list(reversed(row)) for row in self.rows]
        return out

    def bmp(self):
        stride = (self.width * 3 + 3) // 4 * 4
        pad = b"\0" * (stride - self.width * 3)
        pixels = bytearray()
        for row in reversed(self.rows):  # bottom-up: the last row comes first
            for r, g, b in row:
                pixels += bytes((b, g, r))
            pixels += pad
        header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(pixels),
                           2835, 2835, 0, 0)
        return header + info + bytes(pixels)


# --- car parts ---------------------------------------------------------------------------------

def bogie(c, x, axles, ground):
    """A bogie centred on x, its wheels standing on row ground (the last row of the picture)."""
    r = 3
    spacing = 9
    first = x - spacing * (axles - 1) // 2
    c.rect(first - 4, ground - 2 * r - 1, first + spacing * (axles - 1) + 4, ground - 2 * r + 1,
           UNDERFRAME)
    for i in range(axles):
        cx = first + i * spacing
        c.disc(cx, ground - r, r, WHEEL)
        c.put(cx, ground - r, HUB)


def pantograph(c, x, roof_top):
    """A folded diamond pantograph standing on the roof, its head on row 0."""
    c.rect(x - 5, roof_top - 1, x + 5, roof_top - 1, PANTOGRAPH)
    c.line(x - 4, roof_top - 1, x, 1, PANTOGRAPH)
    c.line(x + 4, roof_top - 1, x, 1, PANTOGRAPH)
    c.rect(x - 7, 0, x + 7, 0, PANTOGRAPH)


def body(c, x0, x1, top, bottom, colour, stripe):
    """A car body with a roof and a belt-line stripe; rounded roof ends."""
    c.rect(x0, top, x1, bottom, colour)
    c.rect(x0 + 2, top - 2, x1 - 2, top - 1, ROOF)
    c.put(x0 + 1, top - 1, ROOF)
    c.put(x1 - 1, top - 1, ROOF)
    c.rect(x0, top, x1, top, ROOF_LINE)
    belt = top + (bottom - top) * 2 // 3
    c.rect(x0, belt, x1, belt + 2, stripe)
    c.frame(x0, top, x1, bottom, OUTLINE)


def windows(c, x0, x1, top, height, width=7, gap=4, skip=()):
    """A row of windows from x0 to x1, leaving out those that overlap a span in skip."""
    x = x0
    while x + width - 1 <= x1:
        if not any(a <= x + width - 1 and x <= b for a, b in skip):
            c.rect(x, top, x + width - 1, top + height - 1, GLASS)
        x += width + gap


def door(c, x, top, bottom, colour):
    """A double sliding door five pixels either side of x, with its two windows."""
    c.rect(x - 5, top, x + 5, bottom, colour)
    c.frame(x - 5, top, x + 5, bottom, OUTLINE)
    c.rect(x, top, x, bottom, OUTLINE)
    c.rect(x - 4, top + 2, x - 2, top + 7, GLASS)
    c.rect(x + 2, top + 2, x + 4, top + 7, GLASS)


def cab_front(c, x0, top, bottom, colour):
    """The driver's end at the left: a raked nose with a large front window."""
    for i in range(6):
        c.rect(x0 + i, top, x0 + i, top + 5 - i, BACKGROUND)
    c.line(x0, top + 6, x0 + 6, top, OUTLINE)
    c.rect(x0 + 4, top + 4, x0 + 10, top + 10, GLASS)
    c.rect(x0 + 1, bottom - 5, x0 + 3, bottom - 4, (250, 230, 120))  # head light
    c.rect(x0, bottom + 1, x0 + 3, bottom + 2, UNDERFRAME)  # skirt


# --- the cars ----------------------------------------------------------------------------------

def emu_car(height=40, colour=(235, 225, 200), stripe=(200, 40, 40), cab=False, panto=False):
    """A 120-pixel electric multiple-unit car; height 38 draws the lower, older body."""
    w = 120
    c = Canvas(w, height)
    ground = height - 1
    top = 6
    bottom = height - 9
    body(c, 2, w - 3, top, bottom, colour, stripe)
    doors = (30, 89)
    win_top = top + 4
    windows(c, 8 if not cab else 16, w - 8, win_top, 6,
            skip=[(d - 6, d + 6) for d in doors])
    for d in doors:
        door(c, d, top + 3, bottom - 1, colour)
    if cab:
        cab_front(c, 2, top, bottom, colour)
    if panto:
        pantograph(c, 60, top - 2)
    c.rect(4, bottom + 1, w - 5, bottom + 1, UNDERFRAME)
    bogie(c, 18, 2, ground)
    bogie(c, w - 19, 2, ground)
    return c


def locomotive():
    """An electric locomotive: cabs at both ends, grilles, two pantographs, three-axle bogies."""
    w, h = 120, 40
    c = Canvas(w, h)
    top, bottom = 7, 31
    colour, stripe = (40, 90, 160), (230, 230, 230)
    body(c, 2, w - 3, top, bottom, colour, stripe)
    cab_front(c, 2, top, bottom, colour)
    front = c.mirrored()
    cab_front(front, 2, top, bottom, colour)
    c = front.mirrored()
    door(c, 20, top + 3, bottom - 1, colour)
    door(c, w - 21, top + 3, bottom - 1, colour)
    for x in range(32, w - 32, 4):  # engine-room grilles
        c.rect(x, top + 5, x + 1, top + 12, (25, 55, 100))
    pantograph(c, 34, top - 2)
    pantograph(c, w - 35, top - 2)
    c.rect(4, bottom + 1, w - 5, bottom + 1, UNDERFRAME)
    bogie(c, 28, 3, h - 1)
    bogie(c, w - 29, 3, h - 1)
    return c


def container_wagon(width, containers):
    """A flat wagon carrying containers: width 120 for one pair, 320 for the long car."""
    h = 40
    c = Canvas(width, h)
    deck = 30
    c.rect(2, deck, width - 3, deck + 2, UNDERFRAME)
    colours = [(200, 90, 40), (60, 130, 80), (190, 170, 60), (90, 90, 160), (160, 60, 90)]
    box_w = (width - 8) // containers
    for i in range(containers):
        x0 = 4 + i * box_w
        col = colours[i % len(colours)]
        c.rect(x0 + 1, 12, x0 + box_w - 2, deck - 1, col)
        c.frame(x0 + 1, 12, x0 + box_w - 2, deck - 1, OUTLINE)
        for x in range(x0 + 5, x0 + box_w - 4, 5):  # corrugation
            c.rect(x, 14, x, deck - 3, OUTLINE)
    bogie(c, 18, 2, h - 1)
    bogie(c, width - 19, 2, h - 1)
    if width > 200:
        bogie(c, width // 2, 2, h - 1)  # the long car rests on a third bogie
    return c


def bellows():
    """The coupler bellows between two articulated cars: 12 pixels wide, folds and a foot plate."""
    w, h = 12, 40
    c = Canvas(w, h)
    c.rect(0, 9, w - 1, 31, (90, 90, 90))
    for x in range(1, w, 3):
        c.rect(x, 9, x, 31, (50, 50, 50))
    c.rect(0, 32, w - 1, 33, UNDERFRAME)
    c.rect(4, 34, 7, 36, UNDERFRAME)  # coupler
    return c


# --- the sound ---------------------------------------------------------------------------------

def horn_wav(path):
    """A two-tone horn: two square waves a fourth apart with a soft attack and release, 8-bit
    mono at 11025 Hz, 0.6 s. Integer arithmetic only, so that every host writes the same bytes."""
    rate = 11025
    n = rate * 6 // 10
    ramp = rate // 20
    half_periods = (rate // (2 * 440), rate // (2 * 587))
    frames = bytearray()
    for i in range(n):
        v = 0
        for hp in half_periods:
            v += 40 if (i // hp) % 2 == 0 else -40
        env = min(i, n - 1 - i, ramp)
        frames.append(128 + v * env // ramp)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


# --- the formations ----------------------------------------------------------------------------

# File name -> (title, sound line, car lines). Paths are written as the editor finds them in
# folders that users kept for years: some relative, some with the drive, some spelled in capitals.
FORMATIONS = {
    # Bare names and relative paths: both resolve against the default folder K:\.
    "TSUBASA.KSN": (
        "特急つばさ号 7両編成",
        "horn.wav;汽笛",
        [
            "car1.bmp;先頭車",
            r"cars\ec\car2.bmp;パンタグラフ付き",
            r"cars\ec\car3.bmp",
            r"cars\ec\car2.bmp;パンタグラフ付き",
            r"cars\ec\car3.bmp",
            r"cars\ec\car2.bmp",
            "car1r.bmp;先頭車",
        ],
    ),
    # Every path with the drive letter; no sound; a long car of 320 pixels.
    "KAMOTSU.KSN": (
        "貨物列車 電気機関車けん引",
        " ",
        [
            r"K:\cars\loco.bmp;機関車",
            r"K:\cars\container.bmp",
            r"K:\cars\long.bmp;長物車",
            r"K:\cars\container.bmp",
            r"K:\cars\container.bmp;最後尾",
        ],
    ),
    # A title whose Shift-JIS holds 0x5C as a second byte (ソ and 表); paths without the drive and
    # capital spellings of files whose names are lower case on disk.
    "SOLEIL.KSN": (
        "急行ソレイユ 時刻表どおり",
        r"\horn.wav",
        [
            r"\cars\ec\car1.bmp;先頭車",
            r"CARS\EC\CAR2.BMP;パンタグラフ付き",
            r"\cars\ec\car3.bmp",
            r"\CARS\EC\CAR3.BMP",
            r"\cars\ec\car1r.bmp;先頭車",
        ],
    ),
    # An articulated train: a 12-pixel bellows piece between the car bodies.
    "RENKETSU.KSN": (
        "連接車 ほろ付き3車体",
        "horn.wav",
        [
            "car1.bmp;先頭車",
            r"cars\bellows.bmp;ほろ",
            r"K:\cars\ec\car2.bmp;パンタグラフ付き",
            r"cars\bellows.bmp;ほろ",
            "car1r.bmp;先頭車",
        ],
    ),
    # What the height check reports: a car of 38 pixels and a network path that names nothing.
    "KONSEI.KSN": (
        "混結編成 高さ違いの確認用",
        r"K:\horn.wav;汽笛",
        [
            "car1.bmp;先頭車",
            r"cars\ec\car2.bmp;パンタグラフ付き",
            r"cars\ec\old38.bmp;旧型車 高さ38",
            r"\\server\share\car9.bmp;ネットワーク上の車両",
            "car1r.bmp",
        ],
    ),
}


def ksn_bytes(title, sound, cars):
    return b"".join(line.encode("cp932") + b"\r\n" for line in [title, sound] + cars)


def write(relative, data):
    path = os.path.join(SAMPLES, *relative.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    front = emu_car(cab=True)
    cars = {
        # The end cars sit beside the formation files, where bare names find them.
        "car1.bmp": front,
        "car1r.bmp": front.mirrored(),
        "cars/ec/car1.bmp": front,
        "cars/ec/car1r.bmp": front.mirrored(),
        "cars/ec/car2.bmp": emu_car(panto=True),
        "cars/ec/car3.bmp": emu_car(),
        "cars/ec/old38.bmp": emu_car(height=38, colour=(120, 150, 110), stripe=(235, 225, 200)),
        "cars/loco.bmp": locomotive(),
        "cars/container.bmp": container_wagon(120, 2),
        "cars/long.bmp": container_wagon(320, 5),
        "cars/bellows.bmp": bellows(),
    }
    for relative, canvas in cars.items():
        write(relative, canvas.bmp())
    horn_wav(os.path.join(SAMPLES, "horn.wav"))
    for name, (title, sound, lines) in FORMATIONS.items():
        write(name, ksn_bytes(title, sound, lines))
    print("samples written to", SAMPLES)
    return 0


if __name__ == "__main__":
    sys.exit(main())
