#!/usr/bin/env python3
"""Draws Tessary's artwork: the program icon. Run it from anywhere; it writes next to itself.
Needs Pillow (Debian: python3-pil). The results are committed, so the build does not need it."""
import os
from PIL import Image, ImageDraw

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


def main():
    sizes = [16, 32, 48]
    imgs = [icon_image(n) for n in sizes]
    imgs[-1].save(os.path.join(HERE, "tessary.ico"), sizes=[(n, n) for n in sizes],
                  append_images=imgs[:-1])


if __name__ == "__main__":
    main()
