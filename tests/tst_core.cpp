// The design without its window: how typed texts become numbers and numbers texts, the nominal
// spacing chosen from the location and conditions, the rows, spacing and edges of one dimension
// at every boundary of the rule (and that they always fill it exactly), and the small-room test.
#include "core/calculate.h"
#include "core/compute_rows.h"
#include "core/design_workflow.h"
#include "core/number_text.h"
#include "core/unit_data.h"

#include <QtTest>

#include <array>
#include <cmath>

const auto At = [](auto a, auto b) { return QByteArray::number(a) + ' ' + QByteArray::number(b); };

class TestCore : public QObject {
    Q_OBJECT
  private slots:
    // A typed text reads as its leading number; entries and spacings round halves to even; the
    // report's patterns round them away from zero, and "##.0" drops the digit before the point
    // below 1.
    void numbersAreReadRoundedAndWritten() {
        const std::string nines(400, '9');
        // clang-format off
        const std::pair<std::string, double> typed[] = {
            {"12.6", 12.6}, {"1 2", 12}, {"12a3", 12}, {"a12", 0}, {"0020", 20}, {"1.2.3", 1.2}, {"", 0},
            {"-5", -5}, {"+7", 7}, {"\t1\n2", 12}, {"1e3", 1}, {"0x1A", 0}, {".5", 0.5}, {"- 5", -5},
            {"+-5", 0}, {"1,5", 1}, {"12 .5", 12.5}, {nines, HUGE_VAL}, {"-" + nines, -HUGE_VAL}};
        const struct { const char* pattern; double x; const char* text; } patterns[] = {
            {"####0", 0, "0"}, {"####0", 4150.5, "4151"}, {"####0", 4150.4, "4150"}, {"####", 0.4, ""},
            {"####", 0.5, "1"}, {"#0.0", 0.5, "0.5"}, {"#0.0", 3.45f, "3.5"}, {"#0.0", 0, "0.0"},
            {"##.0", 0.5, ".5"}, {"##.0", 0.96, "1.0"}, {"##.0", 12.25, "12.3"}};
        // clang-format on
        for (const auto& [text, value] : typed)
            QVERIFY2(ReadLeadingNumber(text) == value, text.c_str());
        for (const auto& [x, r] : {std::pair{2.5, 2.0}, {3.5, 4.0}, {-2.5, -2.0}, {2.5001, 3.0}})
            QVERIFY2(RoundHalfEven(x) == r, At(x, r));
        for (const auto& r : patterns)
            QVERIFY2(PatternText(r.pattern, r.x) == r.text, r.pattern + At(r.x, 0));
        QCOMPARE(SignedText(std::int64_t{3000000000}) + SignedText(std::int64_t{-3}) +
                     SignedText(3.5f) + SignedText(5.0f) + SignedText(1234567.5f),
                 " 3000000000-3 3.5 5 1234568");
    }

    void spacingTableHoldsBothUnits() {
        const int byTile[] = {0, 2, 3, 4, 6}; // band 1: 11 13 14 15 17; each band adds 1
        for (int cell = 0; cell < 40; ++cell) // feet, then millimetres
            QCOMPARE(UnitDataFor(cell < 20 ? Units::Feet : Units::Millimetres)
                         .spacing[cell / 5 % 4][cell % 5],
                     (11 + cell / 5 % 4 + byTile[cell % 5]) * (cell < 20 ? 1 : 300));
    }

    // The step adjustments of a suspended ceiling, every open-ceiling band edge in both units
    // (the suspended-ceiling picks left set, to be ignored) and the fixed access-floor spacing.
    void nominalSpacingFollowsLocationAndConditions() {
        // Feet (1) or millimetres (0), location, plenum band, tile type, height band, absorption,
        // structural height; then the spacing.
        // clang-format off
        const std::array<int, 8> rows[] = {
            {1, 1, 1, 1, 1, 0, 0, 11}, {1, 1, 1, 1, 2, 0, 0, 12}, {1, 1, 1, 1, 1, 2, 0, 10},
            {1, 1, 2, 3, 2, 1, 0, 15}, {0, 1, 1, 1, 2, 0, 0, 3600}, {0, 1, 1, 1, 1, 1, 0, 3000},
            {1, 2, 4, 5, 2, 0, 13, 11}, {1, 2, 4, 5, 2, 0, 14, 12}, {1, 2, 4, 5, 2, 0, 18, 12},
            {1, 2, 4, 5, 2, 0, 19, 13}, {1, 2, 4, 5, 2, 0, 25, 13}, {1, 2, 4, 5, 2, 0, 26, 14},
            {1, 2, 4, 5, 2, 2, 26, 13}, {0, 2, 4, 5, 2, 0, 3647, 3300}, {0, 2, 4, 5, 2, 0, 3648, 3600},
            {0, 2, 4, 5, 2, 0, 3948, 3600}, {0, 2, 4, 5, 2, 0, 3949, 4200}, {0, 2, 4, 5, 2, 0, 4247, 4200},
            {0, 2, 4, 5, 2, 0, 4248, 3900}, {0, 2, 4, 5, 2, 0, 5448, 3900}, {0, 2, 4, 5, 2, 0, 5449, 4200},
            {0, 2, 0, 0, 0, 1, 3647, 3000}, {1, 3, 4, 5, 2, 1, 30, 16}, {0, 3, 1, 1, 2, 2, 6000, 4880}};
        // clang-format on
        for (const auto& r : rows) {
            DesignState s; // clang-format off
            s.units = r[0] ? Units::Feet : Units::Millimetres, s.location = Location(r[1]), s.absorption = Absorption(r[5]);
            s.plenumDepth = std::int16_t(r[2]), s.ceilingType = std::int16_t(r[3]), s.ceilingHeight = std::int16_t(r[4]);
            s.structuralHeight = r[6]; // clang-format on
            QVERIFY2(NominalSpacing(s) == r[7], At(r[1], r[6]));
        }
    }

