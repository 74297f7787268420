// The command-line program against the window: the same page for designs in both units and
// all three locations; a schedule with a bad row of each kind among good ones, run as a user
// runs it; its DXF plans read back and audited by an independent reader, its PDF reports parsed.
#include "window_fixture.h"

#include "cli/room.h"
#include "cli/room_files.h"
#include "core/calculate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Fields = QStringList; // units, location, plenum, tile, ceiling-height, batts,
                            // structural-height, insulation, length, width

Room LaidOut(const QString& name, const Fields& f) {
    RoomFields r;
    At(r, Field::Room) = name.toStdString();
    for (int i = 0; i < f.size(); ++i) // the fields from units on, in the columns' order
        r[std::size_t(i) + 1] = f[i].toStdString();
    return std::get<Room>(LayOutRoom(r)); // the rooms given are good ones
}

struct Run {
    int status;
    QString out, err;
};

Run Command(const QStringList& args, const QString& folder = {},
            const QString& program = MSL_PLAN_PATH) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// Debian's python with its ezdxf: units, the room outline, layers and every speaker insert.
constexpr const char* kReadPlan = R"(
import sys, ezdxf; from ezdxf.lldxf.encoding import decode_dxf_unicode
doc = ezdxf.readfile(sys.argv[1]); msp = doc.modelspace()
print('errors', len(doc.audit().errors), 'units', doc.header['$INSUNITS'])
print('layers', ' '.join(sorted(l.dxf.name for l in doc.layers)))
room = msp.query('LWPOLYLINE[layer=="ROOM"]')[0]
print('room', room.closed, ' '.join('%g,%g' % p[:2] for p in room.get_points()))
print('dot', doc.blocks['MASKING_SPEAKER'].query('CIRCLE')[0].dxf.radius)
print('grid', len(msp.query('LINE[layer=="MASKING-GRID"]')))
print('name', decode_dxf_unicode(msp.query('TEXT')[0].dxf.text))
print('speakers', ' '.join('%g,%g' % (i.dxf.insert.x, i.dxf.insert.y) for i in
      msp.query('INSERT[layer=="MASKING-SPEAKERS"]') if i.dxf.name == 'MASKING_SPEAKER'))
)";

// How the command's standard streams and files are cut off in a run.
struct Setting {
    qint64 fileSizeLimit = 0; // bytes a file may have, or none
    QString stdoutFile;       // where standard output goes instead of the test
    int closedStream = -1;    // a standard stream that is a pipe nobody reads
};

Run CommandIn(const QString& folder, const QStringList& args, const Setting& setting) {
    QProcess p;
    p.setWorkingDirectory(folder);
    if (!setting.stdoutFile.isEmpty())
        p.setStandardOutputFile(setting.stdoutFile);
    int pipeEnds[2] = {-1, -1};
    if (setting.closedStream >= 0 && pipe(pipeEnds) == 0)
        close(pipeEnds[0]);
    p.setChildProcessModifier([&] {
        const rlimit limit{rlim_t(setting.fileSizeLimit), rlim_t(setting.fileSizeLimit)};
        if (setting.fileSizeLimit > 0)
            setrlimit(RLIMIT_FSIZE, &limit);
        if (setting.closedStream >= 0)
            dup2(pipeEnds[1], setting.closedStream);
    });
    p.start(MSL_PLAN_PATH, args);
    p.waitForFinished(120000);
    if (pipeEnds[1] >= 0)
        close(pipeEnds[1]);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A schedule of many rooms, bad rows first: each bad row is a line on standard error.
QByteArray LongSchedule(int bad, int good) {
    QByteArray csv = "room,units,location,length,width\n";
    for (int i = 0; i < bad; ++i)
        csv += "B" + QByteArray::number(i) + ",ft,roof,40,30\n";
    for (int i = 0; i < good; ++i)
        csv += "R" + QByteArray::number(i) + ",ft,floor,40,30\n";
    return csv;
}

// xs and ys: the speakers' rows along the length and the width, worked out from the rule by hand.
QString ExpectedPlan(const Room& room, const QList<double>& xs, const QList<double>& ys) {
    const DesignState& s = room.s;
    QString plan = QString::asprintf(
        "errors 0 units %d\nlayers 0 Defpoints MASKING-GRID MASKING-SPEAKERS ROOM\nroom True 0,0 "
        "%d,0 %d,%d 0,%d\ndot %s\ngrid %lld\nname %s\nspeakers",
        s.MeasFeet ? 2 : 4, s.Leng, s.Leng, s.Wid, s.Wid, s.MeasFeet ? "1.0" : "305.0",
        xs.size() + ys.size(),
        qUtf8Printable(QString::fromStdString(room.name).replace('\n', ' ')));
    for (double x : xs)
        for (double y : ys)
            plan += QString::asprintf(" %g,%g", x, y);
    return plan + "\n";
}

} // namespace

