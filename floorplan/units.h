// A plan's drawing unit and the measurement system a design made from it uses.
#pragma once
#include "core/unit_pair.h"
#include "floorplan/plan_reader.h"

#include <optional>
#include <string>
#include <string_view>

namespace floorplan {

// Inches and feet make a design in feet; millimetres, centimetres and metres one in millimetres.
Units DesignUnitsFor(DrawingUnit unit);
// How many of the design's units one drawing unit is.
double ToDesignUnits(DrawingUnit unit);
// One drawing unit in millimetres.
double MillimetresPer(DrawingUnit unit);
// The unit's $INSUNITS code in a DXF header, and the unit a code names (none for 0 and others).
int InsUnitsCode(DrawingUnit unit);
std::optional<DrawingUnit> UnitOfInsUnits(int code);
// "in", "ft", "mm", "cm" or "m".
std::string UnitWord(DrawingUnit unit);
// "in", "inch", "inches", "ft", "feet", "mm", "cm", "m" and their longer names, in any case.
std::optional<DrawingUnit> ParseDrawingUnit(std::string_view text);

} // namespace floorplan
