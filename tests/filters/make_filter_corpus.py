#!/usr/bin/env python3
"""Writes the import filters' corpus into a folder: real files made by other
tools (Go's PngSuite and bad PNGs, gdk-pixbuf's TGAs, ImageMagick and netpbm
writers) and, beside each file that must decode, NAME.rgb: its pixels as a
reference decoder (PIL, else ImageMagick) sees them: width and height as
32-bit little-endian, then red, green, blue from the top row down, then one
byte a pixel that is 0 where the reference is transparent (not compared).
Files that must be refused are listed in refused.txt, files that need only
be read safely (whatever the answer) in safe.txt. Missing sources are
skipped: the test says what it did not find."""

import glob
import os
import shutil
import struct
import subprocess
import sys

from PIL import Image

GO_PNG = "/usr/share/go-1.19/src/image/png/testdata"
PIXBUF = "/usr/libexec/installed-tests/gdk-pixbuf/test-images"
CONVERT = "/usr/bin/convert"


def reference(path, out):
    """The reference pixels of path, written to out.rgb."""
    alpha = None
    try:
        image = Image.open(path)
        image.load()
        width, height = image.size
        if image.mode in ("I", "I;16", "I;16B"):
            # 16-bit grey: the high byte, as the filter keeps it.
            grey = [v >> 8 for v in image.getdata()]
            rgb = bytes(v for g in grey for v in (g, g, g))
        else:
            if image.mode in ("RGBA", "LA", "PA") and path.endswith(".ref.png"):
                alpha = bytes(255 if a != 0 else 0 for a in image.convert("RGBA").getchannel("A").getdata())
            rgb = image.convert("RGB").tobytes()
    except Exception:  # PIL cannot read it: ImageMagick can
        size = subprocess.run([CONVERT, path, "-format", "%w %h", "info:"], capture_output=True, check=True)
        width, height = map(int, size.stdout.split()[:2])
        rgb = subprocess.run([CONVERT, path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    if alpha is None:
        alpha = b"\xff" * (width * height)
    with open(out + ".rgb", "wb") as f:
        f.write(struct.pack("<II", width, height) + rgb + alpha)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    valid = []
    refused = []
    safe = []
    pixels_of = {}  # a reference picture the maker shipped beside a file

    def take(path, name, must_decode=True, only_safe=False):
        target = os.path.join(folder, name)
        shutil.copyfile(path, target)
        (safe if only_safe else valid if must_decode else refused).append(target)

    # PNG: the PngSuite files Go keeps, Go's own test pictures, and bad ones.
    for path in sorted(glob.glob(os.path.join(GO_PNG, "pngsuite", "*.png"))):
        take(path, "png-" + os.path.basename(path))
    for path in sorted(glob.glob(os.path.join(GO_PNG, "*.png"))):
        name = os.path.basename(path)
        # Read safely, whatever the answer: CRCs are read and ignored (a wrong
        # one and a cut final CRC after a whole picture pass), indexes past a
        # short palette show the table's black, and image data that ends
        # early shows the rows it holds.
        lenient = name in ("invalid-crc32.png", "invalid-trunc.png", "invalid-palette.png", "invalid-noend.png")
        take(path, "png-go-" + name, not name.startswith("invalid-"), lenient)
    # Interlaced pictures of every colour type, written by ImageMagick.
    source = os.path.join(GO_PNG, "benchRGB.png")
    if os.path.exists(source) and os.path.exists(CONVERT):
        for kind, options in [("rgb8", ["PNG24:"]), ("rgba8", ["-alpha", "on", "PNG32:"]),
                              ("rgb16", ["-depth", "16", "PNG48:"]), ("pal8", ["-colors", "200", "PNG8:"]),
                              ("grey8", ["-colorspace", "gray", "-depth", "8"]),
                              ("grey2", ["-colorspace", "gray", "-depth", "2"]),
                              ("grey1", ["-colorspace", "gray", "-monochrome"])]:
            target = os.path.join(folder, "png-im-interlaced-" + kind + ".png")
            prefix = options[-1] if options[-1].endswith(":") else ""
            opts = options[:-1] if prefix else options
            subprocess.run([CONVERT, source, "-resize", "37x23!"] + opts + ["-interlace", "PNG", prefix + target],
                           check=True)
            valid.append(target)

    # TGA: gdk-pixbuf's pictures at every depth and origin, and bad ones.
    for path in sorted(glob.glob(os.path.join(PIXBUF, "reftests", "tga", "*.tga"))):
        name = os.path.basename(path)
        # Grey with alpha (16 bits) has no 8-bit DIB form: refused.
        take(path, "tga-" + name, not ("gray" in name and "16bpp" in name))
        pixels_of[os.path.join(folder, "tga-" + name)] = path + ".ref.png"
    for name in ["colormap-too-small.tga", "rle-too-many-pixels.tga", "rle-too-many-pixels-2.tga"]:
        path = os.path.join(PIXBUF, "reftests", name)
        if os.path.exists(path):
            take(path, "tga-" + name)
            pixels_of[os.path.join(folder, "tga-" + name)] = path + ".ref.png"
    for path in sorted(glob.glob(os.path.join(PIXBUF, "fail", "*.tga"))):
        take(path, "tga-fail-" + os.path.basename(path), False)
    for path in sorted(glob.glob(os.path.join(PIXBUF, "randomly-modified", "*.tga"))):
        name = os.path.basename(path)
        take(path, "tga-modified-" + name, only_safe=True)

    # PCX: ImageMagick's and netpbm's writers at every depth they offer.
    picture = os.path.join(folder, "source.ppm")
    if os.path.exists(CONVERT):
        subprocess.run([CONVERT, source, "-resize", "61x29!", picture], check=True)
        for kind, options in [("truecolor", ["-type", "TrueColor"]), ("palette", ["-colors", "200"]),
                              ("16", ["-colors", "16"]), ("bilevel", ["-monochrome"])]:
            target = os.path.join(folder, "pcx-im-" + kind + ".pcx")
            subprocess.run([CONVERT, picture] + options + [target], check=True)
            valid.append(target)
    ppmtopcx = shutil.which("ppmtopcx") or shutil.which("pnmtopcx")
    if ppmtopcx and os.path.exists(picture):
        quantised = os.path.join(folder, "source16.ppm")
        subprocess.run([CONVERT, picture, "-colors", "16", quantised], check=True)
        # Four and eight colours: 2-bit packed pixels (one plane), two and
        # three 1-bit planes.
        four = os.path.join(folder, "source4.ppm")
        subprocess.run([CONVERT, picture, "-colors", "4", four], check=True)
        eight = os.path.join(folder, "source8.ppm")
        subprocess.run([CONVERT, picture, "-colors", "8", eight], check=True)
        for kind, (src, options) in {"24bit": (picture, ["-24bit"]), "8bit": (picture, ["-8bit"]),
                                     "planes4": (quantised, ["-planes", "4"]),
                                     "packed": (quantised, ["-packed"]),
                                     "packed2": (four, ["-packed"]),
                                     "planes2": (four, ["-planes", "2"]),
                                     "planes3": (eight, ["-planes", "3"])}.items():
            target = os.path.join(folder, "pcx-netpbm-" + kind + ".pcx")
            with open(target, "wb") as out:
                if subprocess.run([ppmtopcx] + options + [src], stdout=out, stderr=subprocess.DEVNULL).returncode != 0:
                    continue
            valid.append(target)

    for path in valid:
        reference(pixels_of.get(path, path), path)
    with open(os.path.join(folder, "refused.txt"), "w") as f:
        f.write("".join(os.path.basename(p) + "\n" for p in refused))
    with open(os.path.join(folder, "safe.txt"), "w") as f:
        f.write("".join(os.path.basename(p) + "\n" for p in safe))
    with open(os.path.join(folder, "valid.txt"), "w") as f:
        f.write("".join(os.path.basename(p) + "\n" for p in valid))


if __name__ == "__main__":
    main()
