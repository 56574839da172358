#!/usr/bin/python3
"""Draws Brindlecot's pictures into resources/pictures/<id>.png.

The PNGs are committed; run this (Debian: python3-pil) only to redraw them:
    python3 resources/draw-pictures.py

Shapes are drawn oversampled and box-filtered down, so edges are anti-aliased. Icons that come with
a mask store their straight (unblended) colours, with pure white wherever nothing is drawn: the
program turns that white transparent and takes the coverage from the mask (black shows, white
hides), so edges blend into whatever the icon sits on without a white fringe.
"""

import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures")
FONT_DIRS = ["/usr/share/fonts/opentype/urw-base35", "/usr/share/fonts/truetype/dejavu"]
WHITE = (255, 255, 255)
HIGHLIGHT = (250, 250, 250)  # pure white inside artwork would turn transparent


def font(names, size):
    for name in names:
        for folder in FONT_DIRS:
            path = os.path.join(folder, name)
            if os.path.exists(path):
                return ImageFont.truetype(path, size)
    raise SystemExit("no usable font among " + ", ".join(names))


def bold_font(size):
    return font(["NimbusSans-Bold.otf", "DejaVuSans-Bold.ttf"], size)


def regular_font(size):
    return font(["NimbusSans-Regular.otf", "DejaVuSans.ttf"], size)


class Gradient:
    """Colour stops along a line from p0 to p1, or around a centre out to a radius."""

    def __init__(self, stops, p0, p1=None, radius=None):
        self.stops, self.p0, self.p1, self.radius = stops, p0, p1, radius

    def colour_at(self, t):
        stops = self.stops
        if t <= stops[0][0]:
            return stops[0][1]
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t <= t1:
                f = (t - t0) / (t1 - t0) if t1 > t0 else 1.0
                return tuple(round(a + (b - a) * f) for a, b in zip(c0, c1))
        return stops[-1][1]

    def render(self, art):
        # Gradients are smooth: work them out on a coarse grid and let bilinear scaling fill in.
        step = 4
        w, h = art.img.size[0] // step, art.img.size[1] // step
        values = []
        for y in range(h):
            for x in range(w):
                px, py = (x + 0.5) * step / art.s, (y + 0.5) * step / art.s
                if self.radius is not None:
                    t = math.hypot(px - self.p0[0], py - self.p0[1]) / self.radius
                else:
                    dx, dy = self.p1[0] - self.p0[0], self.p1[1] - self.p0[1]
                    t = ((px - self.p0[0]) * dx + (py - self.p0[1]) * dy) / (dx * dx + dy * dy)
                values.append(self.colour_at(min(max(t, 0.0), 1.0)))
        coarse = Image.new("RGBA" if len(values[0]) == 4 else "RGB", (w, h))
        coarse.putdata(values)
        return coarse.convert("RGBA").resize(art.img.size, Image.BILINEAR)


