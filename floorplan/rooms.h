// Choosing a plan's rooms: its closed outlines on room layers, each named by the text inside it.
#pragma once
#include "floorplan/plan_reader.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace floorplan {

// Whether a layer name matches a pattern in which '*' stands for any run of characters; letters
// match in either case.
bool LayerMatches(std::string_view pattern, std::string_view layer);

// The room layers used when the user names none: layers whose names say area, room, space or
// zone, and the RM$ layers of space-management drawings.
const std::vector<std::string>& DefaultRoomLayers();

struct PlanRoom {
    std::string name;
    std::string layer, handle;
    Ring corners;
    bool hadArcs = false;
    std::vector<std::string> notes;
};

// An outline on a room layer that cannot be a room, and why: "open", "crosses itself",
// "no area".
struct RefusedOutline {
    std::string layer, handle, reason;
};

struct FloorRooms {
    std::vector<PlanRoom> rooms;
    std::vector<RefusedOutline> refused;
    // On every layer, to say where outlines are when none is on a room layer.
    std::map<std::string, int> closedOutlinesPerLayer;
};

// Rooms from the outlines on layers matching roomLayers (the defaults when empty), named by texts
// on layers matching textLayers (any layer when empty).
FloorRooms FindRooms(const Plan& plan, const std::vector<std::string>& roomLayers,
                     const std::vector<std::string>& textLayers);

} // namespace floorplan
