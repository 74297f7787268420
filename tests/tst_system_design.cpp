// The system a contractor bids: the published line figures, the ladder's physics, zones on
// generated floors, channel packing, spools, test points and a whole design worked by hand.
// Expected voltages and losses were worked out by hand or with an independent nodal solver.
#include "system_design/system_design.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

using namespace system_design;
using floorplan::Point;
using floorplan::Ring;

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<double>)
Q_DECLARE_METATYPE(Wire)
Q_DECLARE_METATYPE(LossStatus)
Q_DECLARE_METATYPE(SpaceType)
Q_DECLARE_METATYPE(Units)

namespace {

Ring Rectangle(double left, double bottom, double right, double top) {
    return {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
}

std::vector<Point> Grid(double left, double bottom, int columns, int rows, double spacing) {
    std::vector<Point> points;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            points.push_back({left + column * spacing, bottom + row * spacing});
    return points;
}

// A floor in feet: two open areas of different ceilings side by side, a row of ten offices of
// one to three speakers, the first five under one ceiling, the rest another, and an open nook of
// one speaker against the first office, under its ceiling.
std::vector<SystemRoom> GeneratedFloor() {
    std::vector<SystemRoom> rooms;
    rooms.push_back({"open A", Rectangle(0, 0, 192, 120), Grid(6, 6, 16, 10, 12), SpaceType::Open,
                     "suspended 1 1 1", std::nullopt});
    rooms.push_back({"open B", Rectangle(192, 0, 264, 120), Grid(198, 6, 6, 10, 12),
                     SpaceType::Open, "open ceiling", std::nullopt});
    for (int i = 0; i < 10; ++i) {
        const double left = i * 12.5;
        rooms.push_back({"office", Rectangle(left, 130, left + 12, 145),
                         Grid(left + 6, 134, 1, 1 + i % 3, 6), SpaceType::Closed,
                         i < 5 ? "suspended 1 1 1" : "suspended 2 2 1", std::nullopt});
    }
    rooms.push_back({"nook", Rectangle(0, 145, 12, 160), Grid(6, 152, 1, 1, 6), SpaceType::Open,
                     "suspended 1 1 1", std::nullopt});
    return rooms;
}

// Whether every point reaches every other in steps no longer than reach.
bool Connected(std::vector<Point> points, double reach) {
    std::vector<Point> reached{points.back()};
    points.pop_back();
    for (std::size_t i = 0; i < reached.size(); ++i)
        for (auto p = points.begin(); p != points.end();)
            if (std::hypot(p->x - reached[i].x, p->y - reached[i].y) <= reach) {
                reached.push_back(*p);
                p = points.erase(p);
            } else
                ++p;
    return points.empty();
}

} // namespace

class SystemDesignTest : public QObject {
    Q_OBJECT
  private slots:
    void lineFiguresWorkedByHand_data() {
        QTest::addColumn<double>("actual");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");
        const double z100 = LoadImpedance(70.7, 100);
        const double r = LoopResistance(304.8, Wire::Awg18);
        const double v = LadderVoltages(70.7, {r}, {z100}).front();
        QTest::newRow("70.7 V, 100 W: 50 ohm") << z100 << 50. << 0.02;
        QTest::newRow("100 V, 100 W: 100 ohm") << LoadImpedance(100, 100) << 100. << 1e-9;
        QTest::newRow("1000 ft of 18 AWG: 12.77 ohm") << r << 12.77 << 1e-9;
        QTest::newRow("at its end 100 W receives 63.4 W") << v * v / z100 << 63.4 << 0.05;
        QTest::newRow("which is -1.98 dB") << LossDb(v, 70.7) << -1.976 << 0.001;
        QTest::newRow("1000 m of 0.75 mm2: 49 ohm")
            << LoopResistance(1000, Wire::Mm075) << 49. << 1e-9;
        QTest::newRow("16x2 + 7x1 + 8x10 W taps: 119 W") << Demand(119, 0, 0) << 119. << 1e-9;
        QTest::newRow("with 1 dB insertion loss: 149.8 W") << Demand(119, 1, 0) << 149.81 << 0.01;
        QTest::newRow("and 20 % headroom: 179.8 W") << Demand(119, 1, 0.2) << 179.77 << 0.01;
        // 100 V, 1 ohm to a 10 ohm load, 1 ohm more to another: 11000/131 and 10000/131 V.
        const auto ladder = LadderVoltages(100, {1, 1}, {10, 10});
        QTest::newRow("two-speaker ladder, first") << ladder.at(0) << 83.9695 << 1e-4;
        QTest::newRow("two-speaker ladder, last") << ladder.at(1) << 76.3359 << 1e-4;
    }
    void lineFiguresWorkedByHand() {
        QFETCH(double, actual);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        QVERIFY2(std::abs(actual - expected) <= tolerance, qPrintable(QString::number(actual)));
    }

