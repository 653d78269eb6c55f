#!/usr/bin/env python3
"""Makes a folder of demo wallpapers for trying Tessary: a handful of wallpaper-sized gradients and
patterns, one of them exactly the screen's size, one small enough to tile.
Usage: make_demo_pictures.py <folder> <screen-width> <screen-height>"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter


def gradient(w, h, top, bottom):
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        d.line([(0, y), (w, y)], fill=tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3)))
    return img


def sunset(w, h):
    img = gradient(w, h, (28, 40, 110), (250, 150, 70))
    d = ImageDraw.Draw(img)
    r = h // 7
    d.ellipse([w * 0.62 - r, h * 0.55 - r, w * 0.62 + r, h * 0.55 + r], fill=(255, 220, 130))
    for i, colour in enumerate([(60, 40, 70), (40, 28, 50), (22, 16, 30)]):
        base = h * (0.62 + 0.1 * i)
        pts = [(0, h)]
        for x in range(0, w + 1, max(1, w // 60)):
            pts.append((x, base - (math.sin(x / w * 6.3 * (i + 1) + i) * 0.06 + 0.04) * h))
        pts.append((w, h))
        d.polygon(pts, fill=colour)
    return img


def rings(w, h):
    img = Image.new("RGB", (w, h))
    px = img.load()
    cx, cy = w / 2, h / 2
    for y in range(h):
        for x in range(w):
            r = math.hypot(x - cx, y - cy)
            v = 0.5 + 0.5 * math.sin(r / 18.0)
            px[x, y] = (int(20 + 60 * v), int(70 + 110 * v), int(120 + 120 * v))
    return img


def checks(w, h, size=64):
    img = Image.new("RGB", (w, h), (235, 232, 220))
    d = ImageDraw.Draw(img)
    for y in range(0, h, size):
        for x in range(0, w, size):
            if (x // size + y // size) % 2:
                d.rectangle([x, y, x + size - 1, y + size - 1], fill=(70, 110, 150))
    return img


def aurora(w, h):
    img = gradient(w, h, (5, 10, 30), (10, 40, 60))
    layer = Image.new("RGB", (w, h), (0, 0, 0))
    d = ImageDraw.Draw(layer)
    for k in range(5):
        pts = [(x, h * (0.3 + 0.08 * k) + math.sin(x / w * 9 + k) * h * 0.08) for x in range(0, w + 1, 8)]
        d.line(pts, fill=(40 + 30 * k, 200 - 20 * k, 120 + 20 * k), width=max(4, h // 30))
    layer = layer.filter(ImageFilter.GaussianBlur(radius=max(4, h // 40)))
    return Image.blend(img, layer, 0.6)


def tile(size=96):
    img = Image.new("RGB", (size, size), (245, 240, 228))
    d = ImageDraw.Draw(img)
    d.ellipse([8, 8, size - 8, size - 8], outline=(170, 90, 60), width=6)
    d.line([(0, 0), (size, size)], fill=(120, 150, 90), width=3)
    d.line([(size, 0), (0, size)], fill=(120, 150, 90), width=3)
    return img


def main():
    folder, sw, sh = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    os.makedirs(folder, exist_ok=True)
    sunset(sw, sh).save(os.path.join(folder, "Sunset (screen size).jpg"), quality=90)
    aurora(1920, 1080).save(os.path.join(folder, "Aurora.jpg"), quality=90)
    rings(800, 600).save(os.path.join(folder, "Rings.png"))
    checks(1024, 768).save(os.path.join(folder, "Checks.bmp"))
    gradient(1600, 1200, (200, 230, 250), (40, 90, 160)).save(os.path.join(folder, "Sky.jpg"), quality=90)
    tile().save(os.path.join(folder, "Tile.gif"))


if __name__ == "__main__":
    main()
