// The design rule for one room dimension: the nominal spacing chosen from the location and the
// ceiling conditions, the row count, spacing and edge distance at every boundary of the rule,
// and the promise that the rows always fill the dimension exactly.
#include "core/compute_rows.h"
#include "core/unit_data.h"

#include <QtTest>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Feet (1) or millimetres (0), location, plenum band, tile type, height band, absorption and
// structural height.
using Picks = std::array<int, 7>;

struct Rows {
    std::int32_t n = -7, spc = -7;
    float half = -7;
};

DesignState Make(const Picks& c) {
    DesignState s;
    s.MeasFeet = c[0];
    LoadUnitTables(s);
    s.MaskLoc = std::int16_t(c[1]);
    s.PlenumSel = std::int16_t(c[2]);
    s.CeilSel = std::int16_t(c[3]);
    s.CeilHtSel = std::int16_t(c[4]);
    s.BattsSel = std::int16_t(c[5]);
    s.StructHt = c[6];
    return s;
}

// A suspended ceiling whose one table cell in use holds the given spacing.
DesignState WithSpacing(bool feet, int S) {
    DesignState s = Make({feet, AboveCeiling, 1, 1, 1});
    s.SpcTable(1, 1) = S;
    return s;
}

// Both edges and the gaps between the rows add up to the dimension; the edge is a whole or half
// unit held exactly.
bool FillsExactly(const Rows& r, std::int32_t d) {
    const double edges = 2.0 * double(r.half);
    return r.n >= 1 && r.half >= 0 && edges == std::floor(edges) &&
           edges + double(r.n - 1) * r.spc == double(d) && (r.n == 1) == (r.spc == 0);
}

} // namespace

Q_DECLARE_METATYPE(Picks)

class TestComputeRows : public QObject {
    Q_OBJECT
  private slots:
    void spacingTableHoldsBothUnits() {
        const int byTile[] = {0, 2, 3, 4, 6}; // band 1: 11 13 14 15 17; each band adds 1
        for (const bool feet : {true, false})
            for (int band = 1; band <= 4; ++band)
                for (int tile = 1; tile <= 5; ++tile)
                    QCOMPARE(Make({feet}).SpcTable(band, tile),
                             (10 + band + byTile[tile - 1]) * (feet ? 1 : 300));
    }

    // The step adjustments of a suspended ceiling, every open-ceiling band edge in both units
    // (the suspended-ceiling picks left set, to be ignored) and the fixed access-floor spacing.
    void nominalSpacingFollowsLocationAndConditions_data() {
        QTest::addColumn<Picks>("c");
        QTest::addColumn<int>("S");
        // clang-format off
        const int rows[][8] = {
            {1, 1, 1, 1, 1, 0, 0, 11},   {1, 1, 4, 5, 1, 0, 0, 20},    {1, 1, 1, 1, 2, 0, 0, 12},
            {1, 1, 1, 1, 1, 2, 0, 10},   {1, 1, 2, 3, 2, 1, 0, 15},    {0, 1, 4, 5, 1, 0, 0, 6000},
            {0, 1, 1, 1, 2, 0, 0, 3600}, {0, 1, 1, 1, 1, 1, 0, 3000},  {1, 2, 4, 5, 2, 0, 0, 11},
            {1, 2, 4, 5, 2, 0, 13, 11},  {1, 2, 4, 5, 2, 0, 14, 12},   {1, 2, 4, 5, 2, 0, 18, 12},
            {1, 2, 4, 5, 2, 0, 19, 13},  {1, 2, 4, 5, 2, 0, 25, 13},   {1, 2, 4, 5, 2, 0, 26, 14},
            {1, 2, 4, 5, 2, 2, 26, 13},  {0, 2, 4, 5, 2, 0, 3647, 3300}, {0, 2, 4, 5, 2, 0, 3648, 3600},
            {0, 2, 4, 5, 2, 0, 3948, 3600}, {0, 2, 4, 5, 2, 0, 3949, 4200}, {0, 2, 4, 5, 2, 0, 4247, 4200},
            {0, 2, 4, 5, 2, 0, 4248, 3900}, {0, 2, 4, 5, 2, 0, 5448, 3900}, {0, 2, 4, 5, 2, 0, 5449, 4200},
            {0, 2, 0, 0, 0, 1, 3647, 3000}, {1, 3, 4, 5, 2, 1, 30, 16}, {1, 3, 0, 0, 0, 0, 0, 16},
            {0, 3, 1, 1, 2, 2, 6000, 4880}};
        // clang-format on
        for (const auto& r : rows)
            QTest::addRow("%s loc %d picks %d %d %d batts %d height %d", r[0] ? "ft" : "mm", r[1],
                          r[2], r[3], r[4], r[5], r[6])
                << Picks{r[0], r[1], r[2], r[3], r[4], r[5], r[6]} << r[7];
    }
    void nominalSpacingFollowsLocationAndConditions() {
        QFETCH(Picks, c);
        QFETCH(int, S);
        DesignState s = Make(c);
        Rows r;
        QVERIFY(ComputeRows(s, 100000, r.n, r.spc, r.half));
        QCOMPARE(s.NomSpc, S);
    }

