// Reading floor plans: texts cleaned of their codes, files that are not plans refused with their
// cause, plans written by an independent writer (ezdxf) read back to hand-worked corners, names
// and units, rooms chosen and named, and the real plans in the shared folder.
#include "floorplan/plan_reader.h"
#include "floorplan/plan_text.h"
#include "floorplan/rooms.h"
#include "floorplan/units.h"

#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

using namespace floorplan;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::variant<Plan, PlanError> Read(const QByteArray& bytes) {
    return ReadPlan(std::string_view(bytes.constData(), size_t(bytes.size())));
}

// "x,y x,y ..." rounded to thousandths, for comparing corners with worked-out values.
QString Corners(const Ring& ring) {
    QStringList points;
    for (const Point& p : ring)
        points << QString::number(std::round(p.x * 1000) / 1000, 'g', 12) + ',' +
                      QString::number(std::round(p.y * 1000) / 1000, 'g', 12);
    return points.join(' ');
}

QString Names(const FloorRooms& found) {
    QStringList names;
    for (const PlanRoom& room : found.rooms)
        names << QString::fromStdString(room.name);
    return names.join('|');
}

QByteArray Entities(const QByteArray& body) {
    return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

// Blocks nested levels deep, each placing the one below `copies` times (an array insert of
// columns x rows), the lowest holding one line: copies^levels lines in all.
QByteArray NestedBlocks(int levels, int columns, int rows) {
    QByteArray blocks = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n10\n0\n20\n0\n"
                        "0\nLINE\n8\nW\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
    for (int level = 1; level <= levels; ++level)
        blocks += "0\nBLOCK\n2\nB" + QByteArray::number(level) + "\n10\n0\n20\n0\n0\nINSERT\n2\nB" +
                  QByteArray::number(level - 1) + "\n10\n0\n20\n0\n70\n" +
                  QByteArray::number(columns) + "\n71\n" + QByteArray::number(rows) +
                  "\n44\n1\n45\n1\n0\nENDBLK\n";
    return blocks + "0\nENDSEC\n" +
           Entities("0\nINSERT\n2\nB" + QByteArray::number(levels) + "\n10\n0\n20\n0\n").mid(0);
}

} // namespace

class TestFloorplanRead : public QObject {
    Q_OBJECT
    QTemporaryDir m_written;
    bool m_haveWritten = false;

    std::optional<Plan> written(const char* file) {
        auto read = Read(ReadAll(m_written.filePath(file)));
        if (auto* error = std::get_if<PlanError>(&read)) {
            qWarning("%s: %s", file, error->message.c_str());
            return std::nullopt;
        }
        return std::get<Plan>(read);
    }

  private slots:
    void initTestCase() {
        for (const QString python : {"python3", "/usr/bin/python3"}) {
            QProcess writer;
            writer.start(python, {QFINDTESTDATA("plans/make_plans.py"), m_written.path()});
            if (writer.waitForFinished(60000) && writer.exitStatus() == QProcess::NormalExit &&
                writer.exitCode() == 0) {
                m_haveWritten = true;
                return;
            }
        }
    }

    void textIsCleanedOfCodes() {
        // clang-format off
        const std::pair<const char*, const char*> texts[] = {
            {"\\A1;{\\H2.5x;\\C1;Conf}\\PRoom", "Conf Room"}, {"\\fArial|b1|i0;Lab\\XNorth", "Lab North"},
            {"\\W0.8;\\Q15;\\T1.1;\\c255;Hall", "Hall"},      {"\\LUnder\\l \\OOver\\o \\KStrike\\k", "Under Over Strike"},
            {"\\S3^4; m", "3/4 m"}, {"\\S1#2;", "1/2"},       {"a\\~b", "a b"},
            {"\\\\ \\{x\\}", "\\ {x}"},                       {"%%uKITCHEN%%u", "KITCHEN"},
            {"90%%d %%p1 %%c50 5%%%", "90\u00B0 \u00B11 \u230050 5%"}, {"%%o%%kX", "X"},
            {"%%0652%%178", "A2\u00B2"},                      {"  two\n\r\tlines  \\P ", "two lines"},
            {"\\H3;", ""},                                    {"\\Fsimplex", ""}, {"50%", "50%"},
            {"\\pxsm0.9,qc;C003\\PCuisine", "C003 Cuisine"},
        };
        // clang-format on
        for (const auto& [text, clean] : texts)
            QVERIFY2(CleanText(text) == clean, text);
    }

