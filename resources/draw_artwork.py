#!/usr/bin/env python3
"""Draws every picture the program carries: the program icon, the glyphs of
the main window's buttons and menu, and the spin-edit arrows.

Usage: draw_artwork.py OUTDIR [--preview PREVIEWDIR]

Writes quenfel.ico and the .bmp files into OUTDIR; with --preview it also
writes an 8x enlarged PNG of each picture and a sheet of all of them, so the
artwork can be judged by eye. Standard library only, so the build needs
nothing beyond Python itself.
"""

import math
import os
import struct
import sys
import zlib

# The 16 colours every 4-bit system palette starts from, in palette order.
STANDARD_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# The speed-button glyphs may bring their own palette; softer blues and greys
# than the system set make the dial and the sheet read better at this size.
SPEED_PALETTE = [
    (0, 0, 0), (64, 64, 64), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (40, 90, 170), (110, 160, 225), (128, 128, 128),
    (192, 192, 192), (200, 30, 30), (40, 190, 60), (255, 220, 0),
    (170, 210, 250), (225, 228, 232), (180, 140, 0), (255, 255, 255),
]

WHITE = (255, 255, 255)


# ---------------------------------------------------------------- geometry
# Every shape is a coverage test inside(x, y) on continuous coordinates, with
# pixel (i, j) covering [i, i+1) x [j, j+1).

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_in, r_out):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y):
                if x < xa + (y - ya) * (xb - xa) / (yb - ya):
                    hit = not hit
        return hit
    return inside


def segment(xa, ya, xb, yb, half_width):
    """A stroke with round caps."""
    dx, dy = xb - xa, yb - ya
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / length2))
        px, py = xa + t * dx - x, ya + t * dy - y
        return px * px + py * py <= half_width * half_width
    return inside


