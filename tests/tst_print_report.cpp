// The printed report on a recording printer: every text and shape to the twip, the lines left
// out by location, the layout array's geometry, and the Retry and Cancel of a refused operation.
#include "core/unit_data.h"
#include "output/print_report.h"
#include "output/recording_printer.h"

#include <QtTest>

namespace {

// Answers Retry so many times, then Cancel, so a run that keeps failing ends.
struct Boxes : MessageBoxes {
    explicit Boxes(std::size_t retries = 0) : retries(retries) {}
    MsgAnswer Show(const std::string& text, MsgIcon, const std::string&, MsgButtons) override {
        shown.push_back(text);
        return shown.size() <= retries ? MsgAnswer::Retry : MsgAnswer::Cancel;
    }
    std::size_t retries;
    std::vector<std::string> shown;
};

// A suspended ceiling with the room and results: Leng, Wid, LRow, LSpc, LHalfSpc, WRow, WSpc,
// WHalfSpc.
DesignState Design(bool feet, const QList<double>& r) {
    DesignState s;
    s.MeasFeet = feet;
    LoadUnitTables(s);
    s.MaskLoc = AboveCeiling;
    s.Leng = std::int32_t(r.value(0)), s.Wid = std::int32_t(r.value(1));
    s.LRow = std::int32_t(r.value(2)), s.LSpc = std::int32_t(r.value(3)), s.LHalfSpc = r.value(4);
    s.WRow = std::int32_t(r.value(5)), s.WSpc = std::int32_t(r.value(6)), s.WHalfSpc = r.value(7);
    return s;
}

DesignState FeetExample() {
    DesignState s = Design(true, {40, 25, 4, 10, 5, 3, 9, 3.5});
    s.PlenumSel = 2, s.CeilSel = 3, s.CeilHtSel = 1, s.BattsSel = 1;
    s.Descr = "Open office, level 2";
    return s;
}

// The texts one row per y, "y: x text|x text", a size or boldness other than 10-point regular
// shown as [14b]; or the shapes, one row per run of the same kind and pen, "line w1 s2 f0:
// x1,y1-x2,y2 ..." and "circle r100 w1 s0 f0: x,y ...".
QStringList Page(const RecordingPrinter& p, bool texts) {
    QStringList rows;
    QString last;
    for (const PageItem& i : p.Items()) {
        if (texts != (i.kind == PageItem::Kind::Text))
            continue;
        const bool line = i.kind == PageItem::Kind::Line, circle = i.kind == PageItem::Kind::Circle;
        const QString key =
            texts ? QString::asprintf("%.0f:", i.y1)
                  : (line     ? "line"
                     : circle ? QString::asprintf("circle r%.0f", i.radius)
                              : "box") +
                        QString::asprintf(" w%d s%d f%d:", i.drawWidth, i.drawStyle, i.fillStyle);
        const QString item =
            texts ? QString::asprintf(i.fontSize == 10 && !i.bold ? "%.0f" : "%.0f [%.0f%s]", i.x1,
                                      i.fontSize, i.bold ? "b" : "") +
                        " " + QString::fromStdString(i.text)
            : circle ? QString::asprintf("%.0f,%.0f", i.x1, i.y1)
                     : QString::asprintf("%.0f,%.0f-%.0f,%.0f", i.x1, i.y1, i.x2, i.y2);
        if (key == last)
            rows.last() += (texts ? "|" : " ") + item;
        else
            rows << key + " " + item;
        last = key;
    }
    return rows;
}

// The page of a run that nothing interrupts.
RecordingPrinter Printed(const DesignState& s) {
    RecordingPrinter p;
    Boxes boxes;
    if (PrintReport(p, s, boxes) != PrintOutcome::Printed || !boxes.shown.empty() || !p.Ended())
        qFatal("an undisturbed report did not print");
    return p;
}

// The recording printer is 11520 twips wide: MidX 5760, RoomLeft 1260. Characters are 120
// twips wide at 10 pt and 168 at 14 pt; a 10 pt line is 240 twips high.
// clang-format off
const QStringList kFeetTexts = {
    "500: 3744 [14b]  MASKING SPEAKER LAYOUT ",
    "800: 1000 Description: Open office, level 2",
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
    "4400: 2000 Total number of speakers:|5200 12",
    "4800: 1310 5.0|3410 10|6260 Length Dimension",
    "5543: 760 3.5",
    "6949: 760 9.0"};
const QStringList kFeetShapes = {
    "box w3 s0 f1: 1260,5200-10260,10825",
    "line w1 s2 f0: 1260,5987-10260,5987 1260,8012-10260,8012 1260,10037-10260,10037 "
        "2385,5200-2385,10825 4635,5200-4635,10825 6885,5200-6885,10825 9135,5200-9135,10825",
    "line w3 s0 f0: 1260,5200-1260,4700 2385,5200-2385,4700 4635,5200-4635,4700 "
        "1260,5200-760,5200 1260,5987-760,5987 1260,8012-760,8012",
    "circle r100 w1 s0 f0: 2385,5987 2385,8012 2385,10037 4635,5987 4635,8012 4635,10037 "
        "6885,5987 6885,8012 6885,10037 9135,5987 9135,8012 9135,10037"};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(DesignState)

class TestPrintReport : public QObject {
    Q_OBJECT
  private slots:
    void feetPagesToTheTwip_data() {
        QTest::addColumn<DesignState>("s");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("shapes");
        QTest::newRow("40 x 25") << FeetExample() << kFeetTexts << kFeetShapes;
        DesignState zeroed = FeetExample(); // conditions changed after Calculate
        ZeroResults(zeroed);
        // clang-format off
        QTest::newRow("zeroed results: outline and ticks, no grid and no speakers") << zeroed
            << kFeetTexts.mid(0, 7) + QStringList{
                   "2600: 1000 Estimated length of zone wiring at 20 feet per speaker is 0 feet"} +
               kFeetTexts.mid(8, 3) + QStringList{
                   "3800: 2000 Length|3800 40 ft|5200 0|7000 0 ft|9000 0.0 ft",
                   "4100: 2000 Width|3800 25 ft|5200 0|7000 0 ft|9000 0.0 ft",
                   "4400: 2000 Total number of speakers:|5200 0",
                   "4800: 1310 .0|6260 Length Dimension", "6556: 760 .0"}
            << QStringList{"box w3 s0 f1: 1260,5200-10260,10825",
                   "line w3 s0 f0: 1260,5200-1260,4700 5760,5200-5760,4700 5760,5200-5760,4700 "
                       "1260,5200-760,5200 1260,8012-760,8012 1260,8012-760,8012"};
        // clang-format on
        DesignState noLength = FeetExample(); // a location chosen after Calculate
        noLength.Leng = noLength.Wid = 0;
        QTest::newRow("no length: the page ends with the separator")
            << noLength << kFeetTexts.mid(0, 11) << QStringList{};
    }
    void feetPagesToTheTwip() {
        QFETCH(DesignState, s);
        const RecordingPrinter p = Printed(s);
        QTEST(Page(p, true), "texts");
        QTEST(Page(p, false), "shapes");
        for (const PageItem& item : p.Items()) // every line, outline and fill
            QVERIFY(item.kind == PageItem::Kind::Text ||
                    (item.colour == Qt::black && item.fillColour == Qt::black));
    }

