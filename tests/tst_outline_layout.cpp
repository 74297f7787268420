// Laying out an outline: rectangles anywhere, at any turn and in any drawing unit follow the
// one-room rule (expected rows, counts and plan positions worked out by hand); rectilinear and
// angled outlines hold the quality limits, checked again by a plain sampling written here; the
// small-room limit and the three quality limits at their boundaries.
#include "core/design_state.h"
#include "floorplan/outline_layout.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace floorplan;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Access floor: 16 ft, 4880 mm. Suspended, picks 1/1/1: 11 ft, 3300 mm.
DesignState Conditions(Units units, Location location) {
    DesignState s;
    s.units = units;
    s.location = location;
    s.plenumDepth = s.ceilingType = s.ceilingHeight = std::int16_t{1};
    return s;
}

// A length by width rectangle turned by degrees about its first corner, counter-clockwise.
Ring Turned(Point at, double degrees, double length, double width) {
    const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
    Ring r;
    for (const auto& [x, y] : {Point{0, 0}, {length, 0}, {length, width}, {0, width}})
        r.push_back({at.x + x * c - y * s, at.y + x * s + y * c});
    return r;
}

bool Near(Point a, Point b, double tolerance) {
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

double SegmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t =
        std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0., 1.);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

bool Inside(const Ring& r, Point p) {
    bool in = false;
    for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
        if ((r[i].y > p.y) != (r[j].y > p.y) &&
            p.x < (r[j].x - r[i].x) * (p.y - r[i].y) / (r[j].y - r[i].y) + r[i].x)
            in = !in;
    return in;
}

// Wall clearance, closest pair and farthest spot (on a sample grid of S/25) by brute force.
std::array<double, 3> BruteQuality(const Ring& r, const std::vector<Point>& speakers, double S) {
    double wall = 1e300, pair = 1e300, far = 0, left = 1e300, right = -1e300, low = 1e300,
           high = -1e300;
    for (std::size_t i = 0; i < speakers.size(); ++i) {
        for (std::size_t k = 0; k < r.size(); ++k)
            wall = std::min(wall, SegmentDistance(speakers[i], r[k], r[(k + 1) % r.size()]) *
                                      (Inside(r, speakers[i]) ? 1 : -1));
        for (std::size_t j = i + 1; j < speakers.size(); ++j)
            pair = std::min(
                pair, std::hypot(speakers[i].x - speakers[j].x, speakers[i].y - speakers[j].y));
    }
    for (const Point& p : r)
        left = std::min(left, p.x), right = std::max(right, p.x), low = std::min(low, p.y),
        high = std::max(high, p.y);
    for (double x = left; x <= right; x += S / 25)
        for (double y = low; y <= high; y += S / 25)
            if (Inside(r, {x, y})) {
                double nearest = 1e300;
                for (const Point& s : speakers)
                    nearest = std::min(nearest, std::hypot(s.x - x, s.y - y));
                far = std::max(far, nearest);
            }
    return {wall / S, pair / S, far / S};
}

} // namespace

