// The system a contractor bids for a floor of rooms with their speakers laid out: zones, amplifier
// channels, the cable of each zone with its line loss, and the bill of materials. Plan positions
// stay in drawing units; lengths come out in metres, and the cable bill in the wire's own unit
// (feet for AWG, metres for mm2).
#pragma once

#include "core/unit_pair.h"
#include "floorplan/geometry.h"
#include "system_design/bill.h"
#include "system_design/line_loss.h"
#include "system_design/zoning.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace system_design {

// Transformer taps a speaker may be set to, in watts.
inline constexpr double kTaps[] = {0.125, 0.25, 0.5, 1, 2};

struct SystemInputs {
    Units units = Units::Feet; // picks the test area and the defaults below
    LineVoltage lineVoltage = LineVoltage::V70;
    double tapWatts = 1;
    Wire wire = Wire::Awg16;
    double drop = 0;     // metres from the cable route down to each speaker
    double slack = 0.07; // added to every length
    double insertionLossDb = 1;
    double headroom = 0.2;
    double channelWatts = 60;
    int channelsPerAmplifier = 2;
    int mostSpeakersPerZone = 8;
    double rowTolerance = 0;  // metres: speakers this close in y share a row of the chain
    double wallGap = 0;       // metres: rooms this close are neighbours
    floorplan::Point headEnd; // plan coordinates
};

// The defaults in the measurement system of the design.
SystemInputs DefaultInputs(Units units);

struct Zone {
    int number = 0; // from 1
    SpaceType space = SpaceType::Open;
    std::string conditions;
    std::vector<std::size_t> rooms;      // indices into the rooms given
    std::vector<SpeakerRef> speakers;    // in the order the cable reaches them
    std::vector<double> taps;            // watts, the same order
    double load = 0;                     // watts: the sum of the taps
    double demand = 0;                   // watts asked of the channel
    int channel = 0;                     // from 1
    bool exceedsChannel = false;         // its demand alone is more than a channel's rating
    double homeRun = 0;                  // metres, head-end to the first speaker, slack included
    double chain = 0;                    // metres, first speaker to the last, slack included
    std::vector<floorplan::Point> route; // head-end, then every corner and speaker in order
    std::vector<double> speakerVolts;    // the same order
    double lossDb = 0;                   // at the last speaker, negative for a loss
    LossStatus status = LossStatus::Ok;
    std::optional<Wire> passingWire; // when it fails: the thinnest of the family that would not
    Wire wire = Wire::Awg16;         // what the bill counts its cable in
};

struct Channel {
    int number = 0;    // from 1
    int amplifier = 0; // from 1
    std::vector<int> zones;
    double demand = 0;
};

struct CableQuantity {
    Wire wire = Wire::Awg16;
    double length = 0; // feet for AWG, metres for mm2; slack included
    Spools spools;
};

struct TestPoint {
    std::size_t room = 0;
    floorplan::Point position;
    LevelTarget target;
};

struct SystemDesign {
    std::vector<Zone> zones;
    std::vector<Channel> channels;
    int amplifiers = 0;
    std::map<double, int> speakersByTap;
    std::vector<CableQuantity> cable; // thinnest first
    std::vector<TestPoint> testPoints;
};

// The order a daisy chain takes through speakers: rows by y (a speaker within rowTolerance of
// the row's first joins it), the direction alternating from row to row. Of the four corners the
// chain can start from, the one nearest start along right angles wins.
std::vector<std::size_t> SerpentineOrder(const std::vector<floorplan::Point>& speakers,
                                         double rowTolerance, floorplan::Point start);

// |dx| + |dy|: cable runs along the building's grid.
double RightAngleDistance(floorplan::Point a, floorplan::Point b);

// Throws std::invalid_argument when a tap, the channel rating, the channels per amplifier, the
// speakers per zone or the drawing unit is not positive.
SystemDesign DesignSystem(const std::vector<SystemRoom>& rooms, const SystemInputs& inputs,
                          double metresPerDrawingUnit);

// The zones, loads, channels and amplifiers of rooms without positions; with nothing to route,
// the zones have no cable and the design no cable or test points. Throws as DesignSystem does.
SystemDesign DesignWithoutPositions(const std::vector<CountedRoom>& rooms,
                                    const SystemInputs& inputs);

} // namespace system_design