    void filesThatAreNotPlansAreRefusedWithTheirCause() {
        const QByteArray polyline = "0\nLWPOLYLINE\n8\nRooms\n90\n";
        const QByteArray corner = "\n10\n0\n20\n0\n";
        const QByteArray tooLarge = "The plan's blocks place more than 20000000 corners, texts "
                                    "and lines; it is too large to read.";
        const std::pair<QByteArray, QByteArray> files[] = {
            {QByteArray("AC1032\0\0\0\x1f", 10), "DWG files are not read; save the plan as DXF."},
            {"AutoCAD Binary DXF\r\n\x1a",
             "Binary DXF files are not read; save the plan as ASCII DXF."},
            {"hello", "This is not a DXF file: it does not begin with a SECTION."},
            {"999\nmade by hand\n0\nSECTIONS\n",
             "This is not a DXF file: it does not begin with a SECTION."},
            {"\xFF\xFE" + QByteArray("0\0\n\0", 4),
             "The file is in UTF-16; save the plan as a DXF in ASCII or UTF-8."},
            {QByteArray("0\0\n\0S\0E\0", 8),
             "The file is in UTF-16; save the plan as a DXF in ASCII or UTF-8."},
            {"0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nWalls\n",
             "line 8: the file ends inside the ENTITIES section; it looks truncated"},
            {"0\nSECTION\n2\nENTITIES\n0\nENDSEC\n",
             "line 6: the file ends without its EOF marker; it looks truncated"},
            {"0\nSECTION\n2\nENTITIES\n0\nLINE\n8",
             "line 7: the file ends after a group code, without its value; it looks truncated"},
            {Entities("0\nLINE\nabc\n0\n"), "line 7: group code \"abc\" is not a number"},
            {Entities("0\nLINE\n5000\n0\n"), "line 7: group code 5000 is not one a DXF file uses"},
            {Entities(polyline + "1000000000" + corner),
             "line 10: the polyline's corner count is 1000000000, but it lists 1"},
            {Entities(polyline + "-4" + corner),
             "line 10: the polyline's corner count is -4, but it lists 1"},
            {Entities(polyline + "many" + corner),
             "line 10: the corner count \"many\" is not a whole number"},
            {Entities("0\nLINE\n8\nW\n10\n1e400\n20\n0\n"),
             "line 10: \"1e400\" is not a finite number"},
            {Entities("0\nLINE\n8\nW\n10\n0\n20\nnan\n"),
             "line 12: \"nan\" is not a finite number"},
            {Entities("0\nLINE\n8\nW\n10\n1.5m\n"), "line 10: \"1.5m\" is not a number"},
            {Entities("0\nTEXT\n8\nW\n70\n1.5\n"), "line 10: \"1.5\" is not a whole number"},
            {Entities("0\nTEXT\n1\n" + QByteArray(1001, 'x') + "\n"),
             "line 8: a line longer than 1000 characters"},
            {Entities(QByteArray("0\nTEXT\n1\nA\0B\n", 12)),
             "line 8: a NUL byte; this is not a text file"},
            {NestedBlocks(8, 10, 1), tooLarge},
            {NestedBlocks(1, 30000, 30000), tooLarge},
        };
        for (const auto& [bytes, message] : files) {
            const auto read = Read(bytes);
            const auto* error = std::get_if<PlanError>(&read);
            QVERIFY2(error, message);
            QCOMPARE(QByteArray::fromStdString(error->message), message);
        }
    }