Q_DECLARE_METATYPE(Setting)

class TestPlan : public QObject {
    Q_OBJECT
  private slots:
    void commandLineAndWindowGiveTheSamePage_data() {
        QTest::addColumn<Fields>("fields");
        // clang-format off
        QTest::newRow("ft suspended") << Fields{"ft", "suspended", "2", "3", "2", "yes", "", "", "40", "25"};
        QTest::newRow("mm suspended, exchanged")
            << Fields{"mm", "suspended", "4", "5", "1", "no", "", "", "8400", "12500.5"};
        QTest::newRow("ft open") << Fields{"ft", "open", "", "", "", "", "19.5", "yes", "45", "31"};
        QTest::newRow("mm floor") << Fields{"mm", "floor", "", "", "", "", "", "", "4880", "9761"};
        // clang-format on
    }
    void commandLineAndWindowGiveTheSamePage() {
        QFETCH(Fields, fields);
        WindowFixture w;
        const Controls& f = w.controls();
        w.conditions(fields);
        w.enterRoom(fields[8], fields[9]);
        w.click(f.CmdCalculate);
        w.click(f.CmdPrint);
        f.TxtDescription->setText("Level 2");
        w.click(f.CmdPrt);
        const Room room = LaidOut("Level 2", fields);
        // The page holds the rows, spacings, edges and count the result lines are made of.
        QVERIFY(ComposeReport(room.s, FixedMetrics()) == w.printing.page);
    }

