// Rooms are the valid closed outlines on room layers. A text names the innermost room around its
// anchor (an MTEXT whose anchor is in no room: by its middle); of several in one room, the one
// nearest the room's centre is the name.
#include "floorplan/rooms.h"

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/index/rtree.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>

namespace floorplan {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using BoostPoint = bg::model::d2::point_xy<double>;
using Polygon = bg::model::polygon<BoostPoint>;
using Box = bg::model::box<BoostPoint>;

struct Outline {
    PlanRoom room;
    Polygon polygon;
    Box box;
    double area = 0;
    BoostPoint centre;
    std::vector<const PlanText*> texts;
};

bool MatchesAny(const std::vector<std::string>& patterns, std::string_view layer) {
    for (const std::string& pattern : patterns) {
        if (LayerMatches(pattern, layer)) {
            return true;
        }
    }
    return false;
}

Ring WithoutRepeatedCorners(const Ring& corners) {
    Ring ring;
    for (const Point& corner : corners) {
        if (ring.empty() || corner.x != ring.back().x || corner.y != ring.back().y) {
            ring.push_back(corner);
        }
    }
    while (ring.size() > 1 && ring.front().x == ring.back().x && ring.front().y == ring.back().y) {
        ring.pop_back();
    }
    return ring;
}

// Twice the signed area of the triangle a, b, c: positive when they turn left.
double Turn(const Point& a, const Point& b, const Point& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool Cross(const Point& a, const Point& b, const Point& c, const Point& d) {
    const auto opposite = [](double s, double t) { return (s < 0 && t > 0) || (s > 0 && t < 0); };
    return opposite(Turn(a, b, c), Turn(a, b, d)) && opposite(Turn(c, d, a), Turn(c, d, b));
}

// Whether two sides of the outline cross each other. Sides that only touch or run along each
// other do not count: drawn rooms have slips (a side doubling back on itself) and holes joined to
// the outside by a side drawn there and back, and both still enclose a room. Sides are swept in
// order of their left ends, so only sides whose spans in x overlap are compared.
bool ProperlyCrosses(const Ring& ring) {
    const size_t count = ring.size();
    std::vector<size_t> sides(count);
    for (size_t i = 0; i < count; ++i) {
        sides[i] = i;
    }
    const auto start = [&](size_t i) { return ring[i]; };
    const auto end = [&](size_t i) { return ring[(i + 1) % count]; };
    const auto left = [&](size_t i) { return std::min(start(i).x, end(i).x); };
    const auto right = [&](size_t i) { return std::max(start(i).x, end(i).x); };
    std::sort(sides.begin(), sides.end(), [&](size_t a, size_t b) { return left(a) < left(b); });
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = i + 1; j < count && left(sides[j]) <= right(sides[i]); ++j) {
            const size_t a = sides[i], b = sides[j];
            if (Cross(start(a), end(a), start(b), end(b))) {
                return true;
            }
        }
    }
    return false;
}

// Boost's validity check rescales coordinates to integers and throws when they do not fit; such
// an outline is judged by the crossing test alone.
bool IsValid(const Polygon& polygon) {
    try {
        return bg::is_valid(polygon);
    } catch (const std::exception&) {
        return false;
    }
}

// The outline as a polygon, or why it cannot be a room.
std::variant<Polygon, std::string> ToPolygon(const Ring& corners) {
    const Ring ring = WithoutRepeatedCorners(corners);
    if (ring.size() < 3) {
        return std::string("no area");
    }
    Polygon polygon;
    for (const Point& corner : ring) {
        bg::append(polygon.outer(), BoostPoint(corner.x, corner.y));
    }
    bg::append(polygon.outer(), BoostPoint(ring.front().x, ring.front().y));
    bg::correct(polygon);
    if (!IsValid(polygon) && ProperlyCrosses(ring)) {
        return std::string("crosses itself");
    }
    const double area = bg::area(polygon);
    if (!std::isfinite(area) || !(area > 0)) {
        return std::string("no area");
    }
    return polygon;
}

Box BoundingBox(const Polygon& polygon) {
    const BoostPoint& first = polygon.outer().front();
    Box box(first, first);
    for (const BoostPoint& corner : polygon.outer()) {
        box.min_corner() = {std::min(box.min_corner().x(), corner.x()),
                            std::min(box.min_corner().y(), corner.y())};
        box.max_corner() = {std::max(box.max_corner().x(), corner.x()),
                            std::max(box.max_corner().y(), corner.y())};
    }
    return box;
}

double Distance(const Point& a, const BoostPoint& b) {
    return std::hypot(a.x - b.x(), a.y - b.y());
}

// The outlines' boxes, so that a text is checked only against the outlines whose box holds it.
class OutlineIndex {
  public:
    explicit OutlineIndex(std::vector<Outline>& outlines) : m_outlines(outlines) {
        std::vector<std::pair<Box, size_t>> boxes;
        for (size_t i = 0; i < outlines.size(); ++i) {
            boxes.emplace_back(outlines[i].box, i);
        }
        m_boxes = Tree(boxes.begin(), boxes.end());
    }