    // Corners worked out by hand: the rotated rectangle is 4000 x 2000 turned 30 degrees; the
    // nested cell (0,0)-(10,4) is scaled (2,3), turned 90 degrees, moved to (100,0), then
    // scaled 2 and moved to (1000,500) or (3000,500).
    void writtenPlansReadAsDrawn() {
        if (!m_haveWritten)
            QSKIP("python3 with ezdxf is not available to write the test plans");
        const struct {
            const char* file;
            int unit;
            int polylines;
            int index;
            const char* layer;
            bool closed;
            const char* corners;
            const char* text;
        } plans[] = {
            {"l_shape_r12.dxf", -1, 1, 0, "Rooms", true,
             "0,0 6000,0 6000,3000 3000,3000 3000,5000 0,5000", "Office"},
            {"rotated_cp1252_r2000.dxf", int(DrawingUnit::Millimetres), 1, 0, "A-AREA", true,
             "0,0 3464.102,2000 2464.102,3732.051 -1000,1732.051", "Besprechungsraum S\u00FCd"},
            {"chinese_gbk_r2004.dxf", int(DrawingUnit::Feet), 1, 0, "\u623F\u95F4", true,
             "0,0 20,0 20,15 0,15", "\u4F1A\u8BAE\u5BA4"},
            {"nested_blocks_r2010.dxf", int(DrawingUnit::Metres), 2, 0, "Rooms", true,
             "1200,500 1200,540 1176,540 1176,500", "Conf Room 1/2 \u00E9t\u00E9"},
            {"nested_blocks_r2010.dxf", int(DrawingUnit::Metres), 2, 1, "Rooms", true,
             "3200,500 3200,540 3176,540 3176,500", "Conf Room 1/2 \u00E9t\u00E9"},
            {"closing_flags_r2018.dxf", int(DrawingUnit::Inches), 4, 0, "Rooms", true,
             "0,0 500,0 500,300 0,300", "Store"},
            {"closing_flags_r2018.dxf", int(DrawingUnit::Inches), 4, 1, "Rooms", true,
             "600,0 900,0 900,300 600,300", "Store"},
            {"closing_flags_r2018.dxf", int(DrawingUnit::Inches), 4, 2, "Rooms", false,
             "0,400 500,400 500,700", "Store"},
        };
        for (const auto& p : plans) {
            const std::optional<Plan> plan = written(p.file);
            QVERIFY2(plan, p.file);
            QCOMPARE(plan->headerUnit ? int(*plan->headerUnit) : -1, p.unit);
            QCOMPARE(int(plan->polylines.size()), p.polylines);
            const PlanPolyline& polyline = plan->polylines[size_t(p.index)];
            QCOMPARE(QString::fromStdString(polyline.layer), QString(p.layer));
            QCOMPARE(polyline.closed, p.closed);
            QCOMPARE(Corners(polyline.corners), QString(p.corners));
            QCOMPARE(QString::fromStdString(plan->texts.at(0).text), QString(p.text));
        }
    }

    void roomsAreChosenAndNamed() {
        if (!m_haveWritten)
            QSKIP("python3 with ezdxf is not available to write the test plans");
        const struct {
            const char* file;
            std::vector<std::string> roomLayers, textLayers;
            const char* names;
            const char* refused;
        } plans[] = {
            {"l_shape_r12.dxf", {"rooms"}, {}, "Office", ""},
            {"l_shape_r12.dxf", {}, {}, "Office", ""},
            {"l_shape_r12.dxf", {"Walls"}, {}, "", ""},
            {"l_shape_r12.dxf", {"Rooms"}, {"Walls"}, "room at 2625,2125", ""},
            {"rotated_cp1252_r2000.dxf", {}, {}, "Besprechungsraum S\u00FCd", ""},
            {"chinese_gbk_r2004.dxf", {"\u623F*"}, {}, "\u4F1A\u8BAE\u5BA4", ""},
            // The block's own text is the same in both copies: no name for either.
            {"nested_blocks_r2010.dxf",
             {"R*S"},
             {},
             "Conf Room 1/2 \u00E9t\u00E9|room at 3188,520",
             ""},
            {"closing_flags_r2018.dxf", {"Rooms"}, {}, "Store|Store (2)", "open|crosses itself"},
        };
        for (const auto& p : plans) {
            const std::optional<Plan> plan = written(p.file);
            QVERIFY2(plan, p.file);
            const FloorRooms found = FindRooms(*plan, p.roomLayers, p.textLayers);
            QCOMPARE(Names(found), QString(p.names));
            QStringList refused;
            for (const RefusedOutline& outline : found.refused)
                refused << QString::fromStdString(outline.reason);
            QCOMPARE(refused.join('|'), QString(p.refused));
        }
        const std::optional<Plan> flags = written("closing_flags_r2018.dxf");
        const FloorRooms found = FindRooms(*flags, {"Rooms"}, {});
        QCOMPARE(found.rooms[1].notes,
                 (std::vector<std::string>{"also labelled \"12 m\u00B2\"",
                                           "another room is also named \"Store\""}));
        QCOMPARE(found.closedOutlinesPerLayer.at("Rooms"), 3);
    }

