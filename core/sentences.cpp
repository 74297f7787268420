#include "core/sentences.h"

#include "core/number_text.h"
#include "core/unit_pair.h"

const char* const kOpenBattsClearedByCheckBox =
    "There are no sound absorption materails on the structural ceiling.";

std::string UnitSentence(bool measFeet) {
    return measFeet ? " feet." : " millimeters.";
}

std::string PlenumSentence(const DesignState& s) {
    // The band texts begin with "Between" themselves; the word stands twice on purpose.
    return "The plenum depth is between " + Lower(s.PlenumText(s.PlenumSel)) +
           UnitSentence(s.MeasFeet);
}

std::string CeilSentence(const DesignState& s) {
    return "The suspended ceiling is " + Lower(s.CeilText(s.CeilSel)) + ".";
}

std::string CeilHtSentence(const DesignState& s) {
    return "The suspended ceiling height is " + Lower(s.CeilHtText(s.CeilHtSel)) +
           UnitSentence(s.MeasFeet);
}

std::string StructHtSentence(const DesignState& s) {
    return "The structural ceiling height is " + std::to_string(s.StructHt) +
           UnitSentence(s.MeasFeet);
}

std::string PlenumBattsSentence(std::int16_t battsSel) {
    switch (battsSel) {
    case 1:
        return "There are sound absorption materials in the ceiling plenum.";
    case 2:
        return "There are sound absorption materials on the structural ceiling.";
    default:
        return "There are no sound absorption materials in the ceiling plenum.";
    }
}

std::string OpenBattsSentence(std::int16_t battsSel) {
    return battsSel == 0 ? "There are no sound absorption materials on the structural ceiling."
                         : "There are sound absorption materials on the structural ceiling.";
}

std::int64_t WirePerSpeaker(bool measFeet) {
    constexpr UnitPair<std::int64_t> kWirePerSpeaker{20, 6}; // feet, or metres
    return kWirePerSpeaker(measFeet);
}

std::string WiringUnit(bool measFeet) {
    return measFeet ? " feet" : " meters";
}

std::string WiringSentence(bool measFeet, std::int64_t speakers) {
    const std::int64_t perSpeaker = WirePerSpeaker(measFeet);
    return "Estimated length of zone wiring at" + SignedText(perSpeaker) + WiringUnit(measFeet) +
           " per speaker is " + std::to_string(perSpeaker * speakers) + WiringUnit(measFeet);
}
