// The printed report on a recording printer: every text and shape to the twip, the lines left
// out by location, the layout array's geometry, and the Retry and Cancel of a refused operation.
#include "core/unit_data.h"
#include "output/print_report.h"
#include "output/recording_printer.h"

#include <QtTest>

#include <deque>
#include <limits>

namespace {

struct ShownBox {
    std::string text;
    MsgIcon icon;
    std::string title;
    MsgButtons buttons;
};

// Answers boxes from a script; when the script runs out it answers Cancel, so a run that keeps
// failing ends instead of hanging the test.
class ScriptedBoxes : public MessageBoxes {
  public:
    explicit ScriptedBoxes(std::deque<MsgAnswer> answers = {}) : m_answers(std::move(answers)) {}
    MsgAnswer Show(const std::string& text, MsgIcon icon, const std::string& title,
                   MsgButtons buttons) override {
        shown.push_back({text, icon, title, buttons});
        if (m_answers.empty())
            return MsgAnswer::Cancel;
        const MsgAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    std::vector<ShownBox> shown;

  private:
    std::deque<MsgAnswer> m_answers;
};

DesignState Design(bool feet) {
    DesignState s;
    s.MeasFeet = feet;
    LoadUnitTables(s);
    s.MaskLoc = AboveCeiling;
    return s;
}

void SetResults(DesignState& s, std::int32_t leng, std::int32_t wid, std::int32_t lRow,
                std::int32_t lSpc, float lHalf, std::int32_t wRow, std::int32_t wSpc, float wHalf) {
    s.Leng = leng;
    s.Wid = wid;
    s.LRow = lRow;
    s.LSpc = lSpc;
    s.LHalfSpc = lHalf;
    s.WRow = wRow;
    s.WSpc = wSpc;
    s.WHalfSpc = wHalf;
}

DesignState FeetExample() {
    DesignState s = Design(true);
    s.PlenumSel = 2;
    s.CeilSel = 3;
    s.CeilHtSel = 1;
    s.BattsSel = 1;
    s.Descr = "Open office, level 2";
    SetResults(s, 40, 25, 4, 10, 5, 3, 9, 3.5f);
    return s;
}

DesignState MillimetreExample() {
    DesignState s = Design(false);
    s.PlenumSel = 1;
    s.CeilSel = 1;
    s.CeilHtSel = 2;
    SetResults(s, 12500, 8400, 2, 4200, 4150, 2, 4200, 2100);
    return s;
}

QString Num(double v) {
    return QString::number(v, 'f', 0);
}

QStringList Texts(const RecordingPrinter& p) {
    QStringList texts;
    for (const PageItem& item : p.Items())
        if (item.kind == PageItem::Kind::Text)
            texts << QString("%1,%2 %3%4 %5")
                         .arg(Num(item.x1), Num(item.y1), Num(item.fontSize), item.bold ? "b" : "",
                              QString::fromStdString(item.text));
    return texts;
}

QStringList Shapes(const RecordingPrinter& p) {
    QStringList shapes;
    for (const PageItem& item : p.Items()) {
        const QString pen =
            QString(" w%1 s%2 f%3").arg(item.drawWidth).arg(item.drawStyle).arg(item.fillStyle);
        switch (item.kind) {
        case PageItem::Kind::Text:
            break;
        case PageItem::Kind::Line:
            shapes << "line " + Num(item.x1) + "," + Num(item.y1) + " " + Num(item.x2) + "," +
                          Num(item.y2) + pen;
            break;
        case PageItem::Kind::Box:
            shapes << "box " + Num(item.x1) + "," + Num(item.y1) + " " + Num(item.x2) + "," +
                          Num(item.y2) + pen;
            break;
        case PageItem::Kind::Circle:
            shapes << "circle " + Num(item.x1) + "," + Num(item.y1) + " r" + Num(item.radius) +
                          pen + " " + item.fillColour.name();
            break;
        }
    }
    return shapes;
}

// The page of a run that nothing interrupts.
RecordingPrinter Printed(const DesignState& s) {
    RecordingPrinter p;
    ScriptedBoxes boxes;
    const PrintOutcome outcome = PrintReport(p, s, boxes);
    if (outcome != PrintOutcome::Printed || !boxes.shown.empty() || !p.Ended())
        qFatal("an undisturbed report did not print");
    return p;
}

const QString kSeparator = QString(75, '=');

// 10-point texts at y, each "x text".
QStringList At(int y, const QStringList& texts) {
    QStringList lines;
    for (const QString& t : texts)
        lines << t.section(' ', 0, 0) + "," + QString::number(y) + " 10 " + t.section(' ', 1);
    return lines;
}

// The recording printer is 11520 twips wide: MidX 5760, RoomLeft 1260. Characters are 120
// twips wide at 10 pt and 168 at 14 pt; a 10 pt line is 240 twips high.
QStringList Heading(const QStringList& conditions, const QString& wiring) {
    QStringList lines = {"3744,500 14b  MASKING SPEAKER LAYOUT "};
    int y = 800;
    for (const QString& line : conditions) {
        lines << At(y, {"1000 " + line});
        y += 300;
    }
    lines << At(y, {"1000 Estimated length of zone wiring at " + wiring})
          << At(y + 300, {"4560 SPEAKER LAYOUT ARRAY"})
          << At(y + 540, {"1460 DIRECTION", "3260 DIMENSION", "4780 NR ROWS",
                          "6100 SPEAKER SPACING", "8340 END SPACING"})
          << At(y + 900, {"1000 " + kSeparator});
    return lines;
}

// The layout array's shapes: outline, dotted grid, the six ticks and the speakers.
QStringList ArrayShapes(int bottom, const QList<int>& xs, const QList<int>& ys,
                        const QList<int>& tickXs, const QList<int>& tickYs) {
    QStringList shapes = {QString("box 1260,5200 10260,%1 w3 s0 f1").arg(bottom)};
    for (const int y : ys)
        shapes << QString("line 1260,%1 10260,%1 w1 s2 f0").arg(y);
    for (const int x : xs)
        shapes << QString("line %1,5200 %1,%2 w1 s2 f0").arg(x).arg(bottom);
    for (const int x : QList<int>{1260} + tickXs)
        shapes << QString("line %1,5200 %1,4700 w3 s0 f0").arg(x);
    for (const int y : QList<int>{5200} + tickYs)
        shapes << QString("line 1260,%1 760,%1 w3 s0 f0").arg(y);
    for (const int x : xs)
        for (const int y : ys)
            shapes << QString("circle %1,%2 r100 w1 s0 f0 #000000").arg(x).arg(y);
    return shapes;
}

} // namespace

Q_DECLARE_METATYPE(DesignState)

class TestPrintReport : public QObject {
    Q_OBJECT
  private slots:
    void workedExamplesToTheTwip_data() {
        QTest::addColumn<DesignState>("s");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("shapes");
        QTest::newRow("feet 40 x 25")
            << FeetExample()
            << Heading({"Description: Open office, level 2",
                        "The masking speakers are hung above a suspended ceiling.",
                        "The plenum depth is between between 1 and 3 feet.",
                        "The suspended ceiling is mineral tile.",
                        "There are sound absorption materials in the ceiling plenum.",
                        "The suspended ceiling height is lower than 12 feet."},
                       "20 feet per speaker is 240 feet") +
                   At(3800, {"2000 Length", "3800 40 ft", "5200 4", "7000 10 ft", "9000 5.0 ft"}) +
                   At(4100, {"2000 Width", "3800 25 ft", "5200 3", "7000 9 ft", "9000 3.5 ft"}) +
                   At(4400, {"2000 Total number of speakers:", "5200 12"}) +
                   At(4800, {"1310 5.0", "3410 10", "6260 Length Dimension"}) +
                   At(5543, {"760 3.5"}) + At(6949, {"760 9.0"})
            << ArrayShapes(10825, {2385, 4635, 6885, 9135}, {5987, 8012, 10037}, {2385, 4635},
                           {5987, 8012});
        QTest::newRow("millimetres 12500 x 8400")
            << MillimetreExample()
            << Heading({"Description: ", "The masking speakers are hung above a suspended ceiling.",
                        "The plenum depth is between between 0 and 300 millimeters.",
                        "The suspended ceiling is fiberglass, no foil backing.",
                        "There are no sound absorption materials in the ceiling plenum.",
                        "The suspended ceiling height is higher than 3600 millimeters."},
                       "6 meters per speaker is 24 meters") +
                   At(3800,
                      {"2000 Length", "3800 12500 mm", "5200 2", "7000 4200 mm", "9000 4150 mm"}) +
                   At(4100,
                      {"2000 Width", "3800 8400 mm", "5200 2", "7000 4200 mm", "9000 2100 mm"}) +
                   At(4400, {"2000 Total number of speakers:", "5200 4"}) +
                   At(4800, {"1310 4150", "5460 4200", "6260 Length Dimension"}) +
                   At(5906, {"460 2100"}) + At(8174, {"460 4200"})
            << ArrayShapes(11248, {4248, 7272}, {6712, 9736}, {4248, 7272}, {6712, 9736});
        // Conditions changed after Calculate: outline and ticks, no grid and no speakers.
        DesignState zeroed = FeetExample();
        ZeroResults(zeroed);
        zeroed.Descr.clear();
        QTest::newRow("zeroed results")
            << zeroed
            << Heading({"Description: ", "The masking speakers are hung above a suspended ceiling.",
                        "The plenum depth is between between 1 and 3 feet.",
                        "The suspended ceiling is mineral tile.",
                        "There are sound absorption materials in the ceiling plenum.",
                        "The suspended ceiling height is lower than 12 feet."},
                       "20 feet per speaker is 0 feet") +
                   At(3800, {"2000 Length", "3800 40 ft", "5200 0", "7000 0 ft", "9000 0.0 ft"}) +
                   At(4100, {"2000 Width", "3800 25 ft", "5200 0", "7000 0 ft", "9000 0.0 ft"}) +
                   At(4400, {"2000 Total number of speakers:", "5200 0"}) +
                   At(4800, {"1310 .0", "6260 Length Dimension"}) + At(6556, {"760 .0"})
            << ArrayShapes(10825, {}, {}, {5760, 5760}, {8012, 8012});
        DesignState noLength = FeetExample();
        noLength.Leng = 0;
        noLength.Wid = 0;
        QTest::newRow("no length: the page ends with the separator")
            << noLength
            << Heading({"Description: Open office, level 2",
                        "The masking speakers are hung above a suspended ceiling.",
                        "The plenum depth is between between 1 and 3 feet.",
                        "The suspended ceiling is mineral tile.",
                        "There are sound absorption materials in the ceiling plenum.",
                        "The suspended ceiling height is lower than 12 feet."},
                       "20 feet per speaker is 240 feet")
            << QStringList{};
    }
    void workedExamplesToTheTwip() {
        QFETCH(DesignState, s);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, shapes);
        const RecordingPrinter p = Printed(s);
        QCOMPARE(Texts(p), texts);
        QCOMPARE(Shapes(p), shapes);
        for (const PageItem& item : p.Items())
            QVERIFY(item.kind == PageItem::Kind::Text || item.colour == QColor(Qt::black));
        QVERIFY(p.Ended());
        QVERIFY(!p.Aborted());
    }

