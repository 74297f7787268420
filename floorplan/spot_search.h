// Distances inside one outline: to its walls and to the nearest speaker, and the search for the
// spots of the room farthest from every speaker. The search splits the outline's bounding box into
// cells, drops those no spot of which can beat the bar (the distance at a cell's centre plus its
// half-diagonal bounds every spot in it, since the distance to the nearest speaker changes no
// faster than the spot moves) and halves the rest down to cells of S/64; corners and boundary
// samples S/50 apart stand for the spots along the walls.
#pragma once

#include "core/unit_pair.h"
#include "floorplan/geometry.h"
#include "floorplan/outline_layout.h"

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>

#include <optional>
#include <vector>

namespace floorplan {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint, false, true>; // counter-clockwise, closed
using BoostLine = bg::model::linestring<BoostPoint>;

// The quality limits, as fractions of the nominal spacing.
inline constexpr double kLeastWallClearance = 0.1;
inline constexpr double kLeastPairDistance = 0.3;
inline constexpr UnitPair<double> kFarthestSpotLimit{0.9, 1.35};
inline constexpr double kOtherShapeAllowance = 0.1; // more for outlines with angled walls
double FarthestSpotLimit(Units units, OutlineShape shape);

class OutlineArea {
  public:
    explicit OutlineArea(const Ring& corners);
    bool Contains(Point p) const;
    double WallDistance(Point p) const;
    const Ring& Corners() const { return m_corners; }
    const BoostPolygon& Polygon() const { return m_polygon; }

  private:
    Ring m_corners;
    BoostPolygon m_polygon;
    BoostLine m_boundary;
};

class SpeakerIndex {
  public:
    explicit SpeakerIndex(const std::vector<Point>& speakers);
    void Add(Point p) { m_tree.insert(BoostPoint(p.x, p.y)); }
    // Distance to the nearest speaker; infinite when there is none.
    double Nearest(Point p) const;
    // Distance from a speaker to the nearest other one.
    double NearestOther(Point speaker) const;

  private:
    bgi::rtree<BoostPoint, bgi::rstar<16>> m_tree;
};

struct Spot {
    Point at;
    double distance; // to the nearest speaker
};

struct SpotSearch {
    double farthest = 0;     // the greatest distance found (the lower bound of the search)
    std::vector<Spot> above; // the finest spots beyond collectAbove, when asked for
};

// The farthest spot of the outline from the speakers; with collectAbove, also every finest spot
// farther than it.
SpotSearch SearchSpots(const OutlineArea& area, const SpeakerIndex& speakers, double spacing,
                       std::optional<double> collectAbove = std::nullopt);

} // namespace floorplan
