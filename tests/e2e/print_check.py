#!/usr/bin/env python3
"""Checks what scripts/print-check printed.

usage: print_check.py screen.png sheet.png text.txt demo.txt printed.txt printed-file.txt

The printed page must show the page's pixels as the screen showed them (at
sample points found relative to its top-left quarter), 3.33 inches wide as
320 pixels at 96 dpi are, centred on the sheet; the printed text must hold
every line of the file whole, in order, each on one sheet, over several
sheets. The page of text, read back by OCR (printed.txt), must show the words
of its external file (printed-file.txt) and the value of its variable field,
not the text's own words nor the field's name.
"""
import sys

from PIL import Image

# The page's top-left quarter: the demo's first print colour (0x002060E0).
QUARTER = (0xE0, 0x60, 0x20)
PAGE_WIDTH, PAGE_HEIGHT = 320, 240
SCREEN_DPI, SHEET_DPI = 96, 100
SAMPLES_X = (0.1, 0.25, 0.4, 0.6, 0.75, 0.9)
# The buttons along the bottom are left out.
SAMPLES_Y = (0.1, 0.25, 0.4, 0.6, 0.7)
TOLERANCE = 40
# DemoPublication::kPrintedValue and the words the text and the field hold
# of their own.
PRINTED_VALUE = "4711"
OWN_WORDS = ("own words", "FLOWER")


def near(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def quarter_box(image, tolerance):
    rgb = image.convert("RGB")
    width, height = rgb.size
    pixels = rgb.load()
    xs, ys = [], []
    for y in range(height):
        for x in range(width):
            if near(pixels[x, y], QUARTER, tolerance):
                xs.append(x)
                ys.append(y)
    if not xs:
        return None, rgb
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1), rgb


def check_page(screen_path, sheet_path):
    failures = []
    screen_box, screen = quarter_box(Image.open(screen_path), 0)
    sheet_box, sheet = quarter_box(Image.open(sheet_path), TOLERANCE)
    if screen_box is None:
        return ["the screenshot does not show the page"]
    if sheet_box is None:
        return ["the printed sheet does not show the page"]
    screen_w = (screen_box[2] - screen_box[0]) * 2
    screen_h = (screen_box[3] - screen_box[1]) * 2
    sheet_w = (sheet_box[2] - sheet_box[0]) * 2
    sheet_h = (sheet_box[3] - sheet_box[1]) * 2
    if (screen_w, screen_h) != (PAGE_WIDTH, PAGE_HEIGHT):
        failures.append(f"the screen shows a page of {screen_w} x {screen_h}")
    expected_w = PAGE_WIDTH * SHEET_DPI / SCREEN_DPI
    if abs(sheet_w - expected_w) > 4:
        failures.append(f"the printed page is {sheet_w} pixels wide at {SHEET_DPI} dpi, not {expected_w:.0f}")
    centre_x = sheet_box[0] + sheet_w / 2
    if abs(centre_x - sheet.size[0] / 2) > 20:
        failures.append(f"the printed page is not centred: its middle at {centre_x} of {sheet.size[0]}")
    for fy in SAMPLES_Y:
        for fx in SAMPLES_X:
            shown = screen.getpixel((int(screen_box[0] + fx * screen_w), int(screen_box[1] + fy * screen_h)))
            printed = sheet.getpixel((int(sheet_box[0] + fx * sheet_w), int(sheet_box[1] + fy * sheet_h)))
            if not near(shown, printed, TOLERANCE):
                failures.append(f"at ({fx}, {fy}) of the page the screen shows {shown}, the sheet {printed}")
    return failures


def check_text(printed_path, source_path):
    with open(source_path, encoding="latin-1") as source:
        expected = [line.rstrip("\r\n") for line in source if line.strip()]
    with open(printed_path, encoding="latin-1") as printed:
        sheets = printed.read().split("\f")
    sheets = [sheet for sheet in sheets if sheet.strip()]
    failures = []
    if len(sheets) < 2:
        failures.append(f"the text printed on {len(sheets)} sheet(s); it needs several")
    found = []
    for number, sheet in enumerate(sheets, 1):
        for line in sheet.splitlines():
            text = " ".join(line.split())
            if not text:
                continue
            if text not in expected:
                failures.append(f"sheet {number} holds a line cut or changed: {text!r}")
            found.append(text)
    if found != expected:
        failures.append(f"{len(found)} lines printed of {len(expected)}, or not in order")
    return failures


def check_printed_text(ocr_path, file_path):
    with open(file_path, encoding="latin-1") as source:
        expected = source.read().split()
    with open(ocr_path, encoding="utf-8", errors="replace") as ocr:
        read = ocr.read()
    words = read.split()
    failures = []
    for word in expected:
        if word not in words:
            failures.append(f"the page of text does not show {word!r} of its file; read back: {read!r}")
    if PRINTED_VALUE not in words:
        failures.append(f"the page of text does not show the variable's value {PRINTED_VALUE}; read back: {read!r}")
    for own in OWN_WORDS:
        if own in read:
            failures.append(f"the page of text shows {own!r} instead of what the screen would show")
    return failures


def main():
    if len(sys.argv) != 7:
        print(__doc__, file=sys.stderr)
        return 2
    failures = (check_page(sys.argv[1], sys.argv[2]) + check_text(sys.argv[3], sys.argv[4]) +
                check_printed_text(sys.argv[5], sys.argv[6]))
    for failure in failures:
        print("print-check:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