class TestOutlineLayout : public QObject {
    Q_OBJECT
  private slots:
    // The rule's rows, count and first and last speakers, turned and moved onto the plan from the
    // corner the longer side starts at, whatever corner the outline starts at or its direction.
    void rectanglesFollowTheOneRoomRule() {
        const Ring inches90{{-140, 200}, {100, 200}, {100, 680}, {-140, 680}};
        const Ring inchesClockwise{{100, 200}, {-140, 200}, {-140, 680}, {100, 680}};
        const Ring noisy{{0, 0}, {40, 0}, {40.00002, 20}, {0, 20}};
        const auto floorFt = Conditions(Units::Feet, Location::AccessFloor);
        const auto floorMm = Conditions(Units::Millimetres, Location::AccessFloor);
        const auto ceilingFt = Conditions(Units::Feet, Location::AboveCeiling);
        const struct {
            const char* name;
            Ring corners;
            double toDesign;
            DesignState conditions;
            RowLayout alongLength, alongWidth;
            std::size_t count;
            Point first, last;
            const char* note;
        } rooms[] = {
            // clang-format off
            {"ft 0", Turned({0, 0}, 0, 40, 20), 1, floorFt, {3, 15, 5}, {2, 10, 5}, 6, {5, 5}, {35, 15}, nullptr},
            {"in 90, starts before the corner", inches90, 1. / 12, floorFt, {3, 15, 5}, {2, 10, 5}, 6, {40, 260}, {-80, 620}, nullptr},
            {"in 90, clockwise", inchesClockwise, 1. / 12, floorFt, {3, 15, 5}, {2, 10, 5}, 6, {40, 260}, {-80, 620}, nullptr},
            {"mm 30", Turned({0, 0}, 30, 12000, 6000), 1, floorMm, {2, 4880, 3560}, {2, 3000, 1500}, 4, {2333.0504, 3079.0381}, {5059.2544, 8117.1143}, nullptr},
            {"cm 217", Turned({500, -300}, 217, 1500, 480), 10, floorMm, {3, 4880, 2620}, {1, 0, 2400}, 3, {435.1931, -649.3481}, {-344.2752, -1236.7195}, nullptr},
            {"m, length not whole", Turned({0, 0}, 0, 10.0004, 5), 1000, floorMm, {2, 4880, 2560}, {2, 2500, 1250}, 4, {2.56, 1.25}, {7.44, 3.75}, "length 10000.4 mm rounded to 10000 mm"},
            {"in, length not whole", Turned({0, 0}, 0, 364.8, 180), 1. / 12, ceilingFt, {3, 10, 5}, {2, 8, 3.5}, 6, {60, 42}, {300, 138}, "length 30.4 ft rounded to 30 ft"},
            {"in, half a foot goes even", Turned({0, 0}, 0, 258, 120), 1. / 12, ceilingFt, {2, 11, 5.5}, {1, 0, 5}, 2, {66, 60}, {198, 60}, "length 21.5 ft rounded to 22 ft"},
            {"ft, drawing noise", noisy, 1, floorFt, {3, 15, 5}, {2, 10, 5}, 6, {5, 5}, {35, 15}, nullptr},
            // clang-format on
        };
        for (const auto& r : rooms) {
            const auto result = LayOutOutline(r.corners, r.toDesign, r.conditions);
            QVERIFY2(std::holds_alternative<OutlineLayout>(result), r.name);
            const auto& layout = std::get<OutlineLayout>(result);
            QVERIFY2(layout.shape == OutlineShape::Rectangle && layout.pieces.size() == 1, r.name);
            const DesignState& d = layout.pieces[0].design;
            QVERIFY2(d.alongLength == r.alongLength && d.alongWidth == r.alongWidth, r.name);
            QVERIFY2(layout.speakers.size() == r.count, r.name);
            QVERIFY2(Near(layout.speakers.front(), r.first, 1e-4), r.name);
            QVERIFY2(Near(layout.speakers.back(), r.last, 1e-4), r.name);
            QVERIFY2(layout.notes ==
                         (r.note ? std::vector<std::string>{r.note} : std::vector<std::string>{}),
                     r.name);
            QVERIFY2(!layout.needsCheck, r.name);
        }
    }

    // The narrower extent against 4 ft / 1200 mm, and outlines that cannot be laid out at all.
    void outlinesTooSmallOrBrokenAreRefused() {
        const auto ft = Conditions(Units::Feet, Location::AboveCeiling);
        const auto mm = Conditions(Units::Millimetres, Location::AboveCeiling);
        DesignState noLocation = ft;
        noLocation.location = Location::None;
        const struct {
            const char* name;
            Ring corners;
            double toDesign;
            DesignState conditions;
            const char* refusal; // nullptr: laid out
        } outlines[] = {
            // clang-format off
            {"3.99 ft", Turned({5, 5}, 30, 20, 3.99), 1, ft, "too small: narrower than 4 ft"},
            {"4 ft", Turned({5, 5}, 30, 20, 4), 1, ft, nullptr},
            {"47.88 in", Turned({0, 0}, 0, 240, 47.88), 1. / 12, ft, "too small: narrower than 4 ft"},
            {"1199 mm", Turned({0, 0}, 90, 5000, 1199), 1, mm, "too small: narrower than 1200 mm"},
            {"120 cm", Turned({0, 0}, 90, 500, 120), 10, mm, nullptr},
            {"triangle 3.99 ft high", {{0, 0}, {30, 0}, {10, 3.99}}, 1, ft, "too small: narrower than 4 ft"},
            {"on one line", {{0, 0}, {10, 0}, {20, 0}}, 1, ft, "no area"},
            {"two corners", {{0, 0}, {10, 10}}, 1, ft, "no area"},
            {"bow tie", {{0, 0}, {20, 20}, {20, 0}, {0, 30}}, 1, ft, "the outline crosses itself"},
            {"a million speakers", Turned({0, 0}, 0, 2e4, 2e4), 1, ft, "too large: over 1000000 speakers"},
            {"no location", Turned({0, 0}, 0, 20, 20), 1, noLocation, "the conditions give no spacing"},
            // clang-format on
        };
        for (const auto& o : outlines) {
            const auto result = LayOutOutline(o.corners, o.toDesign, o.conditions);
            if (o.refusal)
                QVERIFY2(std::holds_alternative<LayoutRefusal>(result) &&
                             std::get<LayoutRefusal>(result).reason == o.refusal,
                         o.name);
            else
                QVERIFY2(std::holds_alternative<OutlineLayout>(result), o.name);
        }
    }

