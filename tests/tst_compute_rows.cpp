// The design rule for one room dimension: the nominal spacing chosen from the location and the
// ceiling conditions, the row count, spacing and edge distance at every boundary of the rule,
// and the promise that the rows always fill the dimension exactly. Also the unit tables the
// rule reads and the completeness tests that decide when it may run.
#include "core/compute_rows.h"
#include "core/unit_data.h"

#include <QtTest>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

struct Conditions {
    bool feet = true;
    int loc = AboveCeiling, plenum = 0, ceil = 0, ht = 0, batts = 0, structHt = 0;
};

struct Layout {
    bool feet;
    int S, dimen, rows, spc;
    float half;
};

struct Rows {
    std::int32_t n = -7, spc = -7;
    float half = -7;
};

DesignState Loaded(bool feet) {
    DesignState s;
    s.MeasFeet = feet;
    LoadUnitTables(s);
    return s;
}

DesignState Make(const Conditions& c) {
    DesignState s = Loaded(c.feet);
    s.MaskLoc = std::int16_t(c.loc);
    s.PlenumSel = std::int16_t(c.plenum);
    s.CeilSel = std::int16_t(c.ceil);
    s.CeilHtSel = std::int16_t(c.ht);
    s.BattsSel = std::int16_t(c.batts);
    s.StructHt = c.structHt;
    return s;
}

// A suspended ceiling whose one table cell in use holds the given spacing.
DesignState WithSpacing(bool feet, int S) {
    DesignState s = Make({feet, AboveCeiling, 1, 1, 1});
    s.SpcTable(1, 1) = S;
    return s;
}

// Both edges and the gaps between the rows add up to the dimension, and the edge is a whole or
// half unit held exactly.
bool FillsExactly(const Rows& r, std::int32_t d) {
    const double edges = 2.0 * double(r.half);
    return r.n >= 1 && r.half >= 0 && edges == std::floor(edges) &&
           edges + double(r.n - 1) * r.spc == double(d) && (r.n == 1) == (r.spc == 0);
}

const char* Unit(bool feet) {
    return feet ? "ft" : "mm";
}

} // namespace

Q_DECLARE_METATYPE(Conditions)
Q_DECLARE_METATYPE(Layout)

class TestComputeRows : public QObject {
    Q_OBJECT
  private slots:
    void nominalSpacingFollowsLocationAndConditions_data() {
        QTest::addColumn<Conditions>("c");
        QTest::addColumn<int>("S");
        const struct {
            bool feet;
            int plenum, ceil, ht, batts, S;
        } ceiling[] = {
            {true, 1, 1, 1, 0, 11},    {true, 1, 5, 1, 0, 17},    {true, 4, 1, 1, 0, 14},
            {true, 4, 5, 1, 0, 20},    {true, 1, 1, 2, 0, 12},    {true, 1, 1, 1, 1, 10},
            {true, 1, 1, 1, 2, 10},    {true, 2, 3, 2, 1, 15},    {true, 4, 5, 2, 0, 21},
            {false, 1, 1, 1, 0, 3300}, {false, 1, 3, 1, 0, 4200}, {false, 4, 5, 1, 0, 6000},
            {false, 1, 1, 2, 0, 3600}, {false, 1, 1, 1, 1, 3000}, {false, 2, 3, 2, 1, 4500},
        };
        for (const auto& r : ceiling)
            QTest::addRow("%s cell %d,%d height %d batts %d", Unit(r.feet), r.plenum, r.ceil, r.ht,
                          r.batts)
                << Conditions{r.feet, AboveCeiling, r.plenum, r.ceil, r.ht, r.batts} << r.S;
        // The suspended-ceiling picks are left set: an open ceiling must not read them.
        const struct {
            bool feet;
            int structHt, batts, S;
        } open[] = {
            {true, 0, 0, 11},       {true, 13, 0, 11},      {true, 14, 0, 12},
            {true, 18, 0, 12},      {true, 19, 0, 13},      {true, 25, 0, 13},
            {true, 26, 0, 14},      {true, 26, 2, 13},      {false, 3647, 0, 3300},
            {false, 3648, 0, 3600}, {false, 3948, 0, 3600}, {false, 3949, 0, 4200},
            {false, 4247, 0, 4200}, {false, 4248, 0, 3900}, {false, 5448, 0, 3900},
            {false, 5449, 0, 4200}, {false, 3647, 1, 3000}, {false, 4000, 2, 3900},
        };
        for (const auto& r : open)
            QTest::addRow("%s open %d batts %d", Unit(r.feet), r.structHt, r.batts)
                << Conditions{r.feet, OpenCeiling, 4, 5, 2, r.batts, r.structHt} << r.S;
        QTest::newRow("ft access floor") << Conditions{true, AccessFloor, 4, 5, 2, 1, 30} << 16;
        QTest::newRow("ft bare access floor") << Conditions{true, AccessFloor} << 16;
        QTest::newRow("mm access floor")
            << Conditions{false, AccessFloor, 1, 1, 2, 2, 6000} << 4880;
    }
    void nominalSpacingFollowsLocationAndConditions() {
        QFETCH(Conditions, c);
        QFETCH(int, S);
        DesignState s = Make(c);
        QCOMPARE(NominalSpacing(s).value_or(-1), S);
        Rows r;
        QVERIFY(ComputeRows(s, 100000, r.n, r.spc, r.half));
        QCOMPARE(s.NomSpc, S);
    }

