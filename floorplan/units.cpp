// Drawing units by name and by factor.
#include "floorplan/units.h"

#include <cctype>
#include <iterator>
#include <map>
#include <string>

namespace floorplan {

Units DesignUnitsFor(DrawingUnit unit) {
    return unit == DrawingUnit::Inches || unit == DrawingUnit::Feet ? Units::Feet
                                                                    : Units::Millimetres;
}

namespace {

struct UnitFacts {
    int insUnits;       // the header's $INSUNITS code
    const char* word;   // as the summary and messages write it
    double millimetres; // one unit's length
    double designUnits; // one unit in the design's feet or millimetres
};

// Indexed by DrawingUnit.
constexpr UnitFacts kUnits[] = {
    {1, "in", 25.4, 1.0 / 12}, {2, "ft", 304.8, 1},  {4, "mm", 1, 1},
    {5, "cm", 10, 10},         {6, "m", 1000, 1000},
};

const UnitFacts& FactsOf(DrawingUnit unit) {
    return kUnits[static_cast<int>(unit)];
}

} // namespace

double ToDesignUnits(DrawingUnit unit) {
    return FactsOf(unit).designUnits;
}

double MillimetresPer(DrawingUnit unit) {
    return FactsOf(unit).millimetres;
}

int InsUnitsCode(DrawingUnit unit) {
    return FactsOf(unit).insUnits;
}

std::string UnitWord(DrawingUnit unit) {
    return FactsOf(unit).word;
}

std::optional<DrawingUnit> UnitOfInsUnits(int code) {
    for (int u = 0; u < static_cast<int>(std::size(kUnits)); ++u)
        if (kUnits[u].insUnits == code)
            return static_cast<DrawingUnit>(u);
    return std::nullopt;
}

std::optional<DrawingUnit> ParseDrawingUnit(std::string_view text) {
    static const std::map<std::string, DrawingUnit> names = {
        {"in", DrawingUnit::Inches},
        {"inch", DrawingUnit::Inches},
        {"inches", DrawingUnit::Inches},
        {"ft", DrawingUnit::Feet},
        {"foot", DrawingUnit::Feet},
        {"feet", DrawingUnit::Feet},
        {"mm", DrawingUnit::Millimetres},
        {"millimetre", DrawingUnit::Millimetres},
        {"millimetres", DrawingUnit::Millimetres},
        {"millimeter", DrawingUnit::Millimetres},
        {"millimeters", DrawingUnit::Millimetres},
        {"cm", DrawingUnit::Centimetres},
        {"centimetre", DrawingUnit::Centimetres},
        {"centimetres", DrawingUnit::Centimetres},
        {"centimeter", DrawingUnit::Centimetres},
        {"centimeters", DrawingUnit::Centimetres},
        {"m", DrawingUnit::Metres},
        {"metre", DrawingUnit::Metres},
        {"metres", DrawingUnit::Metres},
        {"meter", DrawingUnit::Metres},
        {"meters", DrawingUnit::Metres},
    };
    std::string lower;
    for (char c : text) {
        lower += char(std::tolower(static_cast<unsigned char>(c)));
    }
    const auto found = names.find(lower);
    return found == names.end() ? std::nullopt : std::optional<DrawingUnit>(found->second);
}

} // namespace floorplan