    void layerPatternsAndUnits() {
        const struct {
            const char* pattern;
            const char* layer;
            bool matches;
        } layers[] = {
            {"*room*", "A-ROOM-OUTLINE", true},
            {"*zone*", "ABY_Zone_ZIND", true},
            {"RM$*", "RM$", true},
            {"RM$*", "XRM$", false},
            {"a*b*c", "aXbYc", true},
            {"a*b*c", "aXbYcd", false},
            {"*", "", true},
            {"", "x", false},
            {"**a", "ba", true},
        };
        for (const auto& l : layers)
            QVERIFY2(LayerMatches(l.pattern, l.layer) == l.matches, l.layer);
        const auto defaultRoom = [](const char* layer) {
            for (const std::string& pattern : DefaultRoomLayers())
                if (LayerMatches(pattern, layer))
                    return true;
            return false;
        };
        QVERIFY(defaultRoom("A-AREA") && defaultRoom("Spaces") && defaultRoom("RM$"));
        QVERIFY(!defaultRoom("A-WALL") && !defaultRoom("NLOCALI") &&
                !defaultRoom("Texte_Pi\u00E8ces"));
        const struct {
            const char* name;
            DrawingUnit unit;
            Units design;
            double factor;
        } units[] = {
            {"IN", DrawingUnit::Inches, Units::Feet, 1.0 / 12},
            {"feet", DrawingUnit::Feet, Units::Feet, 1},
            {"mm", DrawingUnit::Millimetres, Units::Millimetres, 1},
            {"Cm", DrawingUnit::Centimetres, Units::Millimetres, 10},
            {"m", DrawingUnit::Metres, Units::Millimetres, 1000},
        };
        for (const auto& u : units) {
            QCOMPARE(ParseDrawingUnit(u.name), std::optional<DrawingUnit>(u.unit));
            QCOMPARE(DesignUnitsFor(u.unit), u.design);
            QCOMPARE(ToDesignUnits(u.unit), u.factor);
        }
        QCOMPARE(ParseDrawingUnit("yd"), std::nullopt);
        QCOMPARE(ParseDrawingUnit(""), std::nullopt);
    }

    // Handles as written, bulges as chords, paper space left out, and code-page bytes that do
    // not decode as U+FFFD; UTF-8 from AutoCAD 2007's format on.
    void handWrittenEntitiesReadAsWritten() {
        const QByteArray header =
            "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\n"
            "ANSI_1252\n0\nENDSEC\n";
        const QByteArray plan =
            header +
            Entities(
                "0\nLWPOLYLINE\n5\n00ABCDEF12\n8\nRooms\n90\n3\n70\n1\n42\n9\n10\n0\n20\n0\n42\n1\n"
                "10\n4\n20\n0\n10\n4\n20\n3\n0\nLWPOLYLINE\n8\nRooms\n67\n1\n90\n3\n10\n0\n20\n0\n1"
                "0\n1\n"
                "20\n0\n10\n1\n20\n1\n0\nTEXT\n8\nCaf\xE9\n10\n1\n20\n1\n1\nB\x81r\\U+00FC\n");
        const auto read = Read(plan);
        QVERIFY(std::holds_alternative<Plan>(read));
        const Plan& p = std::get<Plan>(read);
        QCOMPARE(int(p.polylines.size()), 1);
        QCOMPARE(p.polylines[0].handle, std::string("00ABCDEF12"));
        QVERIFY(p.polylines[0].hadArcs && p.polylines[0].closed);
        QCOMPARE(Corners(p.polylines[0].corners), QString("0,0 4,0 4,3"));
        QCOMPARE(p.texts[0].layer, std::string("Caf\u00E9"));
        QCOMPARE(p.texts[0].text, std::string("B\uFFFDr\u00FC"));
        QCOMPARE(p.headerUnit, std::nullopt);
        // Coordinates far beyond any building still read, and still make an outline.
        const auto huge =
            Read(Entities("0\nLWPOLYLINE\n8\nRooms\n70\n1\n10\n0\n20\n0\n10\n1\n20\n0\n"
                          "10\n10\n20\n90\n10\n10\n20\n8.7e100\n"));
        const FloorRooms hugeRooms = FindRooms(std::get<Plan>(huge), {}, {});
        QCOMPARE(int(hugeRooms.rooms.size()), 1);
        QByteArray utf8 = plan;
        utf8.replace("AC1015", "AC1021");
        QCOMPARE(std::get<Plan>(Read(utf8)).texts[0].text, std::string("B\uFFFDr\u00FC"));
        QCOMPARE(std::get<Plan>(Read(utf8)).texts[0].layer, std::string("Caf\uFFFD"));
    }

