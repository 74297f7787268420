// Reading an architect's DXF floor plan: the outlines, texts and lines of its model space in world
// coordinates, with blocks placed where their inserts put them and all strings as clean UTF-8.
// Anything that is not a readable DXF plan gives a message that names the cause.
#pragma once
#include "floorplan/geometry.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace floorplan {

enum class DrawingUnit { Inches, Feet, Millimetres, Centimetres, Metres };

// An LWPOLYLINE or POLYLINE.
struct PlanPolyline {
    std::string layer;
    std::string handle; // as written in the file, "" when it has none
    Ring corners;       // a closing corner that repeats the first is left out
    bool closed = false;
    bool hadArcs = false; // some side was an arc, taken as its chord
};

// A TEXT, MTEXT or attribute value.
struct PlanText {
    std::string layer;
    Point anchor;
    std::string text;
    // An MTEXT's middle, worked out from its attachment, lines and height: a label hung by its
    // corner may have that corner outside the room it names.
    std::optional<Point> middle;
    // Written once in a block that is placed several times: the same words at every place, so
    // a symbol's label rather than the name of one room.
    bool repeatedByBlock = false;
};

struct Plan {
    std::vector<PlanPolyline> polylines;
    std::vector<PlanText> texts;
    std::optional<DrawingUnit> headerUnit; // from $INSUNITS when it names one of the units
    std::map<std::string, int> linesPerLayer;
    // Where inserts of a block named HEAD-END (any case) stand: the amplifiers' rack.
    std::vector<Point> headEnds;
};

struct PlanError {
    std::string message;
};

// Reads a whole DXF file held in memory.
std::variant<Plan, PlanError> ReadPlan(std::string_view bytes);
// The same, letting go of the file's bytes once they are checked, so that a large plan is not
// held twice while dxflib reads it.
std::variant<Plan, PlanError> ReadPlan(std::string&& bytes);

} // namespace floorplan