    // A single room's lines and JSON, refused options and schedule headers.
    void optionsAndScheduleHeaders_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("schedule"); // written to s.csv when not empty
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shown"); // in the output with blanks folded, or all the errors
        const QStringList room{"--units",  "mm",   "--location", "open",    "--insulation",
                               "--length", "8400", "--width",    "12500.5", "--structural-height"};
        const QStringList schedule{"--schedule", "s.csv"};
        // clang-format off
        QTest::newRow("lines") << room + QStringList{"4000"} << "" << 0
            << "Length: There are 3 rows 3900 mm. apart. Edges are 2350 mm. from walls.";
        QTest::newRow("json") << room + QStringList{"4000", "--json"} << "" << 0
            << "\"Estimated length of zone wiring at 6 meters per speaker is 36 meters\" ], "
               "\"nominal_spacing\": 3900, \"notes\": [ \"width 12500.5 rounded to 12500\", "
               "\"length and width exchanged\" ], \"speakers\": 6,";
        QTest::newRow("json speakers") << room + QStringList{"4000", "--json"} << "" << 0
            << "{ \"coordinates\": [ [ 2350, 2250 ], [ 2350, 6150 ], [ 6250, 2250 ], "
               "[ 6250, 6150 ], [ 10150, 2250 ], [ 10150, 6150 ] ],";
        QTest::newRow("refused") << room + QStringList{"3599.4"} << "" << 1
            << "masking-speaker-plan: structural-height \"3599.4\" is below the minimum of 3600 mm";
        QTest::newRow("nothing to do") << QStringList{} << "" << 2
            << "masking-speaker-plan: give a room's options or --schedule (see --help)";
        QTest::newRow("both") << schedule + QStringList{"--json"} << "" << 2
            << "masking-speaker-plan: a room's options and --schedule exclude each other (see --help)";
        QTest::newRow("no schedule") << schedule << "" << 2 << "s.csv: cannot be read";
        QTest::newRow("unknown") << schedule << "Widht,room\nB,ft\n" << 2 << "s.csv:1: unknown column \"Widht\"";
        QTest::newRow("missing") << schedule << "\n\nroom,units,location,width\n" << 2
                                 << "s.csv:3: no column \"length\"";
        QTest::newRow("blank") << schedule << "\r\n" << 2 << "s.csv: no header row";
        // clang-format on
    }
    void optionsAndScheduleHeaders() {
        QFETCH(QStringList, args);
        QFETCH(QString, schedule);
        QFETCH(int, status);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        QFile file(dir.filePath("s.csv"));
        QVERIFY(schedule.isEmpty() || (file.open(QIODevice::WriteOnly) &&
                                       file.write(schedule.toLatin1()) > 0 && file.flush()));
        const Run run = Command(args, dir.path());
        QVERIFY2(status ? run.err.trimmed() == shown : run.out.simplified().contains(shown),
                 qPrintable(run.out + run.err));
        QCOMPARE(run.status, status);
    }

    // Schedules as spreadsheets write them, each run as a user runs it into the folder "out":
    // what standard error says, the exit status and the summary's rows after its header (empty
    // when none may be written, and then the folder is not made either).
    void scheduleRowsAreEachAccountedFor_data() {
        QTest::addColumn<QStringList>("args"); // after --schedule s.csv --out out
        QTest::addColumn<int>("taken");        // names of T.speakers.csv already taken
        QTest::addColumn<QByteArray>("schedule");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("summary");
        const QByteArray h = "room,units,location,plenum,tile,ceiling-height,batts,"
                             "structural-height,insulation,length,width,description\n";
        const QByteArray a = "A,ft,floor,,,,,,,30,20\n", b = "B,mm,floor,,,,,,,9760,4880\n";
        // Floor rooms at 16 ft / 4880 mm: 30 ft gives 2 rows 15 apart, edges 7.5; 20 ft 2 rows
        // 10 apart, edges 5; 9760 mm 2 rows 4880 apart, edges 2440; 4880 mm 1 row, edges 2440.
        const auto ft = [](const QString& name, const QString& more = ",") {
            return name + ",ft,floor,30,20,16,2,15,7.5,2,10,5,4,80,feet," + more + "\n";
        };
        const QString mm = "B,mm,floor,9760,4880,4880,2,4880,2440,1,0,2440,2,12,meters,,\n";
        const auto total = [](int ftRooms, int mmRooms) {
            return (ftRooms ? QString("total,ft,,,,,,,,,,,%1,%2,feet,,\n")
                                  .arg(4 * ftRooms)
                                  .arg(80 * ftRooms)
                            : QString()) +
                   (mmRooms ? QString("total,mm,,,,,,,,,,,%1,%2,meters,,\n")
                                  .arg(2 * mmRooms)
                                  .arg(12 * mmRooms)
                            : QString());
        };
        const auto counts = [](int done, int refused, int incomplete = 0) {
            return QString("s.csv: %1 laid out, %2 refused, %3 incomplete")
                .arg(done)
                .arg(refused)
                .arg(incomplete);
        };
        const QString quote =
            "a quote stands inside a field (quote the field and double its quotes)";
        const QString utf16 = "s.csv: the schedule is UTF-16; save it as UTF-8 CSV";
        QByteArray utf16le("\xFF\xFE"), utf16be;
        for (const char c : h + a) {
            utf16le += QByteArray(1, c) + '\0';
            utf16be += QByteArray(1, '\0') + c;
        }
        const QByteArray name200 = QString(200, QChar(0xE9)).toUtf8();
        // clang-format off
        QTest::newRow("inch mark") << QStringList() << 0
            << h + "A,ft,floor,,,,,,,30,20,6\" speaker\n" + b << 1
            << "s.csv:2: " + quote + "\n" + counts(1, 1)
            << "A,ft,floor,30,20,,,,,,,,,,,refused: " + quote + ",\n" + mm + total(0, 1);
        QTest::newRow("quote never closed") << QStringList() << 0
            << h + "A,ft,floor,,,,,,,30,\"20\n" + b + "C,ft,floor,,,,,,,30,\"2" << 1
            << "s.csv:2: a quoted field is not closed\ns.csv:4: a quoted field is not closed\n"
               + counts(1, 2)
            << "A,ft,floor,30,,,,,,,,,,,,refused: a quoted field is not closed,\n" + mm
               + "C,ft,floor,30,,,,,,,,,,,,refused: a quoted field is not closed,\n" + total(0, 1);
        QTest::newRow("line numbers after quoted line feeds") << QStringList() << 0
            << h + "\"A\r\n1\",ft,floor,,,,,,,30,20,\"x\n\ny\"\r\nC,ft,floor,,,,,,,30,abc\r\n" + b << 1
            << "s.csv:6: width \"abc\" is not a number\n" + counts(2, 1)
            << ft("\"A\r\n1\"") + "C,ft,floor,30,abc,,,,,,,,,,,\"refused: width \"\"abc\"\" is not a number\",\n"
               + mm + total(1, 1);
        QTest::newRow("CR line ends") << QStringList() << 0
            << QByteArray(h + a + "C,ft,floor,,,,,,,30,abc\n" + b).replace('\n', '\r') << 1
            << "s.csv:3: width \"abc\" is not a number\n" + counts(2, 1)
            << ft("A") + "C,ft,floor,30,abc,,,,,,,,,,,\"refused: width \"\"abc\"\" is not a number\",\n"
               + mm + total(1, 1);
        QTest::newRow("UTF-16 LE") << QStringList() << 0 << utf16le << 2 << utf16 << "";
        QTest::newRow("UTF-16 BE, no mark") << QStringList() << 0 << utf16be << 2 << utf16 << "";
        QTest::newRow("unknown column") << QStringList() << 0 << "room,units,x\n" + a << 2
            << "s.csv:1: unknown column \"x\"" << "";
        QTest::newRow("repeated --out") << QStringList{"--out", "b"} << 0 << h + a << 2
            << "masking-speaker-plan: --out is given more than once (see --help)" << "";
        QTest::newRow("repeated --length") << QStringList{"--length", "40", "--length", "50"} << 0
            << h + a << 2 << "masking-speaker-plan: --length is given more than once (see --help)" << "";
        QTest::newRow("refused rows keep what was read") << QStringList() << 0
            << h + ",ft,floor,,,,,,,30,20\n" + b + "C,ft,floor,,,,,,,30,-5\nD,ft,floor,,,,,,,30,20,,x\n" << 1
            << "s.csv:2: room has no name\ns.csv:4: width \"-5\" is below the minimum of 4 ft\n"
               "s.csv:5: has 13 fields, the header has 12\n" + counts(1, 3)
            << ",ft,floor,30,20,,,,,,,,,,,refused: room has no name,\n" + mm
               + "C,ft,floor,30,-5,,,,,,,,,,,\"refused: width \"\"-5\"\" is below the minimum of 4 ft\",\n"
               "D,ft,floor,30,20,,,,,,,,,,,\"refused: has 13 fields, the header has 12\",\n" + total(0, 1);
        QTest::newRow("formulas made text") << QStringList{"--coordinates"} << 0
            << h + "@A,ft,floor,,,,,,,30,20\n\"=1+2,x\",ft,floor,,,,,,,30,20\n\"+A,\"\"q\"\"\",ft,floor,,,,,,,30,=1\n" << 1
            << "s.csv:4: width \"=1\" is not a number\n" + counts(2, 1)
            << ft("'@A", ",'@A.speakers.csv") + ft("\"'=1+2,x\"", ",\"'=1+2,x.speakers.csv\"")
               + "\"'+A,\"\"q\"\"\",ft,floor,30,'=1,,,,,,,,,,,\"refused: width \"\"=1\"\" is not a number\",\n"
               + total(2, 0);
        QTest::newRow("no in a column that does not apply") << QStringList() << 0
            << h + "A,ft,floor,,,,no,,FALSE,30,20\nB,ft,floor,,,,N,,0,30,20\nC,ft,floor,,,,YES,,,30,20\n"
               "D,ft,floor,,,,,,True,30,20\nE,ft,suspended,2,3,1,TRUE,,no,40,25\nF,ft,suspended,2,3,1,False,,,40,25\n" << 1
            << "s.csv:4: batts \"YES\" does not apply below an access floor\n"
               "s.csv:5: insulation \"True\" does not apply below an access floor\n" + counts(4, 2)
            << ft("A") + ft("B") + "C,ft,floor,30,20,,,,,,,,,,,\"refused: batts \"\"YES\"\" does not apply below an access floor\",\n"
               "D,ft,floor,30,20,,,,,,,,,,,\"refused: insulation \"\"True\"\" does not apply below an access floor\",\n"
               // 15 ft, 14 with batts: 40 ft gives 3 rows 14 apart either way, 25 ft 2 rows 12 apart
               "E,ft,suspended,40,25,14,3,14,6,2,12,6.5,6,120,feet,,\nF,ft,suspended,40,25,15,3,14,6,2,12,6.5,6,120,feet,,\n"
               "total,ft,,,,,,,,,,,20,400,feet,,\n";
        QTest::newRow("trailing empty columns") << QStringList() << 0
            << "room,units,location,length,width,,\n" + QByteArray("A,ft,floor,30,20,,,,\r\nB,ft,floor,30,20,, x\n") << 1
            << "s.csv:3: column 7 has no name but holds \"x\"\n" + counts(1, 1)
            << ft("A") + "B,ft,floor,30,20,,,,,,,,,,,\"refused: column 7 has no name but holds \"\"x\"\"\",\n" + total(1, 0);
        QTest::newRow("longest fields") << QStringList() << 0
            << h + name200 + ",ft,floor,,,,,,,30,20," + QByteArray(1000, 'd') + "\n"
               + name200 + "e,ft,floor,,,,,,,30,20\nC,ft,floor,,,,,,,30,20," + QByteArray(1001, 'd') + "\n"
               + "D,ft,floor,,,,,,,30," + QByteArray(51, '2') + "\nE," + QByteArray(70000, 'x') + "\n" + b << 1
            << "s.csv:3: room is longer than 200 characters\ns.csv:4: description is longer than 1000 characters\n"
               "s.csv:5: width is longer than 50 characters\ns.csv:6: the row is longer than 65536 bytes\n" + counts(2, 4)
            << ft(name200) + ",ft,floor,30,20,,,,,,,,,,,refused: room is longer than 200 characters,\n"
               "C,ft,floor,30,20,,,,,,,,,,,refused: description is longer than 1000 characters,\n"
               "D,ft,floor,30,,,,,,,,,,,,refused: width is longer than 50 characters,\n"
               ",,,,,,,,,,,,,,,refused: the row is longer than 65536 bytes,\n" + mm + total(1, 1);
        QTest::newRow("renamed file") << QStringList{"--coordinates"} << 1 << h + "T,ft,floor,,,,,,,30,20\n" << 0
            << counts(1, 0) << ft("T", ",T (2).speakers.csv") + total(1, 0);
        QTest::newRow("file not written") << QStringList{"--coordinates"} << 9999 << h + a + "T,ft,floor,,,,,,,30,20\n" << 1
            << "T: speakers.csv not written: every numbered name is taken\n" + counts(1, 0, 1)
            << ft("A", ",A.speakers.csv") + ft("T", "speakers.csv not written: every numbered name is taken,")
               + total(1, 0);
        // clang-format on
    }
    void scheduleRowsAreEachAccountedFor() {
        QFETCH(QStringList, args);
        QFETCH(int, taken);
        QFETCH(QByteArray, schedule);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QString, summary);
        QTemporaryDir dir;
        QFile file(dir.filePath("s.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(schedule) && file.flush());
        QVERIFY(!taken || QDir(dir.path()).mkdir("out"));
        for (int n = 1; n <= taken; ++n)
            QVERIFY(QFile(dir.filePath(n == 1 ? "out/T.speakers.csv"
                                              : QString("out/T (%1).speakers.csv").arg(n)))
                        .open(QIODevice::WriteOnly));
        const Run run =
            Command(QStringList{"--schedule", "s.csv", "--out", "out"} + args, dir.path());
        QCOMPARE(run.err.trimmed(), err);
        QCOMPARE(run.status, status);
        QFile written(dir.filePath("out/s summary.csv"));
        QCOMPARE(QDir(dir.filePath("out")).exists(), !summary.isEmpty());
        const bool opened = written.open(QIODevice::ReadOnly) && !written.readLine().isEmpty();
        QCOMPARE(opened ? QString::fromUtf8(written.readAll()) : QString(), summary);
    }

    void scheduleLaysOutGoodRoomsAndReportsEachBadRow() {
        QTemporaryDir dir;
        // Good rooms with quotes, commas and a line feed inside a name, around each kind of
        // bad row; CRLF line ends, headers in any case and order, a byte-order mark.
        const QStringList good{
            R"("Office 101, ""north""",ft,suspended,2,3,1,yes,,,40,25)",
            "\"Open\nplan\",MM,open,,,,,4000.5,yes,12500,8400",
            "Lobby été,feet,floor,,,,,,,20,30",
        };
        // One row for each kind of rule, the others being the same rules on other fields; good
        // rooms before the first, fourth and seventh.
        // clang-format off
        const QList<QPair<QString, QString>> bad{
            {",ft,floor,,,,,,,20,30", "3: room has no name"},
            {"B,,floor,,,,,,,20,30", "4: units is missing (needed for every room)"},
            {"B,ft,roof,,,,,,,20,30", R"(5: location "roof" is not suspended, open or floor)"},
            {"B,ft,suspended,2,6,1,,,,20,30", R"(8: tile "6" is not one of 1 to 5)"},
            {"B,ft,suspended,2,3,1,maybe,,,20,30", R"(9: batts "maybe" is not yes or no)"},
            {"B,ft,suspended,2,3,1,,14,,20,30",
             R"(10: structural-height "14" does not apply above a suspended ceiling)"},
            {"B,ft,floor,,,,,,,20,abc", R"(12: width "abc" is not a number)"},
            {"B,ft,floor,,,,,,,3.4,20", R"(13: length "3.4" is below the minimum of 4 ft)"},
            {"B,ft,floor,,,,,,,20,30,extra", "14: has 12 fields, the header has 11"},
        };
        // clang-format on
        QString csv = "\uFEFFRoom,UNITS,location,plenum,tile,Ceiling-Height,batts,"
                      "structural-height,insulation,length,width\r\n";
        QStringList expectedErr;
        for (int i = 0; i < bad.size(); ++i) {
            csv += (i % 3 ? "" : good[i / 3] + "\r\n") + bad[i].first + "\r\n";
            expectedErr << "rooms.csv:" + bad[i].second;
        }
        csv += "Tail,ft,floor,,,,,,,20,\"30\r\n"; // a quote never closed ends the reading
        expectedErr << "rooms.csv:15: a quoted field is not closed"
                    << "rooms.csv: 3 laid out, 10 refused, 0 incomplete";
        QFile file(dir.filePath("rooms.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(csv.toUtf8()) > 0 && file.flush());
        // A link already standing under a room's name is neither followed nor replaced.
        QVERIFY(QFile::link(dir.filePath("rooms.csv"), dir.filePath("Lobby été.pdf")));

        const Run run = Command({"--schedule", "rooms.csv", "--pdf", "--dxf"}, dir.path());
        QCOMPARE(run.err.trimmed().split('\n'), expectedErr);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out.trimmed(), "summary: ./rooms summary.csv");
        QFile summary(dir.filePath("rooms summary.csv"));
        QVERIFY(summary.open(QIODevice::ReadOnly));
        const QStringList rows = QString(summary.readAll()).split('\n');
        QCOMPARE(rows.mid(5, 2).join('\n'),
                 "\"Open\nplan\",mm,open,12500,8400,3900,3,3900,2350,2,3900,2250,6,36,"
                 "meters,structural-height 4000.5 rounded to 4000,Open_plan.pdf; "
                 "Open_plan.dxf");
        QCOMPARE(rows.mid(rows.size() - 3), QStringList({"total,ft,,,,,,,,,,,10,200,feet,,",
                                                         "total,mm,,,,,,,,,,,6,36,meters,,", ""}));
        QCOMPARE(QFile(dir.filePath("Lobby été.pdf")).symLinkTarget(), dir.filePath("rooms.csv"));
        QVERIFY(QFile::exists(dir.filePath("Lobby été (2).pdf")));

        QVERIFY(Command({dir.filePath("Office 101, _north_.pdf")}, {}, "pdfinfo")
                    .out.contains("\nPages:           1\n"));

        const QStringList names{"Office 101, \"north\"", "Open\nplan", "Lobby été"};
        // Office: 15 ft less 1 for the batts, 14 ft; Lobby: 16 ft on the floor, length and width
        // exchanged; Open plan: 3900 mm, as its summary row says.
        const QList<QList<double>> xs{{6, 20, 34}, {2350, 6250, 10150}, {7.5, 22.5}};
        const QList<QList<double>> ys{{6.5, 18.5}, {2250, 6150}, {5, 15}};
        for (int i = 0; i < good.size(); ++i) {
            const QStringList cells = good[i].split(',');
            const Room room = LaidOut(names[i], cells.mid(cells.size() - 10));
            const Run read =
                Command({"-c", kReadPlan, dir.filePath(SafeFileName(room.name) + ".dxf")}, {},
                        "/usr/bin/python3");
            QCOMPARE(read.out + read.err, ExpectedPlan(room, xs[i], ys[i]));
        }
    }

    // A file that would be cut short (a file-size limit, a full disk) is refused with the
    // reason; the others are written, no hidden temporary file is left, and the run fails.
    void filesCutShortAreRefused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("schedule");
        QTest::addColumn<Setting>("setting");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QStringList>("files"); // the schedule s.csv not counted
        const QStringList schedule{"--schedule", "s.csv"};
        const QByteArray hall = "room,units,location,length,width\nHall,mm,floor,300000,300000\n";
        const QByteArray office = "room,units,location,length,width\nOffice,mm,floor,106081,3000\n";
        // clang-format off
        QTest::newRow("dxf") << schedule + QStringList{"--pdf", "--dxf", "--coordinates"} << hall
            << Setting{200000, {}} << 1 << "Hall: dxf not written: file too large\ns.csv: 0 laid out, 0 refused, 1 incomplete"
            << QStringList{"Hall.pdf", "Hall.speakers.csv", "s summary.csv"};
        QTest::newRow("pdf") << schedule + QStringList{"--pdf", "--dxf"} << office << Setting{14000, {}}
            << 1 << "Office: pdf not written: file too large\ns.csv: 0 laid out, 0 refused, 1 incomplete" << QStringList{"Office.dxf", "s summary.csv"};
        QTest::newRow("coordinates") << schedule + QStringList{"--coordinates"} << hall
            << Setting{60000, {}} << 1 << "Hall: speakers.csv not written: file too large\ns.csv: 0 laid out, 0 refused, 1 incomplete"
            << QStringList{"s summary.csv"};
        QTest::newRow("summary") << schedule << LongSchedule(0, 3) << Setting{300, {}} << 2
            << "Device I/O (File too large in .)" << QStringList{};
        QTest::newRow("json into a full disk")
            << QStringList{"--units", "ft", "--location", "floor", "--length", "40", "--width", "30", "--json"}
            << QByteArray() << Setting{0, "/dev/full"} << 1
            << "masking-speaker-plan: standard output not written: disk full" << QStringList{};
        // clang-format on
    }
    void filesCutShortAreRefused() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, schedule);
        QFETCH(Setting, setting);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        QVERIFY(WriteFile(dir.filePath("s.csv"), schedule));
        const Run run = CommandIn(dir.path(), args, setting);
        QCOMPARE(run.err.trimmed(), err);
        QCOMPARE(run.status, status);
        QCOMPARE(FilesIn(dir.path()), files + QStringList{"s.csv"});
    }

    // SIGTERM sent twice (as timeout and service managers do), or a standard stream nobody
    // reads: no hidden temporary file is left, and a broken stream does not stop the run. A
    // temporary file that a copy no longer running left behind is removed.
    void endingSignalsAndBrokenStreamsLeaveNoTemporaryFile_data() {
        QTest::addColumn<int>("closedStream");
        QTest::addColumn<int>("status"); // -1: ended by the signal
        QTest::addColumn<QString>("err");
        QTest::newRow("SIGTERM twice") << -1 << -1 << "";
        QTest::newRow("closed standard error") << int(STDERR_FILENO) << 1 << "";
        QTest::newRow("closed standard output")
            << int(STDOUT_FILENO) << 1
            << "masking-speaker-plan: standard output not written: broken pipe";
    }
    void endingSignalsAndBrokenStreamsLeaveNoTemporaryFile() {
        QFETCH(int, closedStream);
        QFETCH(int, status);
        QFETCH(QString, err);
        QTemporaryDir dir;
        const QString stale = ".Masking layout 4000000-1.part";
        QVERIFY(WriteFile(dir.filePath(stale), "cut short"));
        const bool signalled = closedStream < 0;
        QVERIFY(WriteFile(dir.filePath("s.csv"), LongSchedule(signalled ? 0 : 2000, 200)));
        const QStringList args{"--schedule", "s.csv", "--pdf"};
        Run run{};
        if (signalled) {
            QProcess p;
            p.setWorkingDirectory(dir.path());
            p.start(MSL_PLAN_PATH, args);
            QVERIFY(p.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("R20.pdf")), 60000);
            kill(pid_t(p.processId()), SIGTERM);
            kill(pid_t(p.processId()), SIGTERM);
            QVERIFY(p.waitForFinished(60000));
            run = {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, {}, {}};
        } else {
            run = CommandIn(dir.path(), args, Setting{0, {}, closedStream});
            QFile summary(dir.filePath("s summary.csv"));
            QVERIFY(summary.open(QIODevice::ReadOnly));
            QVERIFY(summary.readAll().endsWith("\ntotal,ft,,,,,,,,,,,1200,24000,feet,,\n"));
            QCOMPARE(FilesIn(dir.path()).size(), 202);
        }
        QCOMPARE(run.err.trimmed().section('\n', -1), err);
        QCOMPARE(run.status, status);
        for (const QString& name : FilesIn(dir.path()))
            QVERIFY2(!name.startsWith('.'), qPrintable(name));
    }

    // File names: cut once between characters to 235 bytes of UTF-8 (255 less ".speakers.csv"
    // and " (9999)"), without marks that reorder or hide letters, quickly however long the name.
    void fileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        // clang-format off
        QTest::newRow("kept") << "Lobby \u00E9t\u00E9 2.01" << "Lobby \u00E9t\u00E9 2.01";
        QTest::newRow("refused characters") << " ..a/b\\c:d*e?f\"g<h>i|j\tk " << "a_b_c_d_e_f_g_h_i_j_k";
        QTest::newRow("bidi and zero width")
            << "Invoice\u202Efdp.exe\u2066\u2067\u2068\u2069\u202A\u202B\u202C\u202D\u200B\u200C\u200D\u200E\u200F\u2060\uFEFF"
            << "Invoicefdp.exe";
        QTest::newRow("235 bytes") << QString(235, 'a') << QString(235, 'a');
        QTest::newRow("236 bytes") << QString(236, 'a') << QString(235, 'a');
        QTest::newRow("emoji at the cut") << QString(233, 'a') + emoji << QString(233, 'a');
        QTest::newRow("emoji") << emoji.repeated(100) << emoji.repeated(58);
        QTest::newRow("1 MB") << QString(1 << 20, 'x') << QString(235, 'x');
        QTest::newRow("nothing left") << " \u200B. " << "room";
        // clang-format on
    }
    void fileNames() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(SafeFileName(name.toStdString()), file);
        QVERIFY(timer.elapsed() < 1000);
    }

    // What a room's name and description become in its files: the plan's text, the report's
    // title and a note when the description does not fit the report's line; and its exact
    // coordinates.
    void roomTextsInFiles_data() {
        QTest::addColumn<QString>("row"); // room, length, description
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("planText");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("lastSpeaker");
        // clang-format off
        QTest::newRow("percent codes") << "50%%d off,40,Sale %%p" << "50%%d off" << "50%%%%%%d off"
            << "Masking layout - Sale %%p" << "" << "6,35,22.5";
        QTest::newRow("line breaks") << "\"Open\r\nplan\",40,\"Level 2\r\nEast\nWing\rB\vC\fD\u2028E\"" << "Open__plan"
            << "Open plan" << "Masking layout - Level 2 East Wing B C D E" << "" << "6,35,22.5";
        QTest::newRow("long description") << "Lobby,40," + QString("word ").repeated(40).trimmed() << "Lobby"
            << "Lobby" << "" << "description cut to fit the report" << "6,35,22.5";
        QTest::newRow("exact coordinates") << "Hall,106081," << "Hall" << "Hall" << "Masking layout - Hall"
            << "" << "21,101840.5,1500";
        // clang-format on
    }
    void roomTextsInFiles() {
        QFETCH(QString, row);
        QFETCH(QString, file);
        QFETCH(QString, planText);
        QFETCH(QString, title);
        QFETCH(QString, notes);
        QFETCH(QString, lastSpeaker);
        QTemporaryDir dir;
        const bool feet = !row.startsWith("Hall");
        const QString units = feet ? "ft,floor,30," : "mm,floor,3000,";
        const QString csv = "units,location,width,room,length,description\n" + units + row + "\n";
        QVERIFY(WriteFile(dir.filePath("s.csv"), csv.toUtf8()));
        const Run run =
            Command({"--schedule", "s.csv", "--pdf", "--dxf", "--coordinates"}, dir.path());
        QCOMPARE(run.status, 0);
        QFile summary(dir.filePath("s summary.csv"));
        QVERIFY(summary.open(QIODevice::ReadOnly));
        QCOMPARE(QString(summary.readAll()).split('\n')[1].section(',', -2, -2), notes);
        const QString pdf = Command({dir.filePath(file + ".pdf")}, {}, "pdfinfo").out;
        QVERIFY2(title.isEmpty() || pdf.contains("Title:           " + title + "\n"),
                 qPrintable(pdf));
        QFile coordinates(dir.filePath(file + ".speakers.csv"));
        QVERIFY(coordinates.open(QIODevice::ReadOnly));
        QCOMPARE(QString(coordinates.readAll()).trimmed().section('\n', -1), lastSpeaker);
        // Read with an audit that repairs nothing: owners, extents and the first view.
        const Run read = Command({"-c", R"(
import sys, ezdxf; from ezdxf import recover
doc, auditor = recover.readfile(sys.argv[1]); view = doc.viewports.get('*Active')[0].dxf
print(len(auditor.errors), len(auditor.fixes), doc.header['$EXTMIN'][:2], doc.header['$EXTMAX'][:2])
print(tuple(view.center)[:2], view.height > 0, doc.modelspace().query('TEXT')[0].dxf.text))",
                                  dir.filePath(file + ".dxf")},
                                 {}, "/usr/bin/python3");
        const QString extents = feet ? "(0.0, -2.0) (40.0, 30.0)\n(20.0, 14.0)"
                                     : "(0.0, -600.0) (106081.0, 3000.0)\n(53040.5, 1200.0)";
        QCOMPARE(read.out + read.err, "0 0 " + extents + " True " + planText + "\n");
    }
};

QTEST_MAIN(TestPlan)
#include "tst_plan.moc"
