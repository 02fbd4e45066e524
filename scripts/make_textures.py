#!/usr/bin/env python3
"""Draws quoit's own texture images into data/tex: the 16 background tiles (a panorama of sky, hills,
trees and a village), the fallback texture and the shirt images. Run it from anywhere; it overwrites
the files. Only the Python standard library is used."""
import math
import os
import random
import struct
import zlib

TOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "tex")
TILE = 256            # tile edge in pixels
STRIP = 8 * TILE      # the full circle
SKY_TOP = (51, 51, 209)  # the plain sky colour the program draws above the tiles


def write_ppm(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        for x in range(width):
            rows += bytes(pixel(x, y))
    with open(path, "wb") as f:
        f.write(b"P6\n# quoit panorama tile\n%d %d\n255\n" % (width, height))
        f.write(rows)


def write_png(path, width, height, pixel):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))  # 8-bit RGB
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def periodic(x, terms):
    """A smooth height profile that repeats after the full circle."""
    return sum(amp * math.sin(2 * math.pi * (k * x / STRIP) + phase) for k, amp, phase in terms)


class Panorama:
    def __init__(self):
        rnd = random.Random(1717)
        self.far_hills = [(k, rnd.uniform(4, 10) / k ** 0.5, rnd.uniform(0, 6.3)) for k in range(2, 12)]
        self.near_hills = [(k, rnd.uniform(3, 8) / k ** 0.5, rnd.uniform(0, 6.3)) for k in range(3, 16)]
        self.trees = [(rnd.uniform(0, STRIP), rnd.uniform(9, 17), rnd.uniform(0.8, 1.2)) for _ in range(70)]
        self.houses = []
        x = 1180.0
        while x < 1520:
            w = rnd.uniform(26, 44)
            self.houses.append((x, w, rnd.uniform(22, 40), rnd.choice([(196, 168, 140), (214, 196, 170), (176, 150, 128)])))
            x += w + rnd.uniform(6, 20)
        self.tower = (1610.0, 14.0, 78.0)
        self.clouds = [(rnd.uniform(0, STRIP), rnd.uniform(110, 200), rnd.uniform(40, 110), rnd.uniform(8, 16)) for _ in range(14)]

    # Upper ring: h is the height above the horizon in pixels (0 at the horizon, 255 at the top).
    def upper(self, x, h):
        colour = mix((176, 204, 232), SKY_TOP, (h / 255.0) ** 0.8)
        for cx, ch, cw, cr in self.clouds:
            dx = min(abs(x - cx), STRIP - abs(x - cx)) / cw
            dy = (h - ch) / cr
            d = dx * dx + dy * dy
            if d < 1:
                colour = mix(colour, (244, 246, 250), 0.75 * (1 - d))
        far = 46 + periodic(x, self.far_hills) * 2.2
        if h < far:
            colour = mix((124, 150, 178), colour, 0.25)
        near = 26 + periodic(x + 300, self.near_hills) * 1.6
        if h < near:
            colour = mix((86, 122, 78), (64, 98, 60), h / 40.0)
        for hx, w, height, wall in self.houses:
            if hx <= x < hx + w:
                roof = height + (w / 2 - abs(x - hx - w / 2)) * 0.55
                if h < height:
                    colour = wall
                    if 6 < h < height - 5 and int(x - hx) % 11 in (4, 5, 6) and int(h) % 12 in (5, 6, 7, 8):
                        colour = (70, 86, 110)
                elif h < roof:
                    colour = (150, 62, 48)
        tx, tw, th = self.tower
        if tx <= x < tx + tw and h < th:
            colour = (168, 160, 150)
        if tx + tw / 2 - 1 <= x < tx + tw / 2 + 1 and th <= h < th + 18:
            colour = (90, 90, 96)
        for cx, r, squash in self.trees:
            dx = min(abs(x - cx), STRIP - abs(x - cx))
            if dx < 1.5 and h < r:
                colour = (92, 66, 44)
            dy = (h - r * 1.7) / squash
            if dx * dx + dy * dy < r * r:
                shade = 0.5 + 0.5 * (dy / r)
                colour = mix((30, 72, 34), (62, 110, 52), shade)
        return colour

    # Lower ring: d is the depth below the horizon in pixels (0 at the horizon).
    def lower(self, x, d):
        grass = mix((112, 146, 86), (70, 112, 52), d / 255.0)
        stripe = math.sin(2 * math.pi * (x / 128.0) + d * 0.04)
        if d > 12 and stripe > 0.85:
            grass = mix(grass, (150, 160, 90), 0.35)
        path = 1024 + 90 * math.sin(d / 60.0)
        if abs(x - path) < 3 + d * 0.12:
            grass = (168, 150, 116)
        return mix((150, 172, 170), grass, min(1.0, d / 10.0))


def draw_background():
    out = os.path.join(TOP, "bgr")
    os.makedirs(out, exist_ok=True)
    pano = Panorama()
    for k in range(8):
        write_ppm(os.path.join(out, "%d.ppm" % k), TILE, TILE, lambda x, y, k=k: pano.lower(k * TILE + x, y))
        write_ppm(os.path.join(out, "%d.ppm" % (k + 8)), TILE, TILE,
                  lambda x, y, k=k: pano.upper(k * TILE + x, TILE - 1 - y))


def draw_fallback():
    def pixel(x, y):
        return (200, 200, 200) if (x // 8 + y // 8) % 2 else (150, 150, 160)
    write_png(os.path.join(TOP, "no_texture.png"), 64, 64, pixel)


def draw_shirts():
    out = os.path.join(TOP, "shirts")
    os.makedirs(out, exist_ok=True)
    size = 128

    def ring_front(x, y):
        r = math.hypot(x - 64, y - 58)
        if 22 < r < 34:
            return (250, 214, 64)
        return (196, 40, 44)

    def ring_back(x, y):
        if 20 < y < 44 and 16 < x < 112 and (x // 8) % 2 == 0:
            return (250, 214, 64)
        return (196, 40, 44)

    def stripes(x, y):
        return (240, 240, 236) if (y // 12) % 2 else (36, 72, 160)

    def dots(x, y):
        fx, fy = x % 32 - 16, y % 32 - 16
        return (250, 250, 240) if fx * fx + fy * fy < 40 else (46, 130, 70)

    write_png(os.path.join(out, "quoit_front.png"), size, size, ring_front)
    write_png(os.path.join(out, "quoit_back.png"), size, size, ring_back)
    write_png(os.path.join(out, "stripes.png"), size, size, stripes)
    write_png(os.path.join(out, "dots.png"), size, size, dots)


if __name__ == "__main__":
    draw_background()
    draw_fallback()
    draw_shirts()
