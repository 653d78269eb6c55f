#!/usr/bin/env python3
"""Draws Tessary's artwork: the program icon, the monitor picture of the wallpaper preview, the
two overlays laid over the preview, and the pictures of the two resample buttons. Run it from
anywhere; it writes next to itself.
Needs Pillow (Debian: python3-pil). The results are committed, so the build does not need it."""
import os
import struct
from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def icon_image(size):
    """A small monitor showing a sunset landscape: the program picks desktop pictures."""
    s = size * 4  # draw large, reduce for smooth edges
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    m = s // 16
    bezel = (m, m * 2, s - m, s - m * 4)
    d.rounded_rectangle(bezel, radius=m * 2, fill=(58, 62, 74, 255), outline=(24, 26, 32, 255), width=max(1, m // 2))
    sx0, sy0, sx1, sy1 = bezel[0] + m * 1.5, bezel[1] + m * 1.5, bezel[2] - m * 1.5, bezel[3] - m * 1.5
    for y in range(int(sy0), int(sy1)):
        t = (y - sy0) / max(1, sy1 - sy0)
        d.line([(sx0, y), (sx1, y)], fill=lerp((40, 90, 200, 255), (250, 170, 80, 255), t))
    sun_r = (sx1 - sx0) / 7
    cx, cy = sx0 + (sx1 - sx0) * 0.68, sy0 + (sy1 - sy0) * 0.45
    d.ellipse([cx - sun_r, cy - sun_r, cx + sun_r, cy + sun_r], fill=(255, 236, 150, 255))
    d.polygon([(sx0, sy1), (sx0, sy0 + (sy1 - sy0) * 0.62), (sx0 + (sx1 - sx0) * 0.35, sy0 + (sy1 - sy0) * 0.4),
               (sx0 + (sx1 - sx0) * 0.7, sy1)], fill=(40, 110, 60, 255))
    d.polygon([(sx0 + (sx1 - sx0) * 0.4, sy1), (sx0 + (sx1 - sx0) * 0.75, sy0 + (sy1 - sy0) * 0.6),
               (sx1, sy0 + (sy1 - sy0) * 0.75), (sx1, sy1)], fill=(30, 85, 50, 255))
    # stand
    d.rectangle([s / 2 - m * 1.5, bezel[3], s / 2 + m * 1.5, bezel[3] + m * 2], fill=(58, 62, 74, 255))
    d.rounded_rectangle([s / 2 - m * 5, bezel[3] + m * 2, s / 2 + m * 5, bezel[3] + m * 3], radius=m // 2,
                        fill=(40, 44, 52, 255))
    return img.resize((size, size), Image.LANCZOS)


# --- Monitor picture -------------------------------------------------------------------------
# The preview surface sits on the picture at exactly this rectangle (right and bottom exclusive).
MONITOR_SIZE = (331, 327)
SCREEN = (38, 38, 294, 230)


def vertical_gradient(draw, box, top, bottom):
    x0, y0, x1, y1 = box
    for y in range(int(y0), int(y1)):
        t = (y - y0) / max(1, y1 - y0 - 1)
        draw.line([(x0, y), (x1 - 1, y)], fill=lerp(top, bottom, t))


def monitor_image():
    """A flat-panel monitor on a stand, on a soft studio backdrop; the screen itself is black."""
    k = 4  # drawn four times larger, then reduced for smooth edges
    w, h = MONITOR_SIZE
    img = Image.new("RGB", (w * k, h * k))
    d = ImageDraw.Draw(img)
    vertical_gradient(d, (0, 0, w * k, h * k), (238, 240, 244), (212, 216, 223))

    def box(x0, y0, x1, y1):
        return [x0 * k, y0 * k, x1 * k - 1, y1 * k - 1]

    # Soft shadow on the floor under the base, blurred by hand with a few widening ellipses.
    shadow = Image.new("L", (w * k, h * k), 0)
    sd = ImageDraw.Draw(shadow)
    sd.ellipse(box(84, 306, 248, 324), fill=110)
    shadow = shadow.filter(ImageFilter.GaussianBlur(6 * k))
    img.paste((150, 154, 162), (0, 0), shadow)

    body_top, body_bottom = (60, 64, 72), (30, 32, 37)
    # Stand: a tapered neck and an oval foot.
    neck = [(146 * k, 252 * k), (186 * k, 252 * k), (194 * k, 304 * k), (138 * k, 304 * k)]
    neck_img = Image.new("RGB", img.size)
    vertical_gradient(ImageDraw.Draw(neck_img), (0, 252 * k, w * k, 304 * k), (44, 47, 54), (74, 78, 87))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).polygon(neck, fill=255)
    img.paste(neck_img, (0, 0), mask)
    d.ellipse(box(92, 296, 240, 318), fill=(28, 30, 35))
    d.ellipse(box(94, 296, 238, 314), fill=(70, 74, 83))
    d.ellipse(box(100, 297, 232, 311), fill=(88, 92, 101))
    d.line([(150 * k, 304 * k), (182 * k, 304 * k)], fill=(40, 42, 48), width=k)

    # Body: rounded case with a gentle top-to-bottom gradient and a lit top edge.
    outer = box(14, 14, 318, 262)
    d.rounded_rectangle(outer, radius=12 * k, fill=(18, 19, 23))
    body_img = Image.new("RGB", img.size)
    vertical_gradient(ImageDraw.Draw(body_img), (0, 15 * k, w * k, 261 * k), body_top, body_bottom)
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box(15, 15, 317, 261), radius=11 * k, fill=255)
    img.paste(body_img, (0, 0), mask)
    hl = Image.new("L", img.size, 0)
    ImageDraw.Draw(hl).rounded_rectangle(box(15, 15, 317, 261), radius=11 * k, outline=90, width=k)
    ImageDraw.Draw(hl).rectangle([0, 30 * k, w * k, h * k], fill=0)  # only the top edge catches light
    img.paste((150, 156, 168), (0, 0), hl)

    # Chin: a slightly darker strip, a logo mark and a power light.
    d.rectangle(box(28, 240, 304, 241), fill=(26, 28, 32))
    cx, cy = 166, 249
    d.rounded_rectangle(box(cx - 9, cy - 3, cx + 9, cy + 3), radius=3 * k, fill=(96, 101, 112))
    for i, col in enumerate([(110, 170, 230), (120, 200, 140), (240, 190, 90)]):
        d.rectangle(box(cx - 6 + i * 4, cy - 1, cx - 3 + i * 4, cy + 1), fill=col)
    d.ellipse(box(289, 247, 294, 252), fill=(40, 90, 60))
    d.ellipse(box(290, 248, 293, 251), fill=(90, 230, 140))

    img = img.resize(MONITOR_SIZE, Image.LANCZOS)

    # The recessed frame around the glass and the glass itself are drawn at final size, so the
    # screen area is exact to the pixel.
    d = ImageDraw.Draw(img)
    x0, y0, x1, y1 = SCREEN
    d.rectangle([x0 - 4, y0 - 4, x1 + 3, y1 + 3], fill=(22, 23, 27))
    d.rectangle([x0 - 3, y0 - 3, x1 + 2, y1 + 2], fill=(12, 12, 15))
    d.line([(x0 - 4, y1 + 3), (x1 + 3, y1 + 3)], fill=(84, 88, 98))  # lit lower lip of the recess
    d.line([(x1 + 3, y0 - 4), (x1 + 3, y1 + 3)], fill=(70, 74, 83))
    d.rectangle([x0, y0, x1 - 1, y1 - 1], fill=(0, 0, 0))
    return img


