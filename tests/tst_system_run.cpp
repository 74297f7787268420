// The system to bid from the command line, run as a user runs it on a small floor written by
// ezdxf: an open area of six speakers (40 x 30 ft, speakers at x 5, 20, 35 and y 7.5, 22.5) and
// two touching closed offices of one speaker each (12 x 12 ft, at 46,6 and 46,18), with zones
// of at most four speakers and a 4 ft drop; and on a room schedule of mixed rooms, which has no
// positions. Every figure was worked out by hand from the rules of docs/system-design.md; the
// far head-end's losses with a ladder solved apart in Python.
#include "plan_command.h"

#include <QtTest>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The floor, with a HEAD-END text at 70,0 in p.dxf, a HEAD-END insert at 80,-10 in insert.dxf
// and none in bare.dxf.
constexpr const char* kWritePlans = R"(
import ezdxf
for name in ('p', 'insert', 'bare'):
    doc = ezdxf.new('R2010', units=2); msp = doc.modelspace()
    for c in ([(0,0),(40,0),(40,30),(0,30)], [(40,0),(52,0),(52,12),(40,12)], [(40,12),(52,12),(52,24),(40,24)]):
        msp.add_lwpolyline(c, close=True, dxfattribs={'layer': 'Rooms'})
    for t, x, y in (('Open', 20, 15), ('Office A', 46, 6), ('Office B', 46, 18)):
        msp.add_text(t, dxfattribs={'layer': 'N', 'insert': (x, y)})
    if name == 'p': msp.add_text('HEAD-END', dxfattribs={'insert': (70, 0)})
    if name == 'insert': doc.blocks.new('HEAD-END').add_circle((0, 0), 1); msp.add_blockref('HEAD-END', (80, -10))
    doc.saveas(name + '.dxf')
)";

// The masking plan read back with an audit that repairs nothing, and the workbook against the
// bill's CSV, row by row, its quantities as numbers.
constexpr const char* kReadBack = R"(
import sys, csv, openpyxl; from ezdxf import recover
doc, audit = recover.readfile(sys.argv[1] + ' masking.dxf'); msp = doc.modelspace()
print('audit', len(audit.errors), len(audit.fixes))
for i in msp.query('INSERT[layer=="MASKING-SPEAKERS"]'): print(*(i.get_attrib_text(t) for t in ('ROOM', 'NUMBER', 'ZONE', 'TAP')))
for p in msp.query('LWPOLYLINE[layer=="MASKING-CABLE"]'): print('cable', p.closed, *(v[:2] for v in p.get_points()))
print('head-end', *(e.dxftype() for e in msp.query('CIRCLE TEXT[layer=="MASKING-CABLE"]')))
rows = list(csv.reader(open(sys.argv[1] + ' bill.csv')))
cells = list(openpyxl.load_workbook(sys.argv[1] + ' bill.xlsx')['bill'].iter_rows(values_only=True))
same = len(rows) == len(cells) and all(r[:3] + r[4:] == list(c[:3] + c[4:]) and (i == 0 or float(r[3]) == c[3]) for i, (r, c) in enumerate(zip(rows, cells)))
print('workbook', same, len(cells))
)";

QStringList Lines(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed().split('\n')
                                          : QStringList();
}

} // namespace

