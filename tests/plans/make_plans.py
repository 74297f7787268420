#!/usr/bin/env python3
"""Writes the small floor plans the reading tests check, with ezdxf as a writer independent of
the program's reader: python3 make_plans.py FOLDER"""
import os
import sys

import ezdxf


def new_plan(version, units=None, code_page=None):
    doc = ezdxf.new(version)
    if code_page:
        doc.encoding = code_page
    if units is not None:
        doc.header["$INSUNITS"] = units
    return doc


def l_shape_r12(folder):
    doc = new_plan("R12")
    msp = doc.modelspace()
    corners = [(0, 0), (6000, 0), (6000, 3000), (3000, 3000), (3000, 5000), (0, 5000)]
    msp.add_polyline2d(corners, close=True, dxfattribs={"layer": "Rooms"})
    msp.add_text("%%uOffice%%u", dxfattribs={"layer": "Names", "insert": (1000, 4000)})
    msp.add_line((0, 0), (6000, 0), dxfattribs={"layer": "Walls"})
    msp.add_line((0, 5000), (3000, 5000), dxfattribs={"layer": "Walls"})
    doc.saveas(os.path.join(folder, "l_shape_r12.dxf"))


def rotated_cp1252_r2000(folder):
    # A 4000 x 2000 rectangle turned 30 degrees about its first corner, in millimetres.
    doc = new_plan("R2000", units=4, code_page="cp1252")
    msp = doc.modelspace()
    corners = [(0, 0), (3464.1016151377544, 2000), (2464.1016151377544, 3732.0508075688772),
               (-1000, 1732.0508075688772)]
    msp.add_lwpolyline(corners, close=True, dxfattribs={"layer": "A-AREA"})
    msp.add_text("Besprechungsraum Süd", dxfattribs={"layer": "Namen", "insert": (1200, 1800)})
    doc.saveas(os.path.join(folder, "rotated_cp1252_r2000.dxf"))


def chinese_gbk_r2004(folder):
    doc = new_plan("R2004", units=2, code_page="gbk")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (20, 0), (20, 15), (0, 15)], close=True,
                       dxfattribs={"layer": "房间"})
    msp.add_text("会议室", dxfattribs={"layer": "房间", "insert": (10, 7)})
    doc.saveas(os.path.join(folder, "chinese_gbk_r2004.dxf"))


def nested_blocks_r2010(folder):
    doc = new_plan("R2010", units=6)
    cell = doc.blocks.new("CELL")
    cell.add_lwpolyline([(0, 0), (10, 0), (10, 4), (0, 4)], close=True)
    cell.add_text("fixture", dxfattribs={"insert": (1, 1)})
    wing = doc.blocks.new("WING")
    wing.add_blockref("CELL", (100, 0), dxfattribs={"xscale": 2, "yscale": 3, "rotation": 90})
    msp = doc.modelspace()
    msp.add_blockref("WING", (1000, 500), dxfattribs={"layer": "Rooms", "xscale": 2, "yscale": 2})
    msp.add_blockref("WING", (3000, 500), dxfattribs={"layer": "Rooms", "xscale": 2, "yscale": 2})
    msp.add_mtext("\\A1;{\\H2.5x;\\C1;Conf\\~Room}\\P\\S1^2; \\U+00E9t\\U+00E9",
                  dxfattribs={"layer": "Names", "insert": (1190, 520)})
    paper = doc.layouts.get("Layout1")
    paper.add_lwpolyline([(0, 0), (50, 0), (50, 50), (0, 50)], close=True,
                         dxfattribs={"layer": "Rooms"})
    doc.saveas(os.path.join(folder, "nested_blocks_r2010.dxf"))


def closing_flags_r2018(folder):
    doc = new_plan("R2018", units=1)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (500, 0), (500, 300), (0, 300), (0, 0)],
                       dxfattribs={"layer": "Rooms"})
    flagged = msp.add_lwpolyline([(600, 0), (900, 0), (900, 300), (600, 300)],
                                 dxfattribs={"layer": "Rooms"})
    flagged.dxf.flags = 129
    msp.add_lwpolyline([(0, 400), (500, 400), (500, 700)], dxfattribs={"layer": "Rooms"})
    msp.add_lwpolyline([(600, 400), (900, 700), (900, 400), (600, 700)], close=True,
                       dxfattribs={"layer": "Rooms"})
    msp.add_text("Store", dxfattribs={"layer": "Names", "insert": (250, 150)})
    msp.add_text("Store", dxfattribs={"layer": "Names", "insert": (750, 150)})
    msp.add_text("12 m%%178", dxfattribs={"layer": "Names", "insert": (700, 50)})
    doc.saveas(os.path.join(folder, "closing_flags_r2018.dxf"))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for write in (l_shape_r12, rotated_cp1252_r2000, chinese_gbk_r2004, nested_blocks_r2010,
                  closing_flags_r2018):
        write(folder)


if __name__ == "__main__":
    main()
