// How an outline is read before it is laid out: cleaned of drawing noise, refused when it has no
// area or crosses itself, seen from its longest side, classified, and - when all its sides run
// along two perpendicular directions - cut into rectangles.
#pragma once

#include "floorplan/geometry.h"
#include "floorplan/outline_layout.h"

#include <variant>
#include <vector>

namespace floorplan {

// The plan seen from the start of the outline's longest side: x along that side, y to its left,
// which is into the room since the outline runs counter-clockwise.
struct Frame {
    Point origin;
    Point along; // unit length
    Point ToPlan(Point local) const {
        return {origin.x + local.x * along.x - local.y * along.y,
                origin.y + local.x * along.y + local.y * along.x};
    }
};

// A rectangle in frame coordinates.
struct Box {
    double left = 0, bottom = 0, right = 0, top = 0;
    double Width() const { return right - left; }
    double Height() const { return top - bottom; }
};

struct ReadOutline {
    Ring plan;  // cleaned, counter-clockwise, in plan coordinates
    Ring local; // the same corners in the frame; set square to its axes unless the shape is Other
    Frame frame;
    OutlineShape shape = OutlineShape::Other;
    Box bounds; // of local
};

// Drawing noise: lengths below this fraction of the outline's diagonal count as nothing.
inline constexpr double kDrawingNoise = 1e-6;

std::variant<ReadOutline, LayoutRefusal> ReadCorners(const Ring& corners);

// Cuts a rectilinear outline (frame coordinates) into rectangles: slabs through every corner
// along one axis, neighbouring slabs of equal extent merged. Of the two axes the one whose cut
// has fewer pieces narrower than thinSide wins, then the one with fewer pieces, then x.
std::vector<Box> CutIntoRectangles(const Ring& local, double thinSide);

} // namespace floorplan
