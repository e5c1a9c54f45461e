#!/usr/bin/env python3
"""Draws Quenmark's icons and renders them to PNG.

The nine colour-scheme icons are one 16 x 16 pixel drawing of the main
window (frame, title row with the control and close buttons, two log lines,
the separator and the ">" prompt) painted in each scheme's colours, which are
read from src/app/color_schemes.cpp so that the icons follow the schemes.
Each becomes scheme-N.svg, rendered to scheme-N.png (16 x 16, the size the
window and the tray use) and to scheme-N-32.png and scheme-N-48.png for
larger tray and dialog pictures.

The application icon quenmark.svg is drawn by hand; it is rendered to
quenmark-SIZE.png for the sizes the desktop's icon theme asks for. The two
small sizes are drawn on the pixel grid so that they stay sharp: at 16 it is
the default scheme's icon, at 32 the pixel drawing quenmark-32.svg.

Run from anywhere after changing a drawing or a scheme colour; needs
rsvg-convert (Debian package librsvg2-bin).
"""

import pathlib
import re
import shutil
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
COLOR_SCHEMES_SOURCE = HERE.parent.parent / "src" / "app" / "color_schemes.cpp"
DEFAULT_SCHEME = 1  # Custard, the scheme of a first start
SCHEME_ICON_SIZES = (16, 32, 48)
APPLICATION_ICON_SIZES = (16, 32, 48, 64, 128, 256)

# One character per pixel: D = the scheme's dark colour, B = its base
# colour, T = its text colour, "." = transparent.
WINDOW_PIXELS = (
    "................",
    "DDDDDDDDDDDDDDDD",
    "DBDDDBDDDDBDBDBD",
    "DBDBDBBBBBBBDBBD",
    "DBDDDBDDDDBDBDBD",
    "DBBBBBBBBBBBBBBD",
    "DBTBTTTBTTBBBBBD",
    "DBBBBBBBBBBBBBBD",
    "DBTTTTBTTTTTBBBD",
    "DBBBBBBBBBBBBBBD",
    "DDDDDDDDDDDDDDDD",
    "DBTBBBBBBBBBBBBD",
    "DBBTBTTTTBBBBBBD",
    "DBTBBBBBBBBBBBBD",
    "DDDDDDDDDDDDDDDD",
    "................",
)

# The application icon at 32 pixels, drawn on the pixel grid as well: the
# window with "2+3" and "=5" in its log, in the default scheme's colours.
WINDOW_PIXELS_32 = (
    "................................",
    "................................",
    ".DDDDDDDDDDDDDDDDDDDDDDDDDDDDDD.",
    "DBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBD",
    "DBDDDDDBDDDDDDDDDBDDDDDDBDDDDDBD",
    "DBDBBBDBBBBBBBBBBBDBBBBDBDDBDDBD",
    "DBDBBBDBDDDDDDDDDBDBDDBDBDBDBDBD",
    "DBDBBBDBBBBBBBBBBBDBBBBDBDDBDDBD",
    "DBDDDDDBDDDDDDDDDBDDDDDDBDDDDDBD",
    "DBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBD",
    "DBBTTTBBBBBTTTBBBBBBBBBBBBBBBBBD",
    "DBBBBTBBTBBBBTBBBBBBBBBBBBBBBBBD",
    "DBBTTTBTTTBTTTBBBBBBBBBBBBBBBBBD",
    "DBBTBBBBTBBBBTBBBBBBBBBBBBBBBBBD",
    "DBBTTTBBBBBTTTBBBBBBBBBBBBBBBBBD",
    "DBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBD",
    "DBBBBBBTTTBBBBBBBBBBBBBBBBBBBBBD",
    "DBBTTTBTBBBBBBBBBBBBBBBBBBBBBBBD",
    "DBBBBBBTTTBBBBBBBBBBBBBBBBBBBBBD",
    "DBBTTTBBBTBBBBBBBBBBBBBBBBBBBBBD",
    "DBBBBBBTTTBBBBBBBBBBBBBBBBBBBBBD",
    "DBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBD",
    "DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD",
    "DBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBD",
    "DBBTBBBBTBBBBBBBBBBBBBBBBBBBBBBD",
    "DBBBTBBBTBBBBBBBBBBBBBBBBBBBBBBD",
    "DBBBBTBBTBBBBBBBBBBBBBBBBBBBBBBD",
    "DBBBTBBBTBBBBBBBBBBBBBBBBBBBBDBD",
    "DBBTBBBBTBBBBBBBBBBBBBBBBBBBDDBD",
    "DBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBD",
    ".DDDDDDDDDDDDDDDDDDDDDDDDDDDDDD.",
    "................................",
)


