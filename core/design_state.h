// The record of the design in progress. The window owns exactly one for as long as it is open;
// every handler reads and writes its fields under these names. Integer widths follow the design:
// choices and counts that only ever hold small values are 16-bit, lengths are 32-bit, and the
// edge distances are single precision because they are whole or half units.
#pragma once

#include "core/indexed.h"

#include <cstdint>
#include <string>

struct DesignState {
    Indexed<std::string, 10> PlenumText; // 1..4 used
    Indexed<std::string, 10> CeilText;   // 1..5 used
    Indexed<std::string, 2> CeilHtText;
    Indexed2<std::int32_t, 4, 5> SpcTable; // (plenum band, tile type)

    std::int16_t PlenumSel = 0;
    std::int16_t CeilSel = 0;
    std::int16_t CeilHtSel = 0;
    std::int16_t BattsSel = 0; // 0 none, 1 batts over the tiles, 2 insulation on the structure
    std::int32_t StructHt = 0;

    std::int16_t MaskLoc = 0; // 1 suspended ceiling, 2 open ceiling, 3 access floor

    std::int32_t Leng = 0;
    std::int32_t Wid = 0;
    std::int32_t NomSpc = 0;
    std::int32_t LRow = 0;
    std::int32_t LSpc = 0;
    float LHalfSpc = 0;
    std::int32_t WRow = 0;
    std::int32_t WSpc = 0;
    float WHalfSpc = 0;

    bool MeasFeet = false;
    bool MeasChosen = false;
    std::string Descr;
};

// Location codes, the indexes of the location buttons.
enum MaskLocation : std::int16_t { AboveCeiling = 1, OpenCeiling = 2, AccessFloor = 3 };

// The suspended-ceiling conditions are complete: all three lists have a pick.
bool CeilingData(const DesignState& s);
// The open-ceiling condition is complete: a structural height has been stored.
bool OpenCeilingData(const DesignState& s);
// The conditions of the location in force are complete, so Calculate can design for them.
bool ConditionsComplete(const DesignState& s);
// Zeroes the six row and spacing results of the last Calculate.
void ZeroResults(DesignState& s);
// Zeroes the room size, the three ceiling picks and the absorption.
void ZeroRoomAndConditions(DesignState& s);
