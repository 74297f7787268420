// Wire resistance at 20 C: copper AWG solid-wire figures per 1000 ft and IEC 60228 class 2
// figures per km; docs/system-design.md names the published tables.
#include "system_design/line_loss.h"

#include <cmath>
#include <stdexcept>

namespace system_design {

namespace {

constexpr double kMetresPerThousandFeet = 304.8;

struct WireFacts {
    const char* name;
    WireFamily family;
    double ohmsPerMetre; // one conductor
};

// Indexed by Wire: ohms per 1000 ft for AWG, per km for square millimetres.
const WireFacts kWires[] = {
    {"18 AWG", WireFamily::Awg, 6.385 / kMetresPerThousandFeet},
    {"16 AWG", WireFamily::Awg, 4.016 / kMetresPerThousandFeet},
    {"14 AWG", WireFamily::Awg, 2.525 / kMetresPerThousandFeet},
    {"12 AWG", WireFamily::Awg, 1.588 / kMetresPerThousandFeet},
    {"0.75 mm2", WireFamily::SquareMillimetres, 24.5 / 1000},
    {"1 mm2", WireFamily::SquareMillimetres, 18.1 / 1000},
    {"1.5 mm2", WireFamily::SquareMillimetres, 12.1 / 1000},
    {"2.5 mm2", WireFamily::SquareMillimetres, 7.41 / 1000},
};

const WireFacts& FactsOf(Wire wire) {
    return kWires[static_cast<int>(wire)];
}

} // namespace

double Volts(LineVoltage line) {
    return line == LineVoltage::V70 ? 70.7 : 100.0;
}

WireFamily FamilyOf(Wire wire) {
    return FactsOf(wire).family;
}

const std::vector<Wire>& WiresOf(WireFamily family) {
    static const std::vector<Wire> awg = {Wire::Awg18, Wire::Awg16, Wire::Awg14, Wire::Awg12};
    static const std::vector<Wire> metric = {Wire::Mm075, Wire::Mm1, Wire::Mm15, Wire::Mm25};
    return family == WireFamily::Awg ? awg : metric;
}

std::string WireName(Wire wire) {
    return FactsOf(wire).name;
}

double OhmsPerMetre(Wire wire) {
    return FactsOf(wire).ohmsPerMetre;
}

double LoopResistance(double length, Wire wire) {
    return 2 * length * OhmsPerMetre(wire);
}

double LoadImpedance(double volts, double watts) {
    return volts * volts / watts;
}

std::vector<double> LadderVoltages(double lineVolts, const std::vector<double>& segmentResistances,
                                   const std::vector<double>& loadImpedances) {
    const std::size_t n = loadImpedances.size();
    if (segmentResistances.size() != n)
        throw std::invalid_argument("one cable segment is needed per speaker");
    if (n == 0)
        return {};
    // What the line looks like from the start of each segment, from the far end backwards.
    std::vector<double> seen(n);
    seen[n - 1] = segmentResistances[n - 1] + loadImpedances[n - 1];
    for (std::size_t i = n - 1; i-- > 0;) {
        const double beyond = seen[i + 1];
        const double parallel = loadImpedances[i] * beyond / (loadImpedances[i] + beyond);
        seen[i] = segmentResistances[i] + parallel;
    }
    // Then the current into each segment forwards, and the voltage it leaves at the speaker.
    std::vector<double> volts(n);
    double before = lineVolts;
    for (std::size_t i = 0; i < n; ++i) {
        const double current = before / seen[i];
        volts[i] = before - current * segmentResistances[i];
        before = volts[i];
    }
    return volts;
}

double LossDb(double volts, double lineVolts) {
    return 20 * std::log10(volts / lineVolts);
}

LossStatus StatusOf(double lossDb) {
    if (lossDb < -1)
        return LossStatus::Fail;
    if (lossDb < -0.5)
        return LossStatus::Warn;
    return LossStatus::Ok;
}

double Demand(double loadWatts, double insertionLossDb, double headroom) {
    return loadWatts * std::pow(10, insertionLossDb / 10) * (1 + headroom);
}

} // namespace system_design
