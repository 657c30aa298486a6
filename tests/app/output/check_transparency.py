#!/usr/bin/env python3
"""Checks the transparent outputs with Pillow, a reader from outside the project.

Usage: check_transparency.py SAMPLE_WRITER TEMPLATE_FOLDER WORK_FOLDER

Runs the sample writer (transparency_samples), then for every template:
- the PNG is RGBA of the rendering's size;
- composited over black and over white it gives the engine's renderings on
  those backgrounds within one level per channel, for the template with its
  shadow or glow colour made grey (steps linear in the background: fill,
  texture, gradient, relief, outline, halving, grey shadow and glow);
- as shipped, within one level over white for a dark shadow and over black
  for a glow; the other background's largest difference is reported (a
  coloured shadow or glow adds or takes light per channel, which no single
  alpha can express).
And the animated WebP: frame count, durations, loop count, transparent
background and opaque ink; and a WebP of straight-alpha frames (a title's
solved alpha): mode RGBA, soft alpha, over black and white the renderings.
Exits 77 (skipped) when Pillow is missing.
"""
import json
import os
import shutil
import subprocess
import sys

try:
    from PIL import Image
except ImportError:
    print("Pillow (python3-pil) is not installed: skipped")
    sys.exit(77)

failures = []


def expect(ok, message):
    if not ok:
        failures.append(message)


def composite_error(png, back_bmp, colour):
    """Largest channel difference of png over a plain colour and back_bmp."""
    base = Image.new("RGBA", png.size, colour + (255,))
    over = Image.alpha_composite(base, png).convert("RGB")
    ref = Image.open(back_bmp).convert("RGB")
    if over.size != ref.size:
        return 999
    worst = 0
    for a, b in zip(over.getdata(), ref.getdata()):
        worst = max(worst, abs(a[0] - b[0]), abs(a[1] - b[1]), abs(a[2] - b[2]))
    return worst


def check_set(folder, stem, strict, name, report, favoured=None):
    png = Image.open(os.path.join(folder, stem + ".png"))
    ref = Image.open(os.path.join(folder, stem + "_black.bmp"))
    expect(png.mode == "RGBA", f"{stem}: mode {png.mode}, not RGBA")
    expect(png.size == ref.size, f"{stem}: size {png.size}, rendering {ref.size}")
    png = png.convert("RGBA")
    alphas = png.getchannel("A").getextrema()
    expect(alphas[0] == 0 and alphas[1] == 255, f"{stem}: alpha range {alphas}")
    black = composite_error(png, os.path.join(folder, stem + "_black.bmp"), (0, 0, 0))
    white = composite_error(png, os.path.join(folder, stem + "_white.bmp"), (255, 255, 255))
    report.append((name, stem, black, white))
    if strict:
        expect(black <= 1 and white <= 1, f"{stem}: over black {black}, over white {white} levels off")
    if favoured == "black":
        expect(black <= 1, f"{stem}: over black {black} levels off (a glow is kept exact on black)")
    if favoured == "white":
        expect(white <= 1, f"{stem}: over white {white} levels off (a dark shadow is kept exact on white)")


def main():
    writer, templates, folder = sys.argv[1:4]
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    subprocess.run([writer, templates, folder], check=True)
    with open(os.path.join(folder, "manifest.json")) as f:
        manifest = json.load(f)
    report = []
    expect(len(manifest["templates"]) > 0, "no templates")
    for t in manifest["templates"]:
        n = t["name"]
        check_set(folder, n + "_grey", True, n, report)
        favoured = {1: "white", 2: "black"}.get(t["shadowType"])
        check_set(folder, n, t["shadowType"] == 0, n, report, favoured)
    print("template  set        over black  over white")
    for name, stem, b, w in report:
        print(f"{name:8}  {stem[len(name):] or 'as shipped':10} {b:10d}  {w:10d}")

    w = manifest["webp"]
    for quality in (0, 90):
        path = os.path.join(folder, f"anim{quality}.webp")
        im = Image.open(path)
        expect(im.format == "WEBP", f"{path}: format {im.format}")
        expect(im.mode == "RGBA", f"{path}: mode {im.mode}")
        expect(getattr(im, "n_frames", 1) == w["frames"], f"{path}: {getattr(im, 'n_frames', 1)} frames")
        expect(im.info.get("loop") == w["loop"], f"{path}: loop {im.info.get('loop')}")
        expect(im.size == tuple(w["size"]), f"{path}: size {im.size}")
        durations = []
        for i in range(w["frames"]):
            im.seek(i)
            frame = im.convert("RGBA")  # loading the frame sets its duration
            durations.append(im.info.get("duration"))
            expect(frame.getpixel((0, 0))[3] == 0, f"{path} frame {i}: background not transparent")
            ink = frame.getpixel((6 + 8 * i, 8))
            expect(ink[3] == 255, f"{path} frame {i}: ink alpha {ink[3]}")
            expect(abs(ink[0] - w["ink"][0]) <= (0 if quality == 0 else 12), f"{path} frame {i}: ink {ink}")
        expect(durations == w["durations"], f"{path}: durations {durations}")

    # Straight-alpha frames: soft alpha kept, and each frame over black and
    # over white gives the renderings it was solved from.
    a = manifest["alphaWebp"]
    path = os.path.join(folder, "alpha.webp")
    im = Image.open(path)
    expect(im.mode == "RGBA", f"{path}: mode {im.mode}")
    expect(getattr(im, "n_frames", 1) == 2, f"{path}: {getattr(im, 'n_frames', 1)} frames")
    expect(im.info.get("loop") == a["loop"], f"{path}: loop {im.info.get('loop')}")
    durations = []
    for i in range(2):
        im.seek(i)
        frame = im.convert("RGBA")
        durations.append(im.info.get("duration"))
        if i == 1:
            frame = frame.transpose(Image.Transpose.FLIP_LEFT_RIGHT)
        alphas = frame.getchannel("A")
        soft = sum(1 for v in alphas.getdata() if 0 < v < 255)
        expect(alphas.getextrema() == (0, 255) and soft > 0, f"{path} frame {i}: alpha {alphas.getextrema()}, {soft} soft")
        stem = os.path.join(folder, a["stem"])
        black = composite_error(frame, stem + "_black.bmp", (0, 0, 0))
        white = composite_error(frame, stem + "_white.bmp", (255, 255, 255))
        expect(black <= 1 and white <= 1, f"{path} frame {i}: over black {black}, over white {white} levels off")
    expect(durations == a["durations"], f"{path}: durations {durations}")

    for f in failures:
        print("FAILED:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
