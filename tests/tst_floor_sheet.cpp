// The floor sheet: the scale a floor is drawn at, where rooms, speakers and labels land on the
// sheet, what the strip below says and how long its scale bar is, and the PDF's page size. All
// positions are worked out by hand: 1 mm is 1440 / 25.4 = 56.6929 twips, and the fixed metrics
// make a character 12 twips per point wide and a line 24 twips per point high. Zone colours are
// the six the header documents, written here as their hexadecimal names.
#include "output/floor_sheet.h"

#include <QProcess>
#include <QTemporaryFile>
#include <QtTest>

using floorplan::Point;

static SheetRoom Rectangle(std::string name, double width, double height,
                           std::vector<Point> speakers = {}, bool flagged = false) {
    return {std::move(name), {{0, 0}, {width, 0}, {width, height}, {0, height}}, speakers, flagged};
}

// A plan of metres or, with feet or inches, an imperial one.
static FloorSheetInput Floor(SheetSize size, double mmPerUnit, std::vector<SheetRoom> rooms,
                             std::vector<std::pair<Point, Point>> walls = {}) {
    const bool imperial = mmPerUnit != 1000;
    return {"level2.dxf", "2026-12-07", mmPerUnit, imperial, imperial ? "ft" : "m",
            rooms,        walls,        size,      {},       std::nullopt};
}

// A 20 x 10 ft lab in a floor from the head-end at (-8, 2) to a wall's end at (20, 24) ft: 28 ft
// fill the 7 in left of the zone column at 1/4" = 1'-0". Zones 1, 2 and 7: 7 takes 1's colour.
static FloorSheetInput ZonedLab() {
    FloorSheetInput lab =
        Floor(SheetSize::Letter, 304.8, {Rectangle("Lab", 20, 10, {{5, 5}, {15, 5}, {10, 8}})},
              {{{0, 0}, {20, 24}}});
    lab.zones = {{1, {{5, 5}}, {{-8, 2}, {5, 2}, {5, 5}}, "Z1  1 speaker"},
                 {2, {{15, 5}}, {{-8, 2}, {15, 2}, {15, 5}}, "Z2  1 speaker"},
                 {7, {{10, 8}}, {{-8, 2}, {-8, 8}, {10, 8}}, "Z7  1 speaker"}};
    lab.headEnd = Point{-8, 2};
    return lab;
}

static QByteArray Colour(const Pen& pen) {
    if (pen.colour == Qt::black)
        return "";
    if (pen.colour == QColor(204, 0, 0))
        return " red";
    return pen.colour == QColor(128, 128, 128) ? " grey" : " " + pen.colour.name().toLatin1();
}

// The items in the drawing area or, with strip, the strip's texts and boxes: "line w2: x1,y1-x2,y2"
// (" red", " grey" or "#rrggbb" after the width of a pen not black), "dot: x,y", "8pt: x,y text"
// ("8ptb" bold), "box: x1,y1-x2,y2" (" filled" after it); dots and filled boxes name a colour too.
static QStringList Rows(const FloorSheet& sheet, double stripTop, bool strip) {
    QStringList rows;
    for (const PageItem& i : sheet.items) {
        double y = 0;
        QString row;
        if (const auto* l = std::get_if<PageLine>(&i))
            y = std::max(l->y1, l->y2),
            row = QString::asprintf("line w%d%s: %g,%g-%g,%g", l->pen.lineWidth,
                                    Colour(l->pen).data(), l->x1, l->y1, l->x2, l->y2);
        else if (const auto* d = std::get_if<PageDot>(&i))
            y = d->y, row = QString::asprintf("dot%s: %g,%g", Colour(d->pen).data(), d->x, d->y);
        else if (const auto* t = std::get_if<PageText>(&i))
            y = t->y, row = QString::asprintf("%gpt%s: %g,%g %s", t->fontSize, t->bold ? "b" : "",
                                              t->x, t->y, t->text.c_str());
        else if (const auto* r = std::get_if<PageRect>(&i))
            y = r->y1,
            row = QString::asprintf("box: %g,%g-%g,%g%s", r->x1, r->y1, r->x2, r->y2,
                                    (r->filled ? " filled" + Colour(r->pen) : QByteArray()).data());
        if ((y >= stripTop) == strip && !(strip && row.contains(QRegularExpression("^(line|dot)"))))
            rows << row;
    }
    return rows;
}