    // A chain of taps along equal segments lies between two single loads at the end of its whole
    // length: its own last speaker alone (less loss) and all its taps together (more).
    void chainLossLiesBetweenItsBounds_data() {
        QTest::addColumn<std::vector<double>>("taps");
        QTest::addColumn<double>("segmentOhms");
        QTest::newRow("two speakers") << std::vector<double>{1, 1} << 0.5;
        QTest::newRow("eight of mixed taps")
            << std::vector<double>{2, 0.25, 1, 0.5, 2, 2, 0.125, 1} << 1.5;
        QTest::newRow("twenty on a long run") << std::vector<double>(20, 2.) << 4.;
    }
    void chainLossLiesBetweenItsBounds() {
        QFETCH(std::vector<double>, taps);
        QFETCH(double, segmentOhms);
        std::vector<double> loads;
        for (double tap : taps)
            loads.push_back(LoadImpedance(70.7, tap));
        const double total = std::accumulate(taps.begin(), taps.end(), 0.);
        const double whole = segmentOhms * taps.size();
        const double last =
            LadderVoltages(70.7, std::vector<double>(taps.size(), segmentOhms), loads).back();
        QVERIFY(last < LadderVoltages(70.7, {whole}, {loads.back()}).front());
        QVERIFY(last > LadderVoltages(70.7, {whole}, {LoadImpedance(70.7, total)}).front());
    }

    // A is a shorter or thicker run than B, with the same eight 1 W speakers.
    void lossGrowsWithLengthAndFallsWithThickerWire_data() {
        QTest::addColumn<Wire>("wireA");
        QTest::addColumn<double>("lengthA");
        QTest::addColumn<Wire>("wireB");
        QTest::addColumn<double>("lengthB");
        QTest::newRow("longer 18 AWG") << Wire::Awg18 << 100. << Wire::Awg18 << 101.;
        QTest::newRow("thicker AWG") << Wire::Awg14 << 300. << Wire::Awg16 << 300.;
        QTest::newRow("thicker mm2") << Wire::Mm1 << 300. << Wire::Mm075 << 300.;
        QTest::newRow("14 AWG and 1.5 mm2") << Wire::Awg14 << 300. << Wire::Mm15 << 300.;
        QTest::newRow("1.5 mm2 and 16 AWG") << Wire::Mm15 << 300. << Wire::Awg16 << 300.;
    }
    void lossGrowsWithLengthAndFallsWithThickerWire() {
        QFETCH(Wire, wireA);
        QFETCH(double, lengthA);
        QFETCH(Wire, wireB);
        QFETCH(double, lengthB);
        const auto loss = [](Wire wire, double length) {
            const std::vector<double> segments(8, LoopResistance(length / 8, wire));
            return LossDb(LadderVoltages(100, segments, std::vector<double>(8, 10000.)).back(),
                          100);
        };
        QVERIFY(loss(wireA, lengthA) > loss(wireB, lengthB));
    }

