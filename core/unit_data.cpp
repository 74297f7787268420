#include "core/unit_data.h"

const std::array<const char*, 5> kCeilingTypeTexts = {
    "Fiberglass, No Foil Backing", "Fiberglass, With Foil Backing", "Mineral Tile",
    "Interlocking Spline", "Gypsum Board"};

namespace {

const UnitData kFeet = {
    "Length, Ft.",
    "Width, Ft.",
    "Structural Ceiling Height, Ft.",
    "Plenum Depth, Ft.",
    "Ceiling Height, Ft",
    {"Between 0 and 1", "Between 1 and 3", "Between 3 and 6", "More than 6"},
    {"lower than 12", "higher than 12"},
    {{{11, 13, 14, 15, 17}, {12, 14, 15, 16, 18}, {13, 15, 16, 17, 19}, {14, 16, 17, 18, 20}}},
};

// Every spacing cell is exactly 300 times its feet cell.
const UnitData kMillimetres = {
    "Length, mm.",
    "Width, mm.",
    "Structural Ceiling Height, mm.",
    "Plenum Depth, mm.",
    "Ceiling Height, mm",
    {"Between 0 and 300", "Between 300 and 900", "Between 900 and 1800", "More than 1800"},
    {"lower than 3600", "higher than 3600"},
    {{{3300, 3900, 4200, 4500, 5100},
      {3600, 4200, 4500, 4800, 5400},
      {3900, 4500, 4800, 5100, 5700},
      {4200, 4800, 5100, 5400, 6000}}},
};

} // namespace

const UnitData& UnitDataFor(Units units) {
    return units == Units::Feet ? kFeet : kMillimetres;
}
