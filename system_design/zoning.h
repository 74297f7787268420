// Zoning: which speakers play together on one line and one level setting. Rooms of different
// conditions or space types never share a zone; neighbouring rooms of the same kind share one
// while it has room; a room with more speakers than a zone holds is cut into compact pieces of
// similar size by recursive bisection across its longer extent.
#pragma once

#include "floorplan/geometry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace system_design {

enum class SpaceType { Open, Closed };

struct SystemRoom {
    std::string name;
    floorplan::Ring outline;
    std::vector<floorplan::Point> speakers; // plan coordinates
    SpaceType space = SpaceType::Open;
    // Rooms with different conditions never share a zone: a key such as
    // "suspended 2 3 1 batts".
    std::string conditions;
    std::optional<double> tapWatts; // the system's tap when absent
};

struct SpeakerRef {
    std::size_t room = 0;
    std::size_t index = 0;
};

// A room known by its number of speakers only, as a room schedule gives it: no positions.
struct CountedRoom {
    std::string name;
    std::size_t speakers = 0;
    SpaceType space = SpaceType::Open;
    std::string conditions; // as in SystemRoom, with anything else that keeps rooms apart
    std::optional<double> tapWatts;
};

// The points cut into parts of at most mostPerPart each, as few parts as that allows and of
// similar size: each cut goes across the longer side of the part's bounding box.
// Parts come out in the order of the cuts (lower, then upper side), so neighbours follow each
// other.
std::vector<std::vector<std::size_t>> Bisect(const std::vector<floorplan::Point>& points,
                                             int mostPerPart);

// Whether two outlines touch or come within gap of each other (a wall between two rooms).
bool Neighbours(const floorplan::Ring& a, const floorplan::Ring& b, double gap);

// The speakers of each zone; gap is the widest wall between neighbouring rooms in drawing units.
std::vector<std::vector<SpeakerRef>> ZoneSpeakers(const std::vector<SystemRoom>& rooms,
                                                  int mostSpeakers, double gap);

// The speakers of each zone of rooms without positions, in the rooms' order: a room that fits
// goes into the first zone of its kind with room for it, else opens one; a larger room is cut
// alone into as few zones as hold it, the larger pieces first, none more than one speaker
// larger than another.
std::vector<std::vector<SpeakerRef>> CountedZoneSpeakers(const std::vector<CountedRoom>& rooms,
                                                         int mostSpeakers);

} // namespace system_design