class TestFloorSheet : public QObject {
    Q_OBJECT
  private slots:
    // The drawing area is 400 x 247 mm on A3 (10 mm margins, a 30 mm strip), 821 x 544 mm on
    // A1 and 10 x 6.25 in on Letter (half-inch margins, a 1.25 in strip), which holds 40 x 25 ft
    // at 1/4" = 1'-0". A floor that fits exactly takes the scale; a millimetre more the next one.
    void floorTakesTheLargestStandardScaleThatFits() {
        const double mmFoot = 1 / 304.8;
        // clang-format off
        const struct { SheetSize size; double mmPerUnit, width, height; const char* scale; } cases[] = {
            {SheetSize::A3, 1000, 20, 12.35, "1:50"}, {SheetSize::A3, 1000, 20.001, 1, "1:100"}, {SheetSize::A3, 1000, 0, 0, "1:50"},
            {SheetSize::A3, 1000, 40, 24.7, "1:100"}, {SheetSize::A3, 1000, 40.001, 10, "1:200"}, {SheetSize::A3, 1000, 30, 24.701, "1:200"},
            {SheetSize::A3, 1000, 2000, 1, "1:5000"}, {SheetSize::A3, 1000, 2000.001, 1, "1:10000"},
            {SheetSize::A1, 1000, 82.1, 54.4, "1:100"}, {SheetSize::A1, 1000, 82.1, 54.401, "1:200"},
            {SheetSize::Letter, 1000, 25.4, 1, "1:100"}, {SheetSize::Letter, 1000, 25.401, 1, "1:200"},
            {SheetSize::Letter, 304.8, 40, 25, "1/4\" = 1'-0\""}, {SheetSize::Letter, 304.8, 40 + mmFoot, 25, "1/8\" = 1'-0\""},
            {SheetSize::Letter, 304.8, 40, 25 + mmFoot, "1/8\" = 1'-0\""}, {SheetSize::Letter, 25.4, 481, 300, "1/8\" = 1'-0\""},
            {SheetSize::Letter, 304.8, 320, 1, "1/32\" = 1'-0\""}, {SheetSize::Letter, 304.8, 321, 1, "1\" = 100'"},
            {SheetSize::Letter, 304.8, 1000, 1, "1\" = 100'"}, {SheetSize::Letter, 304.8, 1001, 1, "1\" = 200'"},
        };
        // clang-format on
        for (const auto& c : cases)
            QCOMPARE(
                ComposeFloorSheet(Floor(c.size, c.mmPerUnit, {Rectangle("A", c.width, c.height)}),
                                  FixedMetrics())
                    .scale,
                c.scale);
    }

