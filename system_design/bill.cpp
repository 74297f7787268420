// Channels, spools and test points; docs/system-design.md gives the sources of the figures.
#include "system_design/bill.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace system_design {

namespace {

using floorplan::Point;
using floorplan::Ring;

bool Inside(const Ring& ring, Point p) {
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Point& a = ring[i];
        const Point& b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

std::vector<Point> GridCentresInside(const Ring& outline, double left, double bottom, double width,
                                     double height, int columns, int rows) {
    std::vector<Point> inside;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const Point centre{left + width * (column + 0.5) / columns,
                               bottom + height * (row + 0.5) / rows};
            if (Inside(outline, centre))
                inside.push_back(centre);
        }
    return inside;
}

} // namespace

std::vector<int> PackChannels(const std::vector<double>& demands, double channelWatts) {
    std::vector<std::size_t> order(demands.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return demands[a] > demands[b]; });
    std::vector<double> filled; // demand on each channel as opened
    std::vector<bool> alone;    // a channel carrying one zone too large for it
    std::vector<std::size_t> opened(demands.size());
    for (std::size_t zone : order) {
        const double demand = demands[zone];
        std::size_t channel = 0;
        while (channel < filled.size() &&
               (alone[channel] || demand > channelWatts || filled[channel] + demand > channelWatts))
            ++channel;
        if (channel == filled.size()) {
            filled.push_back(0);
            alone.push_back(demand > channelWatts);
        }
        filled[channel] += demand;
        opened[zone] = channel;
    }
    // Renumber by first zone.
    std::map<std::size_t, int> number;
    std::vector<int> channels(demands.size());
    for (std::size_t zone = 0; zone < demands.size(); ++zone) {
        const auto [at, added] = number.emplace(opened[zone], int(number.size()) + 1);
        channels[zone] = at->second;
    }
    return channels;
}

SpoolSizes SpoolSizesOf(WireFamily family) {
    return family == WireFamily::Awg ? SpoolSizes{1000, 500} : SpoolSizes{305, 100};
}

Spools SpoolsFor(double length, SpoolSizes sizes) {
    if (length <= 0)
        return {};
    const int count = static_cast<int>(std::ceil(length / sizes.large));
    // Each large spool swapped for a small one gives up the difference; swap while it still holds.
    const double spare = count * sizes.large - length;
    const int small = std::min(count, static_cast<int>(spare / (sizes.large - sizes.small)));
    return {count - small, small};
}

LevelTarget TargetFor(SpaceType space) {
    return space == SpaceType::Open ? LevelTarget{45, 48} : LevelTarget{40, 43};
}

int TestPointCount(double areaSquareMetres, SpaceType space, Units units) {
    if (space == SpaceType::Closed)
        return 1;
    return std::max(1,
                    static_cast<int>(std::ceil(areaSquareMetres / kTestAreaSquareMetres(units))));
}

double Area(const Ring& outline) {
    double twice = 0;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++)
        twice += outline[j].x * outline[i].y - outline[i].x * outline[j].y;
    return std::abs(twice) / 2;
}

std::vector<Point> PointsInside(const Ring& outline, int count) {
    if (outline.size() < 3 || count < 1)
        return {};
    double left = outline[0].x, right = left, bottom = outline[0].y, top = bottom;
    for (const Point& p : outline) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    const double width = right - left, height = top - bottom;
    if (width <= 0 || height <= 0)
        return {};
    // Cells about square; an outline that fills its box needs no refining.
    int columns = std::max(1, static_cast<int>(std::lround(std::sqrt(count * width / height))));
    int rows = std::max(1, (count + columns - 1) / columns);
    constexpr int kFinestGrid = 1024;
    for (;;) {
        const auto inside = GridCentresInside(outline, left, bottom, width, height, columns, rows);
        if (int(inside.size()) >= count) {
            // Every (inside / count)-th centre, so the points spread over the whole outline.
            std::vector<Point> chosen;
            for (int i = 0; i < count; ++i)
                chosen.push_back(inside[std::size_t(i) * inside.size() / std::size_t(count)]);
            return chosen;
        }
        if (columns >= kFinestGrid && rows >= kFinestGrid)
            return inside;
        columns = std::min(kFinestGrid, columns * 2);
        rows = std::min(kFinestGrid, rows * 2);
    }
}

} // namespace system_design
