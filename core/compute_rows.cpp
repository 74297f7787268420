#include "core/compute_rows.h"

#include "core/unit_data.h"
#include "core/unit_pair.h"

#include <cmath>
#include <limits>

namespace {

// One step of the ceiling-height and absorption adjustments.
constexpr UnitPair<std::int32_t> kStep{1, 300};
// Open ceiling: the height band is chosen from the structural height less this.
constexpr UnitPair<std::int32_t> kOpenCeilingDrop{10, 3048};
// Open-ceiling height bands of d, tested in order; band 4 takes whatever is left, which in
// millimetres includes the gap between 900 and 1200.
constexpr UnitPair<std::int32_t> kBand1Below{4, 600};
constexpr UnitPair<std::int32_t> kBand2From{4, 600};
constexpr UnitPair<std::int32_t> kBand2To{8, 900};
constexpr UnitPair<std::int32_t> kBand3From{9, 1200};
constexpr UnitPair<std::int32_t> kBand3To{15, 2400};
// Access floor: fixed spacing (4880 mm, not 4800).
constexpr UnitPair<std::int32_t> kAccessFloorSpacing{16, 4880};
// Scales the fraction thresholds of the row count. In millimetres the thresholds (7.5 and
// 22.5) exceed any fraction, so the row count is always the whole part of dimension / S at nominal
// spacing.
constexpr UnitPair<float> kToleranceFactor{1.0f, 30.0f};

int OpenCeilingBand(std::int32_t structuralHeight, Units units) {
    const std::int32_t d = structuralHeight - kOpenCeilingDrop(units);
    if (d < kBand1Below(units))
        return 1;
    if (d >= kBand2From(units) && d <= kBand2To(units))
        return 2;
    if (d >= kBand3From(units) && d <= kBand3To(units))
        return 3;
    return 4;
}

bool InTable(std::optional<std::int16_t> band, std::optional<std::int16_t> type) {
    return band && type && *band >= 1 && *band <= 4 && *type >= 1 && *type <= 5;
}

} // namespace

std::optional<std::int32_t> NominalSpacing(const DesignState& s) {
    const Units units = s.units.value();
    const UnitData& table = UnitDataFor(units);
    std::int32_t S = 0;
    switch (s.location) {
    case Location::AboveCeiling:
        if (!InTable(s.plenumDepth, s.ceilingType))
            return std::nullopt;
        S = table.spacing[*s.plenumDepth - 1][*s.ceilingType - 1];
        if (s.ceilingHeight == 2)
            S += kStep(units);
        break;
    case Location::OpenCeiling:
        S = table.spacing[OpenCeilingBand(s.structuralHeight, units) - 1][0];
        break;
    case Location::AccessFloor:
        return kAccessFloorSpacing(units);
    case Location::None:
        return std::nullopt;
    }
    if (s.absorption != Absorption::None)
        S -= kStep(units);
    return S;
}

std::optional<RowLayout> ComputeRows(std::int32_t nominal, std::int32_t dimension, Units units) {
    if (nominal <= 0 || dimension < 0)
        return std::nullopt;
    const std::int64_t S = nominal;
    const std::int64_t dimen = dimension;

    std::int64_t rows = 0;
    std::int64_t spacing = 0;
    if (dimen <= S) {
        rows = 1;
    } else if (dimen <= 2 * S) {
        rows = 2;
        // dimen / 2 is a whole or a half; nearbyint takes a half to the even neighbour.
        spacing = static_cast<std::int64_t>(std::nearbyint(dimen / 2.0));
    } else {
        const float q = static_cast<float>(static_cast<double>(dimen) / static_cast<double>(S));
        const float whole = std::floor(q);
        const float f = q - whole;
        const float F = kToleranceFactor(units);
        rows = static_cast<std::int64_t>(whole);
        spacing = S;
        if (f > 0.25f * F) {
            rows += 1;
            if (f < 0.75f * F)
                spacing = S - 1;
        }
    }
    // The two edges together never exceed two nominal spacings plus the unit taken from every
    // gap narrowed to S - 1. For dimensions near the 32-bit limit the single-precision quotient
    // can miss the true row count; such a layout would leave the outer rows outside the room or
    // far from the walls, and is refused, as is an edge distance single precision cannot hold.
    const std::int64_t edges = dimen - (rows - 1) * spacing;
    const std::int64_t narrowed = spacing < S ? rows - 1 : 0;
    constexpr std::int64_t kExactInFloat = std::int64_t{1} << 24;
    if (rows > std::numeric_limits<std::int32_t>::max() || edges < 0 || edges > 2 * S + narrowed ||
        edges > kExactInFloat)
        return std::nullopt;
    // edges is whole and within 2^24, so halving it is exact in single precision.
    return RowLayout{static_cast<std::int32_t>(rows), static_cast<std::int32_t>(spacing),
                     static_cast<float>(edges) / 2.0f};
}