    void lossStatusAtItsLimits_data() {
        QTest::addColumn<double>("lossDb");
        QTest::addColumn<LossStatus>("status");
        QTest::newRow("-0.5 dB") << -0.5 << LossStatus::Ok;
        QTest::newRow("just over 0.5 dB") << -0.5001 << LossStatus::Warn;
        QTest::newRow("-1 dB") << -1. << LossStatus::Warn;
        QTest::newRow("just over 1 dB") << -1.0001 << LossStatus::Fail;
    }
    void lossStatusAtItsLimits() {
        QFETCH(double, lossDb);
        QFETCH(LossStatus, status);
        QCOMPARE(StatusOf(lossDb), status);
    }

    void zonesKeepTheirRulesOnAGeneratedFloor_data() {
        QTest::addColumn<int>("most");
        QTest::newRow("one speaker") << 1;
        QTest::newRow("four") << 4;
        QTest::newRow("eight") << 8;
        QTest::newRow("thirteen") << 13;
    }
    void zonesKeepTheirRulesOnAGeneratedFloor() {
        QFETCH(int, most);
        const auto rooms = GeneratedFloor();
        SystemInputs inputs = DefaultInputs(Units::Feet);
        inputs.mostSpeakersPerZone = most;
        const SystemDesign design = DesignSystem(rooms, inputs, 0.3048);
        std::map<std::size_t, int> zonesPerOpenArea;
        std::size_t speakers = 0;
        for (const Zone& zone : design.zones) {
            QVERIFY(!zone.speakers.empty() && int(zone.speakers.size()) <= most);
            speakers += zone.speakers.size();
            std::vector<Point> points;
            std::set<std::size_t> roomsOf;
            for (const SpeakerRef& s : zone.speakers) {
                QCOMPARE(rooms[s.room].space, rooms[zone.speakers[0].room].space);
                QCOMPARE(rooms[s.room].conditions, rooms[zone.speakers[0].room].conditions);
                points.push_back(rooms[s.room].speakers[s.index]);
                roomsOf.insert(s.room);
            }
            if (rooms[zone.speakers[0].room].space == SpaceType::Closed) {
                // Offices in a row: a zone's offices follow one another.
                QCOMPARE(*roomsOf.rbegin() - *roomsOf.begin() + 1, roomsOf.size());
                continue;
            }
            QCOMPARE(roomsOf.size(), std::size_t(1));
            ++zonesPerOpenArea[*roomsOf.begin()];
            QVERIFY(Connected(points, 12 * std::sqrt(2.) + 0.01));
            const auto [left, right] = std::minmax_element(
                points.begin(), points.end(), [](Point a, Point b) { return a.x < b.x; });
            const auto [bottom, top] = std::minmax_element(
                points.begin(), points.end(), [](Point a, Point b) { return a.y < b.y; });
            const double wide = right->x - left->x + 12, high = top->y - bottom->y + 12;
            QVERIFY2(std::max(wide, high) <= 3 * std::min(wide, high),
                     qPrintable(QString("zone %1: %2 by %3").arg(zone.number).arg(wide).arg(high)));
        }
        QCOMPARE(speakers, std::size_t(160 + 60 + 19 + 1));
        QCOMPARE(zonesPerOpenArea[0], (160 + most - 1) / most);
        QCOMPARE(zonesPerOpenArea[1], (60 + most - 1) / most);
    }

    void channelsPackFirstFitLargestFirst_data() {
        QTest::addColumn<std::vector<double>>("demands");
        QTest::addColumn<std::vector<int>>("channels");
        QTest::newRow("none") << std::vector<double>{} << std::vector<int>{};
        QTest::newRow("exactly full")
            << std::vector<double>{30, 30, 30} << std::vector<int>{1, 1, 2};
        QTest::newRow("just over")
            << std::vector<double>{30.01, 30, 30} << std::vector<int>{1, 2, 2};
        QTest::newRow("largest first")
            << std::vector<double>{10, 50, 20, 40} << std::vector<int>{1, 1, 2, 2};
        QTest::newRow("too large alone")
            << std::vector<double>{70, 10, 10} << std::vector<int>{1, 2, 2};
    }
    void channelsPackFirstFitLargestFirst() {
        QFETCH(std::vector<double>, demands);
        QFETCH(std::vector<int>, channels);
        QCOMPARE(PackChannels(demands, 60), channels);
    }