    // Numbers in every form the scan accepts, and the copies of an arrayed block insert turned
    // 90 degrees (columns 100 apart, rows 50, at 1000,0), against corners worked out by hand.
    void numbersAndBlockCopiesReadAsWritten() {
        const QByteArray desk =
            "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nDESK\n10\n0\n20\n0\n0\nLWPOLYLINE\n8\n0\n90\n3\n"
            "10\n0\n20\n0\n10\n10\n20\n0\n10\n10\n20\n5\n0\nTEXT\n8\n0\n10\n1\n20\n1\n1\nD\n"
            "0\nLINE\n8\n0\n0\nLINE\n8\nW\n0\nENDBLK\n0\nENDSEC\n";
        const QByteArray arrayed =
            desk + Entities("0\nINSERT\n8\nFurn\n2\nDESK\n10\n1000\n20\n0\n50\n90\n70\n2\n71\n2\n"
                            "44\n100\n45\n50\n");
        const std::pair<QByteArray, QStringList> plans[] = {
            {Entities("0\nLWPOLYLINE\n8\nR\n90\n4\n10\n1,5\n20\n+3.25\n10\n1.5e+02\n20\n 12.5 \n"
                      "10\n0x10\n20\n.5\n10\n-2.5E-1\n20\n7.\n"),
             {"1.5,3.25 150,12.5 16,0.5 -0.25,7"}},
            {Entities("0\nPOLYLINE\n8\nR\n70\n1\n0\nVERTEX\n10\n1,5\n20\n+3.25\n0\nVERTEX\n10\n"
                      "1.5e+02\n20\n 12.5 \n0\nVERTEX\n10\n0x10\n20\n.5\n0\nVERTEX\n10\n-2.5E-1\n"
                      "20\n7.\n0\nSEQEND\n"),
             {"1.5,3.25 150,12.5 16,0.5 -0.25,7"}},
            {arrayed,
             {"1000,0 1000,10 995,10", "1000,100 1000,110 995,110", "950,0 950,10 945,10",
              "950,100 950,110 945,110"}},
        };
        for (const auto& [bytes, corners] : plans) {
            const auto read = Read(bytes);
            QVERIFY(std::holds_alternative<Plan>(read));
            QStringList found;
            for (const PlanPolyline& polyline : std::get<Plan>(read).polylines)
                found << Corners(polyline.corners);
            QCOMPARE(found, corners);
        }
        const Plan copies = std::get<Plan>(Read(arrayed));
        QCOMPARE(copies.polylines[3].layer, std::string("Furn"));
        QCOMPARE(copies.linesPerLayer, (std::map<std::string, int>{{"Furn", 4}, {"W", 4}}));
        QCOMPARE(int(copies.texts.size()), 4);
        QVERIFY(copies.texts[0].repeatedByBlock && copies.texts[3].repeatedByBlock);
    }