class TestSystemRun : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    bool m_plans = false;

    void write(const QString& name, const QByteArray& text) {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }

  private slots:
    void initTestCase() {
        m_plans = Command({"-c", kWritePlans}, m_dir.path(), "/usr/bin/python3").status == 0;
        write("s.csv",
              "room,location,space,tap\nOffice A,floor,closed,\nOffice B,floor,closed,2\n");
        write("bad.csv", "room,location,space,tap\nOffice B,floor,closed,3\n");
        // Speakers by the one-room rule: floor 16 ft, suspended 15 ft, 4880 mm; a side of up to
        // one spacing takes one row. Bad's tap is refused; Open B takes --space's open.
        write("m.csv", "room,units,location,plenum,tile,ceiling-height,length,width,space,tap\n"
                       "Open A,ft,floor,,,,30,10,open,\n"         // 2 speakers
                       "Office 1,ft,floor,,,,10,10,closed,\n"     // 1
                       "Lab,mm,floor,,,,9760,4880,closed,\n"      // 2
                       "Hall,ft,suspended,2,3,1,40,25,open,1/2\n" // 3 x 2
                       "Office 2,ft,floor,,,,30,10,closed,2\n"    // 2
                       "Office 3,ft,floor,,,,10,10,closed,1/2\n"  // 1
                       "Nook,ft,suspended,2,3,1,10,10,open,\n"    // 1
                       "Office 4,ft,floor,,,,10,10,closed,\n"     // 1
                       "Bad,ft,floor,,,,10,10,closed,3\n"
                       "Open B,ft,floor,,,,10,10,,\n"); // 1
    }

    // The lines of one file of a run with the schedule (Office B's tap 2 W, the offices closed).
    void filesOfTheFloor_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("lines");
        const QStringList near{}, far{"--head-end", "10070,0", "--wire", "18awg", "--tap", "2"};
        const QString spool16 = "\"16 AWG, 1000 ft\"";
        // clang-format off
        // Home runs from 70,0 along x then y, 4 ft dropped once, hops of 15 ft plus two drops, all
        // times 1.07: zone 1 (20,7.5 5,7.5 5,22.5) 61.5 and 2 x 23 ft, zone 2 (35,7.5 35,22.5
        // 20,22.5) 46.5 and 2 x 23, zone 3 (46,6 46,18) 34 and 20. Loads of 3 W ask 3 x 1.2589 x 1.2.
        QTest::newRow("zones") << near << "zones.csv" << QStringList{
            "zone,space,rooms,speakers,taps,load W,demand W,channel,amplifier,home run,chain,length unit,worst loss dB,status,notes",
            "1,open,Open,3,3 x 1 W,3.00,4.53,1,1,65.8,49.2,ft,-0.004,ok,",
            "2,open,Open,3,3 x 1 W,3.00,4.53,1,1,49.8,49.2,ft,-0.003,ok,",
            "3,closed,Office A; Office B,2,1 x 2 W; 1 x 1 W,3.00,4.53,1,1,36.4,21.4,ft,-0.002,ok,"};
        // 271.8 ft in all: one 500 ft reel holds it.
        QTest::newRow("bill") << near << "bill.csv" << QStringList{"floor,item,size,quantity,unit",
            "p,speaker,2 W tap,1,each", "p,speaker,1 W tap,7,each", "p,amplifier channel,60 W,1,each", "p,amplifier,2 channels,1,each",
            "p,cable,16 AWG,271.8,ft", "p,spool,\"16 AWG, 500 ft\",1,each",
            "total,speaker,2 W tap,1,each", "total,speaker,1 W tap,7,each", "total,amplifier channel,60 W,1,each", "total,amplifier,2 channels,1,each",
            "total,cable,16 AWG,271.8,ft", "total,spool,\"16 AWG, 500 ft\",1,each"};
        // 1200 ft2 open is two tests on a 2 x 1 grid; one in each closed room.
        const QString tolerance = ",\"within 0.5 dBA, each band within 2 dB\",,,";
        QTest::newRow("commissioning") << near << "commissioning.csv" << QStringList{
            "test point,room,x,y,space,target dBA,tolerance,measured dBA,largest band deviation dB,passed",
            "1,Open,10.00,15.00,open,45-48" + tolerance, "2,Open,30.00,15.00,open,45-48" + tolerance,
            "3,Office A,46.00,6.00,closed,40-43" + tolerance, "4,Office B,46.00,18.00,closed,40-43" + tolerance};
        QTest::newRow("summary") << near << "summary.csv" << QStringList{
            "room,layer,handle,status,shape,area,area unit,speakers,wall clearance,closest pair,farthest spot,notes,zones",
            "Open,Rooms,2F,laid out,rectangle,1200.0,sq ft,6,0.31,0.94,0.66,,1; 2",
            "Office A,Rooms,30,laid out,rectangle,144.0,sq ft,1,0.38,,0.53,,3",
            "Office B,Rooms,31,laid out,rectangle,144.0,sq ft,1,0.38,,0.53,,3", "total,,,3 laid out,,1488.0,sq ft,8,,,,,"};
        // 10000 ft further on 18 AWG with 2 W taps: three speakers lose more than 1 dB (16 AWG
        // holds them within it), two 0.9 dB. Each zone's cable in the wire it needs.
        QTest::newRow("far, zones") << far << "zones.csv" << QStringList{
            "zone,space,rooms,speakers,taps,load W,demand W,channel,amplifier,home run,chain,length unit,worst loss dB,status,notes",
            "1,open,Open,3,3 x 2 W,6.00,9.06,1,1,10765.8,49.2,ft,-1.330,fail: 16 AWG passes,",
            "2,open,Open,3,3 x 2 W,6.00,9.06,1,1,10749.8,49.2,ft,-1.328,fail: 16 AWG passes,",
            "3,closed,Office A; Office B,2,2 x 2 W,4.00,6.04,1,1,10736.4,21.4,ft,-0.905,warn,"};
        QTest::newRow("far, bill") << far << "bill.csv" << QStringList{"floor,item,size,quantity,unit",
            "p,speaker,2 W tap,8,each", "p,amplifier channel,60 W,1,each", "p,amplifier,2 channels,1,each",
            "p,cable,18 AWG,10757.8,ft", "p,spool,\"18 AWG, 1000 ft\",11,each", "p,cable,16 AWG,21614.0,ft", "p,spool," + spool16 + ",22,each",
            "total,speaker,2 W tap,8,each", "total,amplifier channel,60 W,1,each", "total,amplifier,2 channels,1,each",
            "total,cable,18 AWG,10757.8,ft", "total,spool,\"18 AWG, 1000 ft\",11,each", "total,cable,16 AWG,21614.0,ft", "total,spool," + spool16 + ",22,each"};
        // clang-format on
    }
    void filesOfTheFloor() {
        QFETCH(QStringList, options);
        QFETCH(QString, file);
        QFETCH(QStringList, lines);
        if (!m_plans)
            QSKIP("python3 with ezdxf is not available to write the plans");
        QDir(m_dir.filePath("out")).removeRecursively();
        const Run run =
            Command(QStringList{"--plan", "p.dxf", "--location", "floor", "--schedule", "s.csv",
                                "--system", "--zone-size", "4", "--drop", "4", "--out", "out"} +
                        options,
                    m_dir.path());
        QCOMPARE(run.err + QString::number(run.status),
                 "p.dxf: 3 laid out, 0 skipped, 0 refused\n0");
        QCOMPARE(Lines(m_dir.filePath("out/p " + file)), lines);
    }

    // A schedule's zones of at most four speakers on channels of 8 W. Space (Office 1 beside
    // Open A), units (Lab beside Office 1) and conditions (Nook beside Open A) keep rooms apart,
    // each would fit by count; small rooms fill the first zone of their kind with room (Office 3
    // fills zone 2 to four, Office 4 opens zone 7); Hall's six go into two zones of three, which
    // Nook does not join. Demand is the load times 10^0.1 x 1.2 = 1.5107; first fit by demand
    // puts zone 2 (8.31 W) alone, zones 1 and 3 (7.55 W) together, the rest on a third channel:
    // a second amplifier.
    void filesOfASchedule_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("lines");
        const QString none = ",,,,,no positions: cable not designed,";
        // clang-format off
        QTest::newRow("zones") << "zones.csv" << QStringList{
            "zone,space,rooms,speakers,taps,load W,demand W,channel,amplifier,home run,chain,length unit,worst loss dB,status,notes",
            "1,open,Open A; Open B,3,3 x 1 W,3.00,4.53,1,1" + none,
            "2,closed,Office 1; Office 2; Office 3,4,2 x 2 W; 1 x 1 W; 1 x 1/2 W,5.50,8.31,2,1" + none + "demand over the channel's 8 W",
            "3,closed,Lab,2,2 x 1 W,2.00,3.02,1,1" + none,
            "4,open,Hall,3,3 x 1/2 W,1.50,2.27,3,2" + none, "5,open,Hall,3,3 x 1/2 W,1.50,2.27,3,2" + none,
            "6,open,Nook,1,1 x 1 W,1.00,1.51,3,2" + none, "7,closed,Office 4,1,1 x 1 W,1.00,1.51,3,2" + none};
        QTest::newRow("bill") << "bill.csv" << QStringList{"floor,item,size,quantity,unit",
            "m,speaker,2 W tap,2,each", "m,speaker,1 W tap,8,each", "m,speaker,1/2 W tap,7,each",
            "m,amplifier channel,8 W,3,each", "m,amplifier,2 channels,2,each",
            "total,speaker,2 W tap,2,each", "total,speaker,1 W tap,8,each", "total,speaker,1/2 W tap,7,each",
            "total,amplifier channel,8 W,3,each", "total,amplifier,2 channels,2,each"};
        // Each row's room, speakers and zones.
        QTest::newRow("summary") << "summary.csv" << QStringList{"room|speakers|zones",
            "Open A|2|1", "Office 1|1|2", "Lab|2|3", "Hall|6|4; 5", "Office 2|2|2", "Office 3|1|2",
            "Nook|1|6", "Office 4|1|7", "Bad||", "Open B|1|1", "total|15|", "total|2|"};
        // clang-format on
    }
    void filesOfASchedule() {
        QFETCH(QString, file);
        QFETCH(QStringList, lines);
        QDir(m_dir.filePath("out")).removeRecursively();
        const Run run = Command({"--schedule", "m.csv", "--system", "--zone-size", "4",
                                 "--channel-watts", "8", "--out", "out"},
                                m_dir.path());
        QCOMPARE(run.out + run.err + QString::number(run.status),
                 "zones: out/m zones.csv\nbill: out/m bill.csv\nbill: out/m bill.xlsx\n"
                 "summary: out/m summary.csv\n"
                 "m.csv:10: tap \"3\" is not 1/8, 1/4, 1/2, 1 or 2 (W)\n"
                 "m.csv: 9 laid out, 1 refused, 0 incomplete\n1");
        QStringList written = Lines(m_dir.filePath("out/m " + file));
        if (file == "summary.csv")
            for (QString& line : written)
                line = line.section(',', 0, 0) + "|" + line.section(',', 12, 12) + "|" +
                       line.section(',', -1);
        QCOMPARE(written, lines);
    }

    // The masking plan and the workbook of the same run, as an independent reader sees them.
    void planAndWorkbookReadBack() {
        if (!m_plans)
            QSKIP("python3 with ezdxf is not available to write the plans");
        QDir(m_dir.filePath("out")).removeRecursively();
        QCOMPARE(Command({"--plan", "insert.dxf", "--location", "floor", "--schedule", "s.csv",
                          "--system", "--zone-size", "4", "--drop", "4", "--dxf", "--out", "out"},
                         m_dir.path())
                     .status,
                 0);
        const Run read =
            Command({"-c", kReadBack, m_dir.filePath("out/insert")}, {}, "/usr/bin/python3");
        // From the insert at 80,-10: zone 1 now starts at 20,7.5 (65 ft away), zone 2 at
        // 35,7.5, zone 3 at 46,6.
        QCOMPARE(read.out.trimmed().split('\n'),
                 QStringList({"audit 0 0", "Open 1 1 1 W", "Open 2 1 1 W", "Open 3 1 1 W",
                              "Open 4 2 1 W", "Open 5 2 1 W", "Open 6 2 1 W", "Office A 1 3 1 W",
                              "Office B 1 3 2 W",
                              "cable False (80.0, -10.0) (20.0, -10.0) (20.0, 7.5) (5.0, 7.5) "
                              "(5.0, 22.5)",
                              "cable False (80.0, -10.0) (35.0, -10.0) (35.0, 7.5) (35.0, 22.5) "
                              "(20.0, 22.5)",
                              "cable False (80.0, -10.0) (46.0, -10.0) (46.0, 6.0) (46.0, 18.0)",
                              "head-end CIRCLE TEXT", "workbook True 13"}));
    }

    void refusalsSayWhatToGive_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        const QStringList p{"--plan", "p.dxf", "--location", "floor", "--out", "out", "--system"};
        const QString no = "masking-speaker-plan: ";
        // clang-format off
        QTest::newRow("--tap 3") << p + QStringList{"--tap", "3"} << 2 << no + "--tap \"3\" is not 1/8, 1/4, 1/2, 1 or 2 (W) (see --help)";
        QTest::newRow("--wire 20") << p + QStringList{"--wire", "20"} << 2 << no + "--wire \"20\" is not 18awg, 16awg, 14awg, 12awg, 0.75mm2, 1mm2, 1.5mm2 or 2.5mm2 (see --help)";
        QTest::newRow("--head-end abc") << p + QStringList{"--head-end", "abc"} << 2 << no + "--head-end \"abc\" is not x,y in plan coordinates (see --help)";
        QTest::newRow("--zone-size 0") << p + QStringList{"--zone-size", "0"} << 2 << no + "--zone-size \"0\" is not a whole number of 1 or more (see --help)";
        QTest::newRow("--tap, no --system") << p.mid(0, 6) + QStringList{"--tap", "2"} << 2 << no + "--tap needs --system (see --help)";
        QTest::newRow("--system, one room") << QStringList{"--location", "floor", "--length", "40", "--width", "30", "--units", "ft", "--system"} << 2 << no + "--system needs --plan or --schedule (see --help)";
        const QStringList m{"--schedule", "m.csv", "--out", "out", "--system"};
        QTest::newRow("--wire, schedule") << m + QStringList{"--wire", "14awg"} << 2 << no + "--wire does not go with --schedule: a schedule has no positions, so no cable is designed (see --help)";
        QTest::newRow("--head-end, schedule") << m + QStringList{"--head-end", "0,0"} << 2 << no + "--head-end does not go with --schedule: a schedule has no positions, so no cable is designed (see --help)";
        QTest::newRow("--tap 3, schedule") << m + QStringList{"--tap", "3"} << 2 << no + "--tap \"3\" is not 1/8, 1/4, 1/2, 1 or 2 (W) (see --help)";
        QTest::newRow("--tap, schedule, no --system") << m.mid(0, 4) + QStringList{"--tap", "2"} << 2 << no + "--tap needs --system (see --help)";
        QTest::newRow("no head-end") << QStringList{"--plan", "bare.dxf", "--location", "floor", "--system"} << 2
            << "bare.dxf: the plan shows no head-end: give --head-end X,Y in plan coordinates, or draw an insert of a block HEAD-END or a text HEAD-END where the amplifiers stand";
        QTest::newRow("schedule's tap 3") << p + QStringList{"--schedule", "bad.csv"} << 1 << "p.dxf: Office B: refused: tap \"3\" is not 1/8, 1/4, 1/2, 1 or 2 (W)\np.dxf: 2 laid out, 0 skipped, 1 refused";
        QTest::newRow("space without --system") << QStringList{"--schedule", "s.csv"} << 2 << "s.csv:1: column \"space\" is read only with --system";
        // clang-format on
    }
    void refusalsSayWhatToGive() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        if (!m_plans)
            QSKIP("python3 with ezdxf is not available to write the plans");
        const Run run = Command(args, m_dir.path());
        QCOMPARE(run.err.trimmed() + QString::number(run.status), err + QString::number(status));
    }

    // A real floor of 59 rooms: every speaker in one zone, no zone over the limit.
    void realPlanZonesHoldTheLimit_data() {
        QTest::addColumn<int>("zoneSize");
        QTest::newRow("4") << 4;
        QTest::newRow("8") << 8;
    }
    void realPlanZonesHoldTheLimit() {
        QFETCH(int, zoneSize);
        const QString plan = MSL_SHARED_PLANS "/uni-fr-openindoor-rooms.dxf";
        if (!QFile::exists(plan))
            QSKIP("the shared plans beside the project are not available");
        QDir(m_dir.filePath("real")).removeRecursively();
        const Run run = Command({"--plan", plan, "--location", "floor", "--system", "--head-end",
                                 "0,0", "--zone-size", QString::number(zoneSize), "--out", "real"},
                                m_dir.path());
        QCOMPARE(run.status, 0);
        const QStringList zones = Lines(m_dir.filePath("real/uni-fr-openindoor-rooms zones.csv"));
        const QStringList summary =
            Lines(m_dir.filePath("real/uni-fr-openindoor-rooms summary.csv"));
        int speakers = 0;
        for (const QString& zone : zones.mid(1)) {
            // Rooms' names hold commas: the speakers are counted from the row's end.
            const int count = zone.section(',', -12, -12).toInt();
            QVERIFY2(count >= 1 && count <= zoneSize, qPrintable(zone));
            speakers += count;
        }
        QCOMPARE(speakers, summary.constLast().section(',', 7, 7).toInt());
    }
};

QTEST_MAIN(TestSystemRun)
#include "tst_system_run.moc"