class Art:
    """An oversampled RGBA layer; coordinates are in pixels of the finished picture."""

    def __init__(self, width, height, scale):
        self.w, self.h, self.s = width, height, scale
        self.img = Image.new("RGBA", (width * scale, height * scale), (0, 0, 0, 0))

    # Shapes, as coverage masks.
    def blank(self):
        return Image.new("L", self.img.size, 0)

    def pts(self, points):
        return [(x * self.s, y * self.s) for x, y in points]

    def box(self, box):
        return [v * self.s for v in box]

    def polygon(self, points, grow=0.0):
        """The polygon, grown outwards by `grow` with round corners."""
        m = self.blank()
        d = ImageDraw.Draw(m)
        d.polygon(self.pts(points), fill=255)
        if grow > 0:
            self._round_stroke(d, points + [points[0]], grow)
        return m

    def stroke(self, points, width):
        """A polyline of the given width with round ends and joins."""
        m = self.blank()
        self._round_stroke(ImageDraw.Draw(m), points, width / 2)
        return m

    def _round_stroke(self, d, points, r):
        sp = self.pts(points)
        for a, b in zip(sp, sp[1:]):
            d.line([a, b], fill=255, width=max(1, round(2 * r * self.s)))
        for x, y in sp:
            d.ellipse([x - r * self.s, y - r * self.s, x + r * self.s, y + r * self.s], fill=255)

    def ellipse(self, box):
        m = self.blank()
        ImageDraw.Draw(m).ellipse(self.box(box), fill=255)
        return m

    def ring(self, box, width):
        m = self.blank()
        ImageDraw.Draw(m).ellipse(self.box(box), outline=255, width=round(width * self.s))
        return m

    def rrect(self, box, radius):
        m = self.blank()
        ImageDraw.Draw(m).rounded_rectangle(self.box(box), radius=radius * self.s, fill=255)
        return m

    def arc(self, box, start, end, width):
        m = self.blank()
        ImageDraw.Draw(m).arc(self.box(box), start, end, fill=255, width=round(width * self.s))
        return m

    def text(self, xy, text, fnt_size, bold=True, anchor="mm"):
        m = self.blank()
        f = (bold_font if bold else regular_font)(round(fnt_size * self.s))
        ImageDraw.Draw(m).text((xy[0] * self.s, xy[1] * self.s), text, font=f, fill=255,
                               anchor=anchor)
        return m

    def sparkle(self, cx, cy, outer, inner, turn=0.0):
        """A four-pointed star."""
        points = []
        for i in range(8):
            r = outer if i % 2 == 0 else inner
            a = math.radians(turn + i * 45 - 90)
            points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        return self.polygon(points)

    # Mask arithmetic.
    @staticmethod
    def unite(*masks):
        out = masks[0]
        for m in masks[1:]:
            out = ImageChops.lighter(out, m)
        return out

    @staticmethod
    def clip(mask, within):
        return ImageChops.multiply(mask, within)

    @staticmethod
    def cut(mask, away):
        return ImageChops.subtract(mask, away)

    def blur(self, mask, radius):
        return mask.filter(ImageFilter.GaussianBlur(radius * self.s))

    # Painting.
    def paint(self, mask, fill, opacity=1.0):
        if isinstance(fill, Gradient):
            layer = fill.render(self)
        else:
            colour = tuple(fill) + (255,) * (4 - len(fill))
            layer = Image.new("RGBA", self.img.size, colour)
        alpha = ImageChops.multiply(layer.getchannel("A"), mask)
        if opacity < 1.0:
            alpha = alpha.point(lambda v: round(v * opacity))
        layer.putalpha(alpha)
        self.img.alpha_composite(layer)

    def finish(self):
        """The picture at its real size, anti-aliased."""
        return self.img.convert("RGBa").resize((self.w, self.h), Image.BOX).convert("RGBA")


# Writing the files.
def save(image, pid):
    image.save(os.path.join(OUT, "%d.png" % pid), optimize=True)


def save_icon_and_mask(art, pid):
    """The icon as <pid>.png and its mask as <pid + 1>.png."""
    rgba = art.finish()
    icon = Image.new("RGB", rgba.size, WHITE)
    mask = Image.new("RGB", rgba.size, WHITE)
    icon_px, mask_px = icon.load(), mask.load()
    for y in range(rgba.height):
        for x in range(rgba.width):
            r, g, b, a = rgba.getpixel((x, y))
            if a == 0:
                continue
            icon_px[x, y] = (r, g, b) if (r, g, b) != WHITE else HIGHLIGHT
            mask_px[x, y] = (255 - a,) * 3
    save(icon, pid)
    save(mask, pid + 1)


def on_white(art):
    return Image.alpha_composite(Image.new("RGBA", (art.w, art.h), WHITE + (255,)),
                                 art.finish()).convert("RGB")


def gloss(art, shape, top, bottom, opacity=0.45):
    """A soft highlight over the upper part of a shape."""
    sheen = Gradient([(0.0, HIGHLIGHT + (255,)), (1.0, HIGHLIGHT + (0,))], (0, top), (0, bottom))
    art.paint(shape, sheen, opacity)


# The pictures.
def lightning_bolt_connect():
    a = Art(32, 32, 16)
    core = [(17.2, 1.6), (24.2, 1.6), (19.4, 12.0), (25.6, 12.0), (11.2, 30.4), (14.2, 18.6),
            (7.6, 18.6)]
    outer, inner = a.polygon(core, grow=0.9), a.polygon(core, grow=0.0)
    a.paint(outer, (178, 84, 0))
    a.paint(inner, Gradient([(0.0, (255, 240, 120)), (0.45, (255, 200, 20)),
                             (1.0, (246, 128, 0))], (0, 1.5), (0, 30.5)))
    # A lighter face on the left of the bolt reads as a bevel at toolbar size.
    face = a.polygon([(17.2, 1.6), (21.0, 1.6), (15.6, 14.4), (21.8, 14.4), (11.2, 30.4),
                      (14.2, 18.6), (7.6, 18.6)])
    a.paint(a.clip(face, inner), HIGHLIGHT, 0.35)
    save_icon_and_mask(a, 168)


