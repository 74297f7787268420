#include "floorplan/outline_shape.h"

#include "floorplan/spot_search.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace floorplan {

namespace {

double Distance(Point a, Point b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

double SignedArea(const Ring& ring) {
    double twice = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point a = ring[i];
        const Point b = ring[(i + 1) % ring.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

// Whether b lies on the segment from a to c, within the noise.
bool OnSegment(Point a, Point b, Point c, double noise) {
    const double length = Distance(a, c);
    if (length <= noise)
        return false;
    const double across = ((c.x - a.x) * (b.y - a.y) - (c.y - a.y) * (b.x - a.x)) / length;
    const double along = ((c.x - a.x) * (b.x - a.x) + (c.y - a.y) * (b.y - a.y)) / length;
    return std::abs(across) <= noise && along > 0 && along < length;
}

// Whether the outline turns straight back at b, as where a slip of the pen drew a spike that
// encloses nothing.
bool TurnsBack(Point a, Point b, Point c, double noise) {
    const double cross = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
    const double dot = (b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y);
    return dot < 0 && std::abs(cross) <= noise * std::max(Distance(a, b), Distance(b, c));
}

// Drops repeated corners, corners in the middle of a straight side and the tips of spikes.
Ring Cleaned(const Ring& corners, double noise) {
    Ring ring;
    for (const Point& p : corners)
        if (ring.empty() || Distance(ring.back(), p) > noise)
            ring.push_back(p);
    while (ring.size() > 1 && Distance(ring.front(), ring.back()) <= noise)
        ring.pop_back();
    for (std::size_t i = 0; ring.size() >= 3 && i < ring.size();) {
        const std::size_t n = ring.size();
        const Point before = ring[(i + n - 1) % n], after = ring[(i + 1) % n];
        if (Distance(before, ring[i]) <= noise || OnSegment(before, ring[i], after, noise) ||
            TurnsBack(before, ring[i], after, noise)) {
            ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(i));
            i = 0;
        } else {
            ++i;
        }
    }
    return ring;
}

Frame FrameOfLongestSide(const Ring& ring, double noise) {
    double longest = 0;
    for (std::size_t i = 0; i < ring.size(); ++i)
        longest = std::max(longest, Distance(ring[i], ring[(i + 1) % ring.size()]));
    for (std::size_t i = 0;; ++i) {
        const Point a = ring[i];
        const Point b = ring[(i + 1) % ring.size()];
        const double length = Distance(a, b);
        if (length >= longest - noise)
            return {a, {(b.x - a.x) / length, (b.y - a.y) / length}};
    }
}

Point ToLocal(const Frame& f, Point p) {
    const double dx = p.x - f.origin.x;
    const double dy = p.y - f.origin.y;
    return {dx * f.along.x + dy * f.along.y, -dx * f.along.y + dy * f.along.x};
}

// Values within the noise of their neighbours become their group's mean, so that the ends of a
// side drawn a hair off square share one coordinate.
void SnapTogether(std::vector<double*> values, double noise) {
    std::sort(values.begin(), values.end(), [](double* a, double* b) { return *a < *b; });
    for (std::size_t first = 0; first < values.size();) {
        std::size_t last = first + 1;
        double sum = *values[first];
        while (last < values.size() && *values[last] - *values[last - 1] <= noise)
            sum += *values[last++];
        const double mean = sum / static_cast<double>(last - first);
        for (std::size_t k = first; k < last; ++k)
            *values[k] = mean;
        first = last;
    }
}

bool SquareToAxes(const Ring& local, double noise) {
    for (std::size_t i = 0; i < local.size(); ++i) {
        const Point a = local[i];
        const Point b = local[(i + 1) % local.size()];
        if (std::abs(b.x - a.x) > noise && std::abs(b.y - a.y) > noise)
            return false;
    }
    return true;
}

Box Bounds(const Ring& ring) {
    Box box{ring[0].x, ring[0].y, ring[0].x, ring[0].y};
    for (const Point& p : ring)
        box = {std::min(box.left, p.x), std::min(box.bottom, p.y), std::max(box.right, p.x),
               std::max(box.top, p.y)};
    return box;
}

Point Transposed(Point p) {
    return {p.y, p.x};
}

// Slabs between neighbouring corner x values; within a slab the outline covers the same
// stretches of y, found where the slab's middle crosses the horizontal sides.
std::vector<Box> VerticalSlabs(const Ring& local) {
    std::vector<double> xs;
    for (const Point& p : local)
        xs.push_back(p.x);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::vector<Box> done;
    std::vector<Box> open;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const double middle = (xs[i] + xs[i + 1]) / 2;
        std::vector<double> ys;
        for (std::size_t k = 0; k < local.size(); ++k) {
            const Point a = local[k];
            const Point b = local[(k + 1) % local.size()];
            if (a.y == b.y && std::min(a.x, b.x) < middle && middle < std::max(a.x, b.x))
                ys.push_back(a.y);
        }
        std::sort(ys.begin(), ys.end());
        std::vector<Box> next;
        for (std::size_t k = 0; k + 1 < ys.size(); k += 2) {
            const auto same = std::find_if(open.begin(), open.end(), [&](const Box& b) {
                return b.bottom == ys[k] && b.top == ys[k + 1];
            });
            if (same != open.end()) {
                next.push_back({same->left, ys[k], xs[i + 1], ys[k + 1]});
                open.erase(same);
            } else {
                next.push_back({xs[i], ys[k], xs[i + 1], ys[k + 1]});
            }
        }
        done.insert(done.end(), open.begin(), open.end());
        open = std::move(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    return done;
}

} // namespace

std::variant<ReadOutline, LayoutRefusal> ReadCorners(const Ring& corners) {
    for (const Point& p : corners)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return LayoutRefusal{"a corner is not a number"};
    if (corners.size() < 3)
        return LayoutRefusal{"no area"};
    const Box extent = Bounds(corners);
    const double diagonal = std::hypot(extent.Width(), extent.Height());
    const double noise = diagonal * kDrawingNoise;
    ReadOutline read;
    read.plan = Cleaned(corners, noise);
    if (read.plan.size() < 3 || std::abs(SignedArea(read.plan)) <= noise * diagonal)
        return LayoutRefusal{"no area"};
    if (SignedArea(read.plan) < 0)
        std::reverse(read.plan.begin() + 1, read.plan.end()); // the first corner stays first
    if (!bg::is_valid(OutlineArea(read.plan).Polygon()))
        return LayoutRefusal{"the outline crosses itself"};

    read.frame = FrameOfLongestSide(read.plan, noise);
    for (const Point& p : read.plan)
        read.local.push_back(ToLocal(read.frame, p));
    if (SquareToAxes(read.local, noise)) {
        std::vector<double*> xs;
        std::vector<double*> ys;
        for (Point& p : read.local) {
            xs.push_back(&p.x);
            ys.push_back(&p.y);
        }
        SnapTogether(xs, noise);
        SnapTogether(ys, noise);
        read.local = Cleaned(read.local, noise);
        read.shape = read.local.size() == 4 ? OutlineShape::Rectangle : OutlineShape::Rectilinear;
    }
    read.bounds = Bounds(read.local);
    return read;
}

std::vector<Box> CutIntoRectangles(const Ring& local, double thinSide) {
    Ring transposed;
    for (const Point& p : local)
        transposed.push_back(Transposed(p));
    std::vector<Box> across = VerticalSlabs(transposed);
    for (Box& b : across)
        b = {b.bottom, b.left, b.top, b.right};
    std::vector<Box> along = VerticalSlabs(local);
    const auto score = [thinSide](const std::vector<Box>& cut) {
        const auto thin = std::count_if(cut.begin(), cut.end(), [thinSide](const Box& b) {
            return std::min(b.Width(), b.Height()) < thinSide;
        });
        return std::make_tuple(thin, cut.size());
    };
    return score(across) < score(along) ? across : along;
}

} // namespace floorplan
