// The electrical side of a constant-voltage speaker line: the two line voltages, the wire sizes
// and their resistance, each speaker's transformer as a load on the line, the exact voltages
// along a daisy chain, and the loss and amplifier demand they lead to.
#pragma once

#include <string>
#include <vector>

namespace system_design {

enum class LineVoltage { V70, V100 };
// 70.7 V or 100 V at the amplifier's rated output.
double Volts(LineVoltage line);

enum class Wire { Awg18, Awg16, Awg14, Awg12, Mm075, Mm1, Mm15, Mm25 };
enum class WireFamily { Awg, SquareMillimetres };

WireFamily FamilyOf(Wire wire);
// The sizes of a family, thinnest first.
const std::vector<Wire>& WiresOf(WireFamily family);
// "18 AWG", "0.75 mm2".
std::string WireName(Wire wire);
// The resistance of one conductor per metre of cable.
double OhmsPerMetre(Wire wire);

// Out to the load and back: 2 x length (metres) x the resistance of one conductor.
double LoopResistance(double length, Wire wire);

// A transformer tapped at watts on a line of volts: Z = V^2 / P.
double LoadImpedance(double volts, double watts);

// The voltage at each speaker of a daisy chain fed with lineVolts. Segment i is the cable (loop
// resistance) that reaches speaker i from the one before it, or from the amplifier for i = 0;
// loadImpedances[i] hangs across the line at speaker i.
std::vector<double> LadderVoltages(double lineVolts, const std::vector<double>& segmentResistances,
                                   const std::vector<double>& loadImpedances);

// 20 log10(volts / lineVolts): negative when the line loses voltage on the way.
double LossDb(double volts, double lineVolts);

enum class LossStatus { Ok, Warn, Fail };
// Losses beyond -0.5 dB warn and beyond -1 dB fail.
LossStatus StatusOf(double lossDb);

// What an amplifier channel must deliver for taps summing to loadWatts: the transformers'
// insertion loss is drawn on top of the taps, and headroom (a fraction) on top of that.
double Demand(double loadWatts, double insertionLossDb, double headroom);

} // namespace system_design
