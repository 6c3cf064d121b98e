#!/usr/bin/env python3
"""Writes urbaflux.svg, the application icon: the splash's network of areas (discs sized by their
mass, joined by lines as strong as their pull) on the splash's night-blue ground. Run from this
folder:
    python3 make_icon.py
urbaflux.png is the same picture at 256 pixels, rendered from the SVG with Qt's SVG renderer
(QSvgRenderer onto a transparent 256x256 QImage, saved as PNG).
"""
import math

SIZE = 256
PAD = 34
# Centres as fractions of the picture and masses, as in the splash picture.
AREAS = [((0.22, 0.30), 15), ((0.70, 0.22), 10), ((0.52, 0.62), 20),
         ((0.15, 0.78), 8), ((0.86, 0.72), 12), ((0.42, 0.14), 6)]


def place(fraction):
    span = SIZE - 2 * PAD
    return PAD + fraction[0] * span, PAD + fraction[1] * span


def main():
    scale = 1.45
    areas = [(place(c), m * scale) for c, m in AREAS]
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
        f'viewBox="0 0 {SIZE} {SIZE}">',
        '  <title>Urbaflux</title>',
        '  <defs>',
        '    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">',
        '      <stop offset="0" stop-color="#10264c"/>',
        '      <stop offset="1" stop-color="#2e5c96"/>',
        '    </linearGradient>',
        '    <radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">',
        '      <stop offset="0" stop-color="#ffffff"/>',
        '      <stop offset="0.5" stop-color="#729fcf"/>',
        '      <stop offset="1" stop-color="#204a87"/>',
        '    </radialGradient>',
        '  </defs>',
        f'  <rect x="8" y="8" width="{SIZE - 16}" height="{SIZE - 16}" rx="44" fill="url(#sky)"/>',
        '  <g stroke="#ffd666" stroke-opacity="0.85" stroke-linecap="round">',
    ]
    for i in range(len(areas)):
        for j in range(i + 1, len(areas)):
            (xi, yi), mi = areas[i]
            (xj, yj), mj = areas[j]
            distance = math.hypot(xi - xj, yi - yj) / 40.0
            pull = (mi / scale) * (mj / scale) / (distance * distance)
            width = min(max(pull / 10.0, 1.2), 9.0)
            out.append(f'    <line x1="{xi:.1f}" y1="{yi:.1f}" x2="{xj:.1f}" y2="{yj:.1f}" '
                       f'stroke-width="{width:.1f}"/>')
    out.append('  </g>')
    out.append('  <g fill="url(#glow)" stroke="#ffffff" stroke-opacity="0.75" stroke-width="2">')
    for (x, y), r in areas:
        out.append(f'    <circle cx="{x:.1f}" cy="{y:.1f}" r="{r:.1f}"/>')
    out.append('  </g>')
    out.append('</svg>')
    with open("urbaflux.svg", "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
