#!/usr/bin/env python3
"""Draws the thumbnails of the sample catalogue in data/.

Every CSV family of every library folder gets a side view of its part,
64 x 64 pixels, drawn to scale from the first data row of the family's own
table (a bolt: hexagon head and shank with thread lines; a nut: its
hexagon from the side; a washer or bearing: a section; a circlip: the ring
seen along its axis, a washer also so). Every top category gets an emblem drawn from fixed
dimensions, the same wherever the category appears. The images go to
<library>/thumbnails/<family>.png and <library>/thumbnails/category-<name>.png;
the descriptions' Thumbnail attributes and the categories' Icon attributes
name them, and the script fails, listing them, when one does not.

Python 3 standard library only. The images are RGBA PNG files written with
zlib; a run on the same tables writes the same bytes.

Usage: scripts/draw_thumbnails.py [DATA_FOLDER]   (default: data/ of the project)
"""

import csv
import math
import os
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zlib

SIZE = 64  # pixels per side
SUB = 4  # sub-pixels per pixel and axis, for smooth edges
MARGIN = 3.0  # pixels kept free around the drawing
MIN_THREAD_STEP = 3.0  # pixels between thread lines at the least

STEEL = (178, 185, 194, 255)
SHADE = (146, 154, 164, 255)
EDGE = (48, 54, 62, 255)
THREAD = (96, 104, 114, 255)
SOCKET = (70, 76, 86, 255)
NYLON = (62, 110, 196, 255)
STRIKE = (190, 40, 40, 255)


def hatch(x, y):
    """Section paint: steel with thin diagonal lines, as a drawing hatches a cut."""
    return EDGE if (x + y) % 3.0 < 0.8 else STEEL


# ---------------------------------------------------------------- drawings
#
# A drawing is a list of operations in model units (mm), x along the part's
# axis and y across it, y upwards:
#   ("fill", [contour, ...], paint)    contours filled together, even-odd;
#                                      paint None clears (a hole)
#   ("line", [point, ...], width_px, colour)
#   ("thread", x_from, x_to, radius, pitch)   slanted thread lines


