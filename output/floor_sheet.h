// The floor sheet: a whole floor of rooms on one landscape sheet at the largest standard drawing
// scale that fits, each room's outline, speakers and label, with a legend, a scale bar and a
// title block in a strip along the bottom. With zones, each zone's speakers and cable route are
// drawn in its colour, the head-end marked, and a column beside the drawing lists the zones.
// The sheet is composed as page items, positions in twips from the sheet's top-left corner,
// and painted to a one-page PDF of its size.
#pragma once

#include "floorplan/geometry.h"
#include "output/report_page.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class SheetSize { A3, A1, Letter, Tabloid, AnsiD }; // landscape sheets

// "a3", "a1", "letter", "tabloid" or "ansi-d", in any case.
std::optional<SheetSize> ParseSheetSize(std::string_view text);

struct SheetRoom {
    std::string name;
    floorplan::Ring outline;                // drawing units, plan coordinates
    std::vector<floorplan::Point> speakers; // drawing units
    bool flagged = false;                   // laid out for a designer's check: marked on the sheet
};

// A zone of the system: drawn in the colour of its number, cycling through six colours that
// colour-blind readers tell apart and that differ from the red of flagged rooms and the grey of
// walls: 1 blue #0072B2, 2 orange #E69F00, 3 bluish green #009E73, 4 reddish purple #CC79A7,
// 5 sky blue #56B4E9, 6 vermilion #D55E00, 7 blue again ...
struct SheetZone {
    int number = 1;                         // from 1
    std::vector<floorplan::Point> speakers; // drawing units
    std::vector<floorplan::Point> route;    // the cable, head-end first
    std::string legend;                     // e.g. "Z3  8 speakers  ch 2  -0.4 dB"
};

struct FloorSheetInput {
    std::string planName;          // the plan file's name
    std::string date;              // as given, e.g. "2026-12-07"
    double millimetresPerUnit = 1; // the drawing unit: inch 25.4, foot 304.8, mm 1, cm 10, m 1000
    bool imperial = false;         // inch and foot plans take imperial scales and a bar in feet
    std::string unitName;          // "ft", "mm" ... for the title block
    std::vector<SheetRoom> rooms;
    std::vector<std::pair<floorplan::Point, floorplan::Point>> walls; // context lines
    SheetSize size = SheetSize::A3;
    // With zones, speakers are drawn from the zones (the rooms' own are then left out so that
    // none is drawn twice) and the drawing area gives up a column on its right to their list.
    // Empty: no zones, no head-end, the sheet as without a system.
    std::vector<SheetZone> zones;
    std::optional<floorplan::Point> headEnd;
};

struct FloorSheet {
    double pageWidth = 0, pageHeight = 0; // twips, the whole sheet
    std::string scale;                    // "1:100", or "1/8\" = 1'-0\""
    std::vector<PageItem> items;
};

FloorSheet ComposeFloorSheet(const FloorSheetInput& input, const TextMetrics& metrics);

// The sheet as a one-page PDF of its size titled title, the items painted by PaintPage.
QByteArray FloorSheetPdf(const FloorSheet& sheet, const QString& title);