def polyline(points, half_width):
    parts = [segment(*points[i], *points[i + 1], half_width) for i in range(len(points) - 1)]
    return lambda x, y: any(p(x, y) for p in parts)


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def intersect(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def gear(cx, cy, r_body, r_tip, teeth, r_hole):
    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if d < r_hole:
            return False
        if d <= r_body:
            return True
        if d > r_tip:
            return False
        period = 2 * math.pi / teeth
        angle = (math.atan2(dy, dx) + period / 4) % period
        return angle < period / 2
    return inside


# ---------------------------------------------------------------- canvas

class Canvas:
    """Straight-alpha RGBA pixels. With samples > 1 each pixel is covered by a
    samples x samples grid, which gives antialiased edges."""

    def __init__(self, width, height, background=None, samples=4, scale=1.0):
        # Shapes and colours stay in the picture's 100 % coordinates; scale
        # only sets how many pixels cover them.
        self.scale = scale
        width, height = int(round(width * scale)), int(round(height * scale))
        self.width, self.height, self.samples = width, height, samples
        bg = (0.0, 0.0, 0.0, 0.0) if background is None else tuple(c / 255 for c in background) + (1.0,)
        self.px = [[bg for _ in range(width)] for _ in range(height)]

    def coverage(self, shape, i, j):
        n = self.samples
        hits = 0
        for sy in range(n):
            for sx in range(n):
                if shape((i + (sx + 0.5) / n) / self.scale, (j + (sy + 0.5) / n) / self.scale):
                    hits += 1
        return hits / (n * n)

    def fill(self, shape, colour, opacity=1.0):
        """colour is an (r, g, b) tuple or a function (x, y) -> (r, g, b[, a])."""
        for j in range(self.height):
            for i in range(self.width):
                cov = self.coverage(shape, i, j)
                if cov <= 0:
                    continue
                c = colour((i + 0.5) / self.scale, (j + 0.5) / self.scale) if callable(colour) else colour
                alpha = (c[3] if len(c) > 3 else 1.0) * cov * opacity
                self.blend(i, j, (c[0] / 255, c[1] / 255, c[2] / 255), alpha)

    def blend(self, i, j, rgb, alpha):
        r, g, b, a = self.px[j][i]
        out_a = alpha + a * (1 - alpha)
        if out_a <= 0:
            return
        mix = [(s * alpha + d * a * (1 - alpha)) / out_a for s, d in zip(rgb, (r, g, b))]
        self.px[j][i] = (mix[0], mix[1], mix[2], out_a)

    def rgba8(self):
        return [[tuple(int(round(v * 255)) for v in p) for p in row] for row in self.px]


def lerp(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def nearest_index(palette, rgb):
    return min(range(len(palette)),
               key=lambda k: sum((p - c) ** 2 for p, c in zip(palette[k], rgb)))


def indexed(canvas, palette):
    """Maps a hard-edged canvas onto a palette."""
    return [[nearest_index(palette, p[:3]) for p in row] for row in canvas.rgba8()]


# ---------------------------------------------------------------- pictures

def draw_program_icon(scale=1.0):
    # Large sizes need fewer samples per pixel for smooth edges.
    c = Canvas(32, 32, scale=scale, samples=4 if scale < 4 else 2)
    cx = cy = 16.0
    disc = circle(cx, cy, 15.6)
    # Dark brown, lit from the upper left, darker towards the rim.
    c.fill(disc, lambda x, y: lerp((120, 66, 32), (46, 22, 9),
                                   math.hypot(x - 12, y - 11) / 20.0))
    c.fill(ring(cx, cy, 14.6, 15.6), (30, 14, 5), 0.9)

    # The cross, pale cream with a thin shadow so it stands off the disc.
    arm = 13.2
    d = arm / math.sqrt(2)
    cross = union(segment(cx - d, cy - d, cx + d, cy + d, 2.6),
                  segment(cx - d, cy + d, cx + d, cy - d, 2.6))
    shadow = union(segment(cx - d + 0.7, cy - d + 0.9, cx + d + 0.7, cy + d + 0.9, 2.6),
                   segment(cx - d + 0.7, cy + d + 0.9, cx + d + 0.7, cy - d + 0.9, 2.6))
    c.fill(intersect(shadow, circle(cx, cy, 14.6)), (20, 8, 2), 0.55)
    c.fill(intersect(cross, circle(cx, cy, 14.6)),
           lambda x, y: lerp((255, 248, 228), (222, 205, 170), (y - 3) / 26.0))

    # Gloss: a soft white cap over the upper half.
    c.fill(intersect(ellipse(cx, 9.5, 11.5, 7.5), disc),
           lambda x, y: (255, 255, 255, max(0.0, 0.55 - (y - 2) / 16.0)))

    # The word, on a dark band along the lower edge so it stays legible.
    c.fill(intersect(rect(0, 21.5, 32, 28.5), circle(cx, cy, 14.6)), (38, 18, 6), 0.85)
    glyphs = {
        "R": ["###.", "#..#", "###.", "#.#.", "#..#"],
        "A": [".##.", "#..#", "####", "#..#", "#..#"],
        "M": ["#...#", "##.##", "#.#.#", "#...#", "#...#"],
    }
    word = "RAM"
    width = sum(len(glyphs[ch][0]) for ch in word) + len(word) - 1
    x = 16 - width // 2
    for ch in word:
        rows = glyphs[ch]
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit == "#":
                    c.fill(rect(x + gx, 23 + gy, x + gx + 1, 24 + gy), (255, 214, 30))
        x += len(rows[0]) + 1
    return c


def draw_chart_screen(scale=1.0):
    c = Canvas(16, 16, WHITE, scale=scale)
    c.fill(rect(1, 1.5, 15, 12.5), lambda x, y: lerp((200, 200, 204), (120, 120, 126), y / 13))
    c.fill(rect(2.5, 3, 13.5, 11), (22, 28, 34))
    c.fill(rect(3, 7, 13, 7.5), (40, 70, 50))          # faint grid line
    c.fill(polyline([(3.5, 4.5), (6, 6), (8, 5.5), (10.5, 8.5), (12.8, 9.8)], 0.6), (70, 235, 80))
    c.fill(rect(6, 12.5, 10, 13.5), (130, 130, 136))    # neck
    c.fill(rect(4, 13.5, 12, 14.5), (150, 150, 156))    # foot
    return c


def draw_spanner(scale=1.0):
    c = Canvas(16, 16, WHITE, scale=scale)
    head = minus(circle(11.2, 4.8, 3.8),
                 union(circle(12.8, 3.2, 1.7), segment(12.8, 3.2, 16.5, -0.5, 1.7)))
    shaft = segment(3.5, 12.5, 10.5, 5.5, 1.3)
    c.fill(union(head, shaft), lambda x, y: lerp((215, 215, 220), (110, 110, 118), (x + 16 - y) / 24))
    c.fill(segment(1.8, 14.2, 6.6, 9.4, 1.75), lambda x, y: lerp((235, 70, 60), (150, 15, 15), (x + 16 - y) / 16))
    c.fill(segment(2.2, 13.0, 5.8, 9.4, 0.35), (255, 170, 160), 0.7)   # highlight
    return c


def draw_tray_button(scale=1.0):
    c = Canvas(16, 16, WHITE, scale=scale)
    c.fill(circle(8, 8, 7.4), (24, 105, 28))
    c.fill(circle(8, 8, 6.5), lambda x, y: lerp((150, 230, 120), (40, 150, 40), math.hypot(x - 6, y - 5) / 9))
    c.fill(intersect(ellipse(8, 5.2, 5.0, 3.0), circle(8, 8, 6.5)), (255, 255, 255, 0.35))
    arrow = union(rect(6.8, 3.5, 9.2, 8.5), polygon([(4.2, 8), (11.8, 8), (8, 12.3)]))
    c.fill(arrow, WHITE)
    return c


def draw_settings_sheet(scale=1.0):
    c = Canvas(15, 16, WHITE, samples=1, scale=scale)
    sheet = polygon([(1, 0), (8, 0), (11, 3), (11, 15), (1, 15)])
    c.fill(sheet, (128, 128, 128))
    c.fill(polygon([(2, 1), (8, 1), (8, 3), (10, 3), (10, 14), (2, 14)]), (225, 228, 232))
    c.fill(polygon([(8, 1), (10, 3), (8, 3)]), (192, 192, 192))
    for y in (5, 7, 9):
        c.fill(rect(3, y, 8, y + 1), (192, 192, 192))
    c.fill(gear(10.5, 11.5, 3.2, 4.6, 6, 0), (180, 140, 0))
    c.fill(gear(10.5, 11.5, 2.5, 3.7, 6, 0), (255, 220, 0))
    c.fill(circle(10.5, 11.5, 1.0), (180, 140, 0))
    return indexed(c, SPEED_PALETTE)


def draw_dial(scale=1.0):
    c = Canvas(17, 15, WHITE, samples=1, scale=scale)
    cx, cy = 9.5, 7.5
    c.fill(circle(cx, cy, 7.0), (40, 90, 170))
    c.fill(circle(cx, cy, 6.0), (170, 210, 250))
    c.fill(ellipse(cx - 1, cy - 2.5, 3.5, 2.0), (225, 228, 232))
    for ang in (-150, -90, -30, 30):
        a = math.radians(ang)
        c.fill(rect(cx + 5 * math.cos(a) - 0.5, cy + 5 * math.sin(a) - 0.5,
                    cx + 5 * math.cos(a) + 0.5, cy + 5 * math.sin(a) + 0.5), (40, 90, 170))
    c.fill(segment(cx, cy, cx + 3.8, cy - 3.8, 0.75), (0, 0, 128))
    c.fill(circle(cx, cy, 1.2), (0, 0, 0))
    arrow = union(polygon([(0, 7), (6, 7), (3, 3)]), rect(2, 7, 4, 12))
    c.fill(arrow, (40, 190, 60))
    return indexed(c, SPEED_PALETTE)


def draw_open_main(scale=1.0):
    c = Canvas(16, 16, WHITE, samples=1, scale=scale)
    c.fill(ring(8, 8, 3.6, 6.6), (0, 0, 255))
    return indexed(c, STANDARD_16)


def draw_nested_squares(scale=1.0):
    # Outside in; the last two rings fill the 2 x 2 centre, red above maroon.
    names = {"yellow": 11, "cyan": 14, "green": 2, "blue": 12, "magenta": 13,
             "silver": 8, "purple": 5}
    order = ["yellow", "cyan", "green", "blue", "magenta", "silver", "purple"]
    n = int(round(16 * scale))
    rows = [[0] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            # The square of the 100 % picture this pixel's centre falls in.
            px, py = int((x + 0.5) / scale), int((y + 0.5) / scale)
            depth = min(px, py, 15 - px, 15 - py)
            rows[y][x] = names[order[depth]] if depth < len(order) else (9 if py == 7 else 1)
    return rows


def draw_spin_arrow(up, scale=1.0):
    olive, black = 3, 0
    if scale == 1.0:
        rows = [[olive] * 9 for _ in range(6)]
        for k in range(4):                     # k-th row from the apex
            y = 1 + k if up else 4 - k
            for x in range(4 - k, 5 + k):
                rows[y][x] = black
        return rows
    # The same triangle, apex 1 below the top (above the bottom when down),
    # base 4 lower and 8 wide, one sample per pixel so it stays crisp.
    c = Canvas(9, 6, (128, 128, 0), samples=1, scale=scale)
    apex, base = (1.0, 5.0) if up else (5.0, 1.0)
    c.fill(polygon([(4.5, apex), (0.5, base), (8.5, base)]), (0, 0, 0))
    return indexed(c, STANDARD_16)


# ---------------------------------------------------------------- writers

def bmp_headers(width, height, bits, image_size, colours):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 2835, 2835, colours, 0)
    offset = 14 + len(info) + 4 * colours
    file_header = struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    return file_header + info


def write_bmp24(path, canvas):
    px = canvas.rgba8()
    stride = (canvas.width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(px):
        line = bytearray()
        for r, g, b, a in row:
            # Flatten onto white: the background these glyphs are drawn on.
            k = a / 255
            line += bytes(int(round(ch * k + 255 * (1 - k))) for ch in (b, g, r))
        body += line + bytes(stride - len(line))
    with open(path, "wb") as f:
        f.write(bmp_headers(canvas.width, canvas.height, 24, len(body), 0) + bytes(body))


def write_bmp4(path, rows, palette):
    height, width = len(rows), len(rows[0])
    stride = ((width + 1) // 2 + 3) & ~3
    body = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            line.append((hi << 4) | lo)
        body += line + bytes(stride - len(line))
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    with open(path, "wb") as f:
        f.write(bmp_headers(width, height, 4, len(body), 16) + quads + bytes(body))


def ico_image32(canvas):
    """One image: BGRA with straight alpha, then the 1-bit mask."""
    px = canvas.rgba8()
    w, h = canvas.width, canvas.height
    xor = bytearray()
    for row in reversed(px):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        line = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def png_rgba(canvas):
    """The picture as a PNG (how icon files hold their 256-pixel image)."""
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in canvas.rgba8())

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_ico(path, canvases):
    """An icon file of square images, smallest first; the 256-pixel one as
    PNG. Returns the byte sizes of the images."""
    images = [png_rgba(c) if c.width >= 256 else ico_image32(c) for c in canvases]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, image in zip(canvases, images):
        side = c.width if c.width < 256 else 0
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(directory + b"".join(images))
    return [len(image) for image in images]


def write_png(path, rgb_rows):
    height, width = len(rgb_rows), len(rgb_rows[0])
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rgb_rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def preview_rows(pixels, scale, alpha):
    """Enlarges a picture; transparent parts show a checkerboard."""
    out = []
    for y, row in enumerate(pixels):
        line = []
        for x, p in enumerate(row):
            for sx in range(scale):
                line.append(p)
        for sy in range(scale):
            out.append([_over_checker(p, x, y * scale + sy, alpha) for x, p in enumerate(line)])
    return out


def _over_checker(p, x, y, alpha):
    if not alpha:
        return p[:3]
    check = 200 if ((x // 4) + (y // 4)) % 2 else 240
    k = p[3] / 255
    return tuple(int(round(c * k + check * (1 - k))) for c in p[:3])


def sheet(previews, gap=8, bg=(96, 96, 96)):
    height = max(len(p) for p in previews) + 2 * gap
    width = sum(len(p[0]) for p in previews) + gap * (len(previews) + 1)
    out = [[bg] * width for _ in range(height)]
    x0 = gap
    for p in previews:
        for y, row in enumerate(p):
            out[gap + y][x0:x0 + len(row)] = row
        x0 += len(p[0]) + gap
    return out


# ---------------------------------------------------------------- main

ICON_SIDES = [16, 20, 24, 32, 40, 48, 64, 256]
SCALES = [100, 125, 150, 200]

def main(argv):
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--preview"):
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    preview = argv[3] if len(argv) == 4 else None
    os.makedirs(out, exist_ok=True)

    shown = []
    # Every size the shell asks for at 100 to 200 %: small icons 16 to 32,
    # large ones 32 to 64, and 256 for the largest views.
    icons = [draw_program_icon(side / 32.0) for side in ICON_SIDES]
    sizes = write_ico(os.path.join(out, "quenfel.ico"), icons)
    assert sizes[ICON_SIDES.index(32)] == 4264, sizes
    shown.append(("quenfel", icons[ICON_SIDES.index(32)].rgba8(), True))

    # Each picture at 100 % (name.bmp) and at 125, 150 and 200 % (name_125.bmp ...).
    for scale in SCALES:
        suffix = "" if scale == 100 else "_%d" % scale
        k = scale / 100.0
        for name, draw in (("chart", draw_chart_screen), ("spanner", draw_spanner), ("traybutton", draw_tray_button)):
            canvas = draw(k)
            write_bmp24(os.path.join(out, name + suffix + ".bmp"), canvas)
            shown.append((name + suffix, canvas.rgba8(), True))

        for name, draw, palette in (("sheet", draw_settings_sheet, SPEED_PALETTE),
                                    ("dial", draw_dial, SPEED_PALETTE),
                                    ("openmain", draw_open_main, STANDARD_16),
                                    ("squares", draw_nested_squares, STANDARD_16),
                                    ("spinup", lambda k: draw_spin_arrow(True, k), STANDARD_16),
                                    ("spindown", lambda k: draw_spin_arrow(False, k), STANDARD_16)):
            rows = draw(k)
            write_bmp4(os.path.join(out, name + suffix + ".bmp"), rows, palette)
            shown.append((name + suffix, [[palette[i] + (255,) for i in row] for row in rows], False))

    if preview:
        os.makedirs(preview, exist_ok=True)
        enlarged = []
        for name, pixels, alpha in shown:
            rows = preview_rows(pixels, 8, alpha)
            write_png(os.path.join(preview, name + ".png"), rows)
            enlarged.append(rows)
        write_png(os.path.join(preview, "all.png"), sheet(enlarged))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