    // Hand-made speaker sets in a 10.8 x 14.4 room (farthest spot 9 from its centre) and a 12 x 12
    // room, S = 10; NaN leaves a figure unchecked.
    void qualityLimitsHoldAtTheirBoundaries() {
        const double none = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const Ring room{{0, 0}, {10.8, 0}, {10.8, 14.4}, {0, 14.4}};
        const Ring taller{{0, 0}, {10.8, 0}, {10.8, 14.6}, {0, 14.6}};
        const Ring square{{0, 0}, {12, 0}, {12, 12}, {0, 12}};
        const auto R = OutlineShape::Rectangle;
        const struct {
            const char* name;
            Ring corners;
            std::vector<Point> speakers;
            Units units;
            OutlineShape shape;
            double wall, pair, far;
            bool holds;
        } sets[] = {
            // clang-format off
            {"farthest 0.9", room, {{5.4, 7.2}}, Units::Feet, R, 0.54, inf, 0.9, true},
            {"farthest 0.908 ft", taller, {{5.4, 7.3}}, Units::Feet, R, 0.54, inf, 0.90802, false},
            {"farthest 0.908 mm", taller, {{5.4, 7.3}}, Units::Millimetres, R, 0.54, inf, 0.90802, true},
            {"farthest 0.908 angled", taller, {{5.4, 7.3}}, Units::Feet, OutlineShape::Other, none, none, none, true},
            {"farthest 1.36 mm", {{0, 0}, {19.2, 0}, {19.2, 19.2}, {0, 19.2}}, {{9.6, 9.6}}, Units::Millimetres, R, 0.96, inf, 1.35765, false},
            {"wall 0.1", square, {{1, 3}, {9, 3}, {3, 9}, {9, 9}}, Units::Feet, R, 0.1, 0.6, none, true},
            {"wall 0.099", square, {{0.99, 3}, {9, 3}, {3, 9}, {9, 9}}, Units::Feet, R, 0.099, none, none, false},
            {"outside", square, {{-1, 3}, {9, 3}, {3, 9}, {9, 9}}, Units::Feet, R, -0.1, none, none, false},
            {"pair 0.3", square, {{3, 3}, {6, 3}, {9, 3}, {3, 9}, {9, 9}}, Units::Feet, R, 0.3, 0.3, none, true},
            {"pair 0.299", square, {{3, 3}, {5.99, 3}, {9, 3}, {3, 9}, {9, 9}}, Units::Feet, R, 0.3, 0.299, none, false},
            {"no speakers", square, {}, Units::Feet, R, inf, inf, inf, false},
            // clang-format on
        };
        const auto same = [](double got, double want) {
            return std::isnan(want) || got == want || std::abs(got - want) <= 1e-5;
        };
        for (const auto& s : sets) {
            const LayoutQuality q = MeasureQuality(s.corners, s.speakers, 10, s.units, s.shape);
            QVERIFY2(same(q.wallClearance, s.wall), s.name);
            QVERIFY2(same(q.closestPair, s.pair), s.name);
            QVERIFY2(same(q.farthestSpot, s.far), s.name);
            QVERIFY2(q.holds == s.holds, s.name);
        }
    }

