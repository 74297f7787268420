// The quantities a contractor prices once the zones are known: zones packed into amplifier
// channels, cable rounded up to whole spools, and the points where the finished system is
// measured with their target levels.
#pragma once

#include "core/unit_pair.h"
#include "floorplan/geometry.h"
#include "system_design/line_loss.h"
#include "system_design/zoning.h"

#include <vector>

namespace system_design {

// The channel (from 1) each zone's demand goes on: first fit, largest demand first, zones of
// equal demand in their own order so that neighbouring zones share a channel. A zone whose
// demand exceeds the channel's rating gets a channel to itself. Channels are numbered in the
// order of their first zone.
std::vector<int> PackChannels(const std::vector<double>& demands, double channelWatts);

// Whole spools of a wire's family: AWG cable comes on 1000 and 500 ft reels, metric on 305 and
// 100 m drums.
struct SpoolSizes {
    double large = 0;
    double small = 0;
};
SpoolSizes SpoolSizesOf(WireFamily family); // feet for AWG, metres for mm2

struct Spools {
    int large = 0;
    int small = 0;
};
// As few spools as hold length (in the family's unit), and of those the least cable.
Spools SpoolsFor(double length, SpoolSizes sizes);

// Levels a commissioning measurement aims at, in dBA.
struct LevelTarget {
    double low = 0;
    double high = 0;
};
LevelTarget TargetFor(SpaceType space);
inline constexpr double kOverallToleranceDba = 0.5;
inline constexpr double kBandToleranceDb = 2; // each third-octave band

// One measurement per test area of an open room (at least one) and one per closed room.
// 1000 ft2 is 92.9 m2; the metric rule rounds it to 93 m2.
inline constexpr UnitPair<double> kTestAreaSquareMetres{92.903, 93};
int TestPointCount(double areaSquareMetres, SpaceType space, Units units);

// count points inside the outline, spread over it: the centres of an even grid over its
// bounding box that fall inside, the grid refined until there are enough.
std::vector<floorplan::Point> PointsInside(const floorplan::Ring& outline, int count);

double Area(const floorplan::Ring& outline); // drawing units squared, either turning

} // namespace system_design
