#include "output/room_drawing.h"

#include "core/calculate.h"
#include "core/unit_pair.h"

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
    VisitGrid(
        s, [&](double x) { pic.Line(x, 0, x, s.width, kGridColour); },
        [&](double y) { pic.Line(0, y, s.length, y, kGridColour); },
        [&](double x, double y) { pic.Circle(x, y, radius, kDotColour, true); });
}