# --- Preview overlays ------------------------------------------------------------------------
OVERLAY_SIZE = (256, 192)


def smoothstep(e0, e1, x):
    t = min(1.0, max(0.0, (x - e0) / (e1 - e0)))
    return t * t * (3 - 2 * t)


def shading_image():
    """Black whose opacity grows softly toward the edges and most into the corners."""
    w, h = OVERLAY_SIZE
    img = Image.new("RGBA", OVERLAY_SIZE)
    px = img.load()
    for y in range(h):
        for x in range(w):
            u = abs((x + 0.5) / w * 2 - 1)
            v = abs((y + 0.5) / h * 2 - 1)
            r = (u ** 4 + v ** 4) ** 0.25  # a rounded rectangle rather than an ellipse
            a = 128 * smoothstep(0.45, 1.08, r) + 20 * v * v * (y > h / 2)
            px[x, y] = (0, 0, 8, int(round(min(255, a))))
    return img


def glare_image():
    """A broad diagonal sheen over the upper left, with a crisp edge and a faint second streak."""
    w, h = OVERLAY_SIZE
    img = Image.new("RGBA", OVERLAY_SIZE)
    px = img.load()
    for y in range(h):
        for x in range(w):
            # d runs from 0 at the top-left corner to 2 at the bottom-right one.
            d = (x + 0.5) / w + (y + 0.5) / h * 1.15
            sheen = 0.0
            if d < 0.92:
                sheen = 38 + 52 * (1 - d / 0.92) ** 1.6
                sheen *= smoothstep(0.92, 0.86, d) if d > 0.86 else 1.0
            streak = 26 * max(0.0, 1 - abs(d - 1.06) / 0.05)
            a = sheen + streak
            px[x, y] = (255, 255, 255, int(round(min(255, a))))
    return img


# --- Button pictures -------------------------------------------------------------------------
# Designed on a 16 x 16 grid; each grid unit is drawn as `k` pixels and reduced with a box filter,
# so straight edges stay crisp and only the diagonals are smoothed.
INK = (40, 56, 84, 255)
ARROW = (26, 104, 196, 255)


