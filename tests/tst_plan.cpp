// The command-line program against the window: the same page for designs in both units and
// all three locations; a schedule with a bad row of each kind among good ones, run as a user
// runs it; its DXF plans read back and audited by an independent reader, its PDF reports parsed.
#include "window_fixture.h"

#include "cli/room.h"
#include "cli/room_files.h"
#include "core/calculate.h"

#include <QProcess>
#include <QTemporaryDir>

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

QString ExpectedPlan(const Room& room) {
    const DesignState& s = room.s;
    QString plan = QString::asprintf(
        "errors 0 units %d\nlayers 0 Defpoints MASKING-GRID MASKING-SPEAKERS ROOM\nroom True 0,0 "
        "%d,0 %d,%d 0,%d\ndot %s\ngrid %d\nname %s\nspeakers",
        s.units == Units::Feet ? 2 : 4, s.length, s.length, s.width, s.width,
        s.units == Units::Feet ? "1.0" : "305.0", s.alongLength.rows + s.alongWidth.rows,
        qUtf8Printable(QString::fromStdString(room.name).replace('\n', ' ')));
    for (const SpeakerPoint& p : SpeakerPoints(s))
        plan += QString::asprintf(" %g,%g", p.x, p.y);
    return plan + "\n";
}

} // namespace

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
        expectedErr << "rooms.csv:15: a quoted field is not closed";
        QFile file(dir.filePath("rooms.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(csv.toUtf8()) > 0 && file.flush());
        // A link already standing under a room's name is neither followed nor replaced.
        QVERIFY(QFile::link(dir.filePath("rooms.csv"), dir.filePath("Lobby été.pdf")));

        const Run run = Command({"--schedule", "rooms.csv", "--pdf", "--dxf"}, dir.path());
        QCOMPARE(run.err.trimmed().split('\n'), expectedErr);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out.trimmed(), "3 rooms laid out, 10 refused; summary: ./rooms summary.csv");
        QFile summary(dir.filePath("rooms summary.csv"));
        QVERIFY(summary.open(QIODevice::ReadOnly));
        const QStringList rows = QString(summary.readAll()).split('\n');
        QCOMPARE(rows.mid(2, 2).join('\n'),
                 "\"Open\nplan\",mm,open,12500,8400,3900,3,3900,2350,2,3900,2250,6,36,"
                 "meters,structural-height 4000.5 rounded to 4000,Open_plan.pdf; "
                 "Open_plan.dxf");
        QCOMPARE(rows.mid(5), QStringList({"total,ft,,,,,,,,,,,10,200,feet,,",
                                           "total,mm,,,,,,,,,,,6,36,meters,,", ""}));
        QCOMPARE(QFile(dir.filePath("Lobby été.pdf")).symLinkTarget(), dir.filePath("rooms.csv"));
        QVERIFY(QFile::exists(dir.filePath("Lobby été (2).pdf")));

        QVERIFY(Command({dir.filePath("Office 101, _north_.pdf")}, {}, "pdfinfo")
                    .out.contains("\nPages:           1\n"));

        const QStringList names{"Office 101, \"north\"", "Open\nplan", "Lobby été"};
        for (int i = 0; i < good.size(); ++i) {
            const QStringList cells = good[i].split(',');
            const Room room = LaidOut(names[i], cells.mid(cells.size() - 10));
            const Run read =
                Command({"-c", kReadPlan, dir.filePath(SafeFileName(room.name) + ".dxf")}, {},
                        "/usr/bin/python3");
            QCOMPARE(read.out + read.err, ExpectedPlan(room));
        }
    }
};

QTEST_MAIN(TestPlan)
#include "tst_plan.moc"