    // Lines whose condition does not hold are left out and the rest move up; the wiring line,
    // the array title and the separator follow the last condition line.
    void conditionLinesByLocation_data() {
        QTest::addColumn<DesignState>("s");
        QTest::addColumn<QStringList>("lines");
        const QString hung = "The masking speakers are hung above a suspended ceiling.";
        const QString open = "The masking speakers are hung from the structural ceiling without "
                             "a suspended ceiling.";
        const QString floor = "The masking speakers are placed below a raised access floor.";
        const QString noneOpen =
            "There are no sound absorption materials on the structural ceiling.";
        const QString someOpen = "There are sound absorption materials on the structural ceiling.";
        const QString nonePlenum = "There are no sound absorption materials in the ceiling plenum.";

        DesignState s = Design(true);
        QTest::newRow("suspended, no picks yet") << s << QStringList{hung, nonePlenum};
        s.CeilSel = 5;
        s.BattsSel = 2;
        QTest::newRow("suspended, tile only")
            << s << QStringList{hung, "The suspended ceiling is gypsum board.", someOpen};
        s = Design(true);
        s.PlenumSel = 4;
        s.CeilHtSel = 2;
        QTest::newRow("suspended, no tile")
            << s
            << QStringList{hung, "The plenum depth is between more than 6 feet.", nonePlenum,
                           "The suspended ceiling height is higher than 12 feet."};
        s = Design(true);
        s.PlenumSel = 11;
        QTest::newRow("suspended, pick beyond its table") << s << QStringList{hung, nonePlenum};

        s = Design(true);
        s.MaskLoc = OpenCeiling;
        s.BattsSel = 1;
        s.StructHt = 14;
        QTest::newRow("open, batts: height moves up")
            << s << QStringList{open, "The structural ceiling height is 14 feet."};
        s.BattsSel = 0;
        s.StructHt = 0;
        QTest::newRow("open, no height") << s << QStringList{open, noneOpen};
        s.BattsSel = 2;
        s.StructHt = 3600;
        s.MeasFeet = false;
        QTest::newRow("open, insulation, millimetres")
            << s
            << QStringList{open, someOpen, "The structural ceiling height is 3600 millimeters."};

        s = Design(true);
        s.MaskLoc = AccessFloor;
        s.BattsSel = 1;
        s.PlenumSel = 1;
        QTest::newRow("access floor") << s << QStringList{floor};
        s.MaskLoc = 0;
        QTest::newRow("no location") << s << QStringList{};
    }
    void conditionLinesByLocation() {
        QFETCH(DesignState, s);
        QFETCH(QStringList, lines);
        const QString wiring =
            s.MeasFeet ? "20 feet per speaker is 0 feet" : "6 meters per speaker is 0 meters";
        QCOMPARE(Texts(Printed(s)), Heading(QStringList{"Description: "} + lines, wiring));
    }