    // The millimetre formats and label positions; edge distances with halves away from zero,
    // and a zero edge empty along the length but 0 along the width.
    void millimetreCellsAndLabels() {
        const auto table = [](float lHalf, float wHalf) { // the rows from 3800 down
            DesignState s = Design(false, {12500, 8400, 2, 4200, lHalf, 2, 4200, wHalf});
            s.PlenumSel = s.CeilSel = 1, s.CeilHtSel = 2;
            return Page(Printed(s), true).mid(11);
        };
        // clang-format off
        QCOMPARE(table(4150, 2100), QStringList({
            "3800: 2000 Length|3800 12500 mm|5200 2|7000 4200 mm|9000 4150 mm",
            "4100: 2000 Width|3800 8400 mm|5200 2|7000 4200 mm|9000 2100 mm",
            "4400: 2000 Total number of speakers:|5200 4",
            "4800: 1310 4150|5460 4200|6260 Length Dimension", "5906: 460 2100", "8174: 460 4200"}));
        const QRegularExpression edges("(^|: )(9000|1310|460) ");
        QCOMPARE(table(4150.5f, 2100.5f).join('|').split('|').filter(edges), QStringList({
            "9000 4151 mm", "9000 2101 mm", "4800: 1310 4151", "5906: 460 2101", "8174: 460 4200"}));
        QCOMPARE(table(0, 0).join('|').split('|').filter(edges), QStringList({
            "9000 0 mm", "9000 0 mm", "4800: 1310 ", "5906: 460 0", "8174: 460 4200"}));
        // clang-format on
    }