def report_broken():
    # Drawn at 128 pixels: the report sheet shows its right half, cut by the sheet's left edge;
    # the toolbar scales it down.
    k = 2
    a = Art(64 * k, 64 * k, 4)
    tri = [(32 * k, 9.5 * k), (7.5 * k, 53.5 * k), (56.5 * k, 53.5 * k)]
    outer, inner = a.polygon(tri, grow=5.0 * k), a.polygon(tri, grow=3.0 * k)
    a.paint(outer, (132, 14, 10))
    a.paint(inner, Gradient([(0.0, (255, 112, 84)), (0.55, (226, 38, 26)), (1.0, (178, 18, 12))],
                            (0, 6 * k), (0, 58 * k)))
    gloss(a, a.clip(a.polygon([(32 * k, 9.5 * k), (0, 36 * k), (64 * k, 36 * k)]), inner),
          6 * k, 36 * k, 0.4)
    bar = a.stroke([(32 * k, 23 * k), (32 * k, 38 * k)], 6.4 * k)
    dot = a.ellipse([28.6 * k, 43.0 * k, 35.4 * k, 49.8 * k])
    mark = a.unite(bar, dot)
    a.paint(a.blur(mark, 1.2 * k), (90, 0, 0), 0.45)
    a.paint(mark, HIGHLIGHT)
    save_icon_and_mask(a, 170)


def scan_server():
    a = Art(32, 32, 16)
    # The server: a small tower with three drive bays.
    case = a.rrect([3.0, 2.0, 20.0, 28.5], 2.4)
    a.paint(case, (58, 64, 76))
    a.paint(a.rrect([4.0, 3.0, 19.0, 27.5], 1.6),
            Gradient([(0.0, (214, 220, 230)), (1.0, (140, 150, 166))], (4, 3), (19, 27.5)))
    for y in (5.5, 10.5, 15.5):
        a.paint(a.rrect([6.0, y, 17.0, y + 3.2], 0.8), (70, 78, 92))
        a.paint(a.ellipse([14.2, y + 0.9, 15.8, y + 2.5]), (90, 230, 110))
    # The magnifying glass in front of it.
    lens = [11.0, 11.0, 25.0, 25.0]
    a.paint(a.stroke([(23.4, 23.4), (29.2, 29.2)], 4.6), (40, 40, 46))
    a.paint(a.stroke([(23.8, 23.8), (28.8, 28.8)], 2.6),
            Gradient([(0.0, (150, 96, 40)), (1.0, (96, 56, 20))], (24, 24), (29, 29)))
    a.paint(a.ellipse(lens), (150, 205, 255), 0.55)
    a.paint(a.arc([13.6, 13.6, 22.4, 22.4], 190, 260, 1.4), HIGHLIGHT, 0.9)
    a.paint(a.ring([10.2, 10.2, 25.8, 25.8], 2.6),
            Gradient([(0.0, (120, 128, 140)), (1.0, (44, 48, 58))], (11, 11), (25, 25)))
    save_icon_and_mask(a, 172)


def plus_sign():
    a = Art(32, 32, 16)

    def cross(inset, radius):
        return a.unite(a.rrect([3.5 + inset, 11.0 + inset, 28.5 - inset, 21.0 - inset], radius),
                       a.rrect([11.0 + inset, 3.5 + inset, 21.0 - inset, 28.5 - inset], radius))

    a.paint(cross(0.0, 3.0), (24, 104, 30))
    inner = cross(1.1, 2.0)
    a.paint(inner, Gradient([(0.0, (150, 226, 110)), (1.0, (40, 150, 44))], (0, 4.5), (0, 27.5)))
    gloss(a, a.clip(a.rrect([4.6, 4.6, 27.4, 16.0], 2.0), inner), 4.6, 16.0, 0.5)
    save_icon_and_mask(a, 174)


