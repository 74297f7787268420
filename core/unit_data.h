// Everything that changes with the measurement system and is loaded when the user picks one:
// the captions of the unit-bearing labels, the list texts and the nominal spacing table.
#pragma once

#include <array>
#include <cstdint>

struct UnitData {
    const char* LengCaption;
    const char* WidCaption;
    const char* CeilHtCaption;     // structural ceiling height label
    const char* PlenCaption;       // plenum depth list label
    const char* CeilHtListCaption; // suspended ceiling height list label
    std::array<const char*, 4> PlenumTexts;
    std::array<const char*, 2> CeilHtTexts;
    std::array<std::array<std::int32_t, 5>, 4> Spacing; // [plenum band][tile type]
};

// The tile types are named the same in both systems.
extern const std::array<const char*, 5> CeilingTypeTexts;

const UnitData& UnitDataFor(bool measFeet);
