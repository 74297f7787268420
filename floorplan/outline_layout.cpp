#include "floorplan/outline_layout.h"

#include "core/calculate.h"
#include "core/compute_rows.h"
#include "core/number_text.h"
#include "core/unit_pair.h"
#include "floorplan/outline_shape.h"
#include "floorplan/spot_search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iomanip>
#include <limits>
#include <optional>
#include <sstream>

namespace floorplan {

namespace {

// A room narrower than this is refused, as the window refuses a shorter side.
constexpr UnitPair<double> kNarrowestRoom{4, 1200};
// Beyond any real room; keeps a runaway drawing from taking the program's memory and time.
constexpr double kMostSpeakers = 1e6;
// Each pass of the gap filling covers every gap it finds; a few passes settle any outline.
constexpr int kFillPasses = 8;

struct Context {
    const ReadOutline& read;
    const DesignState& conditions;
    double toDesignUnits;
    double spacing; // nominal, in drawing units
    Units units() const { return conditions.units.value(); }
};

// A side as a note gives it: to a thousandth of a unit, without trailing zeros.
std::string Number(double x) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(3) << x;
    std::string number = text.str();
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.')
        number.pop_back();
    return number;
}

std::string UnitName(Units units) {
    return units == Units::Feet ? " ft" : " mm";
}

// A side in whole design units, rounded as the window rounds a typed length. Within the drawing
// noise of a whole or half unit it counts as that value, so that 21.5 ft drawn in inches still
// rounds to 22.
std::optional<std::int32_t> WholeUnits(double value, const std::string& name, Units units,
                                       std::vector<std::string>& notes) {
    const double halves = std::nearbyint(value * 2);
    if (std::abs(value * 2 - halves) <= 2 * kDrawingNoise * std::max(1.0, value))
        value = halves / 2;
    const double whole = RoundHalfEven(value);
    if (whole > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    if (whole != value)
        notes.push_back(name + " " + Number(value) + UnitName(units) + " rounded to " +
                        Number(whole) + UnitName(units));
    return static_cast<std::int32_t>(whole);
}

struct PieceLayout {
    RectanglePiece piece;
    std::vector<Point> speakers;
    std::vector<GridRow> rows;
    std::vector<std::string> notes;
};

// One rectangle of the frame by the one-room rule, its length along the longer side from the
// corner that side starts from, going counter-clockwise.
std::optional<PieceLayout> LayOutBox(const Box& box, const Context& c, const std::string& name) {
    const bool wide = box.Width() >= box.Height() * (1 - kDrawingNoise);
    const Point start = wide ? Point{box.left, box.bottom} : Point{box.right, box.bottom};
    const Point along = wide ? Point{1, 0} : Point{0, 1};
    const double length = wide ? box.Width() : box.Height();
    const double width = wide ? box.Height() : box.Width();
    const auto onPlan = [&](double x, double y) {
        return c.read.frame.ToPlan(
            {start.x + x * along.x - y * along.y, start.y + x * along.y + y * along.x});
    };

    PieceLayout out;
    DesignState& s = out.piece.design = c.conditions;
    const auto designLength =
        WholeUnits(length * c.toDesignUnits, name + "length", c.units(), out.notes);
    const auto designWidth =
        WholeUnits(width * c.toDesignUnits, name + "width", c.units(), out.notes);
    if (!designLength || !designWidth)
        return std::nullopt;
    s.length = *designLength;
    s.width = *designWidth;
    if (!ComputeDesign(s))
        return std::nullopt;

    out.piece.corners = {onPlan(0, 0), onPlan(length, 0), onPlan(length, width), onPlan(0, width)};
    const double k = c.toDesignUnits;
    VisitGrid(
        s,
        [&](double x) {
            out.rows.push_back({onPlan(x / k, 0), onPlan(x / k, width)});
        },
        [&](double y) {
            out.rows.push_back({onPlan(0, y / k), onPlan(length, y / k)});
        },
        [&](double x, double y) { out.speakers.push_back(onPlan(x / k, y / k)); });
    return out;
}

// Offsets up to 0.45 S around a spot on a grid of S/20, nearest first: where a speaker that
// covers the spot may go.
std::vector<Point> OffsetsNearestFirst() {
    constexpr int kReach = 9;
    std::vector<Point> offsets;
    for (int i = -kReach; i <= kReach; ++i)
        for (int j = -kReach; j <= kReach; ++j)
            if (i * i + j * j <= kReach * kReach)
                offsets.push_back({i / 20.0, j / 20.0});
    std::stable_sort(offsets.begin(), offsets.end(),
                     [](Point a, Point b) { return std::hypot(a.x, a.y) < std::hypot(b.x, b.y); });
    return offsets;
}

// The place nearest the spot that keeps a speaker clear of the walls and of the others.
std::optional<Point> PlaceNear(Point spot, const OutlineArea& area, const SpeakerIndex& index,
                               double spacing) {
    static const std::vector<Point> offsets = OffsetsNearestFirst();
    for (const Point& o : offsets) {
        const Point p{spot.x + o.x * spacing, spot.y + o.y * spacing};
        if (area.Contains(p) && area.WallDistance(p) >= kLeastWallClearance * spacing &&
            index.Nearest(p) >= kLeastPairDistance * spacing)
            return p;
    }
    return std::nullopt;
}

// Speakers added, worst spot first, until no spot is farther than the limit from every speaker.
std::vector<Point> FillGaps(const OutlineArea& area, const std::vector<Point>& speakers,
                            double spacing, double limit) {
    SpeakerIndex index(speakers);
    std::vector<Point> added;
    for (int pass = 0; pass < kFillPasses; ++pass) {
        std::vector<Spot> spots = SearchSpots(area, index, spacing, limit * spacing).above;
        std::stable_sort(spots.begin(), spots.end(),
                         [](const Spot& a, const Spot& b) { return a.distance > b.distance; });
        const std::size_t before = added.size();
        for (const Spot& spot : spots) {
            if (index.Nearest(spot.at) <= limit * spacing)
                continue;
            if (const auto p = PlaceNear(spot.at, area, index, spacing)) {
                index.Add(*p);
                added.push_back(*p);
            }
        }
        if (added.size() == before)
            break;
    }
    return added;
}

std::optional<LayoutRefusal> LayOutPieces(const std::vector<Box>& boxes, const Context& c,
                                          OutlineLayout& layout) {
    const bool single = layout.shape == OutlineShape::Rectangle;
    const double thinSide = kNarrowestRoom(c.units()) / c.toDesignUnits * (1 - kDrawingNoise);
    SpeakerIndex earlier({});
    std::int64_t dropped = 0;
    bool strips = false;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const std::string name = single ? "" : "piece " + std::to_string(i + 1) + ": ";
        const Box& box = boxes[i];
        if (std::min(box.Width(), box.Height()) < thinSide) {
            layout.notes.push_back("a strip " + Number(box.Width() * c.toDesignUnits) + " by " +
                                   Number(box.Height() * c.toDesignUnits) + UnitName(c.units()) +
                                   " is too narrow for the rule and is covered from beside it");
            strips = true;
            continue;
        }
        auto piece = LayOutBox(box, c, name);
        if (!piece)
            return LayoutRefusal{"too large for the rule"};
        // Where two pieces meet, the larger piece (laid out first) keeps its speakers.
        std::vector<Point> kept;
        for (const Point& p : piece->speakers)
            if (earlier.Nearest(p) >= kLeastPairDistance * c.spacing)
                kept.push_back(p);
        dropped += static_cast<std::int64_t>(piece->speakers.size() - kept.size());
        for (const Point& p : kept)
            earlier.Add(p);
        layout.speakers.insert(layout.speakers.end(), kept.begin(), kept.end());
        layout.rows.insert(layout.rows.end(), piece->rows.begin(), piece->rows.end());
        layout.notes.insert(layout.notes.end(), piece->notes.begin(), piece->notes.end());
        layout.pieces.push_back(std::move(piece->piece));
    }
    if (single)
        return std::nullopt;
    const std::vector<Point> added = FillGaps(OutlineArea(c.read.plan), layout.speakers, c.spacing,
                                              FarthestSpotLimit(c.units(), layout.shape));
    layout.speakers.insert(layout.speakers.end(), added.begin(), added.end());
    if (dropped > 0)
        layout.notes.push_back(std::to_string(dropped) +
                               " speakers dropped where pieces meet, too close to a neighbour");
    if (!added.empty())
        layout.notes.push_back(std::to_string(added.size()) + " speakers added to cover gaps");
    layout.needsCheck = strips || dropped > 0 || !added.empty();
    return std::nullopt;
}

// Grid positions along one side of the bounds at the nominal spacing, centred on it.
std::vector<double> GridLines(double low, double high, double spacing) {
    const auto count = std::max<std::int64_t>(
        1, static_cast<std::int64_t>(std::ceil((high - low) / spacing - kDrawingNoise)));
    const double first = low + ((high - low) - static_cast<double>(count - 1) * spacing) / 2;
    std::vector<double> lines;
    for (std::int64_t i = 0; i < count; ++i)
        lines.push_back(first + static_cast<double>(i) * spacing);
    return lines;
}

void AddClippedRow(Point from, Point to, const OutlineArea& area, OutlineLayout& layout) {
    BoostLine line{{from.x, from.y}, {to.x, to.y}};
    bg::model::multi_linestring<BoostLine> inside;
    bg::intersection(line, area.Polygon(), inside);
    for (const BoostLine& part : inside)
        if (part.size() >= 2)
            layout.rows.push_back(
                {{part.front().x(), part.front().y()}, {part.back().x(), part.back().y()}});
}

void LayOutGrid(const Context& c, OutlineLayout& layout) {
    const OutlineArea area(c.read.plan);
    const Box& b = c.read.bounds;
    const Frame& f = c.read.frame;
    const std::vector<double> xs = GridLines(b.left, b.right, c.spacing);
    const std::vector<double> ys = GridLines(b.bottom, b.top, c.spacing);
    for (const double x : xs)
        AddClippedRow(f.ToPlan({x, b.bottom}), f.ToPlan({x, b.top}), area, layout);
    for (const double y : ys)
        AddClippedRow(f.ToPlan({b.left, y}), f.ToPlan({b.right, y}), area, layout);
    for (const double x : xs)
        for (const double y : ys) {
            const Point p = f.ToPlan({x, y});
            if (area.Contains(p) && area.WallDistance(p) >= kLeastWallClearance * c.spacing)
                layout.speakers.push_back(p);
        }
    const std::size_t onGrid = layout.speakers.size();
    const std::vector<Point> added =
        FillGaps(area, layout.speakers, c.spacing, FarthestSpotLimit(c.units(), layout.shape));
    layout.speakers.insert(layout.speakers.end(), added.begin(), added.end());
    layout.notes.push_back("angled walls: " + std::to_string(onGrid) +
                           " speakers on a grid at the nominal spacing and " +
                           std::to_string(added.size()) + " added to cover gaps");
    layout.needsCheck = true;
}

} // namespace