    // The innermost outline holding the point: the smallest by area, the first of equals.
    Outline* Holder(const Point& point) {
        const BoostPoint at(point.x, point.y);
        m_found.clear();
        m_boxes.query(bgi::intersects(at), std::back_inserter(m_found));
        std::sort(m_found.begin(), m_found.end(),
                  [](const auto& a, const auto& b) { return a.second < b.second; });
        Outline* holder = nullptr;
        for (const auto& [box, index] : m_found) {
            Outline& outline = m_outlines[index];
            if (bg::covered_by(at, outline.polygon) && (!holder || outline.area < holder->area)) {
                holder = &outline;
            }
        }
        return holder;
    }

  private:
    using Tree = bgi::rtree<std::pair<Box, size_t>, bgi::rstar<16>>;
    std::vector<Outline>& m_outlines;
    Tree m_boxes;
    std::vector<std::pair<Box, size_t>> m_found;
};

std::string Quote(const std::string& text) {
    return "\"" + text + "\"";
}

void Name(Outline& outline) {
    PlanRoom& room = outline.room;
    if (outline.texts.empty()) {
        room.name = "room at " + std::to_string(std::llround(outline.centre.x())) + "," +
                    std::to_string(std::llround(outline.centre.y()));
        room.notes.push_back("unnamed: named from its position");
        return;
    }
    const PlanText* nearest = outline.texts.front();
    for (const PlanText* text : outline.texts) {
        if (Distance(text->anchor, outline.centre) < Distance(nearest->anchor, outline.centre)) {
            nearest = text;
        }
    }
    room.name = nearest->text;
    for (const PlanText* text : outline.texts) {
        if (text != nearest) {
            room.notes.push_back("also labelled " + Quote(text->text));
        }
    }
}

// A second room of the same name becomes "name (2)", a third "name (3)".
void MakeNamesUnique(std::vector<PlanRoom>& rooms) {
    std::set<std::string> taken;
    for (const PlanRoom& room : rooms) {
        taken.insert(room.name);
    }
    std::set<std::string> seen;
    for (PlanRoom& room : rooms) {
        if (seen.insert(room.name).second) {
            continue;
        }
        const std::string shared = room.name;
        for (int number = 2;; ++number) {
            const std::string candidate = shared + " (" + std::to_string(number) + ")";
            if (taken.insert(candidate).second) {
                room.name = candidate;
                break;
            }
        }
        seen.insert(room.name);
        room.notes.push_back("another room is also named " + Quote(shared));
    }
}

} // namespace

bool LayerMatches(std::string_view pattern, std::string_view layer) {
    // Iterative wildcard matching: on a mismatch, let the last '*' swallow one more character.
    size_t p = 0, l = 0;
    std::optional<size_t> star;
    size_t starLayer = 0;
    const auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    };
    while (l < layer.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starLayer = l;
        } else if (p < pattern.size() && same(pattern[p], layer[l])) {
            ++p;
            ++l;
        } else if (star) {
            p = *star + 1;
            l = ++starLayer;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

const std::vector<std::string>& DefaultRoomLayers() {
    static const std::vector<std::string> layers = {"*area*", "*room*", "*space*", "*zone*",
                                                    "RM$*"};
    return layers;
}

FloorRooms FindRooms(const Plan& plan, const std::vector<std::string>& roomLayers,
                     const std::vector<std::string>& textLayers) {
    const std::vector<std::string>& patterns =
        roomLayers.empty() ? DefaultRoomLayers() : roomLayers;
    FloorRooms found;
    std::vector<Outline> outlines;
    for (const PlanPolyline& polyline : plan.polylines) {
        if (polyline.closed) {
            ++found.closedOutlinesPerLayer[polyline.layer];
        }
        if (!MatchesAny(patterns, polyline.layer)) {
            continue;
        }
        if (!polyline.closed) {
            found.refused.push_back({polyline.layer, polyline.handle, "open"});
            continue;
        }
        std::variant<Polygon, std::string> polygon = ToPolygon(polyline.corners);
        if (const std::string* reason = std::get_if<std::string>(&polygon)) {
            found.refused.push_back({polyline.layer, polyline.handle, *reason});
            continue;
        }
        Outline outline;
        outline.room = {"", polyline.layer, polyline.handle, polyline.corners, polyline.hadArcs,
                        {}};
        outline.polygon = std::get<Polygon>(std::move(polygon));
        outline.box = BoundingBox(outline.polygon);
        outline.area = bg::area(outline.polygon);
        bg::centroid(outline.polygon, outline.centre);
        outlines.push_back(std::move(outline));
    }
    OutlineIndex index(outlines);
    for (const PlanText& text : plan.texts) {
        if (text.text.empty() || text.repeatedByBlock ||
            !(textLayers.empty() || MatchesAny(textLayers, text.layer))) {
            continue;
        }
        // An MTEXT hung by a corner just outside every room names the room its middle is in.
        Outline* holder = index.Holder(text.anchor);
        if (!holder && text.middle)
            holder = index.Holder(*text.middle);
        if (holder)
            holder->texts.push_back(&text);
    }
    for (Outline& outline : outlines) {
        Name(outline);
        found.rooms.push_back(std::move(outline.room));
    }
    MakeNamesUnique(found.rooms);
    return found;
}

} // namespace floorplan
