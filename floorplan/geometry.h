// Points and outlines of a floor plan, in the plan's own drawing units and coordinates.
#pragma once
#include <vector>

namespace floorplan {

struct Point {
    double x = 0;
    double y = 0;
};

// A closed outline: its corners in order, the first not repeated at the end.
using Ring = std::vector<Point>;

} // namespace floorplan
