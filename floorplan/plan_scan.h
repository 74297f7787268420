// The check a plan's bytes pass before dxflib reads them. dxflib trusts its input: a huge vertex
// count makes it allocate without bound, a bulge before the first vertex writes outside its
// array, an over-long line stops its reading loop from ever ending. The scan refuses what is not
// a sound DXF with the line at fault, and passes on only the sections, entities and groups the
// plan needs, with numbers in a form dxflib reads the same way.
#pragma once
#include "floorplan/plan_reader.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace floorplan {

struct ScannedCorner {
    double x = 0, y = 0, bulge = 0;
};

// A LWPOLYLINE or POLYLINE.
struct ScannedOutline {
    std::string handle; // as written, "" when it has none
    bool lightweight = false;
    size_t firstCorner = 0, cornerCount = 0; // a LWPOLYLINE's corners in ScannedPlan::corners
};

// An INSERT's numbers, with dxflib's defaults for those it does not give.
struct ScannedPlacement {
    double x = 0, y = 0, scaleX = 1, scaleY = 1, angle = 0, columnSpacing = 0, rowSpacing = 0;
};

// dxflib reads handles into an int, and converts every number through a string stream of its
// own, which costs more than all the rest of reading. The group 5 of an outline or insert
// therefore gives its position in these lists (counted from 1, in hex), where the scan keeps the
// handle as written and the numbers it has converted already: the corners of lightweight
// polylines, which plans hold by the hundred thousand, and the placements of inserts.
struct ScannedPlan {
    std::string dxf;
    std::vector<ScannedOutline> outlines;
    std::vector<ScannedCorner> corners;
    std::vector<ScannedPlacement> placements;
};

std::variant<ScannedPlan, PlanError> ScanPlan(std::string_view bytes);

} // namespace floorplan