    // A text names the smallest outline around it, the first of two equal ones, and one on the
    // outline's edge still counts. An MTEXT hung by its top-left corner at 390,480, outside every
    // outline, 60 wide and one 10-high line deep, has its middle at 420,471.7: in the last square.
    void textsNameTheInnermostOutline() {
        const auto square = [](int x, int y, int side) {
            return "0\nLWPOLYLINE\n8\nRooms\n70\n1\n10\n" + QByteArray::number(x) + "\n20\n" +
                   QByteArray::number(y) + "\n10\n" + QByteArray::number(x + side) + "\n20\n" +
                   QByteArray::number(y) + "\n10\n" + QByteArray::number(x + side) + "\n20\n" +
                   QByteArray::number(y + side) + "\n10\n" + QByteArray::number(x) + "\n20\n" +
                   QByteArray::number(y + side) + "\n";
        };
        const auto text = [](int x, int y, const char* words) {
            return "0\nTEXT\n8\nNames\n10\n" + QByteArray::number(x) + "\n20\n" +
                   QByteArray::number(y) + "\n1\n" + words + "\n";
        };
        const auto read = Read(Entities(
            square(0, 0, 100) + square(10, 10, 10) + square(200, 200, 10) + square(200, 200, 10) +
            square(300, 300, 10) + text(50, 50, "Outer") + text(15, 15, "Inner") +
            text(205, 205, "Twin") + text(310, 305, "Rim") + square(400, 400, 100) +
            "0\nMTEXT\n8\nNames\n10\n390\n20\n480\n40\n10\n41\n60\n71\n1\n1\nHung\n"));
        QCOMPARE(Names(FindRooms(std::get<Plan>(read), {}, {})),
                 QString("Outer|Inner|Twin|room at 205,205|Rim|Hung"));
    }

    // How long it takes is the benchmark's business; here every one of them is counted.
    void aMillionEntitiesAreAllRead() {
        QByteArray body;
        const QByteArray line = "0\nLINE\n8\nWalls\n10\n1.5\n20\n2\n11\n3\n21\n4\n";
        body.reserve(line.size() * 1000000);
        for (int i = 0; i < 1000000; ++i)
            body += line;
        const auto read = Read(Entities(body));
        QCOMPARE(std::get<Plan>(read).linesPerLayer.at("Walls"), 1000000);
    }

    void realPlansGiveTheirRooms() {
        const QString folder = QStringLiteral(MSL_SHARED_PLANS);
        if (!QDir(folder).exists())
            QSKIP("the shared folder of real plans is not here");
        const struct {
            const char* file;
            int rooms;
            const char* layer;
        } plans[] = {
            {"uni-fr-openindoor-rooms.dxf", 60, "ABY_Zone_ZIND"},
            {"room-unimi-archibus-rm.dxf", 1, "RM$"},
            {"house-us-bishop-autocad.dxf", 0, ""},
            {"hackerspace-london-ground.dxf", 0, ""},
            {"office-indoor-sim-lines.dxf", 0, ""},
            {"pavilion-barcelona-r12-blocks.dxf", 0, ""},
            {"plot-solvespace-open-polylines.dxf", 0, ""},
        };
        std::map<std::string, Plan> read;
        for (const auto& p : plans) {
            auto result = Read(ReadAll(folder + '/' + p.file));
            QVERIFY2(std::holds_alternative<Plan>(result), p.file);
            const FloorRooms found = FindRooms(std::get<Plan>(result), {}, {});
            QCOMPARE(int(found.rooms.size()), p.rooms);
            for (const PlanRoom& room : found.rooms)
                QCOMPARE(room.layer, std::string(p.layer));
            read[p.file] = std::get<Plan>(std::move(result));
        }
        // Names checked with ezdxf: the MTEXT inside outlines 218 and 228.
        const FloorRooms uniFr = FindRooms(read["uni-fr-openindoor-rooms.dxf"], {}, {});
        std::map<std::string, std::string> byHandle;
        for (const PlanRoom& room : uniFr.rooms)
            byHandle[room.handle] = room.name;
        QCOMPARE(byHandle["218"], std::string("C003 Cuisine"));
        QCOMPARE(byHandle["228"], std::string("A001 Salle de r\u00E9unions"));
        // Hung by its top-left corner outside every outline, the label's middle lies in 24C.
        QCOMPARE(byHandle["24C"], std::string("A015 Secr\u00E9tariat direction"));
        QCOMPARE(read["pavilion-barcelona-r12-blocks.dxf"].linesPerLayer.at("0"), 3988);
        bool kitchen = false;
        for (const PlanText& text : read["house-us-bishop-autocad.dxf"].texts)
            kitchen = kitchen || text.text == "KITCHEN";
        QVERIFY(kitchen);
    }
};

QTEST_GUILESS_MAIN(TestFloorplanRead)
#include "tst_floorplan_read.moc"
