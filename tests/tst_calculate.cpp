// The Calculate command without its window: the longer side becoming the length, the four
// result lines written to the character, the room picture's height, the small-room warning on
// focus, and speaker counts and wiring estimates too large for 16 or 32 bits.
#include "core/calculate.h"
#include "core/unit_data.h"

#include <QtTest>

#include <cstdint>

namespace {

// A suspended ceiling giving a nominal spacing of 10 ft (11 less a step for batts) or 4200 mm.
DesignState Room(bool feet, std::int32_t leng, std::int32_t wid) {
    DesignState s;
    s.MeasFeet = feet;
    LoadUnitTables(s);
    s.MaskLoc = AboveCeiling;
    s.PlenumSel = 1;
    s.CeilSel = feet ? 1 : 3;
    s.CeilHtSel = 1;
    s.BattsSel = feet ? 1 : 0;
    s.Leng = leng;
    s.Wid = wid;
    return s;
}

} // namespace

class TestCalculate : public QObject {
    Q_OBJECT
  private slots:
    void resultLinesDescribeTheDesign_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<int>("leng");
        QTest::addColumn<int>("wid");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("40x25 ft")
            << true << 40 << 25
            << QStringList{"Length: There are 4 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           " Width: There are 3 rows 9 ft. apart. Edges are 3.5 ft. from walls.",
                           "There are 12 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 240 feet"};
        QTest::newRow("8x6 ft singular")
            << true << 8 << 6
            << QStringList{"Length: There is 1 row 4 ft. from each wall.",
                           "Width: There is 1 row 3 ft. from each wall.",
                           "There is 1 masking speaker.",
                           "Estimated length of zone wiring at 20 feet per speaker is 20 feet"};
        QTest::newRow("40x8 ft single width row")
            << true << 40 << 8
            << QStringList{"Length: There are 4 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           "Width: There is 1 row 4 ft. from each wall.",
                           "There are 4 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 80 feet"};
        QTest::newRow("12500x8400 mm")
            << false << 12500 << 8400
            << QStringList{
                   "Length: There are 2 rows 4200 mm. apart. Edges are 4150 mm. from walls.",
                   " Width: There are 2 rows 4200 mm. apart. Edges are 2100 mm. from walls.",
                   "There are 4 masking speakers.",
                   "Estimated length of zone wiring at 6 meters per speaker is 24 meters"};
        QTest::newRow("40000 speakers ft")
            << true << 2000 << 2000
            << QStringList{"Length: There are 200 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           " Width: There are 200 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           "There are 40000 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 800000 feet"};
        QTest::newRow("10000 speakers mm")
            << false << 420000 << 420000
            << QStringList{
                   "Length: There are 100 rows 4200 mm. apart. Edges are 2100 mm. from walls.",
                   " Width: There are 100 rows 4200 mm. apart. Edges are 2100 mm. from walls.",
                   "There are 10000 masking speakers.",
                   "Estimated length of zone wiring at 6 meters per speaker is 60000 meters"};
    }
    void resultLinesDescribeTheDesign() {
        QFETCH(bool, feet);
        QFETCH(int, leng);
        QFETCH(int, wid);
        QFETCH(QStringList, lines);
        DesignState s = Room(feet, leng, wid);
        QVERIFY(ComputeDesign(s));
        const auto got = ResultLines(s);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(QString::fromStdString(got[std::size_t(i)]), lines[i]);
    }

    void countsBeyondThirtyTwoBitsAreNotWrapped() {
        DesignState s = Room(true, 0, 0);
        s.LRow = s.WRow = 70000;
        QCOMPARE(SpeakerCount(s), std::int64_t{4900000000});
        const auto lines = ResultLines(s);
        QCOMPARE(lines[2], std::string("There are 4900000000 masking speakers."));
        QCOMPARE(lines[3],
                 std::string(
                     "Estimated length of zone wiring at 20 feet per speaker is 98000000000 feet"));
    }

    void longerSideBecomesTheLength_data() {
        QTest::addColumn<int>("leng");
        QTest::addColumn<int>("wid");
        QTest::addColumn<bool>("exchanged");
        QTest::addColumn<int>("lRow");
        QTest::addColumn<int>("wRow");
        QTest::newRow("20x30 exchanged") << 20 << 30 << true << 3 << 2;
        QTest::newRow("30x20 kept") << 30 << 20 << false << 3 << 2;
        QTest::newRow("30x30 equal kept") << 30 << 30 << false << 3 << 3;
        QTest::newRow("29x30 by one") << 29 << 30 << true << 3 << 3;
    }
    void longerSideBecomesTheLength() {
        QFETCH(int, leng);
        QFETCH(int, wid);
        QFETCH(bool, exchanged);
        QFETCH(int, lRow);
        QFETCH(int, wRow);
        DesignState s = Room(true, leng, wid);
        QCOMPARE(OrientRoom(s), exchanged);
        QCOMPARE(s.Leng, std::max(leng, wid));
        QCOMPARE(s.Wid, std::min(leng, wid));
        QVERIFY(!OrientRoom(s));
        QVERIFY(ComputeDesign(s));
        QCOMPARE(s.LRow, lRow);
        QCOMPARE(s.WRow, wRow);
    }

    void refusedDesignKeepsThePreviousResults() {
        DesignState s = Room(true, 40, 25);
        QVERIFY(ComputeDesign(s));
        s.PlenumSel = 0;
        s.Leng = s.Wid = 100;
        QVERIFY(!ComputeDesign(s));
        QCOMPARE(s.LRow, 4);
        QCOMPARE(s.LHalfSpc, 5.0f);
        QCOMPARE(s.WRow, 3);
        QCOMPARE(s.WSpc, 9);
        QCOMPARE(s.WHalfSpc, 3.5f);
    }

    void roomPictureKeepsTheRoomProportions_data() {
        QTest::addColumn<int>("leng");
        QTest::addColumn<int>("wid");
        QTest::addColumn<float>("height");
        QTest::newRow("40x25") << 40 << 25 << 2500.0f;
        QTest::newRow("square") << 30 << 30 << 4000.0f;
        QTest::newRow("12500x8400") << 12500 << 8400 << 2688.0f;
        QTest::newRow("3x1") << 3 << 1 << 4000.0f / 3;
    }
    void roomPictureKeepsTheRoomProportions() {
        QFETCH(int, leng);
        QFETCH(int, wid);
        QFETCH(float, height);
        QCOMPARE(RoomPictureHeight(leng, wid), height);
    }

    void smallRoomsAreWarnedAgainst_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<int>("leng");
        QTest::addColumn<int>("wid");
        QTest::addColumn<bool>("small");
        // Feet: ratio 0.5, exactly 2, 1.9; area exactly 225, 240, 224; a zero width is never
        // small. Millimetres: the same area limit (4572 mm is 15 ft) and the ratio.
        const struct {
            bool feet;
            int leng, wid;
            bool small;
        } rows[] = {
            // clang-format off
            {true, 10, 20, true},       {true, 20, 10, false},     {true, 19, 10, true},
            {true, 15, 15, true},       {true, 15, 16, false},     {true, 14, 16, true},
            {true, 30, 20, false},      {true, 4, 0, false},       {true, 0, 0, false},
            {false, 4572, 4572, true},  {false, 4572, 4573, false}, {false, 6000, 3000, false},
            {false, 5999, 3000, true},  {false, 1200, 1200, true},
            {false, 2000000000, 2000000000, false},
            // clang-format on
        };
        for (const auto& r : rows)
            QTest::addRow("%s %dx%d", r.feet ? "ft" : "mm", r.leng, r.wid)
                << r.feet << r.leng << r.wid << r.small;
    }
    void smallRoomsAreWarnedAgainst() {
        QFETCH(bool, feet);
        QFETCH(int, leng);
        QFETCH(int, wid);
        QFETCH(bool, small);
        QCOMPARE(IsSmallRoom(Room(feet, leng, wid)), small);
    }
};

QTEST_GUILESS_MAIN(TestCalculate)
#include "tst_calculate.moc"
