#include "output/room_drawing.h"

#include "core/calculate.h"
#include "core/unit_pair.h"

#include <cstdint>

namespace {

const QColor kGridColour(192, 192, 192); // light grey
const QColor kDotColour(Qt::black);

} // namespace

double SpeakerDotRadius(Units units) {
    // One foot, or 305 mm.
    constexpr UnitPair<double> kDotRadius{1, 305};
    return kDotRadius(units);
}

void DrawLayout(DrawingSurface& pic, const DesignState& s) {
    const double radius = SpeakerDotRadius(s.units.value());
    pic.Clear();
    for (std::int64_t i = 0; i < s.alongLength.rows; ++i) {
        const double x = RowPosition(s.alongLength, i);
        pic.Line(x, 0, x, s.width, kGridColour);
    }
    for (std::int64_t j = 0; j < s.alongWidth.rows; ++j) {
        const double y = RowPosition(s.alongWidth, j);
        pic.Line(0, y, s.length, y, kGridColour);
    }
    for (std::int64_t i = 0; i < s.alongLength.rows; ++i) {
        for (std::int64_t j = 0; j < s.alongWidth.rows; ++j)
            pic.Circle(RowPosition(s.alongLength, i), RowPosition(s.alongWidth, j), radius,
                       kDotColour, true);
    }
}