    void oneRowAlongTheLengthStandsAtTheCentre() {
        DesignState s = Design(true);
        SetResults(s, 12, 10, 1, 0, 6, 1, 0, 5);
        const RecordingPrinter p = Printed(s);
        const QStringList shapes = Shapes(p);
        QVERIFY(shapes.contains("line 5760,5200 5760,12700 w1 s2 f0"));
        QCOMPARE(shapes.filter(" 5760,4700 w3").size(), 2);
        QCOMPARE(shapes.filter("circle").size(), 1);
        QCOMPARE(Texts(p).filter(",4800 10").size(), 2); // no spacing label
    }

    // The room's bottom is DrawWid + 5200, DrawWid rounded with halves to the even neighbour.
    void drawnWidthFollowsTheRoom_data() {
        QTest::addColumn<int>("leng");
        QTest::addColumn<int>("wid");
        QTest::addColumn<QString>("box");
        QTest::newRow("40 x 25") << 40 << 25 << "box 1260,5200 10260,10825 w3 s0 f1";
        QTest::newRow("80 x 45: 5062.5 to 5062")
            << 80 << 45 << "box 1260,5200 10260,10262 w3 s0 f1";
        QTest::newRow("80 x 35: 3937.5 to 3938") << 80 << 35 << "box 1260,5200 10260,9138 w3 s0 f1";
        QTest::newRow("square") << 30 << 30 << "box 1260,5200 10260,14200 w3 s0 f1";
        QTest::newRow("width entered after Calculate, 4 x the length")
            << 10 << 40 << "box 1260,5200 10260,41200 w3 s0 f1";
        QTest::newRow("widest room") << 1 << std::numeric_limits<std::int32_t>::max()
                                     << "box 1260,5200 10260,19327352828200 w3 s0 f1";
        QTest::newRow("no width: no array") << 40 << 0 << "";
    }
    void drawnWidthFollowsTheRoom() {
        QFETCH(int, leng);
        QFETCH(int, wid);
        QFETCH(QString, box);
        DesignState s = FeetExample();
        s.Leng = leng;
        s.Wid = wid;
        const RecordingPrinter p = Printed(s);
        const QStringList shapes = Shapes(p);
        QCOMPARE(shapes.isEmpty() ? QString() : shapes.first(), box);
        QVERIFY(Texts(p).contains("5200,4400 10 12"));
    }

