// The design rule for one room dimension: the nominal speaker spacing for the location and
// ceiling conditions, then the number of rows, their spacing and the distance of the outer rows
// from the walls, such that HalfSpc + (NRow - 1) * Spc + HalfSpc == Dimen.
#pragma once

#include "core/design_state.h"

#include <cstdint>
#include <optional>

// The nominal spacing for the design's location and conditions, or nothing when the conditions
// name no cell of the spacing table (an incomplete suspended ceiling, an unknown location).
std::optional<std::int32_t> NominalSpacing(const DesignState& s);

// Computes the rows along one dimension and stores the nominal spacing in s.NomSpc. Returns
// false, and changes nothing, when there is no nominal spacing or the dimension is negative or
// beyond what the rule's single-precision arithmetic can lay out.
bool ComputeRows(DesignState& s, std::int32_t Dimen, std::int32_t& NRow, std::int32_t& Spc,
                 float& HalfSpc);
