// The command line on architects' floor plans, run as a user runs it: rectangles in every drawing
// unit, place and turn laid out where they stand and their masking plan read back by an
// independent reader; other shapes against the quality limits; files and options that cannot be
// used refused with their cause and nothing written; a schedule joined by name; real plans.
#include <QtTest>

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

namespace {

struct Run {
    int status;
    QString out, err;
};

Run Command(const QStringList& args, const QString& folder = {},
            const QString& program = MSL_PLAN_PATH) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// Debian's ezdxf writes a plan from {"units", "outlines": [[layer, [[x, y] ...]] ...], "texts":
// [[layer, text, x, y] ...], "lines": [[layer, x1, y1, x2, y2] ...]}, and prints the outlines'
// handles.
constexpr const char* kWritePlan = R"(
import sys, json, ezdxf
p = json.loads(sys.argv[2]); doc = ezdxf.new('R2010', units=p.get('units', 0)); msp = doc.modelspace()
print(*(msp.add_lwpolyline(c, close=True, dxfattribs={'layer': l}).dxf.handle for l, c in p.get('outlines', [])))
for l, t, x, y in p.get('texts', []): msp.add_text(t, dxfattribs={'layer': l, 'insert': (x, y)})
for l, *c in p.get('lines', []): msp.add_line(c[:2], c[2:], dxfattribs={'layer': l})
doc.saveas(sys.argv[1])
)";

// The masking plan read by ezdxf with an audit that repairs nothing.
constexpr const char* kReadMasking = R"(
import sys; from ezdxf import recover
doc, audit = recover.readfile(sys.argv[1]); msp = doc.modelspace()
print('audit', len(audit.errors), len(audit.fixes), 'units', doc.header['$INSUNITS'], 'grid', len(msp.query('LINE[layer=="MASKING-GRID"]')))
for r in msp.query('LWPOLYLINE[layer=="ROOM"]'): print('room', r.closed, *('%r %r' % tuple(p[:2]) for p in r.get_points()))
for i in msp.query('INSERT[layer=="MASKING-SPEAKERS"]'): print(i.dxf.name, i.get_attrib_text('ROOM'), i.get_attrib_text('NUMBER'), i.dxf.insert.x, i.dxf.insert.y)
)";

// The plan's outlines' handles, or nothing when ezdxf could not write it.
std::optional<QStringList> WritePlan(const QString& path, const QString& plan) {
    const Run run = Command({"-c", kWritePlan, path, plan}, {}, "/usr/bin/python3");
    if (run.status != 0)
        return std::nullopt;
    return run.out.split(' ', Qt::SkipEmptyParts).replaceInStrings("\n", "");
}

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Whether two texts say the same, their numbers alike to a millionth.
bool Same(const QString& got, const QString& want) {
    static const QRegularExpression gap("[ ,\n]+");
    const QStringList a = got.trimmed().split(gap), b = want.trimmed().split(gap);
    for (qsizetype i = 0; a.size() == b.size() && i < a.size(); ++i) {
        bool numbers[2] = {};
        const double x = a[i].toDouble(&numbers[0]), y = b[i].toDouble(&numbers[1]);
        if (numbers[0] && numbers[1] ? std::abs(x - y) > 1e-6 * std::max(1.0, std::abs(y))
                                     : a[i] != b[i])
            return false;
    }
    return a.size() == b.size();
}

QString Xy(QPointF p) {
    return QString::number(p.x(), 'g', 17) + ' ' + QString::number(p.y(), 'g', 17);
}

} // namespace

