// The design rule for one room dimension: the nominal speaker spacing for the location and
// ceiling conditions, then the number of rows, their spacing and the distance of the outer rows
// from the walls, such that edge + (rows - 1) * spacing + edge == dimension.
#pragma once

#include "core/design_state.h"

#include <cstdint>
#include <optional>

// The nominal spacing for the design's location and conditions, or nothing when the conditions
// name no cell of the spacing table (an incomplete suspended ceiling, no location yet).
std::optional<std::int32_t> NominalSpacing(const DesignState& s);

// The rows along a dimension at the nominal spacing, or nothing when the spacing is not positive
// or the dimension is negative or beyond what the rule's single-precision arithmetic can lay out.
std::optional<RowLayout> ComputeRows(std::int32_t nominal, std::int32_t dimension, Units units);