    // One row up to S; two up to 2 x S, the spacing D / 2 with halves to even; beyond that
    // a fraction up to 0.25 keeps the rows, from 0.75 adds one at S, between adds one at S - 1.
    // In millimetres the fraction is held against 7.5 and 22.5, so no row is ever added.
    void rowsSpacingAndEdges() {
        // clang-format off
        const std::array<double, 6> rows[] = { // feet, S, D; then rows, spacing, edge
            {1, 10, 0, 1, 0, 0}, {1, 10, 10, 1, 0, 5}, {1, 10, 11, 2, 6, 2.5}, {1, 10, 13, 2, 6, 3.5},
            {1, 10, 15, 2, 8, 3.5}, {1, 10, 20, 2, 10, 5}, {1, 10, 21, 2, 10, 5.5}, {1, 10, 45, 5, 9, 4.5},
            {1, 12, 51, 4, 12, 7.5}, {1, 12, 52, 5, 11, 4}, {1, 12, 57, 5, 12, 4.5}, {0, 4200, 4200, 1, 0, 2100},
            {0, 4200, 4201, 2, 2100, 1050.5}, {0, 4200, 12599, 2, 4200, 4199.5}, {0, 4200, 12600, 3, 4200, 2100}};
        // clang-format on
        for (const auto& r : rows) {
            const auto l = ComputeRows(std::int32_t(r[1]), std::int32_t(r[2]),
                                       r[0] ? Units::Feet : Units::Millimetres);
            QVERIFY2(l && *l == (RowLayout{int(r[3]), int(r[4]), float(r[5])}), At(r[1], r[2]));
        }
        // Edge + (rows - 1) x spacing + edge is every dimension the boxes accept.
        for (const std::int32_t S : {10, 12, 16, 21, 3000, 4200, 4880})
            for (std::int32_t d = 0; d <= (S < 100 ? 1000 : 300000); d += S < 100 ? 1 : 7) {
                // clang-format off
                const RowLayout l = ComputeRows(S, d, S < 100 ? Units::Feet : Units::Millimetres).value_or(RowLayout{});
                QVERIFY2(l.rows >= 1 && (l.rows == 1) == (l.spacing == 0) && l.spacing <= S &&
                             2.0 * l.edge + double(l.rows - 1) * l.spacing == d, At(S, d));
                // clang-format on
            }
    }

    // The result lines, singular and plural, in both units.
    void resultLinesAreSentences() {
        // clang-format off
        const struct { bool feet; int leng, wid; QStringList lines; } rows[] = {
            {true, 12, 10, {"Length: There is 1 row 6 ft. from each wall.",
                            "Width: There is 1 row 5 ft. from each wall.", "There is 1 masking speaker.",
                            "Estimated length of zone wiring at 20 feet per speaker is 20 feet"}},
            {false, 9760, 4880, {"Length: There are 2 rows 4880 mm. apart. Edges are 2440 mm. from walls.",
                                 "Width: There is 1 row 2440 mm. from each wall.", "There are 2 masking speakers.",
                                 "Estimated length of zone wiring at 6 meters per speaker is 12 meters"}}};
        // clang-format on
        for (const auto& r : rows) {
            DesignState s; // below an access floor: 16 ft or 4880 mm apart
            // clang-format off
            s.units = r.feet ? Units::Feet : Units::Millimetres, s.location = Location::AccessFloor, s.length = r.leng;
            s.width = r.wid;
            QVERIFY(ComputeDesign(s));
            QStringList lines;
            for (const std::string& line : ResultLines(s)) lines << QString::fromStdString(line);
            // clang-format on
            QCOMPARE(lines, r.lines);
        }
    }

