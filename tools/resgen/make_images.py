#!/usr/bin/env python3
"""Draws Quorvella's bitmaps and icon: bitmap 106 (menu bar buttons), bitmap 128
(list images) and icon 101 as PNG at the sizes a Linux desktop uses, plus an SVG.

Standard library only. Every shape is a signed distance function, so each pixel gets
an exact anti-aliased coverage and the output is the same on every run.

    python3 tools/resgen/make_images.py [res/images]
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------- PNG writer


def write_png(path, width, height, pixels):
    """pixels: list of rows, each a list of (r, g, b, a) tuples of 0..255."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter type none
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# ---------------------------------------------------------------- colours


def rgb(text, alpha=1.0):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


# ---------------------------------------------------------------- distance functions


def sd_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def sd_polygon(px, py, pts):
    d = (px - pts[0][0]) ** 2 + (py - pts[0][1]) ** 2
    sign = 1.0
    j = len(pts) - 1
    for i in range(len(pts)):
        vx, vy = pts[i]
        wx, wy = pts[j]
        ex, ey = wx - vx, wy - vy
        qx, qy = px - vx, py - vy
        e2 = ex * ex + ey * ey
        t = max(0.0, min(1.0, (qx * ex + qy * ey) / e2))
        bx, by = qx - ex * t, qy - ey * t
        d = min(d, bx * bx + by * by)
        c1 = py >= vy
        c2 = py < wy
        c3 = ex * qy > ey * qx
        if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
            sign = -sign
        j = i
    return sign * math.sqrt(d)


def sd_round_rect(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


# ---------------------------------------------------------------- shapes
#
# A shape knows its distance function (in design units), its paint and how it is
# written as SVG. A stroked shape is the band of half its width around the outline;
# `min_px` keeps thin strokes at least that many pixels wide at small sizes.


class Shape:
    def __init__(self, fill=None, stroke=None, width=0.0, min_px=0.0, blur=0.0):
        self.fill = fill
        self.stroke = stroke
        self.width = width
        self.min_px = min_px
        self.blur = blur

    def paints(self, unit):
        """(distance function, colour) pairs, painted in order; unit = design units per pixel."""
        out = []
        if self.fill is not None:
            out.append((self.sdf, self.fill))
        if self.stroke is not None:
            half = max(self.width, self.min_px * unit) / 2
            out.append((lambda x, y, f=self.sdf: abs(f(x, y)) - half, self.stroke))
        return out

    def svg_paint(self):
        parts = []
        if self.fill is not None:
            parts.append('fill="%s"%s' % svg_colour(self.fill, "fill"))
        else:
            parts.append('fill="none"')
        if self.stroke is not None:
            parts.append('stroke="%s"%s stroke-width="%g"' % (svg_colour(self.stroke, "stroke") + (self.width,)))
        if self.blur:
            parts.append('filter="url(#soft)"')
        return " ".join(parts)


def svg_colour(colour, what):
    r, g, b, a = colour
    opacity = "" if a >= 1.0 else ' %s-opacity="%g"' % (what, round(a, 3))
    return "#%02x%02x%02x" % (r, g, b), opacity


class Rect(Shape):
    def __init__(self, x0, y0, x1, y1, r=0.0, **kw):
        super().__init__(**kw)
        self.box = (x0, y0, x1, y1, r)

    def sdf(self, x, y):
        return sd_round_rect(x, y, *self.box)

    def svg(self):
        x0, y0, x1, y1, r = self.box
        return '<rect x="%g" y="%g" width="%g" height="%g" rx="%g" %s/>' % (
            x0, y0, x1 - x0, y1 - y0, r, self.svg_paint())


class Circle(Shape):
    def __init__(self, cx, cy, r, **kw):
        super().__init__(**kw)
        self.c = (cx, cy, r)

    def sdf(self, x, y):
        cx, cy, r = self.c
        return math.hypot(x - cx, y - cy) - r

    def svg(self):
        return '<circle cx="%g" cy="%g" r="%g" %s/>' % (self.c + (self.svg_paint(),))


class Polygon(Shape):
    def __init__(self, pts, **kw):
        super().__init__(**kw)
        self.pts = pts

    def sdf(self, x, y):
        return sd_polygon(x, y, self.pts)

    def svg(self):
        points = " ".join("%g,%g" % p for p in self.pts)
        return '<polygon points="%s" stroke-linejoin="round" %s/>' % (points, self.svg_paint())


class Line(Shape):
    """A polyline with round caps and joins, `width` thick, painted in `colour`."""

    def __init__(self, pts, width, colour, min_px=0.0):
        super().__init__(fill=colour, min_px=min_px)
        self.pts = pts
        self.thick = width

    def paints(self, unit):
        half = max(self.thick, self.min_px * unit) / 2

        def f(x, y):
            return min(sd_segment(x, y, *a, *b) for a, b in zip(self.pts, self.pts[1:])) - half

        return [(f, self.fill)]

    def svg(self):
        r, g, b, a = self.fill
        opacity = "" if a >= 1.0 else ' stroke-opacity="%g"' % a
        points = " ".join("%g,%g" % p for p in self.pts)
        return ('<polyline points="%s" fill="none" stroke="#%02x%02x%02x"%s stroke-width="%g" '
                'stroke-linecap="round" stroke-linejoin="round"/>' % (points, r, g, b, opacity, self.thick))


def arc_points(cx, cy, r, start_deg, end_deg, steps=24):
    """Points of a circular arc; angles in degrees, 0 = east, 90 = south (y grows down)."""
    out = []
    for i in range(steps + 1):
        a = math.radians(start_deg + (end_deg - start_deg) * i / steps)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


# ---------------------------------------------------------------- rasteriser


def render(shapes, design, size):
    """Renders shapes drawn on a design x design square into a size x size RGBA image."""
    unit = design / size
    acc = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]  # premultiplied floats
    for shape in shapes:
        for sdf, colour in shape.paints(unit):
            cr, cg, cb, ca = colour
            soft = max(unit, shape.blur)
            for py in range(size):
                y = (py + 0.5) * unit
                row = acc[py]
                for px in range(size):
                    x = (px + 0.5) * unit
                    d = sdf(x, y)
                    if d >= soft * 0.5:
                        continue
                    cov = min(1.0, 0.5 - d / soft) * ca
                    r0, g0, b0, a0 = row[px]
                    keep = 1.0 - cov
                    row[px] = (cr * cov + r0 * keep, cg * cov + g0 * keep, cb * cov + b0 * keep,
                               cov + a0 * keep)
    pixels = []
    for row in acc:
        out = []
        for r, g, b, a in row:
            if a <= 0.0:
                out.append((0, 0, 0, 0))
                continue
            out.append((round(r / a), round(g / a), round(b / a), round(a * 255)))
        pixels.append(out)
    return pixels