    // A 10 x 5 m room in a 30 x 20 m floor (a wall sets its extent) is drawn at 1:100 on A3, the
    // floor's middle (15, 10) on the drawing area's, (210, 133.5) mm; a metre is 566.93 twips.
    // Labels shrink to 6 pt or go when they do not fit the room: a 2 x 1 m room is 1134 x 567
    // twips, 13 characters 1248 twips at 8 pt and 936 at 6 pt, 16 are 1152 at 6 pt. On Letter, a
    // 20 x 10 ft room in a 40 x 24 ft floor at 1/4" = 1'-0": a foot is 360 twips, the middle (20,
    // 12) ft at (7920, 5220). The frame is first, 10 mm or half an inch in from the edge. The
    // zoned lab's middle (6, 12) ft lands on the 7 in area's, (5760, 5220); the zone column
    // starts at 10800 and its lines are 192 twips apart, a swatch in the middle half of each.
    void roomsLandAtTheirPlaceOnTheSheet() {
        const std::pair<Point, Point> metricWall{{0, 0}, {30, 20}}, feetWall{{0, 0}, {40, 24}};
        const QStringList a3{"box: 567,567-23244,16271", "line w1 grey: 3402,13238-20409,1899"};
        const QStringList store{"line w2: 3402,13238-4535,13238", "line w2: 4535,13238-4535,12671",
                                "line w2: 4535,12671-3402,12671", "line w2: 3402,12671-3402,13238"};
        // clang-format off
        const struct { FloorSheetInput in; double stripTop; QStringList rows; } cases[] = {
            {Floor(SheetSize::A3, 1000, {Rectangle("Office", 10, 5, {{2.5, 1.25}, {7.5, 3.75}})}, {metricWall}), 14570, a3 + QStringList{
              "line w2: 3402,13238-9071,13238", "line w2: 9071,13238-9071,10403", "line w2: 9071,10403-3402,10403",
              "line w2: 3402,10403-3402,13238", "dot: 4819,12529", "dot: 7654,11112", "8pt: 5948,11628 Office", "8pt: 5756,11820 2 speakers"}},
            {Floor(SheetSize::A3, 1000, {Rectangle("Office", 10, 5, {}, true)}, {metricWall}), 14570, a3 + QStringList{
              "line w4 red: 3402,13238-9071,13238", "line w4 red: 9071,13238-9071,10403", "line w4 red: 9071,10403-3402,10403",
              "line w4 red: 3402,10403-3402,13238", "8pt: 5564,11628 Office (check)", "8pt: 5756,11820 0 speakers"}},
            {Floor(SheetSize::A3, 1000, {Rectangle("Storeroom B12", 2, 1)}, {metricWall}), 14570,
             a3 + store + QStringList{"6pt: 3501,12810 Storeroom B12", "6pt: 3609,12954 0 speakers"}},
            {Floor(SheetSize::A3, 1000, {Rectangle("Storeroom B12345", 2, 1)}, {metricWall}), 14570, a3 + store},
            {Floor(SheetSize::Letter, 304.8, {Rectangle("Lab", 20, 10, {{5, 5}})}, {feetWall}), 9720,
             {"box: 720,720-15120,11520", "line w1 grey: 720,9540-15120,900", "line w2: 720,9540-7920,9540", "line w2: 7920,9540-7920,5940",
              "line w2: 7920,5940-720,5940", "line w2: 720,5940-720,9540", "dot: 2520,7740", "8pt: 4176,7548 Lab", "8pt: 3888,7740 1 speaker"}},
            {ZonedLab(), 9720,
             {"box: 720,720-15120,11520", "line w1 grey: 3600,9540-10800,900", "line w2: 3600,9540-10800,9540", "line w2: 10800,9540-10800,5940",
              "line w2: 10800,5940-3600,5940", "line w2: 3600,5940-3600,9540", "8pt: 7056,7548 Lab", "8pt: 6720,7740 3 speakers",
              "line w1 #0072b2: 720,8820-5400,8820", "line w1 #0072b2: 5400,8820-5400,7740", "dot #0072b2: 5400,7740",
              "line w1 #e69f00: 720,8820-9000,8820", "line w1 #e69f00: 9000,8820-9000,7740", "dot #e69f00: 9000,7740",
              "line w1 #0072b2: 720,8820-720,6660", "line w1 #0072b2: 720,6660-7200,6660", "dot #0072b2: 7200,6660",
              "box: 640,8740-800,8900 filled", "8ptb: 860,8548 HEAD-END", "10ptb: 10920,840 Zones",
              "box: 10920,1128-11280,1224 filled #0072b2", "8pt: 11400,1080 Z1  1 speaker", "box: 10920,1320-11280,1416 filled #e69f00",
              "8pt: 11400,1272 Z2  1 speaker", "box: 10920,1512-11280,1608 filled #0072b2", "8pt: 11400,1464 Z7  1 speaker"}},
        };
        // clang-format on
        for (const auto& c : cases)
            QCOMPARE(Rows(ComposeFloorSheet(c.in, FixedMetrics()), c.stripTop, false), c.rows);
    }

    // The strip (from 14570 twips on A3, 9720 on Letter): the legend, the scale bar from 5247
    // (5400 on Letter), its first half filled, and the title block. The bar is the longest
    // round length up to 60 mm (3401.6 twips) or 2.5 in (3600): 2 m at 1:50 is 40 mm, 2268
    // twips; 5 m at 1:100 and 10 m at 1:200 are 50 mm, 2835; 10 ft at 1/4" is 2.5 in; 200 ft at 1"
    // = 100' is 2 in, 2880. The legend lists flagged rooms in its 4080 twips, 34 characters.
    void stripNamesThePlanAndShowsTheScale() {
        const std::vector<SheetRoom> flagged{Rectangle("Reception", 0, 0, {{0, 0}}, true),
                                             Rectangle("Meeting room 2", 0, 0, {}, true),
                                             Rectangle("Lobby", 40, 24.7, {{1, 1}, {2, 2}}, true)};
        const QString legend = "Legend|Speaker|Room outline|Flagged room: check its layout|";
        const QString title = "level2.dxf|Date: 2026-12-07|Unit: ";
        // clang-format off
        const struct { FloorSheetInput in; double stripTop; QString strip; } cases[] = {
            {Floor(SheetSize::A3, 1000, {Rectangle("Office", 20, 12, {{1, 1}, {2, 2}})}), 14570, legend +
             "box: 5247,15170-6381,15290 filled|box: 6381,15170-7515,15290|0|1|2 m|Scale 1:50|" + title + "m|Scale: 1:50|1 room, 2 speakers"},
            {Floor(SheetSize::A3, 1000, flagged), 14570, legend + "Check: Reception, +2 more|"
             "box: 5247,15170-6664,15290 filled|box: 6664,15170-8082,15290|0|2.5|5 m|Scale 1:100|" + title + "m|Scale: 1:100|3 rooms, 3 speakers"},
            {Floor(SheetSize::A3, 1000, {Rectangle("A", 80, 40, {}, true), Rectangle("B", 1, 1, {}, true)}), 14570, legend + "Check: A, B|"
             "box: 5247,15170-6664,15290 filled|box: 6664,15170-8082,15290|0|5|10 m|Scale 1:200|" + title + "m|Scale: 1:200|2 rooms, 0 speakers"},
            {Floor(SheetSize::Letter, 304.8, {Rectangle("Lab", 40, 25)}), 9720, legend +
             "box: 5400,10320-7200,10440 filled|box: 7200,10320-9000,10440|0|5|10 ft|Scale 1/4\" = 1'-0\"|" + title + "ft|Scale: 1/4\" = 1'-0\"|1 room, 0 speakers"},
            {Floor(SheetSize::Letter, 304.8, {Rectangle("Lab", 1000, 1)}), 9720, legend +
             "box: 5400,10320-6840,10440 filled|box: 6840,10320-8280,10440|0|100|200 ft|Scale 1\" = 100'|" + title + "ft|Scale: 1\" = 100'|1 room, 0 speakers"},
            {ZonedLab(), 9720, legend +
             "box: 5400,10320-7200,10440 filled|box: 7200,10320-9000,10440|0|5|10 ft|Scale 1/4\" = 1'-0\"|" + title + "ft|Scale: 1/4\" = 1'-0\"|1 room, 3 speakers, 3 zones"},
        };
        // clang-format on
        for (const auto& c : cases) {
            QStringList rows = Rows(ComposeFloorSheet(c.in, FixedMetrics()), c.stripTop, true);
            QCOMPARE(
                rows.replaceInStrings(QRegularExpression("^[0-9]+ptb?: [0-9,]+ "), "").join('|'),
                c.strip);
        }
    }

