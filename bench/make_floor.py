#!/usr/bin/python3
"""Writes a large floor plan for the benchmark, with ezdxf as a writer independent of ours.

    make_floor.py OUT.dxf [ROOMS]

ROOMS (2,000 by default) room outlines in millimetres, on a grid of bays along corridors:
rectangles, L and U shapes and some turned at an angle, each a closed LWPOLYLINE on A-AREA named
by a TEXT or MTEXT inside it on A-AREA-IDEN. Walls are LINEs on A-WALL around every room, broken
by a door; furniture is inserts of a few blocks (desks, chairs, round tables); loose notes stand
in the corridors. The same ROOMS always give the same file, byte for byte; 2,000 rooms make about
60 MB.
"""
import math
import os
import random
import sys

import ezdxf

BAY_WIDTH = 9000  # mm, one room's bay along the corridor
BAY_DEPTH = 7000
CORRIDOR = 2000
WALL = 100  # a wall's face lies this far outside the room's outline
FURNITURE_PER_ROOM = 190
NOTES_PER_ROOM = 2


def make_blocks(doc):
    desk = doc.blocks.new("DESK", base_point=(0, 0))
    for start, end in [((0, 0), (1600, 0)), ((1600, 0), (1600, 800)),
                       ((1600, 800), (0, 800)), ((0, 800), (0, 0)),
                       ((100, 700), (1500, 700))]:
        desk.add_line(start, end)
    desk.add_arc((800, 0), 450, 180, 360)
    # The same tag in every desk: a symbol's label, never a room's name.
    desk.add_text("D", dxfattribs={"height": 120}).set_placement((750, 350))
    chair = doc.blocks.new("CHAIR", base_point=(0, 0))
    chair.add_circle((0, 0), 250)
    chair.add_line((-250, -250), (250, -250))
    chair.add_line((-250, -250), (-250, 150))
    chair.add_line((250, -250), (250, 150))
    chair.add_arc((0, 150), 250, 0, 180)
    table = doc.blocks.new("TABLE", base_point=(0, 0))
    table.add_circle((0, 0), 600)
    table.add_circle((0, 0), 560)
    for k in range(4):
        turn = k * math.pi / 2
        table.add_line((700 * math.cos(turn), 700 * math.sin(turn)),
                       (900 * math.cos(turn), 900 * math.sin(turn)))


def turned(points, centre, degrees):
    a = math.radians(degrees)
    cx, cy = centre
    return [(cx + (x - cx) * math.cos(a) - (y - cy) * math.sin(a),
             cy + (x - cx) * math.sin(a) + (y - cy) * math.cos(a)) for x, y in points]


def outline(kind, x, y, w, d, rng):
    """The room's corners (counter-clockwise) and a point well inside it for its name."""
    if kind == "L":
        a, b = w * rng.uniform(0.4, 0.6), d * rng.uniform(0.4, 0.6)
        return ([(x, y), (x + w, y), (x + w, y + b), (x + a, y + b), (x + a, y + d), (x, y + d)],
                (x + a / 2, y + b / 2))
    if kind == "U":
        a, b = w * rng.uniform(0.25, 0.35), d * rng.uniform(0.35, 0.5)
        return ([(x, y), (x + w, y), (x + w, y + d), (x + w - a, y + d), (x + w - a, y + b),
                 (x + a, y + b), (x + a, y + d), (x, y + d)], (x + w / 2, y + b / 2))
    corners = [(x, y), (x + w, y), (x + w, y + d), (x, y + d)]
    centre = (x + w / 2, y + d / 2)
    if kind == "angled":
        shrink = 0.6  # room for the turn inside the bay
        sw, sd = w * shrink, d * shrink
        square = [(centre[0] - sw / 2, centre[1] - sd / 2), (centre[0] + sw / 2, centre[1] - sd / 2),
                  (centre[0] + sw / 2, centre[1] + sd / 2), (centre[0] - sw / 2, centre[1] + sd / 2)]
        return turned(square, centre, rng.uniform(10, 35)), centre
    return corners, centre


