// The check a plan's bytes pass before dxflib reads them. dxflib trusts its input: a huge vertex
// count makes it allocate without bound, a bulge before the first vertex writes outside its
// array, an over-long line stops its reading loop from ever ending. The scan refuses what is not
// a sound DXF with the line at fault, and passes on only the sections and entities the plan
// needs, with numbers rewritten in a form dxflib reads the same way.
#pragma once
#include "floorplan/plan_reader.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace floorplan {

struct ScannedPlan {
    std::string dxf;
    // dxflib reads handles into an int; the scan gives it each entity's position in this list
    // (counted from 1, in hex) and keeps the handle as written here.
    std::vector<std::string> handles;
};

std::variant<ScannedPlan, PlanError> ScanPlan(std::string_view bytes);

} // namespace floorplan