    // Odd results (a row count or spacing no Calculate gives) are drawn in 64 bits, or left
    // out when the rows cannot be told apart or lie beyond any page.
    void oddResultsNeverWrap_data() {
        QTest::addColumn<int>("lRow");
        QTest::addColumn<int>("lSpc");
        QTest::addColumn<int>("wid");
        QTest::addColumn<int>("wSpc");
        QTest::addColumn<bool>("drawn");
        const int most = std::numeric_limits<std::int32_t>::max();
        QTest::newRow("32767 rows") << 32767 << 0 << 1 << 0 << true;
        QTest::newRow("32768 rows") << 32768 << 0 << 1 << 0 << false;
        QTest::newRow("spacing far beyond 32 bits on the page")
            << 32767 << 3'000'000 << 1 << 0 << true;
        QTest::newRow("columns beyond 2^50 twips") << 32767 << most << 1 << 0 << false;
        QTest::newRow("width spacing beyond any page") << 1 << 0 << most << most << false;
    }
    void oddResultsNeverWrap() {
        QFETCH(int, lRow);
        QFETCH(int, lSpc);
        QFETCH(int, wid);
        QFETCH(int, wSpc);
        QFETCH(bool, drawn);
        DesignState s = FeetExample();
        SetResults(s, 1, wid, lRow, lSpc, 0, 2, wSpc, 0.5f);
        const RecordingPrinter p = Printed(s);
        const QStringList shapes = Shapes(p);
        QCOMPARE(!shapes.isEmpty(), drawn);
        if (!drawn || lRow < 1)
            return;
        // The last column stands (LRow - 1) x LSpcDraw right of the first, exactly.
        const std::int64_t spcDraw = std::int64_t{lSpc} * 9000;
        const std::int64_t x1 = 1260 + (9000 - std::int64_t{lRow - 1} * spcDraw) / 2;
        const std::int64_t last = x1 + std::int64_t{lRow - 1} * spcDraw;
        QCOMPARE(shapes.filter("line ").at(2 + lRow - 1),
                 QString("line %1,5200 %1,14200 w1 s2 f0").arg(last));
        QCOMPARE(shapes.filter("circle").size(), 2 * lRow);
    }