std::variant<OutlineLayout, LayoutRefusal> LayOutOutline(const Ring& corners, double toDesignUnits,
                                                         const DesignState& conditions) {
    if (!conditions.units)
        return LayoutRefusal{"no units chosen"};
    const std::optional<std::int32_t> nominal = NominalSpacing(conditions);
    if (!nominal)
        return LayoutRefusal{"the conditions give no spacing"};
    if (!std::isfinite(toDesignUnits) || toDesignUnits <= 0)
        return LayoutRefusal{"no drawing scale"};
    const auto outline = ReadCorners(corners);
    if (const auto* refusal = std::get_if<LayoutRefusal>(&outline))
        return *refusal;
    const ReadOutline& read = std::get<ReadOutline>(outline);
    const Units units = *conditions.units;
    const Context c{read, conditions, toDesignUnits, *nominal / toDesignUnits};

    const Box& b = read.bounds;
    if (std::min(b.Width(), b.Height()) * toDesignUnits <
        kNarrowestRoom(units) * (1 - kDrawingNoise))
        return LayoutRefusal{"too small: narrower than " + Number(kNarrowestRoom(units)) +
                             UnitName(units)};
    if ((b.Width() / c.spacing + 2) * (b.Height() / c.spacing + 2) > kMostSpeakers)
        return LayoutRefusal{"too large: over " + Number(kMostSpeakers) + " speakers"};

    OutlineLayout layout;
    layout.shape = read.shape;
    switch (read.shape) {
    case OutlineShape::Rectangle:
        if (auto refusal = LayOutPieces({b}, c, layout))
            return *refusal;
        break;
    case OutlineShape::Rectilinear: {
        std::vector<Box> boxes =
            CutIntoRectangles(read.local, kNarrowestRoom(units) / toDesignUnits);
        std::stable_sort(boxes.begin(), boxes.end(), [](const Box& x, const Box& y) {
            return x.Width() * x.Height() > y.Width() * y.Height();
        });
        if (auto refusal = LayOutPieces(boxes, c, layout))
            return *refusal;
        break;
    }
    case OutlineShape::Other:
        LayOutGrid(c, layout);
        break;
    }
    layout.quality = MeasureQuality(read.plan, layout.speakers, c.spacing, units, read.shape);
    return layout;
}

} // namespace floorplan
