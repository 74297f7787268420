// Drawing units by name and by factor.
#include "floorplan/units.h"

#include <cctype>
#include <map>
#include <string>

namespace floorplan {

Units DesignUnitsFor(DrawingUnit unit) {
    return unit == DrawingUnit::Inches || unit == DrawingUnit::Feet ? Units::Feet
                                                                    : Units::Millimetres;
}

double ToDesignUnits(DrawingUnit unit) {
    switch (unit) {
    case DrawingUnit::Inches:
        return 1.0 / 12;
    case DrawingUnit::Feet:
        return 1;
    case DrawingUnit::Millimetres:
        return 1;
    case DrawingUnit::Centimetres:
        return 10;
    case DrawingUnit::Metres:
        return 1000;
    }
    return 1;
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
