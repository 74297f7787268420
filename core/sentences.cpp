#include "core/sentences.h"

#include "core/number_text.h"
#include "core/unit_data.h"
#include "core/unit_pair.h"

const char* const kOpenBattsClearedByCheckBox =
    "There are no sound absorption materails on the structural ceiling.";

std::string UnitSentence(Units units) {
    return units == Units::Feet ? " feet." : " millimeters.";
}

std::string PlenumDepthSentence(const DesignState& s) {
    // The band texts begin with "Between" themselves; the word stands twice on purpose.
    return "The plenum depth is between " +
           Lower(UnitDataFor(s.units.value()).plenumDepthTexts.at(s.plenumDepth.value() - 1)) +
           UnitSentence(s.units.value());
}

std::string CeilingTypeSentence(const DesignState& s) {
    return "The suspended ceiling is " + Lower(kCeilingTypeTexts.at(s.ceilingType.value() - 1)) +
           ".";
}

std::string CeilingHeightSentence(const DesignState& s) {
    return "The suspended ceiling height is " +
           Lower(UnitDataFor(s.units.value()).ceilingHeightTexts.at(s.ceilingHeight.value() - 1)) +
           UnitSentence(s.units.value());
}

std::string StructuralHeightSentence(const DesignState& s) {
    return "The structural ceiling height is " + std::to_string(s.structuralHeight) +
           UnitSentence(s.units.value());
}

std::string PlenumBattsSentence(Absorption absorption) {
    switch (absorption) {
    case Absorption::BattsOverTiles:
        return "There are sound absorption materials in the ceiling plenum.";
    case Absorption::OnStructure:
        return "There are sound absorption materials on the structural ceiling.";
    case Absorption::None:
        break;
    }
    return "There are no sound absorption materials in the ceiling plenum.";
}

std::string OpenBattsSentence(Absorption absorption) {
    return absorption == Absorption::None
               ? "There are no sound absorption materials on the structural ceiling."
               : "There are sound absorption materials on the structural ceiling.";
}

std::int64_t WirePerSpeaker(Units units) {
    constexpr UnitPair<std::int64_t> kWirePerSpeaker{20, 6}; // feet, or metres
    return kWirePerSpeaker(units);
}

std::string WiringUnit(Units units) {
    return units == Units::Feet ? " feet" : " meters";
}

std::string WiringSentence(Units units, std::int64_t speakers) {
    const std::int64_t perSpeaker = WirePerSpeaker(units);
    return "Estimated length of zone wiring at" + SignedText(perSpeaker) + WiringUnit(units) +
           " per speaker is " + std::to_string(perSpeaker * speakers) + WiringUnit(units);
}
