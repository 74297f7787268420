// The Calculate command without its window: the four result lines written to the character,
// with speaker counts and wiring estimates beyond 16 bits, and the small-room test made when
// the button receives the focus.
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
    s.PlenumSel = s.CeilHtSel = 1;
    s.CeilSel = feet ? 1 : 3;
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
        QTest::newRow("12500x8400 mm")
            << false << 12500 << 8400
            << QStringList{
                   "Length: There are 2 rows 4200 mm. apart. Edges are 4150 mm. from walls.",
                   " Width: There are 2 rows 4200 mm. apart. Edges are 2100 mm. from walls.",
                   "There are 4 masking speakers.",
                   "Estimated length of zone wiring at 6 meters per speaker is 24 meters"};
        QTest::newRow("40000 speakers ft") // count and wiring beyond 16 bits, not wrapped
            << true << 2000 << 2000
            << QStringList{"Length: There are 200 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           " Width: There are 200 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           "There are 40000 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 800000 feet"};
    }
    void resultLinesDescribeTheDesign() {
        QFETCH(bool, feet);
        QFETCH(int, leng);
        QFETCH(int, wid);
        DesignState s = Room(feet, leng, wid);
        QVERIFY(ComputeDesign(s));
        QStringList lines;
        for (const std::string& line : ResultLines(s))
            lines << QString::fromStdString(line);
        QTEST(lines, "lines");
    }

    // Small: shorter than twice the width and at most 225 sq ft (in millimetres the same area,
    // 4572 mm being 15 ft). A zero width is never small.
    void smallRoomsAreWarnedAgainst() {
        // clang-format off
        const struct { bool feet; int leng, wid; bool small; } rows[] = {
            {true, 10, 20, true},      {true, 19, 10, true},       {true, 20, 10, false},
            {true, 15, 15, true},      {true, 15, 16, false},      {true, 4, 0, false},
            {false, 4572, 4572, true}, {false, 4572, 4573, false}, {false, 5999, 3000, true},
            {false, 6000, 3000, false}, {false, 2000000000, 2000000000, false}};
        // clang-format on
        for (const auto& r : rows)
            QVERIFY2(IsSmallRoom(Room(r.feet, r.leng, r.wid)) == r.small,
                     qPrintable(QString("%1 x %2").arg(r.leng).arg(r.wid)));
    }
};

QTEST_GUILESS_MAIN(TestCalculate)
#include "tst_calculate.moc"
