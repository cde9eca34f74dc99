"""Pixel checks on a photograph of the control gallery.

usage: gallery_check.py PHOTO.ppm RECTS.txt classic|themed
Prints one "ok ..." or "FAIL ..." line per check.
"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", "expected an 8-bit P6 image"
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def main():
    photo, rects_path, look = sys.argv[1:4]
    width, height, pixels = read_ppm(photo)
    rects = {}
    with open(rects_path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 5:
                rects[parts[0]] = tuple(int(v) for v in parts[1:])

    def pixel(name, dx, dy):
        left, top = rects[name][0], rects[name][1]
        i = ((top + dy) * width + left + dx) * 3
        return tuple(pixels[i:i + 3])

    def hexrgb(rgb):
        return "%02X%02X%02X" % rgb

    failures = 0

    def check(what, ok, detail):
        nonlocal failures
        print(("ok " if ok else "FAIL ") + what + ("" if ok else ": " + detail))
        failures += not ok

    themed = rects.get("themed", (0,))[0] == 1
    check("push buttons are %s" % look, themed == (look == "themed"), "theme handle %s" % themed)

    # dmPanel: the outer outline in PanelPenColor (0, 64, 160), halfway along the top edge.
    w = rects["pnlPanel"][2] - rects["pnlPanel"][0]
    got = pixel("pnlPanel", w // 2, 0)
    check("dmPanel border pixel", got == (0, 64, 160), hexrgb(got))
    got = pixel("pnlPanel", w // 2, 1)
    check("dmPanel second border ring", got == (0, 64, 160), hexrgb(got))
    got = pixel("pnlPanel", w // 2, 20)
    check("dmPanel fill", got == (255, 255, 224), hexrgb(got))

    # dmGradientVertical, R = 8, B = 2, H = 56: rows 10 … 45 run from PanelColor to Gradient1Color.
    w = rects["pnlGradV"][2] - rects["pnlGradV"][0]
    h = rects["pnlGradV"][3] - rects["pnlGradV"][1]
    first, last = 8 + 2, h - 8 - 2 - 1
    got = pixel("pnlGradV", w // 2, first)
    check("vertical gradient first row is 0 %", got == (255, 255, 224), hexrgb(got))
    got = pixel("pnlGradV", w // 2, last)
    check("vertical gradient last row is 100 %", got == (0, 128, 255), hexrgb(got))
    mid = pixel("pnlGradV", w // 2, (first + last) // 2)
    check("vertical gradient blends in between", mid not in ((255, 255, 224), (0, 128, 255)), hexrgb(mid))

    # Caption-less glyph buttons, 90 × 30: the glyph is centred at (37, 7); its
    # pixel (8, 11) is red when enabled and grey when disabled.
    got = pixel("btnGlyph", 37 + 8, 7 + 11)
    check("enabled glyph is red", got == (255, 0, 0), hexrgb(got))
    got = pixel("btnGlyphOff", 37 + 8, 7 + 11)
    expected = (0x93,) * 3 if look == "themed" else (0x80,) * 3
    check("disabled glyph is grey", got == expected, hexrgb(got))

    # The image button in stretchNone keeps its 60 × 28 image at the corner and
    # centres the glyph on the image: at (22, 6), its red at (8, 11).
    got = pixel("imgNone", 3, 3)
    check("unstretched image", got == (224, 240, 255), hexrgb(got))
    got = pixel("imgNone", 22 + 8, 6 + 11)
    check("glyph centred on the image", got == (255, 0, 0), hexrgb(got))
    w = rects["imgTotal"][2] - rects["imgTotal"][0]
    got = pixel("imgTotal", w - 20, 10)  # image pixels are about 9 × 3 on the screen
    check("stretched image reaches the far edge", got == (224, 240, 255), hexrgb(got))

    print("%d failed" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