def brindlecot_logo():
    a = Art(128, 128, 4)
    # A speech bubble wearing a headset: talking with your people.
    bubble_core = a.unite(a.rrect([22, 30, 106, 98], 24),
                          a.polygon([(80, 92), (100, 118), (98, 90)]))
    outline = a.unite(a.rrect([18, 26, 110, 102], 28),
                      a.polygon([(80, 92), (100, 118), (98, 90)], grow=4.0))
    a.paint(a.blur(outline, 2.5), (0, 20, 60), 0.35)
    a.paint(outline, (16, 56, 122))
    a.paint(bubble_core, Gradient([(0.0, (110, 186, 250)), (0.6, (40, 118, 214)),
                                   (1.0, (24, 84, 178))], (0, 30), (0, 118)))
    gloss(a, a.clip(a.rrect([26, 33, 102, 66], 20), bubble_core), 33, 66, 0.45)
    letter = a.text((64, 66), "B", 58)
    a.paint(a.blur(letter, 1.6), (8, 38, 96), 0.55)
    a.paint(letter, HIGHLIGHT)
    # The headset: band over the top, a cup on each side, a microphone on the left.
    band_box = [10, 6, 118, 110]
    a.paint(a.arc(band_box, 198, 342, 9), (44, 48, 58))
    a.paint(a.arc([12.5, 8.5, 115.5, 107.5], 205, 335, 3), (120, 128, 142))
    boom = a.stroke([(14, 74), (16, 90), (26, 100), (40, 104)], 4.5)
    a.paint(boom, (44, 48, 58))
    a.paint(a.rrect([36, 99, 50, 110], 5), (44, 48, 58))
    a.paint(a.rrect([38, 101, 48, 108], 3.5), (100, 108, 122))
    for x0 in (4, 104):
        a.paint(a.rrect([x0, 44, x0 + 20, 82], 8), (36, 40, 48))
        a.paint(a.rrect([x0 + 2.5, 46.5, x0 + 17.5, 79.5], 6),
                Gradient([(0.0, (150, 158, 172)), (1.0, (66, 72, 86))], (0, 46), (0, 80)))
        a.paint(a.rrect([x0 + 5, 50, x0 + 10, 66], 2.5), HIGHLIGHT, 0.35)
    save_icon_and_mask(a, 176)


def powered_by_search():
    a = Art(148, 44, 4)
    a.paint(a.text((7, 4), "powered by", 11.5, bold=False, anchor="lt"), (112, 112, 118))
    letters = [("s", (0, 150, 136)), ("e", (63, 81, 181)), ("a", (240, 120, 24)),
               ("r", (142, 36, 170)), ("c", (52, 154, 64)), ("h", (2, 119, 189))]
    f = bold_font(round(27 * a.s))
    x = 6.0
    for ch, colour in letters:
        a.paint(a.text((x, 37.5), ch, 27, anchor="ls"), colour)
        x += f.getlength(ch) / a.s + 0.4
    # A small magnifier after the word.
    gx, gy = x + 10, 25.0
    a.paint(a.stroke([(gx + 4.5, gy + 4.5), (gx + 10, gy + 10)], 3.6), (70, 74, 84))
    a.paint(a.ring([gx - 7, gy - 7, gx + 7, gy + 7], 3.0), (70, 74, 84))
    save(on_white(a), 180)


def sparkle():
    a = Art(128, 128, 4)
    everything = a.rrect([-1, -1, 129, 129], 0)
    a.paint(everything, Gradient([(0.0, (92, 96, 196)), (0.55, (40, 42, 120)),
                                  (1.0, (14, 16, 52))], (64, 64), radius=92))
    # Rays of alternating length around the centre.
    rays = a.blank()
    d = ImageDraw.Draw(rays)
    for i in range(24):
        angle = math.radians(i * 15 + 7.5)
        length = 60 if i % 2 == 0 else 40
        half = math.radians(2.6 if i % 2 == 0 else 2.0)
        tip = (64 + length * math.cos(angle), 64 + length * math.sin(angle))
        left = (64 + 8 * math.cos(angle - half * 4), 64 + 8 * math.sin(angle - half * 4))
        right = (64 + 8 * math.cos(angle + half * 4), 64 + 8 * math.sin(angle + half * 4))
        d.polygon(a.pts([left, tip, right, (64, 64)]), fill=255)
    fade = Gradient([(0.0, (255, 224, 120, 230)), (1.0, (255, 190, 60, 0))], (64, 64), radius=60)
    a.paint(rays, fade)
    glow = a.ellipse([34, 34, 94, 94])
    a.paint(a.blur(glow, 10), (255, 210, 110), 0.75)
    # The main sparkle and its smaller companions.
    star = a.sparkle(64, 64, 44, 8.5)
    a.paint(a.blur(star, 3), (255, 236, 150), 0.8)
    a.paint(star, Gradient([(0.0, HIGHLIGHT), (0.35, (255, 246, 196)), (1.0, (255, 196, 64))],
                           (64, 64), radius=44))
    a.paint(a.sparkle(64, 64, 20, 5, turn=45), (255, 248, 220), 0.7)
    for cx, cy, r in ((24, 26, 10), (104, 30, 8), (100, 100, 11), (26, 98, 7), (88, 14, 4.5),
                      (14, 62, 4.5), (116, 68, 4), (60, 116, 4.5)):
        small = a.sparkle(cx, cy, r, r * 0.22)
        a.paint(a.blur(small, 1.5), (255, 230, 160), 0.7)
        a.paint(small, (255, 250, 226))
    save(a.finish().convert("RGB"), 181)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    lightning_bolt_connect()
    report_broken()
    scan_server()
    plus_sign()
    brindlecot_logo()
    powered_by_search()
    sparkle()
