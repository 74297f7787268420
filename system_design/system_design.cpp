// The whole system from rooms and inputs: zones, each zone's cable and loss, channels and bill.
#include "system_design/system_design.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>
#include <tuple>

namespace system_design {

namespace {

using floorplan::Point;

constexpr double kMetresPerFoot = 0.3048;

// A ceiling speaker's drop from a cable tray or the plenum's run.
constexpr UnitPair<double> kDrop{5, 1500};
// Below the closest speaker spacing of a layout (11 ft, 3300 mm) by a wide margin.
constexpr UnitPair<double> kRowTolerance{3, 900};
// A thick partition between two room outlines drawn at its faces.
constexpr UnitPair<double> kWallGap{1, 300};
constexpr UnitPair<Wire> kWire{Wire::Awg16, Wire::Mm15};

double Metres(double length, Units units) {
    return units == Units::Feet ? length * kMetresPerFoot : length / 1000;
}

std::vector<std::vector<std::size_t>> Rows(const std::vector<Point>& speakers, double tolerance) {
    std::vector<std::size_t> byY(speakers.size());
    for (std::size_t i = 0; i < byY.size(); ++i)
        byY[i] = i;
    std::sort(byY.begin(), byY.end(), [&](std::size_t a, std::size_t b) {
        return std::tie(speakers[a].y, speakers[a].x) < std::tie(speakers[b].y, speakers[b].x);
    });
    std::vector<std::vector<std::size_t>> rows;
    for (std::size_t i : byY) {
        if (rows.empty() || speakers[i].y - speakers[rows.back().front()].y > tolerance)
            rows.emplace_back();
        rows.back().push_back(i);
    }
    for (auto& row : rows)
        std::sort(row.begin(), row.end(),
                  [&](std::size_t a, std::size_t b) { return speakers[a].x < speakers[b].x; });
    return rows;
}

std::vector<std::size_t> Serpentine(const std::vector<std::vector<std::size_t>>& rows,
                                    bool firstLeftToRight) {
    std::vector<std::size_t> order;
    bool leftToRight = firstLeftToRight;
    for (const auto& row : rows) {
        if (leftToRight)
            order.insert(order.end(), row.begin(), row.end());
        else
            order.insert(order.end(), row.rbegin(), row.rend());
        leftToRight = !leftToRight;
    }
    return order;
}

// The cable from one point to the next along right angles: x first, then y.
void RouteTo(std::vector<Point>& route, Point to) {
    const Point from = route.back();
    if (from.x != to.x && from.y != to.y)
        route.push_back({to.x, from.y});
    route.push_back(to);
}

std::vector<double> ChainVolts(double lineVolts, const std::vector<double>& segmentLengths,
                               const std::vector<double>& taps, Wire wire) {
    std::vector<double> resistances, loads;
    for (std::size_t i = 0; i < taps.size(); ++i) {
        resistances.push_back(LoopResistance(segmentLengths[i], wire));
        loads.push_back(LoadImpedance(lineVolts, taps[i]));
    }
    return LadderVoltages(lineVolts, resistances, loads);
}

Zone MakeZone(const std::vector<SystemRoom>& rooms, const std::vector<SpeakerRef>& speakers,
              const SystemInputs& inputs, double metresPerUnit) {
    Zone zone;
    const SystemRoom& first = rooms[speakers.front().room];
    zone.space = first.space;
    zone.conditions = first.conditions;
    std::vector<Point> points;
    for (const SpeakerRef& s : speakers)
        points.push_back(rooms[s.room].speakers[s.index]);
    const double volts = Volts(inputs.lineVoltage);
    std::set<std::size_t> roomsSeen;
    zone.route = {inputs.headEnd};
    std::vector<double> segments;
    for (std::size_t i :
         SerpentineOrder(points, inputs.rowTolerance / metresPerUnit, inputs.headEnd)) {
        const SpeakerRef s = speakers[i];
        if (roomsSeen.insert(s.room).second)
            zone.rooms.push_back(s.room);
        zone.speakers.push_back(s);
        zone.taps.push_back(rooms[s.room].tapWatts.value_or(inputs.tapWatts));
        zone.load += zone.taps.back();
        // The home run drops once to its speaker; a hop rises from one speaker and drops to
        // the next.
        const double drops = segments.empty() ? inputs.drop : 2 * inputs.drop;
        const double run = RightAngleDistance(zone.route.back(), points[i]) * metresPerUnit;
        segments.push_back((run + drops) * (1 + inputs.slack));
        RouteTo(zone.route, points[i]);
    }
    zone.demand = Demand(zone.load, inputs.insertionLossDb, inputs.headroom);
    zone.homeRun = segments.front();
    for (std::size_t i = 1; i < segments.size(); ++i)
        zone.chain += segments[i];
    zone.wire = inputs.wire;
    zone.speakerVolts = ChainVolts(volts, segments, zone.taps, inputs.wire);
    zone.lossDb = LossDb(zone.speakerVolts.back(), volts);
    zone.status = StatusOf(zone.lossDb);
    if (zone.status == LossStatus::Fail) {
        for (Wire wire : WiresOf(FamilyOf(inputs.wire))) {
            const double loss = LossDb(ChainVolts(volts, segments, zone.taps, wire).back(), volts);
            if (StatusOf(loss) != LossStatus::Fail) {
                zone.passingWire = wire;
                zone.wire = wire;
                break;
            }
        }
    }
    return zone;
}

std::vector<Channel> MakeChannels(std::vector<Zone>& zones, const SystemInputs& inputs) {
    std::vector<double> demands;
    for (const Zone& zone : zones)
        demands.push_back(zone.demand);
    const std::vector<int> numbers = PackChannels(demands, inputs.channelWatts);
    std::vector<Channel> channels;
    for (std::size_t i = 0; i < zones.size(); ++i) {
        Zone& zone = zones[i];
        zone.channel = numbers[i];
        zone.exceedsChannel = zone.demand > inputs.channelWatts;
        if (std::size_t(zone.channel) > channels.size()) {
            Channel channel;
            channel.number = zone.channel;
            channel.amplifier = (zone.channel - 1) / inputs.channelsPerAmplifier + 1;
            channels.push_back(channel);
        }
        channels[zone.channel - 1].zones.push_back(zone.number);
        channels[zone.channel - 1].demand += zone.demand;
    }
    return channels;
}

std::vector<CableQuantity> MakeCable(const std::vector<Zone>& zones) {
    std::map<Wire, double> metres;
    for (const Zone& zone : zones)
        metres[zone.wire] += zone.homeRun + zone.chain;
    std::vector<CableQuantity> cable;
    for (const auto& [wire, length] : metres) {
        const WireFamily family = FamilyOf(wire);
        const double inUnit = family == WireFamily::Awg ? length / kMetresPerFoot : length;
        cable.push_back({wire, inUnit, SpoolsFor(inUnit, SpoolSizesOf(family))});
    }
    return cable;
}

std::vector<TestPoint> MakeTestPoints(const std::vector<SystemRoom>& rooms,
                                      const SystemInputs& inputs, double metresPerUnit) {
    std::vector<TestPoint> points;
    for (std::size_t r = 0; r < rooms.size(); ++r) {
        const double area = Area(rooms[r].outline) * metresPerUnit * metresPerUnit;
        const int count = TestPointCount(area, rooms[r].space, inputs.units);
        for (const Point& p : PointsInside(rooms[r].outline, count))
            points.push_back({r, p, TargetFor(rooms[r].space)});
    }
    return points;
}

// Figures that would divide by zero or make a speaker draw nothing.
template <typename Room>
void CheckInputs(const std::vector<Room>& rooms, const SystemInputs& inputs,
                 double metresPerDrawingUnit) {
    const bool tapsPositive = std::all_of(rooms.begin(), rooms.end(), [&](const Room& r) {
        return r.tapWatts.value_or(inputs.tapWatts) > 0;
    });
    if (!tapsPositive || inputs.channelWatts <= 0 || inputs.channelsPerAmplifier < 1 ||
        inputs.mostSpeakersPerZone < 1 || metresPerDrawingUnit <= 0)
        throw std::invalid_argument("taps, channel rating, channels per amplifier, speakers per "
                                    "zone and the drawing unit must be positive");
}

// What follows from the zones alone: channels, amplifiers and speakers by tap.
void AddChannels(SystemDesign& design, const SystemInputs& inputs) {
    design.channels = MakeChannels(design.zones, inputs);
    design.amplifiers = design.channels.empty() ? 0 : design.channels.back().amplifier;
    for (const Zone& zone : design.zones)
        for (double tap : zone.taps)
            ++design.speakersByTap[tap];
}

} // namespace

SystemInputs DefaultInputs(Units units) {
    SystemInputs inputs;
    inputs.units = units;
    inputs.wire = kWire(units);
    inputs.drop = Metres(kDrop(units), units);
    inputs.rowTolerance = Metres(kRowTolerance(units), units);
    inputs.wallGap = Metres(kWallGap(units), units);
    return inputs;
}

double RightAngleDistance(Point a, Point b) {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

std::vector<std::size_t> SerpentineOrder(const std::vector<Point>& speakers, double rowTolerance,
                                         Point start) {
    if (speakers.empty())
        return {};
    const auto rows = Rows(speakers, rowTolerance);
    std::vector<std::size_t> best;
    double bestDistance = 0;
    for (bool firstLeftToRight : {true, false}) {
        auto order = Serpentine(rows, firstLeftToRight);
        for (int turn = 0; turn < 2; ++turn) {
            const double distance = RightAngleDistance(start, speakers[order.front()]);
            if (best.empty() || distance < bestDistance) {
                best = order;
                bestDistance = distance;
            }
            std::reverse(order.begin(), order.end());
        }
    }
    return best;
}

SystemDesign DesignSystem(const std::vector<SystemRoom>& rooms, const SystemInputs& inputs,
                          double metresPerDrawingUnit) {
    CheckInputs(rooms, inputs, metresPerDrawingUnit);
    SystemDesign design;
    for (const auto& speakers :
         ZoneSpeakers(rooms, inputs.mostSpeakersPerZone, inputs.wallGap / metresPerDrawingUnit)) {
        design.zones.push_back(MakeZone(rooms, speakers, inputs, metresPerDrawingUnit));
        design.zones.back().number = int(design.zones.size());
    }
    AddChannels(design, inputs);
    design.cable = MakeCable(design.zones);
    design.testPoints = MakeTestPoints(rooms, inputs, metresPerDrawingUnit);
    return design;
}

SystemDesign DesignWithoutPositions(const std::vector<CountedRoom>& rooms,
                                    const SystemInputs& inputs) {
    CheckInputs(rooms, inputs, 1);
    SystemDesign design;
    for (const auto& speakers : CountedZoneSpeakers(rooms, inputs.mostSpeakersPerZone)) {
        Zone zone;
        zone.number = int(design.zones.size()) + 1;
        zone.space = rooms[speakers.front().room].space;
        zone.conditions = rooms[speakers.front().room].conditions;
        zone.speakers = speakers;
        for (const SpeakerRef& s : speakers) {
            if (zone.rooms.empty() || zone.rooms.back() != s.room)
                zone.rooms.push_back(s.room);
            zone.taps.push_back(rooms[s.room].tapWatts.value_or(inputs.tapWatts));
            zone.load += zone.taps.back();
        }
        zone.demand = Demand(zone.load, inputs.insertionLossDb, inputs.headroom);
        design.zones.push_back(std::move(zone));
    }
    AddChannels(design, inputs);
    return design;
}

} // namespace system_design