def picture(d, k, x0, y0, x1, y1):
    """A small landscape photo in a dark frame; grid coordinates, right and bottom inclusive."""
    X0, Y0, X1, Y1 = x0 * k, y0 * k, (x1 + 1) * k - 1, (y1 + 1) * k - 1
    d.rectangle([X0, Y0, X1, Y1], fill=INK)
    ix0, iy0, ix1, iy1 = X0 + k, Y0 + k, X1 - k, Y1 - k
    for y in range(iy0, iy1 + 1):
        t = (y - iy0) / max(1, iy1 - iy0)
        d.line([(ix0, y), (ix1, y)], fill=lerp((110, 170, 245, 255), (200, 228, 255, 255), t))
    wd, ht = ix1 - ix0, iy1 - iy0
    d.polygon([(ix0, iy1), (ix0, iy0 + ht * 0.55), (ix0 + wd * 0.4, iy0 + ht * 0.3), (ix0 + wd * 0.75, iy1)],
              fill=(60, 150, 70, 255))
    d.polygon([(ix0 + wd * 0.45, iy1), (ix0 + wd * 0.8, iy0 + ht * 0.45), (ix1, iy0 + ht * 0.6), (ix1, iy1)],
              fill=(40, 120, 60, 255))
    r = max(k * 0.9, wd * 0.09)
    sx, sy = ix0 + wd * 0.72, iy0 + ht * 0.28
    d.ellipse([sx - r, sy - r, sx + r, sy + r], fill=(255, 214, 80, 255))


def poly(d, k, points, fill=ARROW):
    d.polygon([(x * k, y * k) for x, y in points], fill=fill)


def button_proportional(size):
    """A photo and an arrow out of its corner: the same shape, made larger."""
    k = size // 16 * 4
    img = Image.new("RGBA", (16 * k, 16 * k))
    d = ImageDraw.Draw(img)
    picture(d, k, 0, 7, 10, 15)
    # Shaft: a band two pixels wide along the diagonal, from the photo's corner into the head.
    poly(d, k, [(8.6, 7.0), (13.0, 2.6), (14.4, 4.0), (10.0, 8.4)])
    # Head: a right triangle tucked into the top-right corner; only its long side is diagonal.
    poly(d, k, [(9.0, 0.0), (16.0, 0.0), (16.0, 7.0)])
    return img.resize((size, size), Image.BOX)


def button_stretch(size):
    """A photo over a double arrow: pulled out to the sides, whatever its shape."""
    k = size // 16 * 4
    img = Image.new("RGBA", (16 * k, 16 * k))
    d = ImageDraw.Draw(img)
    picture(d, k, 2, 0, 13, 8)
    # Double arrow across the full width: a shaft one pixel high on row 12 and two 45-degree heads.
    # Pillow fills both end coordinates, hence the "- e" on edges that must stop at a pixel border.
    e = 1 / k
    poly(d, k, [(3.0, 12.0), (13.0 - e, 12.0), (13.0 - e, 13.0 - e), (3.0, 13.0 - e)])
    poly(d, k, [(0.5, 12.5), (4.0 - e, 9.0), (4.0 - e, 16.0)])
    poly(d, k, [(15.5, 12.5), (12.0, 9.0), (12.0, 16.0)])
    return img.resize((size, size), Image.BOX)


def icon_entry(img):
    """One icon image as Windows stores it: a BITMAPINFOHEADER of double height, 32-bit BGRA rows
    bottom-up, then the 1-bit AND mask (set where fully transparent) that older loaders require."""
    w, h = img.size
    px = img.load()
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            colour += bytes((b, g, r, a))
    stride = (w + 31) // 32 * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(colour) + bytes(mask)


def save_icon(path, images):
    """An icon file with uncompressed 32-bit entries (alpha plus mask), which every loader reads."""
    entries = [icon_entry(im.convert("RGBA")) for im in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for im, data in zip(images, entries):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    sizes = [16, 32, 48]
    imgs = [icon_image(n) for n in sizes]
    imgs[-1].save(os.path.join(HERE, "tessary.ico"), sizes=[(n, n) for n in sizes],
                  append_images=imgs[:-1])
    monitor_image().save(os.path.join(HERE, "monitor.bmp"))  # RGB: 24 bits per pixel
    shading_image().save(os.path.join(HERE, "MonitorShading.png"))
    glare_image().save(os.path.join(HERE, "MonitorGlare.png"))
    save_icon(os.path.join(HERE, "resample_proportional.ico"), [button_proportional(n) for n in (16, 32)])
    save_icon(os.path.join(HERE, "resample_stretch.ico"), [button_stretch(n) for n in (16, 32)])


if __name__ == "__main__":
    main()