def read_schemes():
    """(name, base, dark, text) for each scheme, colours as "#RRGGBB"."""
    source = COLOR_SCHEMES_SOURCE.read_text(encoding="utf-8")
    pattern = re.compile(r'\{"(\w+)",\s*0x02([0-9A-Fa-f]{6}),\s*0x02([0-9A-Fa-f]{6}),\s*0x02([0-9A-Fa-f]{6}),\s*(\d+)\}')
    schemes = []
    for name, base, dark, text, icon in pattern.findall(source):
        if int(icon) != len(schemes):
            sys.exit(f"make_icons: scheme {name} has icon {icon}, expected {len(schemes)}")
        schemes.append((name, *(windows_color_to_hex(c) for c in (base, dark, text))))
    if len(schemes) != 9:
        sys.exit(f"make_icons: found {len(schemes)} colour schemes in {COLOR_SCHEMES_SOURCE}, expected 9")
    return schemes


def windows_color_to_hex(bbggrr):
    """A colour reference's low three bytes (blue, green, red) as #RRGGBB."""
    return "#" + bbggrr[4:6] + bbggrr[2:4] + bbggrr[0:2]


def pixel_runs(rows):
    """(x, y, length, letter) for each horizontal run of one colour."""
    for y, row in enumerate(rows):
        x = 0
        while x < len(row):
            end = x
            while end < len(row) and row[end] == row[x]:
                end += 1
            if row[x] != ".":
                yield x, y, end - x, row[x]
            x = end


def pixel_svg(rows, title, base, dark, text):
    """An SVG of a pixel drawing, one rectangle per run of one colour."""
    size = len(rows)
    colors = {"B": base, "D": dark, "T": text}
    rects = "\n".join(
        f'  <rect x="{x}" y="{y}" width="{length}" height="1" fill="{colors[letter]}"/>'
        for x, y, length, letter in pixel_runs(rows))
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<!-- {title}. Generated by make_icons.py. -->\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}"'
        ' shape-rendering="crispEdges">\n'
        f"{rects}\n"
        "</svg>\n")


def render(svg, png, size):
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", str(png), str(svg)], check=True)


def main():
    if shutil.which("rsvg-convert") is None:
        sys.exit("make_icons: rsvg-convert is missing (apt-get install librsvg2-bin)")
    schemes = read_schemes()
    for index, (name, base, dark, text) in enumerate(schemes):
        svg = HERE / f"scheme-{index}.svg"
        svg.write_text(pixel_svg(WINDOW_PIXELS, f"Quenmark colour-scheme icon: {name}", base, dark, text),
                       encoding="utf-8")
        for size in SCHEME_ICON_SIZES:
            suffix = "" if size == 16 else f"-{size}"
            render(svg, HERE / f"scheme-{index}{suffix}.png", size)
    _, base, dark, text = schemes[DEFAULT_SCHEME]
    small_svg = HERE / "quenmark-32.svg"
    small_svg.write_text(pixel_svg(WINDOW_PIXELS_32, "Quenmark application icon at 32 pixels", base, dark, text),
                         encoding="utf-8")
    sources = {16: HERE / f"scheme-{DEFAULT_SCHEME}.svg", 32: small_svg}
    for size in APPLICATION_ICON_SIZES:
        render(sources.get(size, HERE / "quenmark.svg"), HERE / f"quenmark-{size}.png", size)


if __name__ == "__main__":
    main()