def strip(images):
    """Puts square images of equal size side by side."""
    return [sum((img[y] for img in images), []) for y in range(len(images[0]))]


# ---------------------------------------------------------------- bitmap 106

OUTLINE = rgb("#2b2b2b")


def hammer():
    # handle from the lower left up to the head, head across it at the upper right
    cx, cy = 10.2, 5.8
    u = (math.sqrt(0.5), math.sqrt(0.5))  # along the head
    v = (math.sqrt(0.5), -math.sqrt(0.5))  # along the handle

    def corner(a, b):
        return (cx + a * u[0] + b * v[0], cy + a * u[1] + b * v[1])

    head = [corner(-5.0, -1.9), corner(5.0, -1.9), corner(5.0, 1.9), corner(-5.0, 1.9)]
    shine = [corner(-3.8, -1.1), corner(3.8, -1.1), corner(3.8, -0.2), corner(-3.8, -0.2)]
    handle = [(2.6, 13.4), (cx, cy)]
    return [
        Line(handle, 3.6, OUTLINE),
        Line(handle, 2.0, rgb("#b07a3e")),
        Polygon(head, fill=rgb("#7a8794"), stroke=OUTLINE, width=1.0),
        Polygon(shine, fill=rgb("#c3ccd5")),
    ]


def clock():
    # centred on a pixel so the hands fall on whole pixels
    return [
        Circle(7.5, 7.5, 6.5, fill=rgb("#fdfdf8"), stroke=rgb("#1f4e8c"), width=1.6),
        Line([(7.5, 7.5), (7.5, 3.0)], 1.0, OUTLINE),
        Line([(7.5, 7.5), (10.5, 7.5)], 1.0, OUTLINE),
        Rect(7.0, 7.0, 8.0, 8.0, fill=rgb("#c0392b")),
    ]


def undo_arrow():
    # the tail runs left to right over the top, bends down round the right and comes back
    path = [(5.5, 5.0)] + arc_points(9.5, 8.75, 3.75, -90, 90, 16) + [(6.0, 12.5)]
    head = [(0.8, 5.0), (6.4, 0.6), (6.4, 9.4)]
    blue = rgb("#2f74c0")
    return [
        Line(path, 4.0, rgb("#153e6e")),
        Polygon(head, fill=blue, stroke=rgb("#153e6e"), width=1.0),
        Line(path, 2.2, blue),
    ]


