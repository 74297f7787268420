// The sentences that describe a design, shared by the on-screen summary, the result lines and
// the printed report so that all three always say the same thing.
#pragma once

#include "core/design_state.h"

#include <cstdint>
#include <string>

// " feet." or " millimeters.", closing every sentence that ends in a length.
std::string UnitSentence(Units units);

// Condition sentences. Each needs its pick to be made (the matching Sel at least 1).
std::string PlenumDepthSentence(const DesignState& s);
std::string CeilingTypeSentence(const DesignState& s);
std::string CeilingHeightSentence(const DesignState& s);
std::string StructuralHeightSentence(const DesignState& s);

// Absorption, as said for a suspended ceiling: none in the plenum, batts in the plenum, or
// insulation on the structural ceiling.
std::string PlenumBattsSentence(Absorption absorption);
// Absorption on the structural ceiling: none, or some of either kind.
std::string OpenBattsSentence(Absorption absorption);
// What the insulation check box says when it is cleared (the wording of that box, misspelling
// included, differs from the summary's).
extern const char* const kOpenBattsClearedByCheckBox;

// Zone wiring per speaker, in feet or in metres.
std::int64_t WirePerSpeaker(Units units);
// " feet" or " meters": the unit of the wiring figures.
std::string WiringUnit(Units units);
// "Estimated length of zone wiring at 20 feet per speaker is 240 feet" (no full stop).
std::string WiringSentence(Units units, std::int64_t speakers);