    void cableComesInFewestWholeSpools_data() {
        QTest::addColumn<double>("length");
        QTest::addColumn<Wire>("wire");
        QTest::addColumn<int>("large");
        QTest::addColumn<int>("small");
        QTest::newRow("none") << 0. << Wire::Awg16 << 0 << 0;
        QTest::newRow("500 ft") << 500. << Wire::Awg16 << 0 << 1;
        QTest::newRow("1001 ft") << 1001. << Wire::Awg18 << 1 << 1;
        QTest::newRow("2400 ft") << 2400. << Wire::Awg14 << 2 << 1;
        QTest::newRow("100 m") << 100. << Wire::Mm15 << 0 << 1;
        QTest::newRow("405 m") << 405. << Wire::Mm075 << 1 << 1;
        QTest::newRow("405.5 m") << 405.5 << Wire::Mm1 << 2 << 0;
        QTest::newRow("710 m") << 710. << Wire::Mm25 << 2 << 1;
    }
    void cableComesInFewestWholeSpools() {
        QFETCH(double, length);
        QFETCH(Wire, wire);
        QFETCH(int, large);
        QFETCH(int, small);
        const Spools spools = SpoolsFor(length, SpoolSizesOf(FamilyOf(wire)));
        QCOMPARE(spools.large, large);
        QCOMPARE(spools.small, small);
    }

    void testPointsPerAreaAndRoom_data() {
        QTest::addColumn<double>("area");
        QTest::addColumn<SpaceType>("space");
        QTest::addColumn<Units>("units");
        QTest::addColumn<int>("count");
        QTest::newRow("93 m2") << 93. << SpaceType::Open << Units::Millimetres << 1;
        QTest::newRow("just over 93 m2") << 93.01 << SpaceType::Open << Units::Millimetres << 2;
        QTest::newRow("just over 1000 ft2") << 92.95 << SpaceType::Open << Units::Feet << 2;
        QTest::newRow("just over 2000 ft2") << 185.9 << SpaceType::Open << Units::Feet << 3;
        QTest::newRow("large closed room") << 500. << SpaceType::Closed << Units::Feet << 1;
    }
    void testPointsPerAreaAndRoom() {
        QFETCH(double, area);
        QFETCH(SpaceType, space);
        QFETCH(Units, units);
        QFETCH(int, count);
        QCOMPARE(TestPointCount(area, space, units), count);
    }

    void testPointsStayInsideTheRoom() {
        // An L whose bounding box's middle is outside it.
        const Ring l = {{0, 0}, {40, 0}, {40, 10}, {10, 10}, {10, 40}, {0, 40}};
        for (int count = 1; count <= 6; ++count) {
            const auto points = PointsInside(l, count);
            QCOMPARE(int(points.size()), count);
            for (const Point& p : points)
                QVERIFY((p.x > 0 && p.x < 40 && p.y > 0 && p.y < 10) ||
                        (p.x > 0 && p.x < 10 && p.y > 0 && p.y < 40));
        }
        const auto halves = PointsInside(Rectangle(0, 0, 40, 20), 2);
        QVERIFY(halves.size() == 2 && halves[0].x == 10 && halves[1].x == 30 && halves[1].y == 10);
    }