    // Outlines that are not rectangles are cut or filled so that the quality limits hold, as a
    // plain sampling here confirms, and the same outline is laid out the same way every time.
    void otherOutlinesHoldTheQualityLimits() {
        const auto ft = Conditions(Units::Feet, Location::AboveCeiling);
        const auto mm = Conditions(Units::Millimetres, Location::AccessFloor);
        Ring turnedL;
        for (const Point& p :
             Ring{{0, 0}, {18000, 0}, {18000, 7500}, {7500, 7500}, {7500, 15000}, {0, 15000}})
            turnedL.push_back({p.x * std::cos(kPi / 6) - p.y * std::sin(kPi / 6),
                               p.x * std::sin(kPi / 6) + p.y * std::cos(kPi / 6)});
        const struct {
            const char* name;
            Ring corners;
            DesignState conditions;
            double spacing;
            OutlineShape shape;
            std::size_t pieces;
        } outlines[] = {
            // clang-format off
            {"L", {{0, 0}, {60, 0}, {60, 25}, {25, 25}, {25, 50}, {0, 50}}, ft, 11, OutlineShape::Rectilinear, 2},
            {"L in mm at 30 degrees", turnedL, mm, 4880, OutlineShape::Rectilinear, 2},
            {"L in mm, corners beyond the rule", {{0, 0}, {29180, 0}, {29180, 14590}, {14590, 14590}, {14590, 29180}, {0, 29180}}, mm, 4880, OutlineShape::Rectilinear, 2},
            {"T", {{20, 0}, {40, 0}, {40, 30}, {60, 30}, {60, 50}, {0, 50}, {0, 30}, {20, 30}}, ft, 11, OutlineShape::Rectilinear, 2},
            {"U", {{0, 0}, {60, 0}, {60, 40}, {45, 40}, {45, 15}, {15, 15}, {15, 40}, {0, 40}}, ft, 11, OutlineShape::Rectilinear, 3},
            {"notch", {{0, 0}, {50, 0}, {50, 30}, {30, 30}, {30, 24}, {20, 24}, {20, 30}, {0, 30}}, ft, 11, OutlineShape::Rectilinear, 3},
            {"2 ft jog", {{0, 0}, {40, 0}, {40, 30}, {25, 30}, {25, 32}, {15, 32}, {15, 30}, {0, 30}}, ft, 11, OutlineShape::Rectilinear, 3},
            {"two 2 ft jogs", {{0, 0}, {40, 0}, {40, 10}, {42, 10}, {42, 20}, {40, 20}, {40, 30}, {25, 30}, {25, 32}, {15, 32}, {15, 30}, {0, 30}}, ft, 11, OutlineShape::Rectilinear, 3},
            {"trapezoid", {{0, 0}, {60, 0}, {45, 30}, {15, 30}}, ft, 11, OutlineShape::Other, 0},
            {"pentagon", {{0, 0}, {50, 0}, {50, 20}, {35, 40}, {0, 40}}, ft, 11, OutlineShape::Other, 0},
            // clang-format on
        };
        for (const auto& o : outlines) {
            const auto result = LayOutOutline(o.corners, 1, o.conditions);
            QVERIFY2(std::holds_alternative<OutlineLayout>(result), o.name);
            const auto& layout = std::get<OutlineLayout>(result);
            QVERIFY2(layout.shape == o.shape && layout.pieces.size() == o.pieces, o.name);
            QVERIFY2(layout.quality.holds, o.name);
            QVERIFY2(o.shape != OutlineShape::Other || layout.needsCheck, o.name);
            const auto [wall, pair, far] = BruteQuality(o.corners, layout.speakers, o.spacing);
            QVERIFY2(std::abs(wall - layout.quality.wallClearance) <= 1e-9, o.name);
            QVERIFY2(std::abs(pair - layout.quality.closestPair) <= 1e-9, o.name);
            QVERIFY2(std::abs(far - layout.quality.farthestSpot) <= 0.05, o.name);
            const auto again = std::get<OutlineLayout>(LayOutOutline(o.corners, 1, o.conditions));
            QVERIFY2(again.speakers.size() == layout.speakers.size() &&
                         std::equal(again.speakers.begin(), again.speakers.end(),
                                    layout.speakers.begin(),
                                    [](Point a, Point b) { return a.x == b.x && a.y == b.y; }),
                     o.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestOutlineLayout)
#include "tst_outline_layout.moc"
