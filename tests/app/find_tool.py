#!/usr/bin/env python3
"""Finds a toolbar image on a screenshot: prints the centre "x y" of the first place
where every opaque pixel of the named 18 x 18 image from ToolImages.h appears exactly.
A disabled button is drawn faded and is not found. Exit status 1 when not found."""
import re
import sys


def read_xpm(header, name):
    text = open(header).read()
    block = re.search(r'%s_xpm\[\] = \{(.*?)\};' % re.escape(name), text, re.S).group(1)
    rows = re.findall(r'"([^"]*)"', block)
    width, height, ncolors, _ = map(int, rows[0].split())
    colors = {}
    for row in rows[1:1 + ncolors]:
        key, value = row[0], row.split()[-1]
        colors[key] = None if value == 'None' else bytes.fromhex(value.lstrip('#'))
    pixels = [(x, y, colors[ch]) for y, row in enumerate(rows[1 + ncolors:])
              for x, ch in enumerate(row) if colors[ch] is not None]
    return width, height, pixels


def read_ppm(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        match = re.compile(rb'\s*(#[^\n]*\n\s*)*(\S+)').match(data, pos)
        fields.append(match.group(2))
        pos = match.end()
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def find(ppm, header, name):
    width, height, image = read_ppm(ppm)
    tw, th, pixels = read_xpm(header, name)
    x0, y0, first = pixels[0]
    start = 0
    while True:
        at = image.find(first, start)
        if at < 0:
            return None
        start = at + 1
        if at % 3:
            continue
        x, y = (at // 3) % width - x0, (at // 3) // width - y0
        if x < 0 or y < 0 or x + tw > width or y + th > height:
            continue
        if all(image[3 * ((y + py) * width + x + px):][:3] == rgb for px, py, rgb in pixels):
            return x + tw // 2, y + th // 2


if __name__ == '__main__':
    found = find(*sys.argv[1:4])
    if found is None:
        sys.exit(1)
    print('%d %d' % found)