def add_walls(msp, corners):
    """Every side as a wall line just outside the room; the first side has a door gap."""
    n = len(corners)
    for k in range(n):
        (x0, y0), (x1, y1) = corners[k], corners[(k + 1) % n]
        length = math.hypot(x1 - x0, y1 - y0)
        nx, ny = (y1 - y0) / length * WALL, -(x1 - x0) / length * WALL
        a, b = (x0 + nx, y0 + ny), (x1 + nx, y1 + ny)
        if k == 0 and length > 2000:
            t0, t1 = 0.5 - 450 / length, 0.5 + 450 / length
            msp.add_line(a, (a[0] + (b[0] - a[0]) * t0, a[1] + (b[1] - a[1]) * t0),
                         dxfattribs={"layer": "A-WALL"})
            msp.add_line((a[0] + (b[0] - a[0]) * t1, a[1] + (b[1] - a[1]) * t1), b,
                         dxfattribs={"layer": "A-WALL"})
        else:
            msp.add_line(a, b, dxfattribs={"layer": "A-WALL"})


def main():
    # ezdxf writes some tables in the order of Python's string hashes: fix it for equal files.
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, {**os.environ, "PYTHONHASHSEED": "0"})
    if len(sys.argv) not in (2, 3):
        sys.exit("usage: make_floor.py OUT.dxf [ROOMS]")
    rooms = int(sys.argv[2]) if len(sys.argv) == 3 else 2000
    rng = random.Random(20240611)
    ezdxf.options.write_fixed_meta_data_for_testing = True
    doc = ezdxf.new("R2010")
    doc.header["$INSUNITS"] = 4
    for name in ["A-AREA", "A-AREA-IDEN", "A-WALL", "A-FURN", "A-ANNO"]:
        doc.layers.add(name)
    make_blocks(doc)
    msp = doc.modelspace()
    columns = max(1, math.ceil(math.sqrt(rooms)))
    kinds = ["rectangle"] * 5 + ["L"] * 2 + ["U"] * 2 + ["angled"]
    for i in range(rooms):
        column, row = i % columns, i // columns
        # Rooms face a corridor below every second row.
        bx = column * BAY_WIDTH
        by = row * BAY_DEPTH + (row + 1) // 2 * CORRIDOR
        w, d = rng.uniform(5000, BAY_WIDTH - 600), rng.uniform(4000, BAY_DEPTH - 600)
        x, y = bx + (BAY_WIDTH - w) / 2, by + (BAY_DEPTH - d) / 2
        corners, label = outline(kinds[i % len(kinds)], x, y, w, d, rng)
        msp.add_lwpolyline(corners, close=True, dxfattribs={"layer": "A-AREA"})
        add_walls(msp, corners)
        name = f"{'ABCDEFGH'[row % 8]}{i:04d}"
        if i % 2 == 0:
            msp.add_text(name, dxfattribs={"layer": "A-AREA-IDEN", "height": 250}).set_placement(
                label)
        else:
            msp.add_mtext(name + "\\POffice", dxfattribs={
                "layer": "A-AREA-IDEN", "char_height": 250, "insert": label})
        # Furniture near the label's point, where every shape has room.
        for k in range(FURNITURE_PER_ROOM):
            block = ("DESK", "CHAIR", "CHAIR", "TABLE")[k % 4]
            at = (label[0] + rng.uniform(-1500, 1500), label[1] + rng.uniform(-1200, 1200))
            msp.add_blockref(block, at, dxfattribs={
                "layer": "A-FURN", "rotation": rng.choice((0, 90, 180, 270, rng.uniform(0, 360)))})
        for k in range(NOTES_PER_ROOM):
            at = (bx + rng.uniform(500, BAY_WIDTH - 500), by - CORRIDOR / 2 * (row % 2 == 1) - 150)
            msp.add_text(f"see detail {rng.randint(1, 99)}/{rng.randint(1, 20)}",
                         dxfattribs={"layer": "A-ANNO", "height": 150}).set_placement(at)
    doc.saveas(sys.argv[1])


if __name__ == "__main__":
    main()