# ---------------------------------------------------------------- bitmap 128


def up_triangle():
    return [Polygon([(8, 5), (13, 11), (3, 11)], fill=rgb("#4a4a4a"))]


def down_triangle():
    return [Polygon([(3, 5), (13, 5), (8, 11)], fill=rgb("#4a4a4a"))]


def notepad():
    ink = rgb("#4f78b8")
    return [
        Rect(2.5, 2.5, 13.5, 15.5, 0.8, fill=rgb("#fff7b0"), stroke=rgb("#8a7a30"), width=1.0),
        Rect(2.0, 2.0, 14.0, 5.0, 0.6, fill=rgb("#c0392b")),
        Line([(5, 1.2), (5, 3.6)], 1.1, OUTLINE),
        Line([(8, 1.2), (8, 3.6)], 1.1, OUTLINE),
        Line([(11, 1.2), (11, 3.6)], 1.1, OUTLINE),
        Rect(5.0, 7.0, 11.0, 8.0, fill=ink),
        Rect(5.0, 9.0, 11.0, 10.0, fill=ink),
        Rect(5.0, 11.0, 11.0, 12.0, fill=ink),
        Rect(5.0, 13.0, 9.0, 14.0, fill=ink),
    ]


def dash():
    return [Rect(4.0, 7.0, 12.0, 9.0, fill=rgb("#7a7a7a"))]


# ---------------------------------------------------------------- icon 101
#
# A spiral notebook with ruled lines and a clock in front of its lower right corner.


def icon_shapes():
    rings = [Line([(26, y), (58, y)], 10, rgb("#5b6470"), min_px=1.0) for y in (62, 102, 142, 182)]
    lines = [Line([(78, y), (180, y)], 6, rgb("#9cb8de"), min_px=1.0) for y in (78, 108, 138)]
    return [
        Rect(44, 28, 204, 236, 18, fill=rgb("#000000", 0.22), blur=10),  # page shadow
        Rect(36, 20, 196, 228, 18, fill=rgb("#2f6db3")),  # cover
        Rect(48, 24, 192, 222, 12, fill=rgb("#fbfaf4"), stroke=rgb("#c9c4b2"), width=2),
        Line([(70, 32), (70, 214)], 4, rgb("#e07a7a"), min_px=1.0),  # margin rule
        *lines,
        *rings,
        Circle(176, 182, 70, fill=rgb("#000000", 0.25), blur=12),  # clock shadow
        Circle(170, 174, 70, fill=rgb("#e9f1fb"), stroke=rgb("#1f4e8c"), width=14, min_px=1.5),
        *[Line([(170 + 50 * math.cos(math.radians(a)), 174 + 50 * math.sin(math.radians(a))),
                (170 + 40 * math.cos(math.radians(a)), 174 + 40 * math.sin(math.radians(a)))],
               8, rgb("#1f4e8c")) for a in (0, 90, 180, 270)],
        Line([(170, 174), (170, 128)], 11, rgb("#23262b"), min_px=1.2),  # minute hand
        Line([(170, 174), (204, 194)], 11, rgb("#c0392b"), min_px=1.2),  # hour hand
        Circle(170, 174, 9, fill=rgb("#23262b")),
    ]


def icon_svg(shapes):
    body = "\n  ".join(s.svg() for s in shapes)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">\n'
            '  <title>Quorvella</title>\n'
            '  <defs><filter id="soft" x="-20%" y="-20%" width="140%" height="140%">'
            '<feGaussianBlur stdDeviation="4"/></filter></defs>\n'
            "  " + body + "\n</svg>\n")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "res", "images")
    os.makedirs(out, exist_ok=True)

    b106 = strip([render(s, 16, 16) for s in (hammer(), clock(), undo_arrow())])
    write_png(os.path.join(out, "bitmap106.png"), 48, 16, b106)

    blank = render([], 16, 16)
    b128 = strip([render(up_triangle(), 16, 16), render(down_triangle(), 16, 16), blank,
                  render(notepad(), 16, 16), render(dash(), 16, 16), blank])
    write_png(os.path.join(out, "bitmap128.png"), 96, 16, b128)

    shapes = icon_shapes()
    for size in (16, 32, 48, 64, 128, 256):
        write_png(os.path.join(out, "icon101-%d.png" % size), size, size, render(shapes, 256, size))
    with open(os.path.join(out, "icon101.svg"), "w", encoding="utf-8") as f:
        f.write(icon_svg(shapes))


if __name__ == "__main__":
    main()
