#include "floorplan/spot_search.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace floorplan {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// The finest cell is S/64 wide, the first split of S into halves below S/50.
constexpr double kBoundaryStep = 1.0 / 50;
constexpr double kFinestCell = 1.0 / 64;

BoostPoint ToBoost(Point p) {
    return {p.x, p.y};
}

struct Cell {
    Point centre;
    double nearest;
};

// Corners first, then evenly spaced samples along each wall.
std::vector<Point> BoundarySamples(const Ring& corners, double step) {
    std::vector<Point> samples(corners);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point a = corners[i];
        const Point b = corners[(i + 1) % corners.size()];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const auto count = static_cast<std::int64_t>(std::ceil(length / step));
        for (std::int64_t k = 1; k < count; ++k) {
            const double t = static_cast<double>(k) / static_cast<double>(count);
            samples.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
    }
    return samples;
}

} // namespace

double FarthestSpotLimit(Units units, OutlineShape shape) {
    return kFarthestSpotLimit(units) + (shape == OutlineShape::Other ? kOtherShapeAllowance : 0);
}

OutlineArea::OutlineArea(const Ring& corners) : m_corners(corners) {
    for (const Point& p : corners) {
        m_polygon.outer().push_back(ToBoost(p));
        m_boundary.push_back(ToBoost(p));
    }
    if (!corners.empty()) {
        m_polygon.outer().push_back(ToBoost(corners.front()));
        m_boundary.push_back(ToBoost(corners.front()));
    }
    bg::correct(m_polygon);
}

bool OutlineArea::Contains(Point p) const {
    return bg::within(ToBoost(p), m_polygon);
}

double OutlineArea::WallDistance(Point p) const {
    return bg::distance(ToBoost(p), m_boundary);
}

SpeakerIndex::SpeakerIndex(const std::vector<Point>& speakers) {
    for (const Point& p : speakers)
        Add(p);
}

double SpeakerIndex::Nearest(Point p) const {
    std::vector<BoostPoint> found;
    m_tree.query(bgi::nearest(ToBoost(p), 1), std::back_inserter(found));
    return found.empty() ? kInfinity : bg::distance(ToBoost(p), found.front());
}

double SpeakerIndex::NearestOther(Point speaker) const {
    // The two nearest are the speaker itself and its neighbour (or two that coincide).
    std::vector<BoostPoint> found;
    m_tree.query(bgi::nearest(ToBoost(speaker), 2), std::back_inserter(found));
    double second = kInfinity;
    double first = kInfinity;
    for (const BoostPoint& f : found) {
        const double d = bg::distance(ToBoost(speaker), f);
        second = std::min(second, std::max(first, d));
        first = std::min(first, d);
    }
    return second;
}

SpotSearch SearchSpots(const OutlineArea& area, const SpeakerIndex& speakers, double spacing,
                       std::optional<double> collectAbove) {
    SpotSearch result;
    for (const Point& p : BoundarySamples(area.Corners(), spacing * kBoundaryStep)) {
        const double d = speakers.Nearest(p);
        result.farthest = std::max(result.farthest, d);
        if (collectAbove && d > *collectAbove)
            result.above.push_back({p, d});
    }

    bg::model::box<BoostPoint> bounds;
    bg::envelope(area.Polygon(), bounds);
    const double left = bounds.min_corner().x();
    const double bottom = bounds.min_corner().y();
    const auto columns =
        static_cast<std::int64_t>(std::ceil((bounds.max_corner().x() - left) / spacing));
    const auto lines =
        static_cast<std::int64_t>(std::ceil((bounds.max_corner().y() - bottom) / spacing));
    std::vector<Cell> cells;
    for (std::int64_t i = 0; i < std::max<std::int64_t>(columns, 1); ++i)
        for (std::int64_t j = 0; j < std::max<std::int64_t>(lines, 1); ++j) {
            const Point c{left + (static_cast<double>(i) + 0.5) * spacing,
                          bottom + (static_cast<double>(j) + 0.5) * spacing};
            cells.push_back({c, speakers.Nearest(c)});
        }

    for (double side = spacing;; side /= 2) {
        const bool finest = side <= spacing * kFinestCell * 1.000001;
        const double halfDiagonal = side * std::sqrt(0.5);
        // Cells no spot of which can beat the bar are dropped before the costlier outline tests.
        const auto bar = [&] { return collectAbove ? *collectAbove : result.farthest; };
        std::vector<Cell> open;
        for (const Cell& cell : cells) {
            if (cell.nearest + halfDiagonal <= bar())
                continue;
            if (area.Contains(cell.centre)) {
                result.farthest = std::max(result.farthest, cell.nearest);
                open.push_back(cell);
                if (finest && collectAbove && cell.nearest > *collectAbove)
                    result.above.push_back({cell.centre, cell.nearest});
            } else if (area.WallDistance(cell.centre) <= halfDiagonal) {
                open.push_back(cell); // the cell reaches into the outline
            }
        }
        if (finest)
            return result;
        std::vector<Cell> halves;
        const double quarter = side / 4;
        for (const Cell& cell : open) {
            if (cell.nearest + halfDiagonal <= bar())
                continue;
            for (const double dx : {-quarter, quarter})
                for (const double dy : {-quarter, quarter}) {
                    const Point c{cell.centre.x + dx, cell.centre.y + dy};
                    halves.push_back({c, speakers.Nearest(c)});
                }
        }
        cells = std::move(halves);
    }
}

LayoutQuality MeasureQuality(const Ring& corners, const std::vector<Point>& speakers,
                             double nominalSpacing, Units units, OutlineShape shape) {
    const OutlineArea area(corners);
    const SpeakerIndex index(speakers);
    double wall = kInfinity;
    double pair = kInfinity;
    for (const Point& s : speakers) {
        const double d = area.WallDistance(s);
        wall = std::min(wall, area.Contains(s) ? d : -d);
        pair = std::min(pair, index.NearestOther(s));
    }
    LayoutQuality q;
    q.wallClearance = wall / nominalSpacing;
    q.closestPair = pair / nominalSpacing;
    q.farthestSpot = SearchSpots(area, index, nominalSpacing).farthest / nominalSpacing;
    // A hair of slack so that a speaker set exactly at a limit, as drawn, is within it.
    constexpr double kSlack = 1e-9;
    q.holds = !speakers.empty() && q.wallClearance >= kLeastWallClearance - kSlack &&
              q.closestPair >= kLeastPairDistance - kSlack &&
              q.farthestSpot <= FarthestSpotLimit(units, shape) + kSlack;
    return q;
}

} // namespace floorplan