    void chainRunsInRowsFromTheCornerNearestTheHeadEnd_data() {
        QTest::addColumn<double>("headX");
        QTest::addColumn<double>("headY");
        QTest::addColumn<std::vector<int>>("order");
        // 0 1 2 along y = 0, 3 4 5 at y = 10.4 (a row within tolerance), 6 7 8 at y = 20.
        QTest::newRow("below left") << -50. << -50. << std::vector<int>{0, 1, 2, 5, 4, 3, 6, 7, 8};
        QTest::newRow("below right") << 90. << -5. << std::vector<int>{2, 1, 0, 3, 4, 5, 8, 7, 6};
        QTest::newRow("above right") << 90. << 60. << std::vector<int>{8, 7, 6, 3, 4, 5, 2, 1, 0};
        QTest::newRow("above left") << -1. << 21. << std::vector<int>{6, 7, 8, 5, 4, 3, 0, 1, 2};
    }
    void chainRunsInRowsFromTheCornerNearestTheHeadEnd() {
        QFETCH(double, headX);
        QFETCH(double, headY);
        QFETCH(std::vector<int>, order);
        std::vector<Point> grid = Grid(0, 0, 3, 3, 10);
        for (int i = 3; i < 6; ++i)
            grid[i].y = 10.4;
        const auto got = SerpentineOrder(grid, 1, {headX, headY});
        QCOMPARE(std::vector<int>(got.begin(), got.end()), order);
    }

    // Eight 2 W speakers (the room's own tap) 10 m apart in a row, the first 1000 m from the
    // head-end, on 70.7 V with 1 m drops and 7 % slack: a home run of (1000 + 1) x 1.07 m and
    // hops of (10 + 2) x 1.07 m. The independent solver gives -1.214 dB at the last speaker on
    // 18 AWG, -0.783 on 16 and -0.318 on 12.
    void aLongZoneNamesTheWireThatWouldPass_data() {
        QTest::addColumn<Wire>("wire");
        QTest::addColumn<double>("lossDb");
        QTest::addColumn<LossStatus>("status");
        QTest::addColumn<Wire>("billed");
        QTest::newRow("18 AWG fails") << Wire::Awg18 << -1.2139 << LossStatus::Fail << Wire::Awg16;
        QTest::newRow("16 AWG warns") << Wire::Awg16 << -0.7825 << LossStatus::Warn << Wire::Awg16;
        QTest::newRow("12 AWG holds") << Wire::Awg12 << -0.3176 << LossStatus::Ok << Wire::Awg12;
    }
    void aLongZoneNamesTheWireThatWouldPass() {
        QFETCH(Wire, wire);
        QFETCH(double, lossDb);
        QFETCH(LossStatus, status);
        QFETCH(Wire, billed);
        SystemInputs inputs = DefaultInputs(Units::Millimetres);
        inputs.wire = wire;
        inputs.drop = 1;
        const SystemRoom hall{
            "hall", Rectangle(995, -5, 1075, 5), Grid(1000, 0, 8, 1, 10), SpaceType::Open, "", 2.};
        const SystemDesign design = DesignSystem({hall}, inputs, 1);
        QCOMPARE(design.zones.size(), std::size_t(1));
        const Zone& zone = design.zones[0];
        QVERIFY2(std::abs(zone.lossDb - lossDb) < 1e-3, qPrintable(QString::number(zone.lossDb)));
        QCOMPARE(zone.status, status);
        QCOMPARE(zone.passingWire.has_value(), status == LossStatus::Fail);
        QCOMPARE(zone.wire, billed);
        QVERIFY(std::abs(zone.homeRun - 1071.07) < 1e-9 && std::abs(zone.chain - 89.88) < 1e-9);
        // 1160.95 m is 3808.9 ft: four 1000 ft reels.
        QCOMPARE(design.cable.size(), std::size_t(1));
        const CableQuantity& cable = design.cable[0];
        QVERIFY(cable.wire == billed && std::abs(cable.length - 3808.9) < 0.1);
        QVERIFY(cable.spools.large == 4 && cable.spools.small == 0);
        QCOMPARE(design.speakersByTap.at(2.), 8);
        // 16 W with 1 dB and 20 %: 24.17 W, one channel, one amplifier.
        QVERIFY(std::abs(zone.demand - 24.17) < 0.01);
        QVERIFY(design.channels.size() == 1 && design.amplifiers == 1);
        // 800 m2 is 8.6 test areas: nine points, aimed at 45-48 dBA.
        QCOMPARE(design.testPoints.size(), std::size_t(9));
        QCOMPARE(design.testPoints[0].target.low, 45.);
    }
};

QTEST_GUILESS_MAIN(SystemDesignTest)
#include "tst_system_design.moc"