    // The zone column holds 44 lines of 192 twips below its heading on Letter (from 1080 to 9720
    // less the 120 inset): one zone more and its last line counts the two zones left out. Zones
    // 43 and 44 are blue and orange.
    void zoneListEndsWithACountWhenFull() {
        // clang-format off
        const struct { int zones; QStringList tail; } cases[] = {
            {44, {"8pt: 11400,9144 Z43", "box: 10920,9384-11280,9480 filled #e69f00", "8pt: 11400,9336 Z44"}},
            {45, {"box: 10920,9192-11280,9288 filled #0072b2", "8pt: 11400,9144 Z43", "8pt: 11400,9336 +2 more"}},
        };
        // clang-format on
        for (const auto& c : cases) {
            FloorSheetInput in = Floor(SheetSize::Letter, 304.8, {Rectangle("A", 1, 1)});
            for (int n = 1; n <= c.zones; ++n)
                in.zones.push_back({n, {}, {}, "Z" + std::to_string(n)});
            const QStringList rows = Rows(ComposeFloorSheet(in, FixedMetrics()), 9720, false);
            QCOMPARE(rows.mid(rows.size() - 3), c.tail);
        }
    }

    // Sheet sizes by name, the sheet in twips and the PDF's page in whole points (20 twips), as
    // the user's own tools read it.
    void pdfPageIsTheNamedSheet() {
        // clang-format off
        const struct { const char* name; const char* twips; const char* points; } cases[] = {
            {"a3", "23811.0 x 16837.8", "1191 x 842"}, {"A1", "47678.7 x 33675.6", "2384 x 1684"},
            {"Letter", "15840.0 x 12240.0", "792 x 612"}, {"TABLOID", "24480.0 x 15840.0", "1224 x 792"},
            {"Ansi-D", "48960.0 x 31680.0", "2448 x 1584"}};
        // clang-format on
        for (const char* unknown : {"a4", "", "ansi d", " a3"})
            QCOMPARE(ParseSheetSize(unknown), std::nullopt);
        for (const auto& c : cases) {
            const std::optional<SheetSize> size = ParseSheetSize(c.name);
            QVERIFY(size);
            const FloorSheet sheet =
                ComposeFloorSheet(Floor(*size, 1000, {Rectangle("Office", 10, 5)}), FixedMetrics());
            QCOMPARE(QString::asprintf("%.1f x %.1f", sheet.pageWidth, sheet.pageHeight), c.twips);
            QTemporaryFile file;
            QVERIFY(file.open() &&
                    file.write(FloorSheetPdf(sheet, "Floor sheet - level2.dxf")) > 0 &&
                    file.flush());
            QProcess pdfinfo;
            pdfinfo.start("pdfinfo", {file.fileName()});
            QVERIFY(pdfinfo.waitForFinished() && pdfinfo.exitCode() == 0);
            const QString info = pdfinfo.readAllStandardOutput();
            QVERIFY(info.contains(QRegularExpression("Title: +Floor sheet - level2.dxf\n")));
            QVERIFY(info.contains(
                QRegularExpression(QString("Pages: +1\n(.*\n)*Page size: +") + c.points + " pts")));
        }
    }
};

QTEST_MAIN(TestFloorSheet)
#include "tst_floor_sheet.moc"
