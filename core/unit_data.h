// Everything that changes with the measurement system and is loaded when the user picks one:
// the captions of the unit-bearing labels, the list texts and the nominal spacing table.
#pragma once

#include "core/unit_pair.h"

#include <array>
#include <cstdint>

struct UnitData {
    const char* lengthCaption;
    const char* widthCaption;
    const char* structuralHeightCaption; // structural ceiling height label
    const char* plenumDepthCaption;      // plenum depth list label
    const char* ceilingHeightCaption;    // suspended ceiling height list label
    std::array<const char*, 4> plenumDepthTexts;
    std::array<const char*, 2> ceilingHeightTexts;
    std::array<std::array<std::int32_t, 5>, 4> spacing; // [plenum band][tile type]
};

// The tile types are named the same in both systems.
extern const std::array<const char*, 5> kCeilingTypeTexts;

const UnitData& UnitDataFor(Units units);