    // Whether the rule runs, and CeilingData; a refused call changes neither results nor NomSpc.
    void conditionsDecideWhetherTheRuleMayRun_data() {
        QTest::addColumn<Picks>("c");
        QTest::addColumn<int>("dimen");
        QTest::addColumn<bool>("computes");
        QTest::addColumn<bool>("complete");
        // clang-format off
        const int rows[][8] = { // feet, location, plenum, tile, height band, D; computes, complete
            {1, 1, 4, 5, 2, 40, 1, 1}, {1, 1, 0, 1, 1, 40, 0, 0}, {1, 1, 1, 0, 1, 40, 0, 0},
            {1, 1, 1, 1, 0, 40, 1, 0}, {1, 1, 5, 1, 1, 40, 0, 1}, {0, 1, 1, 6, 1, 40, 0, 1},
            {1, 0, 1, 1, 1, 40, 0, 1}, {1, 4, 1, 1, 1, 40, 0, 1}, {1, 1, 1, 1, 1, -1, 0, 1}};
        // clang-format on
        for (const auto& r : rows)
            QTest::addRow("%s loc %d picks %d %d %d D=%d", r[0] ? "ft" : "mm", r[1], r[2], r[3],
                          r[4], r[5])
                << Picks{r[0], r[1], r[2], r[3], r[4]} << r[5] << bool(r[6]) << bool(r[7]);
    }
    void conditionsDecideWhetherTheRuleMayRun() {
        QFETCH(Picks, c);
        QFETCH(int, dimen);
        QFETCH(bool, computes);
        DesignState s = Make(c);
        s.NomSpc = -7;
        Rows r;
        QCOMPARE(ComputeRows(s, dimen, r.n, r.spc, r.half), computes);
        if (!computes)
            QVERIFY(r.n == -7 && r.spc == -7 && r.half == -7.0f && s.NomSpc == -7);
        QTEST(CeilingData(s), "complete");
        QVERIFY(!OpenCeilingData(s));
        s.StructHt = 1;
        QVERIFY(OpenCeilingData(s));
    }

    // Case A up to S; case B up to 2 x S, the spacing D / 2 with halves to even; case C beyond:
    // a fraction up to 0.25 keeps the rows, from 0.75 adds one at S, between adds one at S - 1.
    // In millimetres the fraction is held against 7.5 and 22.5, so no row is ever added.
    void rowsSpacingAndEdgesAtRuleBoundaries_data() {
        QTest::addColumn<QList<double>>("e"); // feet, S, D; then rows, spacing, edge
        // clang-format off
        const QList<double> rows[] = {
            {1, 10, 0, 1, 0, 0},    {1, 10, 8, 1, 0, 4},    {1, 10, 10, 1, 0, 5},   {1, 10, 11, 2, 6, 2.5},
            {1, 10, 13, 2, 6, 3.5}, {1, 10, 15, 2, 8, 3.5}, {1, 10, 20, 2, 10, 5},  {1, 10, 21, 2, 10, 5.5},
            {1, 10, 42, 4, 10, 6},  {1, 10, 45, 5, 9, 4.5}, {1, 10, 48, 5, 10, 4},  {1, 12, 51, 4, 12, 7.5},
            {1, 12, 52, 5, 11, 4},  {1, 12, 56, 5, 11, 6},  {1, 12, 57, 5, 12, 4.5},
            {0, 4200, 4200, 1, 0, 2100},    {0, 4200, 4201, 2, 2100, 1050.5}, {0, 4200, 8400, 2, 4200, 2100},
            {0, 4200, 8401, 2, 4200, 2100.5}, {0, 4200, 12500, 2, 4200, 4150},
            {0, 4200, 12599, 2, 4200, 4199.5}, {0, 4200, 12600, 3, 4200, 2100}};
        // clang-format on
        for (const auto& r : rows)
            QTest::addRow("%s S=%g D=%g", r[0] ? "ft" : "mm", r[1], r[2]) << r;
    }
    void rowsSpacingAndEdgesAtRuleBoundaries() {
        QFETCH(QList<double>, e);
        DesignState s = WithSpacing(e[0], int(e[1]));
        Rows r;
        QVERIFY(ComputeRows(s, std::int32_t(e[2]), r.n, r.spc, r.half));
        QCOMPARE(QList<double>({double(r.n), double(r.spc), double(r.half)}), e.mid(3));
    }

    void rowsAlwaysFillTheDimensionExactly() {
        const std::pair<bool, int> spacings[] = {{true, 10},   {true, 12},    {true, 16},
                                                 {true, 21},   {false, 3000}, {false, 4200},
                                                 {false, 4880}};
        for (const auto& [feet, S] : spacings) {
            DesignState s = WithSpacing(feet, S);
            for (std::int32_t d = 0; d <= (feet ? 2000 : 300000); d += feet ? 1 : 7) {
                Rows r;
                QVERIFY2(ComputeRows(s, d, r.n, r.spc, r.half) && FillsExactly(r, d) &&
                             r.spc <= S && (feet || d <= 2 * S || (r.n == d / S && r.spc == S)),
                         qPrintable(QString("S=%1 D=%2").arg(S).arg(d)));
            }
            // Far beyond any room the boxes accept: an exact layout or a refusal, never a wrapped
            // one.
            constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
            for (std::int32_t d : {1 << 24, (1 << 24) + 1, 1000000007, kMax - S, kMax}) {
                Rows r;
                const bool laid = ComputeRows(s, d, r.n, r.spc, r.half);
                QVERIFY2(laid ? FillsExactly(r, d) : r.n == -7,
                         qPrintable(QString("S=%1 D=%2").arg(S).arg(d)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestComputeRows)
#include "tst_compute_rows.moc"