    // Small: shorter than twice the width and at most 225 sq ft (in millimetres the same area,
    // 4572 mm being 15 ft). A zero width is never small. Only a wider room is turned round.
    void smallRoomsAreWarnedAgainst() {
        // clang-format off
        const struct { bool feet; int leng, wid; bool small; } rows[] = {
            {true, 10, 20, true}, {true, 19, 10, true}, {true, 20, 10, false}, {true, 15, 15, true},
            {true, 15, 16, false}, {true, 4, 0, false}, {false, 4572, 4572, true}, {false, 4572, 4573, false},
            {false, 5999, 3000, true}, {false, 6000, 3000, false}, {false, 2000000000, 2000000000, false}};
        // clang-format on
        for (const auto& r : rows) {
            DesignState s;
            s.units = r.feet ? Units::Feet : Units::Millimetres, s.length = r.leng, s.width = r.wid;
            QVERIFY2(IsSmallRoom(s) == r.small && OrientRoom(s) == (r.wid > r.leng),
                     At(r.leng, r.wid));
        }
    }

    // A session as the window runs it: each action and what it did (1 threw the results away,
    // 0 kept them, x/a a Calculate that did or did not exchange the sides, - one refused, n a
    // location refused before the units), then whether results are on show, whether Calculate
    // may run, and the location in force. f/m units; l location; p/t/h a list's row; a the
    // absorption; s the structural height; L/W a dimension; c Calculate; d discard.
    void workflowKeepsOnlyResultsThatStillHold() {
        // clang-format off
        const struct { const char* actions; const char* did; bool shown, allowed; int location; } rows[] = {
            {"f p1 t1 h1 L30 W20 c", ".000..a", true, true, 1},
            {"f p1 t1 h1 L30 W20 c p1 t1 h1", ".000..a000", true, true, 1},
            {"f p1 t1 h1 L30 W20 c h2", ".000..a1", false, true, 1},
            {"f p1 t1 h1 L30 W20 c a0 a1", ".000..a01", false, true, 1},
            {"f p1 t1 h1 L30 W20 c a1 c a1 a0", ".000..a1a01", false, true, 1},
            {"f p1 m p2 t1 h1 L20 W30 c", ".0.100..x", true, true, 1},
            {"f l2 L30 W20 c", "....-", false, false, 2}, {"f l3 L20 W30 c d", "....x.", false, true, 3},
            {"f l3 L30 W20 c l3", "....a.", false, false, 3}, {"f l3 L30 W20 c m", "....a.", false, false, 1},
            {"f l2 s12 L30 W20 c s13", "..1..a1", false, true, 2}, {"l2 f", "n.", false, false, 1},
            {"f l2 s13 L30 W20 c s12", "..1..a1", false, true, 2}, {"f l3 L30 W0 c", "....-", false, false, 3},
            {"f p1 t1 L30 W20 c", ".00..-", false, false, 1},
            {"f l2 s12 L30 W20 c s12", "..1..a0", true, true, 2}};
        // clang-format on
        for (const auto& r : rows) {
            DesignWorkflow w;
            w.start();
            QString did;
            for (const QString& a : QString(r.actions).split(' ')) {
                const int n = a.mid(1).toInt();
                const auto flag = [&](bool b) { did += b ? '1' : '0'; };
                // clang-format off
                switch (a[0].toLatin1()) {
                case 'f': case 'm': w.chooseUnits(a == "f" ? Units::Feet : Units::Millimetres), did += '.'; break;
                case 'l': did += w.chooseLocation(Location(n)) ? '.' : 'n'; break;
                case 'p': flag(w.pick(CeilingList::PlenumDepth, std::int16_t(n))); break;
                case 't': flag(w.pick(CeilingList::CeilingType, std::int16_t(n))); break;
                case 'h': flag(w.pick(CeilingList::CeilingHeight, std::int16_t(n))); break;
                case 'a': flag(w.tickAbsorption(Absorption(n))); break;
                case 's': flag(w.commitStructuralHeight(n)); break;
                case 'L': w.commitDimension(EntryBox::Length, n), did += '.'; break;
                case 'W': w.commitDimension(EntryBox::Width, n), did += '.'; break;
                case 'd': w.discardResults(), did += '.'; break;
                default: const auto o = w.calculate(); did += !o ? '-' : *o == Orientation::Exchanged ? 'x' : 'a';
                }
                // clang-format on
            }
            const DesignState& s = w.state();
            // clang-format off
            QVERIFY2(did == r.did && w.resultsShown() == r.shown && w.calculateAllowed() == r.allowed &&
                         int(s.location) == r.location && (!r.shown || s.alongLength.rows > 0) && s.length >= s.width * r.shown,
                     r.actions);
            // clang-format on
        }
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
