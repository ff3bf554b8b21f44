#!/usr/bin/env python3
"""Generates the bundled demo survey resources/demo/DEMODATA.DAT and its model
resources/demo/DEMODATA.RH2.

A Wenner profile of 81 electrodes at 2.5 m over a synthetic earth: a conductive clay
cover thickening to the east, a resistive bedrock ridge, a water-filled channel cut into
the sediments and a dry gravel lens near the surface. The apparent resistivities come
from a smooth sensitivity-weighted average of the model around each measurement's
pseudo-position (a cheap stand-in for a forward model that still looks like field data),
with 2 % multiplicative noise from a fixed seed so the file is the same on every run.
The ground surface rises gently towards the middle; the topography section lists one
point per electrode as true horizontal positions.

The model file is the synthetic earth itself written as an RH2 model (one column per
electrode, cells thickening with depth, each column hung from its ground elevation), so
the demo shows a 2D model section beside its pseudosection.

Pure Python: no packages needed. Run from anywhere:  python3 tools/make_demo.py
"""
import math
import os
import random

ELECTRODES = 81
SPACING = 2.5
MAX_N = 13


def log_rho(x, z):
    """log10 of the model resistivity at horizontal position x, depth z (metres)."""
    cover = 2.0 + 0.006 * x                      # clay cover thickens eastwards
    f = 1.7 if z < cover else 2.2                # clay ~50, sediments ~160 ohm-m
    ridge_top = 18.0 - 10.0 * math.exp(-((x - 140.0) / 25.0) ** 2)
    if z > ridge_top:
        f = 3.1                                  # bedrock ~1300 ohm-m
    cx, cz = 70.0, 9.0                           # channel
    if ((x - cx) / 14.0) ** 2 + ((z - cz) / 5.0) ** 2 < 1.0:
        f = 1.3                                  # ~20 ohm-m
    if ((x - 165.0) / 9.0) ** 2 + ((z - 2.5) / 1.8) ** 2 < 1.0:
        f = 2.9                                  # gravel lens ~800 ohm-m
    return f


def apparent(xm, a):
    """Sensitivity-weighted average of log10 rho around the Wenner pseudo-position."""
    zc, sx, sz = 0.52 * a, 0.9 * a, 0.45 * a
    total = weight = 0.0
    for i in range(-8, 9):
        for j in range(0, 13):
            x = xm + i * sx / 3.0
            z = zc + (j - 4) * sz / 3.0
            if z < 0:
                continue
            w = math.exp(-0.5 * ((i / 3.0) ** 2 + ((j - 4) / 3.0) ** 2))
            total += w * log_rho(x, z)
            weight += w
    return 10 ** (total / weight)


def elevation(x):
    return 100.0 + 6.0 * math.exp(-((x - 95.0) / 60.0) ** 2) - 0.01 * x


def fmt(v, decimals):
    return f"{v:.{decimals}f}".rstrip("0").rstrip(".") if decimals else f"{v:.0f}"


def main():
    rnd = random.Random(20261210)
    lines = []
    for n in range(1, MAX_N + 1):
        a = n * SPACING
        for first in range(ELECTRODES - 3 * n):
            xm = first * SPACING + 1.5 * a
            rho = apparent(xm, a) * (1.0 + 0.02 * rnd.gauss(0.0, 1.0))
            lines.append(f"{fmt(xm, 2)} {fmt(a, 2)} {rho:.3f}")
    out = [
        "Demo survey - synthetic Wenner profile over a buried channel",
        fmt(SPACING, 2),
        "1",
        str(len(lines)),
        "1",
        "0",
    ]
    out += lines
    out += ["Topography in separate list", "1", str(ELECTRODES)]
    for k in range(ELECTRODES):
        x = k * SPACING
        out.append(f"{fmt(x, 2)} {elevation(x):.2f}")
    out += ["0", "0", "0", "0"]
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, "..", "resources", "demo")
    path = os.path.join(folder, "DEMODATA.DAT")
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(out) + "\n")
    print(f"wrote {os.path.normpath(path)}: {len(lines)} data")
    write_model(os.path.join(folder, "DEMODATA.RH2"))


def cell_bottoms():
    """Lower boundaries of the model cells: 0.6 m at the top, 10 % thicker each."""
    bottoms, depth, thickness = [], 0.0, 0.6
    while depth < 24.0:
        depth += thickness
        bottoms.append(round(depth, 2))
        thickness *= 1.1
    return bottoms


def write_model(path):
    bottoms = cell_bottoms()
    out = ["RHO-2"]
    for k in range(ELECTRODES):
        x = k * SPACING
        out.append(f"{fmt(x, 2)} {elevation(x):.3f}\t // X, alt")
        out.append(str(len(bottoms) + 1))
        top = 0.0
        for bottom in bottoms:
            mid = 0.5 * (top + bottom)
            out.append(f"{10 ** log_rho(x, mid):.1f} {bottom:.2f}")
            top = bottom
        out.append(f"{10 ** log_rho(x, top + 2.0):.1f}")
    out += ["/RESIDUALS:", "0.000", "/INVERSION METHOD INFORMATION:",
            "Synthetic earth of the demo survey (no inversion)"]
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(out) + "\n")
    print(f"wrote {os.path.normpath(path)}: {ELECTRODES} columns, {len(bottoms) + 1} cells each")


if __name__ == "__main__":
    main()