def rect(x0, x1, y0, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def mirrored(points):
    """The contour and its mirror image across the axis, as two contours."""
    return [points, [(x, -y) for x, y in points]]


def circle(cx, cy, r, n=48):
    return [(cx + r * math.cos(2 * math.pi * i / n), cy + r * math.sin(2 * math.pi * i / n))
            for i in range(n)]


def arc(cx, cy, r, start, end, n=32):
    """Points of an arc from angle `start` to `end` (degrees)."""
    return [(cx + r * math.cos(math.radians(start + (end - start) * i / n)),
             cy + r * math.sin(math.radians(start + (end - start) * i / n))) for i in range(n + 1)]


def body(points, paint=STEEL):
    """A filled outline with its edge drawn."""
    return [("fill", [points], paint), ("line", points + points[:1], 0.9, EDGE)]


def hex_side(x0, x1, e, chamfer_left=True, chamfer_right=True):
    """A hexagon prism seen across its corners: three faces, corners chamfered."""
    c = 0.07 * e
    left = [(x0, -e / 2 + c), (x0 + c, -e / 2)] if chamfer_left else [(x0, -e / 2)]
    right = [(x1 - c, -e / 2), (x1, -e / 2 + c), (x1, e / 2 - c), (x1 - c, e / 2)] \
        if chamfer_right else [(x1, -e / 2), (x1, e / 2)]
    top = [(x0 + c, e / 2), (x0, e / 2 - c)] if chamfer_left else [(x0, e / 2)]
    ops = body(left + right + top)
    for y in (-e / 4, e / 4):
        ops.append(("line", [(x0, y), (x1, y)], 0.7, THREAD))
    return ops


def shank(x0, x1, d, pitch, thread_from, tip=True):
    """A round shank with a chamfered tip at x1, threaded from `thread_from` to the tip."""
    c = min(max(0.6 * pitch, 0.08 * d), d / 4) if tip else 0.0
    outline = [(x0, -d / 2), (x1 - c, -d / 2), (x1, -d / 2 + c), (x1, d / 2 - c), (x1 - c, d / 2),
               (x0, d / 2)]
    ops = body(outline)
    if pitch and thread_from < x1:
        ops.append(("thread", thread_from, x1 - c, d / 2, pitch))
    return ops


def socket(depth, s):
    """A hexagon socket cut into the end face at x = 0."""
    return [("fill", [rect(0, depth, -s / 2, s / 2)], SOCKET)]


def number(row, name, default=None):
    text = row.get(name, "")
    if text == "":
        if default is None:
            raise ValueError("column %s has no value" % name)
        return default
    return float(text)


def hex_bolt(row, partial):
    d, l, k, P = number(row, "d"), number(row, "l"), number(row, "k"), number(row, "P")
    e = number(row, "e", number(row, "s") * 1.1547)
    b = number(row, "b", l) if partial else l
    return hex_side(0, k, e, chamfer_right=False) + shank(k, k + l, d, P, k + max(0.0, l - b))


def socket_cap(row):
    d, l, k, P = number(row, "d"), number(row, "l"), number(row, "k"), number(row, "P")
    dk, s, t = number(row, "dk"), number(row, "s"), number(row, "t")
    b = number(row, "b", l)
    r = 0.1 * dk
    head = [(0, -dk / 2 + r), (r, -dk / 2), (k, -dk / 2), (k, dk / 2), (r, dk / 2), (0, dk / 2 - r)]
    return body(head) + socket(min(t, k), s) + shank(k, k + l, d, P, k + max(0.0, l - b))


def countersunk(row):
    d, l, k, P = number(row, "d"), number(row, "l"), number(row, "k"), number(row, "P")
    dk, s, t = number(row, "dk"), number(row, "s"), number(row, "t")
    b = number(row, "b", l)
    head = [(0, -dk / 2), (k, -d / 2), (k, d / 2), (0, dk / 2)]
    return shank(k, k + l, d, P, k + max(0.0, l - b)) + body(head) + socket(min(t, k), s)


def set_screw(row, point):
    d, l, P, s = number(row, "d"), number(row, "l"), number(row, "P"), number(row, "s")
    t = number(row, "t", number(row, "t1", d / 2))
    c = min(0.6 * P, d / 6)
    if point == "cone":
        length = min(d / 2, l / 2)
        end = [(l - length, -d / 2), (l, -0.05 * d), (l, 0.05 * d), (l - length, d / 2)]
    elif point == "dog":
        dp, z = number(row, "dp"), min(number(row, "z1"), l / 2)
        end = [(l - z, -d / 2), (l - z, -dp / 2), (l, -dp / 2), (l, dp / 2), (l - z, dp / 2),
               (l - z, d / 2)]
        length = z
    else:
        dp = number(row, "dz" if point == "cup" else "dp")
        length = min((d - dp) / 2, l / 2)
        end = [(l - length, -d / 2), (l, -dp / 2), (l, dp / 2), (l - length, d / 2)]
    outline = [(0, -d / 2 + c), (c, -d / 2)] + end + [(c, d / 2), (0, d / 2 - c)]
    ops = body(outline) + [("thread", c, l - length, d / 2, P)] + socket(min(t, l / 2), s)
    if point == "cup":
        ops.append(("fill", [[(l, -dp / 3), (l - dp / 4, 0), (l, dp / 3)]], SOCKET))
    return ops


def nut(row, height="m"):
    return hex_side(0, number(row, height), number(row, "e", number(row, "s") * 1.1547))


def insert_nut(row):
    h, m, dw = number(row, "h_max"), number(row, "m_min"), number(row, "dw_min")
    e, d = number(row, "e_min"), number(row, "d")
    r = 0.15 * (h - m)
    collar = [(m, -dw / 2), (h - r, -dw / 2), (h, -dw / 2 + r), (h, dw / 2 - r), (h - r, dw / 2),
              (m, dw / 2)]
    band = rect(m + 0.35 * (h - m), h - 0.15 * (h - m), -0.55 * d, 0.55 * d)
    return body(collar) + [("fill", [band], NYLON)] + hex_side(0, m, e)


def washer(row, chamfered=False):
    """The washer seen along its axis, and beside it its section."""
    d1, d2, h = number(row, "d1"), number(row, "d2"), number(row, "h")
    c = 0.3 * h if chamfered else 0.0
    centre = -d2 / 2 - max(h, 0.15 * d2)
    outer, inner = circle(centre, 0, d2 / 2), circle(centre, 0, d1 / 2)
    ops = [("fill", [outer, inner], STEEL)]
    ops += [("line", ring + ring[:1], 0.9, EDGE) for ring in (outer, inner)]
    half = [(0, d1 / 2), (h, d1 / 2), (h, d2 / 2 - c), (h - c, d2 / 2), (0, d2 / 2)]
    for contour in mirrored(half):
        ops += body(contour, hatch)
    return ops


def pin(row):
    d, l, c = number(row, "d"), number(row, "l"), number(row, "c")
    return body([(0, -d / 2 + c), (c, -d / 2), (l - c, -d / 2), (l, -d / 2 + c), (l, d / 2 - c),
                 (l - c, d / 2), (c, d / 2), (0, d / 2 - c)])


def taper_pin(row):
    d, l, a = number(row, "d"), number(row, "l"), number(row, "a")
    big = d + l / 50  # the taper is 1:50 on the diameter
    return body([(0, -big / 2 + a), (a, -big / 2), (l - a, -d / 2), (l, -d / 2 + a),
                 (l, d / 2 - a), (l - a, d / 2), (a, big / 2), (0, big / 2 - a)])


def spring_pin(row):
    l, d1, a, s = number(row, "l"), number(row, "d1"), number(row, "a"), number(row, "s")
    c = min(a, d1 / 4)
    ops = body([(0, -d1 / 2 + c), (c, -d1 / 2), (l - c, -d1 / 2), (l, -d1 / 2 + c),
                (l, d1 / 2 - c), (l - c, d1 / 2), (c, d1 / 2), (0, d1 / 2 - c)])
    for y in (-(d1 / 2 - s), d1 / 2 - s):
        ops.append(("line", [(c, y), (l - c, y)], 0.6, THREAD))
    ops.append(("fill", [rect(c, l - c, -0.2 * s, 0.2 * s)], SOCKET))  # the slot
    return ops


def thread_profile(d, P):
    """A length of external thread in section: the basic profile's teeth along both edges."""
    teeth = max(4, math.ceil(2 * d / P))
    # 60 degree flanks, crests P/8 and roots P/4 wide, so 5/8 of the
    # fundamental triangle's height deep.
    root = d / 2 - 5 / 8 * math.sqrt(3) / 2 * P
    top = [(0, root)]
    for i in range(teeth):
        x = i * P
        top += [(x + P / 8, root), (x + 7 * P / 16, d / 2), (x + 9 * P / 16, d / 2),
                (x + 7 * P / 8, root)]
    top.append((teeth * P, root))
    bottom = [(x, -y) for x, y in reversed(top)]
    return body(top + bottom) + [("line", [(0, 0), (teeth * P, 0)], 0.5, THREAD)]


def threaded_rod(d, P, length):
    c = min(max(0.6 * P, 0.08 * d), d / 4)
    ops = body([(0, -d / 2 + c), (c, -d / 2), (length - c, -d / 2), (length, -d / 2 + c),
                (length, d / 2 - c), (length - c, d / 2), (c, d / 2), (0, d / 2 - c)])
    return ops + [("thread", c, length - c, d / 2, P)]


def circlip(inner, outer, lug_from, lug_to, hole):
    """A retaining ring seen along its axis: open at the top, a lug with a hole each side."""
    ring = arc(0, 0, outer, 110, 430) + list(reversed(arc(0, 0, inner, 110, 430)))
    ops = body(ring)
    for angle in (110, 70):
        half = 14 if angle == 110 else -14
        lug = arc(0, 0, lug_to, angle - half, angle + half, 8) + \
            list(reversed(arc(0, 0, lug_from, angle - half, angle + half, 8)))
        centre = (lug_from + lug_to) / 2
        outline = circle(centre * math.cos(math.radians(angle)),
                         centre * math.sin(math.radians(angle)), hole / 2, 24)
        ops += body(lug) + [("fill", [outline], None), ("line", outline + outline[:1], 0.7, EDGE)]
    return ops


def shaft_ring(row):
    d3, b, a, d5 = number(row, "d3"), number(row, "b"), number(row, "a"), number(row, "d5")
    return circlip(d3 / 2, d3 / 2 + b, d3 / 2, d3 / 2 + a, d5)


def bore_ring(row):
    d3, b, a, d5 = number(row, "d3"), number(row, "b"), number(row, "a"), number(row, "d5")
    return circlip(d3 / 2 - b, d3 / 2, d3 / 2 - a, d3 / 2, d5)


def shaft_groove(row):
    d1, d2, s = number(row, "d1"), number(row, "d2"), number(row, "s")
    length = 1.6 * d1
    g0, g1 = (length - s) / 2, (length + s) / 2
    c = 0.06 * d1
    top = [(0, d1 / 2 - c), (c, d1 / 2), (g0, d1 / 2), (g0, d2 / 2), (g1, d2 / 2), (g1, d1 / 2),
           (length - c, d1 / 2), (length, d1 / 2 - c)]
    return body(top + [(x, -y) for x, y in reversed(top)])


def bore_groove(row):
    d1, d2, s = number(row, "d1"), number(row, "d2"), number(row, "s")
    length, wall = 1.6 * d1, 0.35 * d1
    g0, g1 = (length - s) / 2, (length + s) / 2
    half = [(0, d1 / 2), (g0, d1 / 2), (g0, d2 / 2), (g1, d2 / 2), (g1, d1 / 2), (length, d1 / 2),
            (length, d1 / 2 + wall), (0, d1 / 2 + wall)]
    ops = []
    for contour in mirrored(half):
        ops += body(contour, hatch)
    return ops + [("line", [(-0.05 * length, 0), (1.05 * length, 0)], 0.5, THREAD)]


def radial_bearing(d, D, B):
    """A deep groove ball bearing in section: both rings hatched, a ball between them."""
    ring = 0.28 * (D - d) / 2
    ball = min(0.62 * (D - d) / 4, 0.45 * B)
    pitch = (D + d) / 4
    ops = []
    for sign in (1, -1):
        for y0, y1 in ((D / 2 - ring, D / 2), (d / 2, d / 2 + ring)):
            ops += body(rect(0, B, sign * y0, sign * y1), hatch)
        ops += body(circle(B / 2, sign * pitch, ball), SHADE)
    return ops


def thrust_bearing(d, D, T, d1, D1):
    """A thrust ball bearing in section: shaft and housing washers, a ball between them."""
    washer_width = 0.32 * T
    ball = min(0.27 * T, (D - d) / 8)
    ops = []
    for sign in (1, -1):
        ops += body(rect(0, washer_width, sign * d / 2, sign * d1 / 2), hatch)
        ops += body(rect(T - washer_width, T, sign * D1 / 2, sign * D / 2), hatch)
        ops += body(circle(T / 2, sign * (d + D) / 4, ball), SHADE)
    return ops


def bearing(row):
    return radial_bearing(number(row, "d"), number(row, "D"), number(row, "B"))


def thrust(row):
    return thrust_bearing(number(row, "d"), number(row, "D"), number(row, "T"),
                          number(row, "d1"), number(row, "D1"))


def thread_feature(row):
    return thread_profile(number(row, "d"), number(row, "P"))


def rod(row):
    # The rod's length is the workshop's choice, not a column: five diameters.
    d = number(row, "d")
    return threaded_rod(d, number(row, "P"), 5 * d)


# What each family shows, by the name of its description (NAME.csvfamily.xml).
FAMILY_DRAWINGS = {
    "iso4017": lambda row: hex_bolt(row, partial=False),
    "din933": lambda row: hex_bolt(row, partial=False),
    "iso4014": lambda row: hex_bolt(row, partial=True),
    "din931": lambda row: hex_bolt(row, partial=True),
    "iso4762": socket_cap,
    "iso10642": countersunk,
    "iso4026": lambda row: set_screw(row, "flat"),
    "iso4027": lambda row: set_screw(row, "cone"),
    "iso4028": lambda row: set_screw(row, "dog"),
    "iso4029": lambda row: set_screw(row, "cup"),
    "iso4032": nut,
    "iso4033": nut,
    "iso4035": nut,
    "din934": nut,
    "iso7040": insert_nut,
    "iso10511": insert_nut,
    "iso7089": washer,
    "iso7090": lambda row: washer(row, chamfered=True),
    "iso7091": washer,
    "iso7092": washer,
    "iso7093": washer,
    "iso2338": pin,
    "iso8734": pin,
    "iso2339": taper_pin,
    "iso8752": spring_pin,
    "iso262": thread_feature,
    "rod": rod,
    "din471": shaft_ring,
    "din472": bore_ring,
    "din471-groove": shaft_groove,
    "din472-groove": bore_groove,
    "din625": bearing,
    "din711": thrust,
}


def m8_bolt_with_nut(faded=False):
    ops = hex_side(0, 5.3, 14.4, chamfer_right=False) + shank(5.3, 40, 8, 1.25, 18)
    ops += hex_side(24, 30.8, 14.4)
    if faded:
        ops = [op[:-1] + (faded_paint(op[-1]),) if op[0] == "fill" else op for op in ops]
        ops.append(("line", [(2, -9), (38, 9)], 2.2, STRIKE))
    return ops


def faded_paint(paint):
    if paint is None or callable(paint):
        return paint
    return paint[:3] + (110,)


def ring_emblem():
    return circlip(18.5 / 2, 18.5 / 2 + 2.6, 18.5 / 2, 18.5 / 2 + 4, 2.0)


# The emblem of each top category, by its en-US name in lower case, blanks
# written as "-". Fixed dimensions (an M8 bolt, a 6204 bearing, a ring for
# a 20 mm shaft), so a category shared by two libraries has the same emblem
# in both.
CATEGORY_DRAWINGS = {
    "fasteners": m8_bolt_with_nut,
    "withdrawn-standards": lambda: m8_bolt_with_nut(faded=True),
    "pins": lambda: pin({"d": "8", "l": "30", "c": "1.2"}),
    "threads": lambda: thread_profile(8, 1.25),
    "retaining-rings": ring_emblem,
    "bearings": lambda: radial_bearing(20, 47, 14),
    "workshop-stock": lambda: threaded_rod(8, 1.25, 40) + hex_side(14, 20.8, 14.4),
}


# ---------------------------------------------------------------- raster


class Canvas:
    """SIZE x SIZE pixels, each of SUB x SUB sub-pixels holding a colour or None."""

    def __init__(self):
        self.width = SIZE * SUB
        self.cells = [None] * (self.width * self.width)

    def fill(self, contours, paint):
        """Fills `contours` (pixel coordinates) by the even-odd rule."""
        edges = []
        for contour in contours:
            for i, (x0, y0) in enumerate(contour):
                x1, y1 = contour[(i + 1) % len(contour)]
                if y0 != y1:
                    edges.append((x0, y0, x1, y1))
        if not edges:
            return
        top = min(min(e[1], e[3]) for e in edges)
        bottom = max(max(e[1], e[3]) for e in edges)
        for row in range(max(0, math.floor(top * SUB)), min(self.width, math.ceil(bottom * SUB))):
            y = (row + 0.5) / SUB
            crossings = sorted(x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                               for x0, y0, x1, y1 in edges
                               if (y0 <= y < y1) or (y1 <= y < y0))
            for left, right in zip(crossings[0::2], crossings[1::2]):
                first = max(0, math.ceil(left * SUB - 0.5))
                last = min(self.width - 1, math.ceil(right * SUB - 0.5) - 1)
                for column in range(first, last + 1):
                    self.cells[row * self.width + column] = \
                        paint((column + 0.5) / SUB, y) if callable(paint) else paint

    def line(self, points, width, colour):
        """A polyline `width` pixels wide with round joins."""
        half = width / 2
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            length = math.hypot(x1 - x0, y1 - y0)
            if length == 0:
                continue
            nx, ny = -(y1 - y0) / length * half, (x1 - x0) / length * half
            self.fill([[(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny),
                        (x0 - nx, y0 - ny)]], colour)
        for x, y in points:
            self.fill([circle(x, y, half, 8)], colour)

    def rgba_rows(self):
        """The pixels, each the average of its sub-pixels (transparent ones count as clear)."""
        rows = []
        for py in range(SIZE):
            row = bytearray()
            for px in range(SIZE):
                r = g = b = a = 0
                for sy in range(SUB):
                    start = (py * SUB + sy) * self.width + px * SUB
                    for cell in self.cells[start:start + SUB]:
                        if cell is not None:
                            r += cell[0] * cell[3]
                            g += cell[1] * cell[3]
                            b += cell[2] * cell[3]
                            a += cell[3]
                row += bytes((r // a, g // a, b // a, a // (SUB * SUB)) if a else (0, 0, 0, 0))
            rows.append(bytes(row))
        return rows


def bounds(ops):
    points = [p for op in ops if op[0] == "fill" for contour in op[1] for p in contour]
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return min(xs), max(xs), min(ys), max(ys)


def render(ops):
    """The drawing scaled to fit the image with MARGIN pixels free, centred."""
    x0, x1, y0, y1 = bounds(ops)
    scale = (SIZE - 2 * MARGIN) / max(x1 - x0, y1 - y0)
    ox = SIZE / 2 - (x0 + x1) / 2 * scale
    oy = SIZE / 2 + (y0 + y1) / 2 * scale

    def to_pixels(points):
        return [(ox + x * scale, oy - y * scale) for x, y in points]

    canvas = Canvas()
    for op in ops:
        if op[0] == "fill":
            canvas.fill([to_pixels(c) for c in op[1]], op[2])
        elif op[0] == "line":
            canvas.line(to_pixels(op[1]), op[2], op[3])
        else:
            _, start, end, radius, pitch = op
            # Every pitch where that leaves room between the lines, else every n-th.
            step = pitch * math.ceil(MIN_THREAD_STEP / (pitch * scale))
            x = end - pitch / 2
            while x - pitch / 2 >= start:
                canvas.line(to_pixels([(x, -radius), (x - pitch / 2, radius)]), 0.7, THREAD)
                x -= step
    return canvas.rgba_rows()


def png_bytes(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    raw = b"".join(b"\x00" + row for row in rows)  # filter "none" on every line
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + \
        chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


# ---------------------------------------------------------------- sources


def first_row(table):
    with open(table, newline="", encoding="utf-8") as file:
        for row in csv.DictReader(file):
            return row
    raise ValueError("%s has no data line" % table)


def write_image(path, ops):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(png_bytes(render(ops)))


def slug(name):
    return name.lower().replace(" ", "-")


def draw_library(folder):
    """Draws the images of one library folder; returns the attributes that do not name them."""
    mismatches = []
    thumbnails = os.path.join(folder, "thumbnails")
    for root, _, files in sorted(os.walk(os.path.join(folder, "families"))):
        for name in sorted(f for f in files if f.endswith(".csvfamily.xml")):
            stem = name[:-len(".csvfamily.xml")]
            description = os.path.join(root, name)
            element = ElementTree.parse(description).getroot()
            row = first_row(os.path.join(root, element.get("Table", stem + ".csv")))
            image = os.path.join(thumbnails, stem + ".png")
            write_image(image, FAMILY_DRAWINGS[stem](row))
            wanted = os.path.relpath(image, root).replace(os.sep, "/")
            if element.get("Thumbnail") != wanted:
                mismatches.append('%s: Thumbnail="%s"' % (description, wanted))
    library = os.path.join(folder, "library.xml")
    for categories in ElementTree.parse(library).getroot().findall("Categories"):
        for category in categories.findall("Category"):
            english = [n.text for n in category.findall("Name") if n.get("Lang") == "en-US"]
            name = "category-" + slug(english[0]) + ".png"
            write_image(os.path.join(thumbnails, name), CATEGORY_DRAWINGS[slug(english[0])]())
            if category.get("Icon") != "thumbnails/" + name:
                mismatches.append('%s: category %s: Icon="thumbnails/%s"'
                                  % (library, english[0], name))
    return mismatches


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else \
        os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    mismatches = []
    for name in sorted(os.listdir(data)):
        if os.path.isfile(os.path.join(data, name, "library.xml")):
            mismatches += draw_library(os.path.join(data, name))
    for line in mismatches:
        print("attribute to set: " + line, file=sys.stderr)
    return 1 if mismatches else 0


if __name__ == "__main__":
    sys.exit(main())