    // Lines whose condition does not hold are left out and the rest move up, the wiring line
    // and the array title with them.
    void conditionLinesByLocation_data() {
        QTest::addColumn<DesignState>("s");
        QTest::addColumn<QStringList>("lines");
        const QString open = "The masking speakers are hung from the structural ceiling without "
                             "a suspended ceiling.";
        DesignState s = Design(true, {});
        s.PlenumSel = 4;
        QTest::newRow("suspended, no tile, no height")
            << s
            << QStringList{"The masking speakers are hung above a suspended ceiling.",
                           "The plenum depth is between more than 6 feet.",
                           "There are no sound absorption materials in the ceiling plenum."};
        s.MaskLoc = OpenCeiling, s.BattsSel = 1, s.StructHt = 14;
        QTest::newRow("open, batts: the height moves up")
            << s << QStringList{open, "The structural ceiling height is 14 feet."};
        s.BattsSel = 2, s.StructHt = 0, s.MeasFeet = false;
        QTest::newRow("open, insulation, no height, millimetres")
            << s
            << QStringList{open, "There are sound absorption materials on the structural ceiling."};
        s.MaskLoc = AccessFloor, s.StructHt = 14;
        QTest::newRow("access floor")
            << s << QStringList{"The masking speakers are placed below a raised access floor."};
    }
    void conditionLinesByLocation() {
        QFETCH(DesignState, s);
        QFETCH(QStringList, lines);
        lines << QString("Estimated length of zone wiring at ") +
                     (s.MeasFeet ? "20 feet per speaker is 0 feet"
                                 : "6 meters per speaker is 0 meters");
        QStringList rows;
        for (int i = 0; i < lines.size(); ++i)
            rows << QString("%1: 1000 %2").arg(1100 + 300 * i).arg(lines[i]);
        rows << QString("%1: 4560 SPEAKER LAYOUT ARRAY").arg(1100 + 300 * lines.size());
        QCOMPARE(Page(Printed(s), true).mid(2, rows.size()), rows);
    }

    // The room's bottom is DrawWid + 5200, DrawWid rounded with halves to the even neighbour;
    // a width entered after Calculate may make it far longer than the length.
    void drawnWidthFollowsTheRoom() {
        // clang-format off
        const struct { int leng, wid; const char* box; } rows[] = {
            {80, 45, "box w3 s0 f1: 1260,5200-10260,10262"}, // 5062.5
            {80, 35, "box w3 s0 f1: 1260,5200-10260,9138"},  // 3937.5
            {10, 40, "box w3 s0 f1: 1260,5200-10260,41200"}, {40, 0, ""}}; // no width: no array
        // clang-format on
        for (const auto& r : rows) {
            DesignState s = FeetExample();
            s.Leng = r.leng, s.Wid = r.wid;
            QCOMPARE(Page(Printed(s), false).value(0), QString(r.box));
        }
    }

    // The single column stands at MidX, both column ticks on it, and no spacing label.
    void oneRowAlongTheLengthStandsAtTheCentre() {
        const RecordingPrinter p = Printed(Design(true, {12, 10, 1, 0, 6, 1, 0, 5}));
        QCOMPARE(Page(p, false).mid(1),
                 QStringList({"line w1 s2 f0: 1260,8950-10260,8950 5760,5200-5760,12700",
                              "line w3 s0 f0: 1260,5200-1260,4700 5760,5200-5760,4700 "
                              "5760,5200-5760,4700 1260,5200-760,5200 1260,8950-760,8950 "
                              "1260,8950-760,8950",
                              "circle r100 w1 s0 f0: 5760,8950"}));
        QVERIFY(Page(p, true).contains("4800: 1310 6.0|6260 Length Dimension"));
    }

    // A refused operation, wherever it falls: after Retry the page is the same as one printed
    // without a failure, nothing on it twice; Cancel abandons the page. (A printer refusing for
    // ever is met through the window, in the window print test.)
    void refusedOperationIsRetriedOrCancelled() {
        const RecordingPrinter reference = Printed(FeetExample());
        QVERIFY(reference.OperationCount() > 100);
        for (long k = 1; k <= reference.OperationCount(); ++k) {
            for (const bool retry : {true, false}) {
                RecordingPrinter p;
                p.FailAt(k, retry ? 2 : 1);
                Boxes boxes(retry ? 2 : 0);
                const PrintOutcome outcome = PrintReport(p, FeetExample(), boxes);
                QVERIFY2(outcome == (retry ? PrintOutcome::Printed : PrintOutcome::Cancelled) &&
                             boxes.shown.size() == (retry ? 2u : 1u) && p.Ended() == retry &&
                             p.Aborted() != retry &&
                             p.Items() == (retry ? reference.Items() : std::vector<PageItem>{}),
                         qPrintable(QString("%1 at operation %2").arg(retry).arg(k)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestPrintReport)
#include "tst_print_report.moc"
