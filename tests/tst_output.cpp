// What the design looks like on screen and on paper: where the room drawing puts its grey lines
// and black dots, and the composed report, every text and shape to the twip, with the lines left
// out by location and the millimetre formats.
#include "output/print_report.h"
#include "output/retained_drawing.h"
#include "output/room_drawing.h"

#include <QtTest>

// A suspended ceiling: the room, then the rows, spacing and edge along the length and the width.
static DesignState Design(bool feet, int leng, int wid, RowLayout l = {}, RowLayout w = {}) {
    DesignState s;
    s.units = feet ? Units::Feet : Units::Millimetres, s.location = Location::AboveCeiling;
    s.length = leng, s.width = wid, s.alongLength = l, s.alongWidth = w;
    return s;
}

// "grey x1,y1-x2,y2" for a grey line, "dot x,y rRadius" for a filled black circle, "?" else.
static QStringList Drawn(const DesignState& s) {
    RetainedDrawing pic;
    DrawLayout(pic, Design(true, 1, 1, {1}, {1})); // to be erased
    DrawLayout(pic, s);
    QStringList out;
    for (const DrawnShape& d : pic.Shapes())
        out << (d.kind == DrawnShape::Kind::Line && d.colour == QColor(192, 192, 192)
                    ? QString::asprintf("grey %g,%g-%g,%g", d.x1, d.y1, d.x2, d.y2)
                : d.filled && d.colour == Qt::black
                    ? QString::asprintf("dot %g,%g r%g", d.x1, d.y1, d.x2)
                    : "?");
    return out;
}

// The page with the fixed metrics in drawing order: a row per run of texts on one y, "y: x text|x
// text", a size or boldness other than 10-point regular shown as [14b], and a row per run of
// shapes of the same kind and pen, "line w1 s1: x1,y1-x2,y2 ..." or "circle w1 s0 f0 r100:
// x,y ..." (s0 solid, s1 dotted; f0 filled, f1 not; r the radius; a colour not black is named).
static QStringList Page(const DesignState& s) {
    QStringList rows;
    QString last;
    for (const PageItem& i : ComposeReport(s, FixedMetrics())) {
        const auto shape = [](const char* kind, const Pen& p, bool filled, double radius) {
            return QString::asprintf("%s w%d s%d f%d r%g%s:", kind, p.lineWidth, int(p.lineStyle),
                                     !filled, radius, p.colour == Qt::black ? "" : " not black");
        };
        const auto corners = [](double x1, double y1, double x2, double y2) {
            return QString::asprintf("%.0f,%.0f-%.0f,%.0f", x1, y1, x2, y2);
        };
        QString key, item;
        const bool text = std::holds_alternative<PageText>(i);
        if (const auto* t = std::get_if<PageText>(&i)) {
            key = QString::asprintf("%.0f:", t->y);
            item = QString::asprintf(t->fontSize == 10 && !t->bold ? "%.0f " : "%.0f [%.0f%s] ",
                                     t->x, t->fontSize, t->bold ? "b" : "") +
                   QString::fromStdString(t->text);
        } else if (const auto* l = std::get_if<PageLine>(&i)) {
            key = QString::asprintf("line w%d s%d%s:", l->pen.lineWidth, int(l->pen.lineStyle),
                                    l->pen.colour == Qt::black ? "" : " not black");
            item = corners(l->x1, l->y1, l->x2, l->y2);
        } else if (const auto* r = std::get_if<PageRect>(&i)) {
            key = shape("box", r->pen, r->filled, 0), item = corners(r->x1, r->y1, r->x2, r->y2);
        } else if (const auto* d = std::get_if<PageDot>(&i)) {
            key = shape("circle", d->pen, d->filled, d->radius);
            item = QString::asprintf("%.0f,%.0f", d->x, d->y);
        }
        rows << (key == last ? rows.takeLast() + (text ? "|" : " ") : key + " ") + item;
        last = key;
    }
    return rows;
}