class TestFloorPlan : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_shared = MSL_SHARED_PLANS;

    // The plan p.dxf written afresh, with its outlines' handles.
    QStringList plan(const QString& json) {
        QFile::remove(m_dir.filePath("p.dxf"));
        QDir(m_dir.filePath("out")).removeRecursively();
        const auto handles = WritePlan(m_dir.filePath("p.dxf"), json);
        if (!handles)
            qWarning("python3 with ezdxf could not write the plan");
        return handles.value_or(QStringList{"none"});
    }
    QStringList summary() { return ReadAll(m_dir.filePath("out/p summary.csv")).split('\n'); }

  private slots:
    // A rectangle drawn counter-clockwise from `origin`, its longer side first and turned by
    // `degrees`; the rule's rows along and across it in drawing units, worked out by hand (on the
    // floor S is 16 ft or 4880 mm).
    void rectanglesAreLaidOutWhereTheyStand_data() {
        QTest::addColumn<int>("units"); // $INSUNITS
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("width");
        QTest::addColumn<QPointF>("origin");
        QTest::addColumn<double>("degrees");
        QTest::addColumn<QList<double>>("along");
        QTest::addColumn<QList<double>>("across");
        QTest::addColumn<QString>("area");
        // clang-format off
        // 40 ft: 3 rows 15 apart, edges 5; 30 ft: 2 rows 15 apart, edges 7.5.
        QTest::newRow("ft, 0 degrees") << 2 << 40. << 30. << QPointF(0, 0) << 0. << QList<double>{5, 20, 35} << QList<double>{7.5, 22.5} << "1200.0,sq ft";
        // 61 ft: 4 rows 16 apart, edges 6.5; 30 ft as above.
        QTest::newRow("in, 30 degrees") << 1 << 732. << 360. << QPointF(1200, -600) << 30. << QList<double>{78, 270, 462, 654} << QList<double>{90, 270} << "1830.0,sq ft";
        // 12000 mm: 2 rows 4880 apart, edges 3560; 6000 mm: 2 rows 3000 apart, edges 1500.
        QTest::newRow("mm, 90 degrees") << 4 << 12000. << 6000. << QPointF(5000, 2000) << 90. << QList<double>{3560, 8440} << QList<double>{1500, 4500} << "72.0,m2";
        // 15000 mm: 3 rows 4880 apart, edges 2620; 9000 mm: 2 rows 4500 apart, edges 2250.
        QTest::newRow("cm, 30 degrees") << 5 << 1500. << 900. << QPointF(-300, 450) << 30. << QList<double>{262, 750, 1238} << QList<double>{225, 675} << "135.0,m2";
        // 20000 mm: 4 rows 4880 apart, edges 2680; 8000 mm: 2 rows 4000 apart, edges 2000.
        QTest::newRow("m, far out") << 6 << 20. << 8. << QPointF(2500, 1200) << 0. << QList<double>{2.68, 7.56, 12.44, 17.32} << QList<double>{2, 6} << "160.0,m2";
        // 25 ft: 2 rows 12 apart (12.5 to even), edges 6.5; 12 ft: 1 row.
        QTest::newRow("ft, 90 degrees, one row") << 2 << 25. << 12. << QPointF(10, 10) << 90. << QList<double>{6.5, 18.5} << QList<double>{6} << "300.0,sq ft";
        // clang-format on
    }
    void rectanglesAreLaidOutWhereTheyStand() {
        QFETCH(int, units);
        QFETCH(double, length);
        QFETCH(double, width);
        QFETCH(QPointF, origin);
        QFETCH(double, degrees);
        QFETCH(QList<double>, along);
        QFETCH(QList<double>, across);
        QFETCH(QString, area);
        const double turn = qDegreesToRadians(degrees);
        const auto at = [&](double x, double y) {
            return origin + x * QPointF(std::cos(turn), std::sin(turn)) +
                   y * QPointF(-std::sin(turn), std::cos(turn));
        };
        QString corners, room = "room True";
        for (const QPointF c : {at(0, 0), at(length, 0), at(length, width), at(0, width)}) {
            corners += QString(corners.isEmpty() ? "" : ",") + "[" + Xy(c).replace(' ', ',') + "]";
            room += ' ' + Xy(c);
        }
        const QStringList handles =
            plan(QString(R"({"units": %1, "outlines": [["Rooms", [%2]]], "texts": [["Names", )"
                         R"("Office", %3]]})")
                     .arg(units)
                     .arg(corners, Xy(at(length / 2, width / 2)).replace(' ', ',')));
        const Run run = Command(
            {"--plan", "p.dxf", "--location", "floor", "--dxf", "--coordinates", "--out", "out"},
            m_dir.path());
        QCOMPARE(run.err, "p.dxf: 1 laid out, 0 skipped, 0 refused\n");
        QCOMPARE(run.status, 0);
        QString speakers = "room,speaker,x,y", inserts;
        int number = 0;
        for (const double x : along)
            for (const double y : across) {
                speakers += QString("\nOffice,%1 ").arg(++number) + Xy(at(x, y));
                inserts += QString("\nMASKING_SPEAKER Office %1 ").arg(number) + Xy(at(x, y));
            }
        const QStringList row = summary().value(1).split(',');
        QCOMPARE(
            row.mid(0, 8).join(','),
            QString("Office,Rooms,%1,laid out,rectangle,%2,%3").arg(handles[0], area).arg(number));
        QCOMPARE(row.size(), 12);
        QCOMPARE(row.last(), ""); // no notes: the sides are whole units
        const QString got = ReadAll(m_dir.filePath("out/p speakers.csv"));
        QVERIFY2(Same(got, speakers), qPrintable(got));
        const QString masking = Command({"-c", kReadMasking, m_dir.filePath("out/p masking.dxf")},
                                        {}, "/usr/bin/python3")
                                    .out;
        QVERIFY2(Same(masking, QString("audit 0 0 units %1 grid %2\n")
                                       .arg(units)
                                       .arg(along.size() + across.size()) +
                                   room + inserts),
                 qPrintable(masking));
    }

    // Outlines not rectangles, in feet and millimetres: laid out, and within the quality limits
    // (an angled room's farthest spot 0.1 S more).
    void otherShapesKeepTheQualityLimits_data() {
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("corners");
        QTest::addColumn<QString>("laidOut"); // status and shape
        QTest::addColumn<double>("farthest");
        // clang-format off
        QTest::newRow("L, ft") << 2 << "[0,0],[60,0],[60,30],[30,30],[30,60],[0,60]" << "laid out,rectilinear" << 0.90;
        QTest::newRow("U, ft") << 2 << "[0,0],[70,0],[70,50],[50,50],[50,20],[20,20],[20,50],[0,50]" << "laid out,rectilinear" << 0.90;
        QTest::newRow("L, mm") << 4 << "[0,0],[18000,0],[18000,9000],[9000,9000],[9000,18000],[0,18000]" << "laid out,rectilinear" << 1.35;
        QTest::newRow("angled, ft") << 2 << "[0,0],[50,0],[50,20],[35,40],[0,40]" << "laid out: check,other" << 1.00;
        QTest::newRow("angled, mm") << 4 << "[0,0],[18000,0],[13500,9000],[4500,9000]" << "laid out: check,other" << 1.45;
        // clang-format on
    }
    void otherShapesKeepTheQualityLimits() {
        QFETCH(int, units);
        QFETCH(QString, corners);
        QFETCH(QString, laidOut);
        QFETCH(double, farthest);
        plan(
            QString(
                R"({"units": %1, "outlines": [["Rooms", [%2]]], "texts": [["Names", "Room", 5, 5]]})")
                .arg(units)
                .arg(corners));
        const Run run =
            Command({"--plan", "p.dxf", "--location", "floor", "--out", "out"}, m_dir.path());
        QCOMPARE(run.err, "p.dxf: 1 laid out, 0 skipped, 0 refused\n");
        const QStringList row = summary().value(1).split(',');
        QCOMPARE(row.mid(3, 2).join(','), laidOut);
        QVERIFY2(row.value(7).toInt() > 1 && row.value(8).toDouble() >= 0.10 &&
                     row.value(9).toDouble() >= 0.30 && row.value(10).toDouble() <= farthest,
                 qPrintable(row.join(',')));
    }

    // Each with its message on standard error and exit status; only a plan with rooms left to
    // lay out writes its summary. %1 is the first outline's handle.
    void unusablePlansAndOptionsAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes"); // the plan as is, or by ezdxf from:
        QTest::addColumn<QString>("json");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        const QStringList p{"--plan", "p.dxf", "--location", "floor", "--out", "out"};
        const QString office = R"(["Rooms", [[0,0],[40,0],[40,30],[0,30]]])";
        const QString no = "masking-speaker-plan: ";
        // clang-format off
        QTest::newRow("DWG") << QByteArray("AC1032\0\0\0\0\0\x03\x01", 13) << "" << p << 2 << "p.dxf: DWG files are not read; save the plan as DXF.";
        QTest::newRow("binary DXF") << QByteArray("AutoCAD Binary DXF\r\n\x1a\0", 22) << "" << p << 2 << "p.dxf: Binary DXF files are not read; save the plan as ASCII DXF.";
        QTest::newRow("a letter") << QByteArray("Dear Sir,\nthe plans follow.\n") << "" << p << 2 << "p.dxf: This is not a DXF file: it does not begin with a SECTION.";
        QTest::newRow("truncated") << QByteArray("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nWalls\n10\n") << "" << p << 2
            << "p.dxf: line 9: the file ends after a group code, without its value; it looks truncated";
        QTest::newRow("no unit") << QByteArray() << R"({"outlines": [)" + office + R"(, ["Rooms", [[50,0],[170.5,0],[170.5,80],[50,80]]]]})" << p << 2
            << "p.dxf: the plan does not say its unit; its rooms measure from 30 x 40 to 80 x 120.5 drawing units: give --plan-units in, ft, mm, cm or m";
        QTest::newRow("walls only") << QByteArray() << R"({"units": 4, "lines": [["Walls", 0,0,9000,0], ["Walls", 9000,0,9000,6000], ["A-WALL", 0,0,0,6000]]})" << p << 2
            << "p.dxf: the plan has no room outlines (closed polylines), only 3 lines such as walls; draw each room as a closed polyline on a room layer";
        QTest::newRow("outlines on other layers") << QByteArray() << R"({"units": 2, "outlines": [["Furniture", [[1,1],[3,1],[3,2]]], ["A-WALL", [[0,0],[9,0],[9,9]]], ["A-WALL", [[0,0],[9,0],[0,9]]]]})" << p << 2
            << "p.dxf: no room outlines on the layers *area*, *room*, *space*, *zone*, RM$*; closed outlines lie on A-WALL (2), Furniture (1): name the room layers with --room-layer";
        QTest::newRow("self-crossing") << QByteArray() << R"({"units": 2, "outlines": [["Rooms", [[100,0],[130,30],[130,0],[100,30]]], )" + office + "]}" << p << 1
            << "p.dxf: layer Rooms handle %1: crosses itself\np.dxf: 1 laid out, 0 skipped, 1 refused";
        QTest::newRow("--length") << QByteArray() << "{\"units\": 2, \"outlines\": [" + office + "]}" << p + QStringList{"--length", "40"} << 2
            << no + "--length does not go with --plan: the plan gives it (see --help)";
        QTest::newRow("--plan-units xx") << QByteArray() << "{\"units\": 2, \"outlines\": [" + office + "]}" << p + QStringList{"--plan-units", "xx"} << 2
            << no + "--plan-units \"xx\" is not in, ft, mm, cm or m (see --help)";
        QTest::newRow("--sheet B7") << QByteArray() << "{\"units\": 2, \"outlines\": [" + office + "]}" << p + QStringList{"--sheet", "B7"} << 2
            << no + "--sheet \"B7\" is not A3, A1, letter, tabloid or ansi-d (see --help)";
        QTest::newRow("--room-layer, no plan") << QByteArray() << "{}" << QStringList{"--room-layer", "Rooms", "--location", "floor"} << 2
            << no + "--room-layer needs --plan (see --help)";
        // clang-format on
    }
    void unusablePlansAndOptionsAreRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, json);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        const QStringList handles = plan(json.isEmpty() ? "{}" : json);
        QFile file(m_dir.filePath("p.dxf"));
        QVERIFY(!json.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(bytes)));
        file.close();
        const Run run = Command(args, m_dir.path());
        QCOMPARE(run.err.trimmed(), QString(err).replace("%1", handles.value(0)));
        QCOMPARE(run.status, status);
        QCOMPARE(QDir(m_dir.filePath("out")).entryList(QDir::Files),
                 status == 1 ? QStringList{"p summary.csv"} : QStringList{});
    }

    // The options' conditions for the plan's rooms, the schedule's where it names one; a
    // schedule's room that is not in the plan is reported. Office takes S 14 ft (plenum 2, tile
    // 3, lower ceiling, batts): 3 rows 14 apart along 40 ft, edges 6, and 2 across 30, edges 8.
    void scheduleIsJoinedToThePlanByName() {
        plan(R"({"units": 2, "outlines": [["Rooms", [[0,0],[40,0],[40,30],[0,30]]], ["Rooms", )"
             R"([[0,40],[40,40],[40,70],[0,70]]]], "texts": [["Names", "Office", 20, 15], )"
             R"(["Names", "Lobby", 20, 55]]})");
        QFile schedule(m_dir.filePath("s.csv"));
        QVERIFY(schedule.open(QIODevice::WriteOnly) &&
                schedule.write("room,location,plenum,tile,ceiling-height,batts\n"
                               "Office,suspended,2,3,1,yes\nGhost,floor,,,,\n") > 0);
        schedule.close();
        const Run run = Command({"--plan", "p.dxf", "--location", "floor", "--schedule", "s.csv",
                                 "--coordinates", "--out", "out"},
                                m_dir.path());
        QCOMPARE(run.err, "s.csv:3: room \"Ghost\" is not in the plan\n"
                          "p.dxf: 2 laid out, 0 skipped, 1 refused\n");
        QCOMPARE(run.status, 1);
        QCOMPARE(summary().value(3), "Ghost,,,not in the plan,,,,,,,,");
        // Lobby on the floor: 5, 20, 35 along and 7.5, 22.5 across, from (0, 40).
        QCOMPARE(ReadAll(m_dir.filePath("out/p speakers.csv")),
                 "room,speaker,x,y\nOffice,1,6,8\nOffice,2,6,22\nOffice,3,20,8\nOffice,4,20,22\n"
                 "Office,5,34,8\nOffice,6,34,22\nLobby,1,5,47.5\nLobby,2,5,62.5\nLobby,3,20,47.5\n"
                 "Lobby,4,20,62.5\nLobby,5,35,47.5\nLobby,6,35,62.5\n");
    }

    // The plans in the shared folder (their README gives their content): the counts or the
    // message on standard error, the rooms in the summary and the start of one room's row.
    void realPlans_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("err");
        QTest::addColumn<int>("rooms");
        QTest::addColumn<QString>("row");
        // clang-format off
        // 60 outlines, none narrower than 120 cm; one holds an island joined by a slit, so it
        // touches itself. D018 is 1177.5 x 448 cm: 2 rows 4880 apart, edges 3447.5, and 1 row
        // across, 2240 from the walls.
        QTest::newRow("uni-fr") << "uni-fr-openindoor-rooms.dxf" << QStringList() << "59 laid out, 1 skipped, 0 refused" << 60
            << "D018 Micro/Ordinateur 3\u00E9/4\u00E9,ABY_Zone_ZIND,264,laid out,rectangle,52.8,m2,2,0.46,1.00,";
        // 209 x 246 cm and a strip 74 x 6 cm: one speaker amid the larger part, 104.5 cm from
        // its sides, the strip covered from beside it.
        QTest::newRow("unimi, cm") << "room-unimi-archibus-rm.dxf" << QStringList{"--plan-units", "cm"} << "1 laid out, 0 skipped, 0 refused" << 1
            << ",RM$,176,laid out: check,rectilinear,5.2,m2,1,0.21,inf,";
        QTest::newRow("walls only") << "office-indoor-sim-lines.dxf" << QStringList() << "the plan has no room outlines (closed polylines), only "
            "186 lines such as walls; draw each room as a closed polyline on a room layer" << 0 << "";
        // clang-format on
    }
    void realPlans() {
        QFETCH(QString, file);
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        QFETCH(int, rooms);
        QFETCH(QString, row);
        if (!QFile::exists(m_shared + '/' + file))
            QSKIP("the shared plans are not beside the project");
        QDir(m_dir.filePath("out")).removeRecursively();
        const Run run = Command(QStringList{"--plan", m_shared + '/' + file, "--location", "floor",
                                            "--out", m_dir.filePath("out")} +
                                args);
        QCOMPARE(run.err, file + ": " + err + "\n");
        const QStringList rows =
            ReadAll(m_dir.filePath("out/" + QFileInfo(file).completeBaseName() + " summary.csv"))
                .split('\n'); // header, rooms, total and an empty end
        QCOMPARE(std::max<qsizetype>(rows.size() - 3, 0), rooms);
        QCOMPARE(rows.filter(row).size(), row.isEmpty() ? rows.size() : 1);
    }
};

QTEST_MAIN(TestFloorPlan)
#include "tst_floor_plan.moc"