    // The edge cells and labels: halves away from zero, and in millimetres a zero edge
    // prints empty along the length but as 0 along the width.
    void numberPatternsOnThePage_data() {
        QTest::addColumn<float>("lHalf");
        QTest::addColumn<float>("wHalf");
        QTest::addColumn<QStringList>("cells"); // the two edge cells, then the two edge labels
        QTest::newRow("half") << 4150.5f << 2100.5f
                              << QStringList{"4151 mm", "2101 mm", "4151", "2101"};
        QTest::newRow("zero") << 0.0f << 0.0f << QStringList{"0 mm", "0 mm", "", "0"};
    }
    void numberPatternsOnThePage() {
        QFETCH(float, lHalf);
        QFETCH(float, wHalf);
        QFETCH(QStringList, cells);
        DesignState s = MillimetreExample();
        s.LHalfSpc = lHalf;
        s.WHalfSpc = wHalf;
        const QStringList texts = Texts(Printed(s));
        QCOMPARE(texts.filter(QRegularExpression("^9000,(3800|4100) ")),
                 QStringList({"9000,3800 10 " + cells[0], "9000,4100 10 " + cells[1]}));
        QCOMPARE(texts.filter(QRegularExpression("^1310,4800 ")),
                 QStringList{"1310,4800 10 " + cells[2]});
        QCOMPARE(texts.filter(QRegularExpression("^(760|460),5")).first().section(' ', 2),
                 cells[3]);
    }

    // A refused operation, wherever it falls, is tried again after Retry: the page is the
    // same as one printed without a failure, nothing on it twice.
    void retryAfterAnyFailedOperationGivesTheSamePage() {
        const RecordingPrinter reference = Printed(FeetExample());
        const long operations = reference.OperationCount();
        QVERIFY(operations > 100);
        for (long k = 1; k <= operations; ++k) {
            RecordingPrinter p;
            p.FailAt(k, 2);
            ScriptedBoxes boxes({MsgAnswer::Retry, MsgAnswer::Retry});
            QCOMPARE(PrintReport(p, FeetExample(), boxes), PrintOutcome::Printed);
            QVERIFY2(p.Items() == reference.Items(), qPrintable(QString("failure at %1").arg(k)));
            QCOMPARE(boxes.shown.size(), std::size_t(2));
            QVERIFY(p.Ended());
        }
    }

    void cancelAfterAnyFailedOperationAbandonsThePage() {
        const long operations = Printed(FeetExample()).OperationCount();
        for (long k = 1; k <= operations; ++k) {
            RecordingPrinter p;
            p.FailAt(k, 1);
            ScriptedBoxes boxes({MsgAnswer::Cancel});
            QCOMPARE(PrintReport(p, FeetExample(), boxes), PrintOutcome::Cancelled);
            QVERIFY(p.Aborted());
            QVERIFY(!p.Ended());
            QVERIFY(p.Items().empty());
            QCOMPARE(boxes.shown.size(), std::size_t(1));
        }
    }

    void failureMessageNamesTheFailure() {
        RecordingPrinter p;
        p.FailAt(1, -1, "Device unavailable");
        ScriptedBoxes boxes({MsgAnswer::Retry, MsgAnswer::Retry, MsgAnswer::Retry});
        QCOMPARE(PrintReport(p, FeetExample(), boxes), PrintOutcome::Cancelled);
        QCOMPARE(boxes.shown.size(), std::size_t(4));
        const ShownBox& box = boxes.shown.back();
        QCOMPARE(box.text, "Device unavailable error occurred.");
        QCOMPARE(box.title, "Printer Error");
        QVERIFY(box.icon == MsgIcon::Critical);
        QVERIFY(box.buttons == MsgButtons::RetryCancel);
        QVERIFY(p.Aborted());
        QCOMPARE(p.OperationCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPrintReport)
#include "tst_print_report.moc"
