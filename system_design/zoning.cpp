// Zones from rooms: grouped by kind, small neighbours merged, large rooms bisected.
#include "system_design/zoning.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <tuple>

namespace system_design {

namespace {

using floorplan::Point;
using floorplan::Ring;

struct Extent {
    double left, bottom, right, top;
};

Extent ExtentOf(const std::vector<Point>& points, const std::vector<std::size_t>& which) {
    Extent e{points[which[0]].x, points[which[0]].y, points[which[0]].x, points[which[0]].y};
    for (std::size_t i : which) {
        e.left = std::min(e.left, points[i].x);
        e.right = std::max(e.right, points[i].x);
        e.bottom = std::min(e.bottom, points[i].y);
        e.top = std::max(e.top, points[i].y);
    }
    return e;
}

void Cut(const std::vector<Point>& points, std::vector<std::size_t> which, int parts,
         std::vector<std::vector<std::size_t>>& out) {
    if (parts <= 1) {
        out.push_back(std::move(which));
        return;
    }
    const Extent e = ExtentOf(points, which);
    const bool acrossX = e.right - e.left >= e.top - e.bottom;
    std::sort(which.begin(), which.end(), [&](std::size_t a, std::size_t b) {
        const Point& p = points[a];
        const Point& q = points[b];
        return acrossX ? std::tie(p.x, p.y) < std::tie(q.x, q.y)
                       : std::tie(p.y, p.x) < std::tie(q.y, q.x);
    });
    // The lower side takes its share of the parts and the same share of the points, rounded.
    const int lowerParts = parts / 2;
    const auto lowerCount = static_cast<std::size_t>(
        std::lround(static_cast<double>(which.size()) * lowerParts / parts));
    Cut(points, {which.begin(), which.begin() + lowerCount}, lowerParts, out);
    Cut(points, {which.begin() + lowerCount, which.end()}, parts - lowerParts, out);
}

double Cross(Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double PointSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    const double t =
        lengthSquared == 0
            ? 0
            : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0., 1.);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double SegmentSegment(Point a, Point b, Point c, Point d) {
    const double abc = Cross(a, b, c), abd = Cross(a, b, d);
    const double cda = Cross(c, d, a), cdb = Cross(c, d, b);
    if (((abc > 0 && abd < 0) || (abc < 0 && abd > 0)) &&
        ((cda > 0 && cdb < 0) || (cda < 0 && cdb > 0)))
        return 0;
    return std::min({PointSegment(a, c, d), PointSegment(b, c, d), PointSegment(c, a, b),
                     PointSegment(d, a, b)});
}

Point Middle(const std::vector<Point>& points) {
    Point sum;
    for (const Point& p : points) {
        sum.x += p.x;
        sum.y += p.y;
    }
    return {sum.x / points.size(), sum.y / points.size()};
}

// A room's extent, to tell quickly that two rooms are too far apart to touch.
struct Box {
    double left = 0, bottom = 0, right = 0, top = 0;
    bool Near(const Box& o, double gap) const {
        return left <= o.right + gap && o.left <= right + gap && bottom <= o.top + gap &&
               o.bottom <= top + gap;
    }
};

Box BoxOf(const Ring& ring) {
    if (ring.empty())
        return {};
    Box box{ring.front().x, ring.front().y, ring.front().x, ring.front().y};
    for (const Point& p : ring)
        box = {std::min(box.left, p.x), std::min(box.bottom, p.y), std::max(box.right, p.x),
               std::max(box.top, p.y)};
    return box;
}

// Rooms that fit a zone whole, merged with neighbours of the same kind: each zone starts from the
// lowest, leftmost room left over and grows by the fitting neighbour nearest that room.
void MergeNeighbours(const std::vector<SystemRoom>& rooms, std::vector<std::size_t> small,
                     int mostSpeakers, double gap, std::vector<std::vector<SpeakerRef>>& zones) {
    std::vector<Point> middles(rooms.size());
    for (std::size_t r : small)
        middles[r] = Middle(rooms[r].speakers);
    std::sort(small.begin(), small.end(), [&](std::size_t a, std::size_t b) {
        return std::tie(middles[a].y, middles[a].x) < std::tie(middles[b].y, middles[b].x);
    });
    // Which rooms touch, found once: sides are compared only where the boxes come within the gap.
    std::vector<std::size_t> rank(rooms.size());
    std::vector<Box> boxes(rooms.size());
    for (std::size_t i = 0; i < small.size(); ++i)
        rank[small[i]] = i, boxes[small[i]] = BoxOf(rooms[small[i]].outline);
    std::vector<std::vector<std::size_t>> touching(rooms.size());
    for (std::size_t i = 0; i < small.size(); ++i)
        for (std::size_t j = i + 1; j < small.size(); ++j) {
            const std::size_t a = small[i], b = small[j];
            if (boxes[a].Near(boxes[b], gap) && Neighbours(rooms[a].outline, rooms[b].outline, gap))
                touching[a].push_back(b), touching[b].push_back(a);
        }
    std::vector<bool> taken(rooms.size(), false);
    for (std::size_t seed : small) {
        if (taken[seed])
            continue;
        taken[seed] = true;
        std::vector<std::size_t> members{seed};
        std::size_t count = rooms[seed].speakers.size();
        for (;;) {
            // The nearest fitting neighbour of any member; of equally near ones, the first in
            // the rooms' order.
            std::optional<std::size_t> best;
            double bestDistance = 0;
            for (std::size_t m : members)
                for (std::size_t r : touching[m]) {
                    if (taken[r] || count + rooms[r].speakers.size() > std::size_t(mostSpeakers))
                        continue;
                    const double distance =
                        std::hypot(middles[r].x - middles[seed].x, middles[r].y - middles[seed].y);
                    if (!best || distance < bestDistance ||
                        (distance == bestDistance && rank[r] < rank[*best])) {
                        best = r;
                        bestDistance = distance;
                    }
                }
            if (!best)
                break;
            taken[*best] = true;
            members.push_back(*best);
            count += rooms[*best].speakers.size();
        }
        std::vector<SpeakerRef> zone;
        for (std::size_t m : members)
            for (std::size_t i = 0; i < rooms[m].speakers.size(); ++i)
                zone.push_back({m, i});
        zones.push_back(std::move(zone));
    }
}

} // namespace

std::vector<std::vector<std::size_t>> Bisect(const std::vector<Point>& points, int mostPerPart) {
    if (mostPerPart < 1)
        throw std::invalid_argument("a zone holds at least one speaker");
    std::vector<std::vector<std::size_t>> parts;
    if (points.empty())
        return parts;
    std::vector<std::size_t> all(points.size());
    std::iota(all.begin(), all.end(), 0);
    const auto count = static_cast<int>((points.size() + mostPerPart - 1) / mostPerPart);
    Cut(points, std::move(all), count, parts);
    return parts;
}

bool Neighbours(const Ring& a, const Ring& b, double gap) {
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            if (SegmentSegment(a[i], a[(i + 1) % a.size()], b[j], b[(j + 1) % b.size()]) <= gap)
                return true;
    return false;
}

std::vector<std::vector<SpeakerRef>> ZoneSpeakers(const std::vector<SystemRoom>& rooms,
                                                  int mostSpeakers, double gap) {
    std::vector<std::vector<SpeakerRef>> zones;
    std::vector<bool> done(rooms.size(), false);
    for (std::size_t first = 0; first < rooms.size(); ++first) {
        if (done[first])
            continue;
        // Every room of the first one's kind, in the order given.
        std::vector<std::size_t> small;
        for (std::size_t r = first; r < rooms.size(); ++r) {
            if (done[r] || rooms[r].space != rooms[first].space ||
                rooms[r].conditions != rooms[first].conditions)
                continue;
            done[r] = true;
            const std::size_t count = rooms[r].speakers.size();
            if (count == 0)
                continue;
            if (count <= std::size_t(mostSpeakers)) {
                small.push_back(r);
                continue;
            }
            for (const auto& part : Bisect(rooms[r].speakers, mostSpeakers)) {
                std::vector<SpeakerRef> zone;
                for (std::size_t i : part)
                    zone.push_back({r, i});
                zones.push_back(std::move(zone));
            }
        }
        MergeNeighbours(rooms, std::move(small), mostSpeakers, gap, zones);
    }
    return zones;
}

std::vector<std::vector<SpeakerRef>> CountedZoneSpeakers(const std::vector<CountedRoom>& rooms,
                                                         int mostSpeakers) {
    if (mostSpeakers < 1)
        throw std::invalid_argument("a zone holds at least one speaker");
    const auto most = std::size_t(mostSpeakers);
    std::vector<std::vector<SpeakerRef>> zones;
    std::vector<std::size_t> kindOf; // each zone's first room, which stands for its kind
    const auto sameKind = [&](std::size_t a, std::size_t b) {
        return rooms[a].space == rooms[b].space && rooms[a].conditions == rooms[b].conditions;
    };
    for (std::size_t r = 0; r < rooms.size(); ++r) {
        const std::size_t count = rooms[r].speakers;
        if (count == 0)
            continue;
        if (count > most) {
            const std::size_t parts = (count + most - 1) / most;
            for (std::size_t part = 0, index = 0; part < parts; ++part) {
                std::vector<SpeakerRef> zone;
                for (std::size_t end = index + count / parts + (part < count % parts ? 1 : 0);
                     index < end; ++index)
                    zone.push_back({r, index});
                zones.push_back(std::move(zone));
                kindOf.push_back(r);
            }
            continue;
        }
        // The zones cut from a larger room stay that room's own.
        std::size_t z = 0;
        while (z < zones.size() && (!sameKind(kindOf[z], r) || rooms[kindOf[z]].speakers > most ||
                                    zones[z].size() + count > most))
            ++z;
        if (z == zones.size()) {
            zones.emplace_back();
            kindOf.push_back(r);
        }
        for (std::size_t i = 0; i < count; ++i)
            zones[z].push_back({r, i});
    }
    return zones;
}

} // namespace system_design
