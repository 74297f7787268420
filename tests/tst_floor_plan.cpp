// The command line on architects' floor plans, run as a user runs it: rectangles in every drawing
// unit, place and turn laid out where they stand, their masking plan read back by an independent
// reader; other shapes against the quality limits; plans, options and schedules that cannot all
// be used, with their messages and summaries; and real plans.
#include "plan_command.h"

#include <QtTest>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

// Debian's ezdxf writes a plan from {"units", "outlines": [[layer, [[x, y] ...]] ...], "texts":
// [[layer, text, x, y] ...], "lines": [[layer, x1, y1, x2, y2] ...]}; it prints their handles.
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

QString Xy(QPointF p, QChar gap = ' ') {
    return QString::number(p.x(), 'g', 17) + gap + QString::number(p.y(), 'g', 17);
}

// A rectangle drawn counter-clockwise from `origin`, its longer side first, turned by `degrees`;
// the rule's rows along and across it in drawing units, its area and area unit.
struct Rectangle {
    int units; // $INSUNITS
    QPointF size, origin;
    double degrees;
    QList<double> along, across;
    QString area;
};

} // namespace

Q_DECLARE_METATYPE(Rectangle)

class TestFloorPlan : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    // p.dxf from ezdxf and JSON, linked to a real plan ("shared/name", never copied) or as the
    // bytes given, with its outlines' handles; nothing when it cannot be made.
    std::optional<QStringList> plan(const QByteArray& source) {
        const QString path = m_dir.filePath("p.dxf");
        QDir(m_dir.filePath("out")).removeRecursively();
        QFile::remove(path);
        QFile file(path);
        if (source.startsWith("shared/")) {
            const QString shared = MSL_SHARED_PLANS + source.mid(6);
            return QFileInfo(shared).isFile() && QFile::link(shared, path)
                       ? std::optional(QStringList())
                       : std::nullopt;
        }
        if (!source.startsWith('{'))
            return file.open(QIODevice::WriteOnly) && file.write(source) == source.size()
                       ? std::optional(QStringList())
                       : std::nullopt;
        const Run run = Command({"-c", kWritePlan, path, source}, {}, "/usr/bin/python3");
        return run.status ? std::nullopt : std::optional(run.out.simplified().split(' '));
    }
    QStringList summary() { return ReadAll(m_dir.filePath("out/p summary.csv")).split('\n'); }

  private slots:
    // Worked out by hand from the rule, S being 16 ft or 4880 mm on the floor.
    void rectanglesAreLaidOutWhereTheyStand_data() {
        QTest::addColumn<Rectangle>("r");
        // clang-format off
        // 40 ft: 3 rows 15 apart, edges 5; 30 ft: 2 rows 15 apart, edges 7.5.
        QTest::newRow("ft, 0 degrees") << Rectangle{2, {40, 30}, {0, 0}, 0, {5, 20, 35}, {7.5, 22.5}, "1200.0,sq ft"};
        // 61 ft: 4 rows 16 apart, edges 6.5; 30 ft as above.
        QTest::newRow("in, 30 degrees") << Rectangle{1, {732, 360}, {1200, -600}, 30, {78, 270, 462, 654}, {90, 270}, "1830.0,sq ft"};
        // 12000 mm: 2 rows 4880 apart, edges 3560; 6000 mm: 2 rows 3000 apart, edges 1500.
        QTest::newRow("mm, 90 degrees") << Rectangle{4, {12000, 6000}, {5000, 2000}, 90, {3560, 8440}, {1500, 4500}, "72.0,m2"};
        // 15000 mm: 3 rows 4880 apart, edges 2620; 9000 mm: 2 rows 4500 apart, edges 2250.
        QTest::newRow("cm, 30 degrees") << Rectangle{5, {1500, 900}, {-300, 450}, 30, {262, 750, 1238}, {225, 675}, "135.0,m2"};
        // 20000 mm: 4 rows 4880 apart, edges 2680; 8000 mm: 2 rows 4000 apart, edges 2000.
        QTest::newRow("m, far out") << Rectangle{6, {20, 8}, {2500, 1200}, 0, {2.68, 7.56, 12.44, 17.32}, {2, 6}, "160.0,m2"};
        // 25 ft: 2 rows 12 apart (12.5 to even), edges 6.5; 12 ft: 1 row.
        QTest::newRow("ft, 90 degrees, one row") << Rectangle{2, {25, 12}, {10, 10}, 90, {6.5, 18.5}, {6}, "300.0,sq ft"};
        // clang-format on
    }
    void rectanglesAreLaidOutWhereTheyStand() {
        QFETCH(Rectangle, r);
        const double turn = qDegreesToRadians(r.degrees);
        const auto at = [&](double x, double y) {
            return r.origin + QPointF(x * std::cos(turn) - y * std::sin(turn),
                                      x * std::sin(turn) + y * std::cos(turn));
        };
        QString corners, plan = "audit 0 0 units %1 grid %2\nroom True",
                         speakers = "room,speaker,x,y";
        for (const QPointF c :
             {at(0, 0), at(r.size.x(), 0), at(r.size.x(), r.size.y()), at(0, r.size.y())})
            corners += (corners.isEmpty() ? "[" : ",[") + Xy(c, ',') + "]", plan += ' ' + Xy(c);
        const auto handles = this->plan(
            QString(
                R"({"units": %1, "outlines": [["Rooms", [%2]]], "texts": [["Names", "Office", %3]]})")
                .arg(r.units)
                .arg(corners, Xy(at(r.size.x() / 2, r.size.y() / 2), ','))
                .toUtf8());
        if (!handles)
            QSKIP("python3 with ezdxf is not available to write the plans");
        const Run run = Command(
            {"--plan", "p.dxf", "--location", "floor", "--dxf", "--coordinates", "--out", "out"},
            m_dir.path());
        QCOMPARE(run.err + QString::number(run.status),
                 "p.dxf: 1 laid out, 0 skipped, 0 refused\n0");
        int number = 0;
        for (const double x : r.along)
            for (const double y : r.across) {
                speakers += QString("\nOffice,%1 ").arg(++number) + Xy(at(x, y));
                plan += QString("\nMASKING_SPEAKER Office %1 ").arg(number) + Xy(at(x, y));
            }
        // Whole sides: no notes.
        QCOMPARE(summary().value(1).section(',', 0, 7) + ',' + summary().value(1).section(',', 11),
                 QString("Office,Rooms,%1,laid out,rectangle,%2,%3,")
                     .arg(handles->value(0), r.area)
                     .arg(number));
        const QString coordinates = ReadAll(m_dir.filePath("out/p speakers.csv"));
        QVERIFY2(Same(coordinates, speakers), qPrintable(coordinates));
        const QString masking = Command({"-c", kReadMasking, m_dir.filePath("out/p masking.dxf")},
                                        {}, "/usr/bin/python3")
                                    .out;
        QVERIFY2(Same(masking, plan.arg(r.units).arg(r.along.size() + r.across.size())),
                 qPrintable(masking));
    }

    // Standard error (%1, %2: the outlines' handles) and the exit status; the folder holds the
    // summary only when rooms were laid out, with one row holding each given; each of these rooms
    // laid out keeps the quality limits (an angled room's farthest spot 0.1 S more).
    void plansOptionsAndSchedulesGiveTheirMessages_data() {
        QTest::addColumn<QByteArray>("plan");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QStringList>("rows");
        const QStringList p{"--plan", "p.dxf", "--location", "floor", "--out", "out"},
            s = p + QStringList{"--schedule", "s.csv"};
        const QByteArray office = R"(["Rooms", [[0,0],[40,0],[40,30],[0,30]]])",
                         one = "{\"units\": 2, \"outlines\": [" + office + "]}";
        const QString no = "masking-speaker-plan: ";
        // clang-format off
        QTest::newRow("L, ft") << QByteArray(R"({"units": 2, "outlines": [["Rooms", [[0,0],[60,0],[60,30],[30,30],[30,60],[0,60]]]], "texts": [["N", "Room", 5, 5]]})") << p << 0 << "p.dxf: 1 laid out, 0 skipped, 0 refused" << QStringList{"Room,Rooms,%1,laid out,rectilinear,"};
        QTest::newRow("U, ft") << QByteArray(R"({"units": 2, "outlines": [["Rooms", [[0,0],[70,0],[70,50],[50,50],[50,20],[20,20],[20,50],[0,50]]]], "texts": [["N", "Room", 5, 5]]})") << p << 0 << "p.dxf: 1 laid out, 0 skipped, 0 refused" << QStringList{"Room,Rooms,%1,laid out,rectilinear,"};
        QTest::newRow("L, mm") << QByteArray(R"({"units": 4, "outlines": [["Rooms", [[0,0],[18000,0],[18000,9000],[9000,9000],[9000,18000],[0,18000]]]], "texts": [["N", "Room", 5, 5]]})") << p << 0 << "p.dxf: 1 laid out, 0 skipped, 0 refused" << QStringList{"Room,Rooms,%1,laid out,rectilinear,"};
        QTest::newRow("angled, ft") << QByteArray(R"({"units": 2, "outlines": [["Rooms", [[0,0],[50,0],[50,20],[35,40],[0,40]]]], "texts": [["N", "Room", 5, 5]]})") << p << 0 << "p.dxf: 1 laid out, 0 skipped, 0 refused" << QStringList{"Room,Rooms,%1,laid out: check,other,"};
        QTest::newRow("angled, mm") << QByteArray(R"({"units": 4, "outlines": [["Rooms", [[0,0],[18000,0],[13500,9000],[4500,9000]]]], "texts": [["N", "Room", 5, 5]]})") << p << 0 << "p.dxf: 1 laid out, 0 skipped, 0 refused" << QStringList{"Room,Rooms,%1,laid out: check,other,"};
        QTest::newRow("DWG") << QByteArray("AC1032\0\0\0\0\0\x03\x01", 13) << p << 2 << "p.dxf: DWG files are not read; save the plan as DXF." << QStringList();
        QTest::newRow("binary DXF") << QByteArray("AutoCAD Binary DXF\r\n\x1a\0", 22) << p << 2 << "p.dxf: Binary DXF files are not read; save the plan as ASCII DXF." << QStringList();
        QTest::newRow("a letter") << QByteArray("Dear Sir,\nthe plans follow.\n") << p << 2 << "p.dxf: This is not a DXF file: it does not begin with a SECTION." << QStringList();
        QTest::newRow("truncated") << QByteArray("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nWalls\n10\n") << p << 2
            << "p.dxf: line 9: the file ends after a group code, without its value; it looks truncated" << QStringList();
        QTest::newRow("no unit") << R"({"outlines": [)" + office + R"(, ["Rooms", [[50,0],[170.5,0],[170.5,80],[50,80]]]]})" << p << 2
            << "p.dxf: the plan does not say its unit; its rooms measure from 30 x 40 to 80 x 120.5 drawing units: give --plan-units in, ft, mm, cm or m" << QStringList();
        QTest::newRow("walls only") << QByteArray(R"({"units": 4, "lines": [["Walls", 0,0,9000,0], ["Walls", 9000,0,9000,6000], ["A-WALL", 0,0,0,6000]]})") << p << 2
            << "p.dxf: the plan has no room outlines (closed polylines), only 3 lines such as walls; draw each room as a closed polyline on a room layer" << QStringList();
        QTest::newRow("outlines on other layers") << QByteArray(R"({"units": 2, "outlines": [["Furniture", [[1,1],[3,1],[3,2]]], ["A-WALL", [[0,0],[9,0],[9,9]]], ["A-WALL", [[0,0],[9,0],[0,9]]]]})") << p << 2
            << "p.dxf: no room outlines on the layers *area*, *room*, *space*, *zone*, RM$*; closed outlines lie on A-WALL (2), Furniture (1): name the room layers with --room-layer" << QStringList();
        QTest::newRow("self-crossing") << R"({"units": 2, "outlines": [["Rooms", [[100,0],[130,30],[130,0],[100,30]]], )" + office + "]}" << p << 1
            << "p.dxf: layer Rooms handle %1: crosses itself\np.dxf: 1 laid out, 0 skipped, 1 refused" << QStringList{"\"room at 20,15\",Rooms,%2,laid out,rectangle,", ",Rooms,%1,refused: crosses itself,"};
        QTest::newRow("--length") << one << p + QStringList{"--length", "40"} << 2 << no + "--length does not go with --plan: the plan gives it (see --help)" << QStringList();
        QTest::newRow("--plan-units over the header") << one << p + QStringList{"--plan-units", "m"} << 0 << "p.dxf: 1 laid out, 0 skipped, 0 refused"
            << QStringList{"\"room at 20,15\",Rooms,%1,laid out,rectangle,1200.0,m2,"};
        QTest::newRow("--plan-units xx") << one << p + QStringList{"--plan-units", "xx"} << 2 << no + "--plan-units \"xx\" is not in, ft, mm, cm or m (see --help)" << QStringList();
        QTest::newRow("--sheet B7") << one << p + QStringList{"--sheet", "B7"} << 2 << no + "--sheet \"B7\" is not A3, A1, letter, tabloid or ansi-d (see --help)" << QStringList();
        QTest::newRow("--room-layer, no plan") << one << QStringList{"--room-layer", "Rooms", "--location", "floor"} << 2 << no + "--room-layer needs --plan (see --help)" << QStringList();
        // Office takes the schedule's S 14 ft (plenum 2, tile 3, lower ceiling, batts): edges 6 and 8 ft, rows 14 apart; Lobby the option's 16 ft: edges 5 and 7.5.
        QTest::newRow("schedule") << R"({"units": 2, "outlines": [)" + office + R"(, ["Rooms", [[0,40],[40,40],[40,70],[0,70]]]], "texts": [["N", "Office", 20, 15], ["N", "Lobby", 20, 55]]})" << s << 1
            << "s.csv:3: room \"Ghost\" is not in the plan\np.dxf: 2 laid out, 0 skipped, 1 refused"
            << QStringList{"Office,Rooms,%1,laid out,rectangle,1200.0,sq ft,6,0.43,1.00,", "Lobby,Rooms,%2,laid out,rectangle,1200.0,sq ft,6,0.31,", "Ghost,,,not in the plan,"};
        // Real plans; uni-fr: 60 outlines, none narrower than 120 cm, one with an island joined by a slit, touching itself. D018 is
        // 1177.5 x 448 cm: 2 rows 4880 apart, edges 3447.5, and 1 row. unimi: 209 x 246 cm and a strip 74 x 6: one speaker 104.5 cm
        // from the sides, the strip covered from beside it.
        QTest::newRow("uni-fr") << QByteArray("shared/uni-fr-openindoor-rooms.dxf") << p << 0 << "p.dxf: 59 laid out, 1 skipped, 0 refused"
            << QStringList{"D018 Micro/Ordinateur 3\u00E9/4\u00E9,ABY_Zone_ZIND,264,laid out,rectangle,52.8,m2,2,0.46,1.00,", "total,,,59 laid out,"};
        QTest::newRow("unimi, cm") << QByteArray("shared/room-unimi-archibus-rm.dxf") << p + QStringList{"--plan-units", "cm"} << 0 << "p.dxf: 1 laid out, 0 skipped, 0 refused"
            << QStringList{",RM$,176,laid out: check,rectilinear,5.2,m2,1,0.21,,"};
        QTest::newRow("walls only, real") << QByteArray("shared/office-indoor-sim-lines.dxf") << p << 2 << "p.dxf: the plan has no room outlines (closed polylines), only "
            "186 lines such as walls; draw each room as a closed polyline on a room layer" << QStringList();
        // clang-format on
    }
    void plansOptionsAndSchedulesGiveTheirMessages() {
        QFETCH(QByteArray, plan);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QStringList, rows);
        const auto handles = this->plan(plan);
        if (!handles)
            QSKIP("python3 with ezdxf or the shared plans beside the project are not available");
        QFile schedule(m_dir.filePath("s.csv"));
        QVERIFY(schedule.open(QIODevice::WriteOnly) &&
                schedule.write("room,location,plenum,tile,ceiling-height,batts\nOffice,suspended,2,"
                               "3,1,yes\nGhost,floor,,,,\n"));
        schedule.close();
        const auto filled = [&](QString text) {
            return text.replace("%1", handles->value(0)).replace("%2", handles->value(1));
        };
        const Run run = Command(args, m_dir.path());
        QCOMPARE(run.err.trimmed() + QString::number(run.status),
                 filled(err) + QString::number(status));
        QCOMPARE(QDir(m_dir.filePath("out")).entryList(QDir::Files),
                 rows.isEmpty() ? QStringList() : QStringList{"p summary.csv"});
        for (const QString& row : rows) {
            const QStringList found = summary().filter(filled(row)), f = found.value(0).split(',');
            QVERIFY2(found.size() == 1, qPrintable(row));
            QVERIFY2(!f[3].startsWith("laid out") ||
                         (f[8].toDouble() >= 0.10 && (f[9].isEmpty() || f[9].toDouble() >= 0.30) &&
                          f[10].toDouble() <=
                              (f[6] == "m2" ? 1.35 : 0.90) + (f[4] == "other" ? 0.1 : 0)),
                     qPrintable(found.join(' ')));
        }
    }
};

QTEST_MAIN(TestFloorPlan)
#include "tst_floor_plan.moc"