    void incompleteConditionsAreRefusedLeavingResults_data() {
        QTest::addColumn<Conditions>("c");
        QTest::addColumn<int>("dimen");
        QTest::newRow("no plenum band") << Conditions{true, AboveCeiling, 0, 1, 1} << 40;
        QTest::newRow("no tile type") << Conditions{true, AboveCeiling, 1, 0, 1} << 40;
        QTest::newRow("plenum band 5") << Conditions{true, AboveCeiling, 5, 1, 1} << 40;
        QTest::newRow("tile type 6") << Conditions{false, AboveCeiling, 1, 6, 1} << 40;
        QTest::newRow("negative band") << Conditions{true, AboveCeiling, -1, 1, 1} << 40;
        QTest::newRow("no location") << Conditions{true, 0, 1, 1, 1} << 40;
        QTest::newRow("location 4") << Conditions{true, 4, 1, 1, 1} << 40;
        QTest::newRow("negative dimension") << Conditions{true, AboveCeiling, 1, 1, 1} << -1;
    }
    void incompleteConditionsAreRefusedLeavingResults() {
        QFETCH(Conditions, c);
        QFETCH(int, dimen);
        DesignState s = Make(c);
        s.NomSpc = -7;
        Rows r;
        QVERIFY(!ComputeRows(s, dimen, r.n, r.spc, r.half));
        QCOMPARE(r.n, -7);
        QCOMPARE(r.spc, -7);
        QCOMPARE(r.half, -7.0f);
        QCOMPARE(s.NomSpc, -7);
    }

    void rowsSpacingAndEdgesAtRuleBoundaries_data() {
        QTest::addColumn<Layout>("e");
        // clang-format off
        const Layout rows[] = {
            {true, 10, 0, 1, 0, 0},    {true, 10, 8, 1, 0, 4},       {true, 10, 10, 1, 0, 5},
            {true, 10, 11, 2, 6, 2.5}, {true, 10, 13, 2, 6, 3.5},    {true, 10, 15, 2, 8, 3.5},
            {true, 10, 20, 2, 10, 5},  {true, 10, 21, 2, 10, 5.5},   {true, 10, 42, 4, 10, 6},
            {true, 10, 45, 5, 9, 4.5}, {true, 10, 48, 5, 10, 4},     {true, 10, 165, 17, 9, 10.5},
            {true, 12, 12, 1, 0, 6},   {true, 12, 13, 2, 6, 3.5},    {true, 12, 24, 2, 12, 6},
            {true, 12, 25, 2, 12, 6.5}, {true, 12, 51, 4, 12, 7.5},  {true, 12, 52, 5, 11, 4},
            {true, 12, 56, 5, 11, 6},  {true, 12, 57, 5, 12, 4.5},
            {false, 4200, 4200, 1, 0, 2100},      {false, 4200, 4201, 2, 2100, 1050.5},
            {false, 4200, 8400, 2, 4200, 2100},   {false, 4200, 8401, 2, 4200, 2100.5},
            {false, 4200, 10500, 2, 4200, 3150},  {false, 4200, 12500, 2, 4200, 4150},
            {false, 4200, 12599, 2, 4200, 4199.5}, {false, 4200, 12600, 3, 4200, 2100},
        };
        // clang-format on
        for (const auto& r : rows)
            QTest::addRow("%s S=%d D=%d", Unit(r.feet), r.S, r.dimen) << r;
    }
    void rowsSpacingAndEdgesAtRuleBoundaries() {
        QFETCH(Layout, e);
        DesignState s = WithSpacing(e.feet, e.S);
        Rows r;
        QVERIFY(ComputeRows(s, e.dimen, r.n, r.spc, r.half));
        QCOMPARE(r.n, e.rows);
        QCOMPARE(r.spc, e.spc);
        QCOMPARE(r.half, e.half);
    }

