#!/usr/bin/env python3
"""Prints the centre "x y" of the first place on a PPM screenshot where every opaque pixel
of the named 18 x 18 image from ToolImages.h appears exactly; a disabled button is drawn
faded and is not found. Exit status 1 when not found.
usage: find_tool.py SHOT.ppm ToolImages.h NAME"""
import re
import sys


def read_xpm(header, name):
    block = re.search(r'%s_xpm\[\] = \{(.*?)\};' % re.escape(name), open(header).read(), re.S)
    rows = re.findall(r'"([^"]*)"', block.group(1))
    width, height, ncolors = map(int, rows[0].split()[:3])
    colors = {row[0]: row.split()[-1] for row in rows[1:1 + ncolors]}
    pixels = [(x, y, bytes.fromhex(colors[ch].lstrip('#')))
              for y, row in enumerate(rows[1 + ncolors:]) for x, ch in enumerate(row)
              if colors[ch] != 'None']
    return width, height, pixels


def find(ppm, header, name):
    data = open(ppm, 'rb').read()
    match = re.match(rb'P6\s+(\d+)\s+(\d+)\s+\d+\s', data)
    width, height, image = int(match.group(1)), int(match.group(2)), data[match.end():]
    tw, th, pixels = read_xpm(header, name)
    x0, y0, first = pixels[0]
    at = image.find(first)
    while at >= 0:
        x, y = (at // 3) % width - x0, (at // 3) // width - y0
        if at % 3 == 0 and 0 <= x <= width - tw and 0 <= y <= height - th and all(
                image[3 * ((y + py) * width + x + px):][:3] == rgb for px, py, rgb in pixels):
            return x + tw // 2, y + th // 2
        at = image.find(first, at + 1)
    return None


if __name__ == '__main__':
    found = find(*sys.argv[1:4])
    if found is None:
        sys.exit(1)
    print('%d %d' % found)
