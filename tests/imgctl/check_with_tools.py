#!/usr/bin/env python3
"""Checks the files imgctl writes with decoders from outside the project:
Python's Pillow and ImageMagick's identify.

Usage: check_with_tools.py SAMPLE_WRITER WORK_FOLDER

Runs the sample writer into WORK_FOLDER, then checks every file. A missing
tool skips its checks; the script then exits with 77 (the test is reported
as skipped) unless a check failed.
"""
import json
import math
import os
import shutil
import subprocess
import sys

SKIP = 77
failures = []
skipped = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def psnr(a, b):
    total = sum((x - y) ** 2 for p, q in zip(a, b) for x, y in zip(p, q))
    mse = total / (3.0 * len(a))
    return 99.0 if mse == 0 else 10 * math.log10(255 * 255 / mse)


def check_with_pillow(folder, m):
    try:
        from PIL import Image
    except ImportError:
        skipped.append("Pillow (python3-pil) is not installed")
        return
    path = lambda name: os.path.join(folder, name)

    # Still GIF: size, at most 256 colours, the transparent index is the
    # top-left pixel's, the picture equals its source (it has few colours).
    src = Image.open(path(m["still"]["source"])).convert("RGB")
    gif = Image.open(path(m["still"]["gif"]))
    expect(gif.format == "GIF" and gif.info.get("version") == b"GIF89a", "still.gif is not GIF89a")
    expect(gif.size == src.size, "still.gif size %s != %s" % (gif.size, src.size))
    expect(gif.mode == "P", "still.gif is not a palette image")
    expect(len(gif.getcolors(256) or []) <= 256, "still.gif has more than 256 colours")
    transparent = gif.info.get("transparency")
    expect(transparent == m["still"]["transparent"], "transparent index %r" % transparent)
    expect(gif.getpixel((0, 0)) == transparent, "top-left pixel is not the transparent index")
    expect(list(gif.convert("RGB").getdata()) == list(src.getdata()), "still.gif pixels differ")

    # JPEG: size, progressive flag, close to the source.
    src = Image.open(path(m["jpeg"]["source"])).convert("RGB")
    for key, progressive in (("baseline", False), ("progressive", True)):
        jpg = Image.open(path(m["jpeg"][key]))
        expect(jpg.format == "JPEG", "%s is not JPEG" % key)
        expect(jpg.size == src.size, "%s size %s" % (key, jpg.size))
        expect(bool(jpg.info.get("progressive")) == progressive, "%s progressive flag" % key)
        value = psnr(list(jpg.convert("RGB").getdata()), list(src.getdata()))
        expect(value > 35, "%s PSNR %.1f dB" % (key, value))

    # Animations: frames, delays, loop field, and identical pictures whether
    # written whole or optimised.
    for a in m["animations"]:
        shown = {}
        for key in ("plain", "optimised"):
            im = Image.open(path(a[key]))
            expect(im.size == (a["width"], a["height"]), "%s size %s" % (a[key], im.size))
            expect(im.n_frames == a["frames"], "%s has %d frames" % (a[key], im.n_frames))
            expect(im.info.get("loop") == a["plays"] - 1, "%s loop field %r" % (a[key], im.info.get("loop")))
            frames, delays = [], []
            for i in range(im.n_frames):
                im.seek(i)
                delays.append(im.info.get("duration"))
                frames.append(list(im.convert("RGB").getdata()))
            expect(delays == [d * 10 for d in a["delays"]], "%s delays %s" % (a[key], delays))
            shown[key] = frames
        for i, (p, o) in enumerate(zip(shown["plain"], shown["optimised"])):
            expect(p == o, "%s: frame %d differs between plain and optimised" % (a["optimised"], i))
        expect(os.path.getsize(path(a["optimised"])) < os.path.getsize(path(a["plain"])),
               "%s is not smaller than %s" % (a["optimised"], a["plain"]))


def check_with_identify(folder, m):
    identify = shutil.which("identify")
    if identify is None:
        skipped.append("ImageMagick's identify is not installed")
        return
    path = lambda name: os.path.join(folder, name)

    def run(fmt, name):
        out = subprocess.run([identify, "-format", fmt, path(name)], capture_output=True, text=True)
        expect(out.returncode == 0, "identify failed on %s: %s" % (name, out.stderr.strip()))
        return out.stdout

    fields = run("%m %w %h %k\n", m["still"]["gif"]).split()
    expect(fields[:3] == ["GIF", "80", "30"], "identify still.gif: %s" % fields)
    expect(len(fields) == 4 and int(fields[3]) <= 256, "identify colours: %s" % fields)

    for key, interlace in (("baseline", "None"), ("progressive", "JPEG")):
        fields = run("%m %w %h %[interlace]\n", m["jpeg"][key]).split()
        expect(fields == ["JPEG", "97", "41", interlace], "identify %s: %s" % (key, fields))

    # ImageMagick reports the disposal by name and the loop field as the
    # number of plays in all ("Iterations"); its pictures of the frames,
    # composed, are the same whether written whole or optimised.
    for a in m["animations"]:
        for key, disposal in (("plain", "Undefined"), ("optimised", "None")):
            lines = [l for l in run("%T %D\n", a[key]).split("\n") if l.strip()]
            expect(len(lines) == a["frames"], "identify %s frames: %d" % (a[key], len(lines)))
            delays = [int(l.split()[0]) for l in lines]
            expect(delays == a["delays"], "identify %s delays %s" % (a[key], delays))
            disposals = set(l.split()[1] for l in lines)
            expect(disposals == {disposal}, "identify %s disposal %s" % (a[key], disposals))
            verbose = subprocess.run([identify, "-verbose", path(a[key])], capture_output=True, text=True).stdout
            plays = [l.split(":")[1].strip() for l in verbose.split("\n") if l.strip().startswith("Iterations:")]
            expect(plays[:1] == [str(a["plays"])], "identify %s iterations %s" % (a[key], plays[:1]))
        convert = shutil.which("convert")
        if convert is not None:
            sums = {}
            for key in ("plain", "optimised"):
                out = subprocess.run([convert, path(a[key]), "-coalesce", "-depth", "8", "rgb:-"],
                                     capture_output=True)
                expect(out.returncode == 0, "convert -coalesce %s failed" % a[key])
                sums[key] = out.stdout
            expect(sums["plain"] == sums["optimised"] and len(sums["plain"]) > 0,
                   "ImageMagick shows different frames for %s and %s" % (a["plain"], a["optimised"]))


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    writer, folder = sys.argv[1], sys.argv[2]
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    subprocess.run([writer, folder], check=True)
    with open(os.path.join(folder, "manifest.json")) as f:
        manifest = json.load(f)
    check_with_pillow(folder, manifest)
    check_with_identify(folder, manifest)
    for message in failures:
        print("FAIL:", message)
    for message in skipped:
        print("SKIPPED:", message)
    if failures:
        return 1
    return SKIP if skipped else 0


if __name__ == "__main__":
    sys.exit(main())