    void rowsAlwaysFillTheDimensionExactly_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<int>("S");
        for (int S : {10, 11, 12, 16, 20, 21})
            QTest::addRow("ft S=%d", S) << true << S;
        for (int S : {3000, 4200, 4880, 6300})
            QTest::addRow("mm S=%d", S) << false << S;
    }
    void rowsAlwaysFillTheDimensionExactly() {
        QFETCH(bool, feet);
        QFETCH(int, S);
        DesignState s = WithSpacing(feet, S);
        for (std::int32_t d = 0; d <= (feet ? 2000 : 300000); d += feet ? 1 : 7) {
            Rows r;
            QVERIFY2(ComputeRows(s, d, r.n, r.spc, r.half), qPrintable(QString::number(d)));
            QVERIFY2(FillsExactly(r, d) && r.spc <= S, qPrintable(QString::number(d)));
            // In millimetres the remainder never adds a row: Int(Dimen / S) at nominal spacing.
            if (!feet && d > 2 * S)
                QVERIFY(r.n == d / S && r.spc == S);
        }
    }

    void hugeDimensionsGiveAnExactLayoutOrNone_data() { rowsAlwaysFillTheDimensionExactly_data(); }
    void hugeDimensionsGiveAnExactLayoutOrNone() {
        QFETCH(bool, feet);
        QFETCH(int, S);
        DesignState s = WithSpacing(feet, S);
        constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
        for (std::int32_t d :
             {1 << 24, (1 << 24) + 1, 99999999, 1 << 30, 1000000007, kMax - S, kMax - 1, kMax}) {
            Rows r;
            if (ComputeRows(s, d, r.n, r.spc, r.half))
                QVERIFY2(FillsExactly(r, d), qPrintable(QString::number(d)));
            else
                QCOMPARE(r.n, -7);
        }
    }

    void unitTablesLoadForEachSystem_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<QStringList>("texts"); // plenum 1, plenum 4, ceiling height 2
        QTest::addColumn<int>("cell11");
        QTest::addColumn<int>("cell45");
        QTest::newRow("feet") << true
                              << QStringList{"Between 0 and 1", "More than 6", "higher than 12"}
                              << 11 << 20;
        QTest::newRow("mm") << false
                            << QStringList{"Between 0 and 300", "More than 1800",
                                           "higher than 3600"}
                            << 3300 << 6000;
    }
    void unitTablesLoadForEachSystem() {
        QFETCH(bool, feet);
        QFETCH(QStringList, texts);
        QFETCH(int, cell11);
        QFETCH(int, cell45);
        const DesignState s = Loaded(feet), ft = Loaded(true);
        QCOMPARE(QString::fromStdString(s.PlenumText(1)), texts[0]);
        QCOMPARE(QString::fromStdString(s.PlenumText(4)), texts[1]);
        QCOMPARE(QString::fromStdString(s.CeilHtText(2)), texts[2]);
        QCOMPARE(s.CeilText(1), std::string("Fiberglass, No Foil Backing"));
        QCOMPARE(s.CeilText(5), std::string("Gypsum Board"));
        QVERIFY(s.PlenumText(5).empty());
        QCOMPARE(s.SpcTable(1, 1), cell11);
        QCOMPARE(s.SpcTable(4, 5), cell45);
        for (int band = 1; band <= 4; ++band)
            for (int type = 1; type <= 5; ++type)
                QCOMPARE(s.SpcTable(band, type), (feet ? 1 : 300) * ft.SpcTable(band, type));
    }

    void tablesRefuseIndexesOutsideTheirRange() {
        DesignState s;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.PlenumText(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.PlenumText(11));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.CeilHtText(3));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.SpcTable(0, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.SpcTable(5, 1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.SpcTable(1, 0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, s.SpcTable(1, 6));
        s.PlenumText(10) = "last";
        QCOMPARE(s.PlenumText(10), std::string("last"));
    }

    void conditionsAreCompleteOnlyWithEveryPick_data() {
        QTest::addColumn<Conditions>("c");
        QTest::addColumn<bool>("complete");
        QTest::newRow("none") << Conditions{} << false;
        QTest::newRow("no plenum") << Conditions{true, 1, 0, 1, 1} << false;
        QTest::newRow("no tile") << Conditions{true, 1, 1, 0, 1} << false;
        QTest::newRow("no height") << Conditions{true, 1, 1, 1, 0} << false;
        QTest::newRow("lowest picks") << Conditions{true, 1, 1, 1, 1} << true;
        QTest::newRow("highest picks") << Conditions{true, 1, 4, 5, 2} << true;
    }
    void conditionsAreCompleteOnlyWithEveryPick() {
        QFETCH(Conditions, c);
        QFETCH(bool, complete);
        DesignState s = Make(c);
        QCOMPARE(CeilingData(s), complete);
        QVERIFY(!OpenCeilingData(s));
        s.StructHt = 1;
        QVERIFY(OpenCeilingData(s));
    }
};

QTEST_GUILESS_MAIN(TestComputeRows)
#include "tst_compute_rows.moc"
