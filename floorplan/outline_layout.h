// The speakers of one room drawn as a closed outline of any shape. A rectangle, at any place and
// turn, is laid out by the one-room rule exactly as the window lays out its length and width; an
// outline whose sides all run in two perpendicular directions is cut into rectangles laid out the
// same way; any other outline gets a grid at the nominal spacing, filled where it leaves gaps, and
// is flagged for a designer's check. Every layout is measured against the same quality limits.
#pragma once

#include "core/design_state.h"
#include "floorplan/geometry.h"

#include <string>
#include <variant>
#include <vector>

namespace floorplan {

enum class OutlineShape { Rectangle, Rectilinear, Other };

// A row line of the grid, for the CAD plan.
struct GridRow {
    Point from, to;
};

// All figures are fractions of the nominal spacing S.
struct LayoutQuality {
    double wallClearance = 0; // least distance from a speaker to a wall, negative when outside
    double closestPair = 0;   // least distance between two speakers (infinite for one)
    double farthestSpot = 0;  // greatest distance from a spot of the room to its nearest speaker
    bool holds = false;       // all three within the limits
};

// One rectangle laid out by the one-room rule.
struct RectanglePiece {
    Ring corners;       // plan coordinates, counter-clockwise from the corner the speakers start at
    DesignState design; // length and width in whole design units, and the results of ComputeDesign
};

struct OutlineLayout {
    OutlineShape shape = OutlineShape::Other;
    std::vector<RectanglePiece> pieces; // Rectangle: one; Rectilinear: the cut; Other: none
    std::vector<Point> speakers;        // plan coordinates (drawing units)
    std::vector<GridRow> rows;
    LayoutQuality quality;
    bool needsCheck = false; // the layout is not the plain rule: a designer should look at it
    std::vector<std::string> notes;
};

// "too small: narrower than 4 ft", "no area", "the outline crosses itself", ...
struct LayoutRefusal {
    std::string reason;
};

// Lays out one outline given in drawing units. The conditions supply the units, location and
// ceiling picks (their room size is ignored); toDesignUnits turns a drawing unit into the
// design's unit (inches to feet 1/12, centimetres to millimetres 10, metres to millimetres 1000).
//
// Each rectangle's speakers start from the corner its longer side starts from, going round the
// outline counter-clockwise; x runs along that side and y across it, into the room. Where the
// sides are equally long (a square) the first of them in the outline's order is taken, counting
// from its first corner after turning a clockwise outline round.
std::variant<OutlineLayout, LayoutRefusal> LayOutOutline(const Ring& corners, double toDesignUnits,
                                                         const DesignState& conditions);

// Measures a set of speakers in an outline against the quality limits; nominalSpacing is in
// drawing units. The farthest spot is found by a bounded search down to cells of S/64 and
// boundary samples S/50 apart, so it is never more than S/45 below the exact value (S/90 away from
// the walls).
LayoutQuality MeasureQuality(const Ring& corners, const std::vector<Point>& speakers,
                             double nominalSpacing, Units units, OutlineShape shape);

} // namespace floorplan
