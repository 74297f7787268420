// The record of the design in progress. The window owns exactly one for as long as it is open;
// every handler reads and writes its fields under these names. Integer widths follow the design:
// choices that only ever hold small values are 16-bit, lengths are 32-bit, and the edge distances
// are single precision because they are whole or half units.
#pragma once

#include "core/unit_pair.h"

#include <cstdint>
#include <optional>
#include <string>

// Where the masking speakers go; the values are the indexes of the location buttons.
enum class Location : std::int16_t { None = 0, AboveCeiling = 1, OpenCeiling = 2, AccessFloor = 3 };

// Sound-absorbing material, as the check boxes set it.
enum class Absorption : std::int16_t { None, BattsOverTiles, OnStructure };

// The rows of speakers along one dimension of the room: edge + (rows - 1) * spacing + edge is
// the dimension, where the edge distance is whole or half a unit.
struct RowLayout {
    std::int32_t rows = 0;
    std::int32_t spacing = 0;
    float edge = 0;
    bool operator==(const RowLayout& o) const {
        return rows == o.rows && spacing == o.spacing && edge == o.edge;
    }
};

struct DesignState {
    std::optional<Units> units; // until the user picks a system

    // The suspended ceiling's picks, counted from 1 as the lists show them; none before a pick.
    std::optional<std::int16_t> plenumDepth;   // 1..4, the plenum depth band
    std::optional<std::int16_t> ceilingType;   // 1..5, the tile type
    std::optional<std::int16_t> ceilingHeight; // 1..2, the suspended ceiling height band
    Absorption absorption = Absorption::None;
    std::int32_t structuralHeight = 0;

    Location location = Location::None;

    std::int32_t length = 0;
    std::int32_t width = 0;
    std::int32_t nominalSpacing = 0;
    RowLayout alongLength;
    RowLayout alongWidth;

    std::string description;
};

// The suspended-ceiling conditions are complete: all three lists have a pick.
bool SuspendedCeilingComplete(const DesignState& s);
// The open-ceiling condition is complete: a structural height has been stored.
bool OpenCeilingComplete(const DesignState& s);
// The conditions of the location in force are complete, so Calculate can design for them.
bool ConditionsComplete(const DesignState& s);
// Clears the row layouts of the last Calculate.
void ClearLayouts(DesignState& s);
// Zeroes the room size, the three ceiling picks and the absorption.
void ClearRoomAndConditions(DesignState& s);