class TestOutput : public QObject {
    Q_OBJECT
  private slots:
    // Length rows first, then width rows, then a dot at every crossing, length rows outer; the
    // plan drawn before is erased.
    void roomDrawingPutsLinesAndDotsAtTheRows() {
        // clang-format off
        QCOMPARE(Drawn(Design(true, 30, 20, {3, 10, 5}, {2, 10, 5})),
                 QStringList({"grey 5,0-5,20", "grey 15,0-15,20", "grey 25,0-25,20", "grey 0,5-30,5", "grey 0,15-30,15",
                              "dot 5,5 r1", "dot 5,15 r1", "dot 15,5 r1", "dot 15,15 r1", "dot 25,5 r1", "dot 25,15 r1"}));
        QCOMPARE(Drawn(Design(false, 3000, 2000, {1, 0, 1500}, {1, 0, 1000})),
                 QStringList({"grey 1500,0-1500,2000", "grey 0,1000-3000,1000", "dot 1500,1000 r305"}));
        // clang-format on
    }

    // Other pages from a given row: a single column stands in the middle of the page, both column
    // ticks on it, without a spacing label; the millimetre formats and label positions; the lines
    // whose condition does not hold left out, the rest moving up, the wiring line and title with
    // them; and wiring beyond 16 bits, not wrapped.
    void pageRows() {
        // The worked example, every text and shape to the twip. The fixed metrics' page is 11520
        // twips wide: its middle at 5760, the room drawn from 1260. Characters are 120 twips wide
        // at 10 pt and 168 at 14 pt; a 10 pt line is 240 twips high. Then the last entry of every
        // list, and the open ceiling, in millimetres; a room drawn 9000 x 5062.5 twips, the half
        // rounded to even.
        // clang-format off
        DesignState feet = Design(true, 40, 25, {4, 10, 5}, {3, 9, 3.5}), oneRow = Design(true, 12, 10, {1, 0, 6}, {1, 0, 5});
        feet.plenumDepth = 2, feet.ceilingType = 3, feet.ceilingHeight = 1, feet.absorption = Absorption::BattsOverTiles;
        feet.description = "Open office, level 2", oneRow.location = Location::OpenCeiling;
        oneRow.absorption = Absorption::BattsOverTiles, oneRow.structuralHeight = 14;
        DesignState mm = Design(false, 12500, 8400, {2, 4200, 4150}, {2, 4200, 2100}), lastPicks = mm;
        lastPicks.plenumDepth = 4, lastPicks.ceilingType = 5, lastPicks.ceilingHeight = 2, mm.location = Location::AccessFloor;
        lastPicks.absorption = Absorption::BattsOverTiles;
        DesignState openMm = Design(false, 80, 45, {1, 0, 40}, {1, 0, 22.5});
        openMm.location = Location::OpenCeiling, openMm.structuralHeight = 4000;
        // clang-format on
        // clang-format off
        const struct { DesignState s; int from; QStringList rows; } cases[] = {
            {feet, 0, {"500: 3744 [14b]  MASKING SPEAKER LAYOUT ", "800: 1000 Description: Open office, level 2",
            "1100: 1000 The masking speakers are hung above a suspended ceiling.",
            "1400: 1000 The plenum depth is between between 1 and 3 feet.",
            "1700: 1000 The suspended ceiling is mineral tile.",
            "2000: 1000 There are sound absorption materials in the ceiling plenum.",
            "2300: 1000 The suspended ceiling height is lower than 12 feet.",
            "2600: 1000 Estimated length of zone wiring at 20 feet per speaker is 240 feet",
            "2900: 4560 SPEAKER LAYOUT ARRAY",
            "3140: 1460 DIRECTION|3260 DIMENSION|4780 NR ROWS|6100 SPEAKER SPACING|8340 END SPACING",
            "3500: 1000 ===========================================================================",
            "3800: 2000 Length|3800 40 ft|5200 4|7000 10 ft|9000 5.0 ft",
            "4100: 2000 Width|3800 25 ft|5200 3|7000 9 ft|9000 3.5 ft",
            "4400: 2000 Total number of speakers:|5200 12", "box w3 s0 f1 r0: 1260,5200-10260,10825",
            "line w1 s1: 1260,5987-10260,5987 1260,8012-10260,8012 1260,10037-10260,10037 "
                "2385,5200-2385,10825 4635,5200-4635,10825 6885,5200-6885,10825 9135,5200-9135,10825",
            "line w3 s0: 1260,5200-1260,4700 2385,5200-2385,4700 4635,5200-4635,4700 "
                "1260,5200-760,5200 1260,5987-760,5987 1260,8012-760,8012",
            "4800: 1310 5.0|3410 10|6260 Length Dimension", "5543: 760 3.5", "6949: 760 9.0",
            "circle w1 s0 f0 r100: 2385,5987 2385,8012 2385,10037 4635,5987 4635,8012 4635,10037 "
                "6885,5987 6885,8012 6885,10037 9135,5987 9135,8012 9135,10037"}},
            {oneRow, 2, {"1100: 1000 The masking speakers are hung from the structural ceiling without a "
                             "suspended ceiling.",
                         "1400: 1000 The structural ceiling height is 14 feet.",
                         "1700: 1000 Estimated length of zone wiring at 20 feet per speaker is 20 feet",
                         "2000: 4560 SPEAKER LAYOUT ARRAY"}},
            {oneRow, 12, {"line w1 s1: 1260,8950-10260,8950 5760,5200-5760,12700",
                          "line w3 s0: 1260,5200-1260,4700 5760,5200-5760,4700 5760,5200-5760,4700 "
                              "1260,5200-760,5200 1260,8950-760,8950 1260,8950-760,8950",
                          "4800: 1310 6.0|6260 Length Dimension", "7025: 760 5.0",
                          "circle w1 s0 f0 r100: 5760,8950"}},
            {mm, 2, {"1100: 1000 The masking speakers are placed below a raised access floor.",
                     "1400: 1000 Estimated length of zone wiring at 6 meters per speaker is 24 meters",
                     "1700: 4560 SPEAKER LAYOUT ARRAY"}},
            {mm, 7, {"2600: 2000 Length|3800 12500 mm|5200 2|7000 4200 mm|9000 4150 mm",
                     "2900: 2000 Width|3800 8400 mm|5200 2|7000 4200 mm|9000 2100 mm",
                     "3200: 2000 Total number of speakers:|5200 4"}},
            {Design(true, 600, 600, {60, 10, 5}, {60, 10, 5}), 4,
             {"1700: 1000 Estimated length of zone wiring at 20 feet per speaker is 72000 feet"}},
            {mm, 13, {"4800: 1310 4150|5460 4200|6260 Length Dimension", "5906: 460 2100", "8174: 460 4200"}},
            {lastPicks, 3, {"1400: 1000 The plenum depth is between more than 1800 millimeters.",
                            "1700: 1000 The suspended ceiling is gypsum board.",
                            "2000: 1000 There are sound absorption materials in the ceiling plenum.",
                            "2300: 1000 The suspended ceiling height is higher than 3600 millimeters."}},
            {openMm, 3, {"1400: 1000 There are no sound absorption materials on the structural ceiling.",
                         "1700: 1000 The structural ceiling height is 4000 millimeters."}},
            {openMm, 12, {"box w3 s0 f1 r0: 1260,5200-10260,10262"}}};
        // clang-format on
        for (const auto& c : cases)
            QCOMPARE(Page(c.s).mid(c.from, c.from ? c.rows.size() : -1), c.rows);
    }
};

QTEST_GUILESS_MAIN(TestOutput)
#include "tst_output.moc"
