// The command-line program against the window: the same result lines and the same page for
// designs in both units and all three locations; a schedule with every kind of bad row among
// good ones, run as a user runs it; its DXF plans read back and audited by an independent
// reader, its PDF reports parsed.
#include "window_fixture.h"

#include "cli/room.h"
#include "cli/room_files.h"
#include "core/calculate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    auto room = LayOutRoom(r);
    if (auto* e = std::get_if<RoomError>(&room))
        qFatal("%s", e->text.c_str());
    return std::get<Room>(room);
}

struct Run {
    int status;
    QString out, err;
};

Run Command(const QStringList& args, const QString& folder = {}) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(MSL_PLAN_PATH, args);
    if (!p.waitForFinished(60000))
        qFatal("the command did not finish");
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// Debian's python with its ezdxf: units, the room outline, layers and every speaker insert.
constexpr const char* kReadPlan = R"(
import sys, ezdxf
from ezdxf.lldxf.encoding import decode_dxf_unicode
doc = ezdxf.readfile(sys.argv[1])
audit = doc.audit()
msp = doc.modelspace()
print('errors', len(audit.errors), 'units', doc.header['$INSUNITS'])
print('layers', ' '.join(sorted(l.dxf.name for l in doc.layers)))
room = msp.query('LWPOLYLINE[layer=="ROOM"]')[0]
print('room', room.closed, ' '.join('%g,%g' % p[:2] for p in room.get_points()))
print('dot', doc.blocks['MASKING_SPEAKER'].query('CIRCLE')[0].dxf.radius)
print('grid', len(msp.query('LINE[layer=="MASKING-GRID"]')))
print('name', decode_dxf_unicode(msp.query('TEXT')[0].dxf.text))
print('speakers', ' '.join('%g,%g' % (i.dxf.insert.x, i.dxf.insert.y) for i in
                           msp.query('INSERT[layer=="MASKING-SPEAKERS"]')
                           if i.dxf.name == 'MASKING_SPEAKER'))
)";

QString ExpectedPlan(const Room& room) {
    const DesignState& s = room.s;
    QString speakers;
    for (const SpeakerPoint& p : SpeakerPoints(s))
        speakers += QString::asprintf(" %g,%g", p.x, p.y);
    return QString("errors 0 units %1\nlayers 0 Defpoints MASKING-GRID MASKING-SPEAKERS ROOM\n"
                   "room True 0,0 %2,0 %2,%3 0,%3\ndot %4\ngrid %5\nname %6\nspeakers%7\n")
        .arg(s.MeasFeet ? 2 : 4)
        .arg(s.Leng)
        .arg(s.Wid)
        .arg(s.MeasFeet ? "1.0" : "305.0")
        .arg(s.alongLength.rows + s.alongWidth.rows)
        .arg(QString::fromStdString(room.name).replace('\n', ' '), speakers);
}

} // namespace

class TestPlan : public QObject {
    Q_OBJECT
  private slots:
    void commandLineAndWindowGiveTheSameLinesAndPage_data() {
        QTest::addColumn<Fields>("fields");
        QTest::newRow("ft suspended, batts")
            << Fields{"ft", "suspended", "2", "3", "2", "yes", "", "", "40", "25"};
        QTest::newRow("mm suspended, width exchanged")
            << Fields{"mm", "suspended", "4", "5", "1", "no", "", "", "8400", "12500.5"};
        QTest::newRow("ft open, insulated")
            << Fields{"ft", "open", "", "", "", "", "19.5", "yes", "45", "31"};
        QTest::newRow("mm floor") << Fields{"mm", "floor", "", "", "", "", "", "", "4880", "9761"};
    }
    void commandLineAndWindowGiveTheSameLinesAndPage() {
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
        const std::array<std::string, 4> lines = ResultLines(room.s);
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(lines[std::size_t(i - 1)], w.line(i).toStdString());
        QVERIFY(w.printing.last &&
                ComposeReport(room.s, FixedMetrics()) == w.printing.last->Items());
    }

    void optionsAndScheduleHeaders_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("schedule"); // written to s.csv when not empty
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shown"); // the output's first line, or all the errors
        const QStringList room{"--units",  "mm",    "--location", "open", "--insulation",
                               "--length", "12500", "--width",    "8400", "--structural-height"};
        const QStringList schedule{"--schedule", "s.csv"};
        QTest::newRow("lines") << room + QStringList{"4000"} << "" << 0
                               << "Length: There are 3 rows 3900 mm. apart. Edges are 2350 mm. "
                                  "from walls.";
        QTest::newRow("refused") << room + QStringList{"3599.4"} << "" << 1
                                 << "masking-speaker-plan: structural-height \"3599.4\" is below "
                                    "the minimum of 3600 mm";
        QTest::newRow("nothing to do") << QStringList{} << "" << 2
                                       << "masking-speaker-plan: give a room's options or "
                                          "--schedule (see --help)";
        QTest::newRow("both") << schedule + QStringList{"--json"} << "" << 2
                              << "masking-speaker-plan: a room's options and --schedule exclude "
                                 "each other (see --help)";
        QTest::newRow("no schedule") << schedule << "" << 2 << "s.csv: cannot be read";
        QTest::newRow("unknown column") << schedule << "Widht,room\nB,ft\n"
                                        << 2 << "s.csv:1: unknown column \"Widht\"";
        QTest::newRow("missing column") << schedule << "\n\nroom,units,location,width\n"
                                        << 2 << "s.csv:3: no column \"length\"";
        QTest::newRow("blank") << schedule << "\r\n" << 2 << "s.csv: no header row";
    }
    void optionsAndScheduleHeaders() {
        QFETCH(QStringList, args);
        QFETCH(QString, schedule);
        QFETCH(int, status);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        QFile file(dir.filePath("s.csv"));
        QVERIFY(schedule.isEmpty() || (file.open(QIODevice::WriteOnly) &&
                                       file.write(schedule.toLatin1()) == schedule.size()));
        file.close();
        const Run run = Command(args, dir.path());
        QCOMPARE(status == 0 ? run.out.section('\n', 0, 0) : run.err.trimmed(), shown);
        QCOMPARE(run.status, status);
    }

    void jsonHoldsTheDesignAndEverySpeaker() {
        const Room room =
            LaidOut("Lab", {"mm", "open", "", "", "", "", "4000", "yes", "8400", "12500.5"});
        QTemporaryDir dir;
        const Run run =
            Command({"--room", "Lab", "--units", "mm", "--location", "open", "--structural-height",
                     "4000", "--insulation", "--length", "8400", "--width", "12500.5", "--json"},
                    dir.path());
        const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(json["nominal_spacing"].toInt(), room.s.NomSpc);
        QCOMPARE(json["length"].toObject()["edge"].toDouble(), double(room.s.alongLength.edge));
        QCOMPARE(json["speakers"].toInt(), int(SpeakerPoints(room.s).size()));
        QCOMPARE(json["coordinates"].toArray().last().toArray(),
                 (QJsonArray{SpeakerPoints(room.s).back().x, SpeakerPoints(room.s).back().y}));
        QCOMPARE(json["lines"].toArray().at(3).toString().toStdString(), ResultLines(room.s)[3]);
        QCOMPARE(json["notes"].toArray(),
                 (QJsonArray{"width 12500.5 rounded to 12500", "length and width exchanged"}));
    }

    void scheduleLaysOutGoodRoomsAndReportsEachBadRow() {
        QTemporaryDir dir;
        // Good rooms with quotes, commas and a line feed inside a name, around every kind of
        // bad row; CRLF line ends, headers in any case and order, a byte-order mark.
        const QStringList good{
            R"("Office 101, ""north""",ft,suspended,2,3,1,yes,,,40,25)",
            "\"Open\nplan\",MM,open,,,,,4000.5,yes,12500,8400",
            "Lobby été,feet,floor,,,,,,,20,30",
        };
        const QList<QPair<QString, QString>> bad{
            {",ft,floor,,,,,,,20,30", "room has no name"},
            {"B,,floor,,,,,,,20,30", "units is missing (needed for every room)"},
            {"B,yd,floor,,,,,,,20,30", R"(units "yd" is not ft or mm)"},
            {"B,ft,roof,,,,,,,20,30", R"(location "roof" is not suspended, open or floor)"},
            {"B,ft,suspended,,3,1,,,,20,30",
             "plenum is missing (needed above a suspended ceiling)"},
            {"B,ft,suspended,2,6,1,,,,20,30", R"(tile "6" is not one of 1 to 5)"},
            {"B,ft,suspended,2,3,1,maybe,,,20,30", R"(batts "maybe" is not yes or no)"},
            {"B,ft,suspended,2,3,1,,14,,20,30",
             R"(structural-height "14" does not apply above a suspended ceiling)"},
            {"B,ft,open,,,,,11.4,,20,30",
             R"(structural-height "11.4" is below the minimum of 12 ft)"},
            {"B,ft,floor,1,,,,,,20,30", R"(plenum "1" does not apply below an access floor)"},
            {"B,ft,floor,,,,,,,20,abc", R"(width "abc" is not a number)"},
            {"B,ft,floor,,,,,,,3.4,20", R"(length "3.4" is below the minimum of 4 ft)"},
            {"B,ft,floor,,,,,,,20,30,extra", "has 12 fields, the header has 11"},
        };
        QString csv = "Room,UNITS,location,plenum,tile,Ceiling-Height,batts,"
                      "structural-height,insulation,length,width\r\n";
        QStringList expectedErr;
        int line = 2;
        for (int i = 0; i < bad.size(); ++i) {
            if (i % 6 == 0) {
                csv += good[i / 6] + "\r\n";
                line += 1 + int(good[i / 6].count('\n'));
            }
            csv += bad[i].first + "\r\n";
            expectedErr << QString("rooms.csv:%1: %2").arg(line++).arg(bad[i].second);
        }
        csv += "Tail,ft,floor,,,,,,,20,\"30\r\n"; // a quote never closed ends the reading
        expectedErr << QString("rooms.csv:%1: a quoted field is not closed").arg(line);
        QFile file(dir.filePath("rooms.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\xEF\xBB\xBF" + csv.toUtf8()) > 0);
        file.close();
        // A link already standing under a room's name is neither followed nor replaced.
        QVERIFY(QFile::link(dir.filePath("rooms.csv"), dir.filePath("Lobby été.pdf")));

        const Run run = Command({"--schedule", "rooms.csv", "--pdf", "--dxf"}, dir.path());
        QCOMPARE(run.err.trimmed().split('\n'), expectedErr);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out.trimmed(), "3 rooms laid out, " + QString::number(bad.size() + 1) +
                                        " refused; summary: ./rooms summary.csv");
        QFile summary(dir.filePath("rooms summary.csv"));
        QVERIFY(summary.open(QIODevice::ReadOnly));
        const QStringList rows = QString(summary.readAll()).split('\n');
        QCOMPARE(rows.value(2), "\"Open");
        QCOMPARE(rows.value(3), "plan\",mm,open,12500,8400,3900,3,3900,2350,2,3900,2250,6,36,"
                                "meters,structural-height 4000.5 rounded to 4000,Open_plan.pdf; "
                                "Open_plan.dxf");
        QCOMPARE(rows.mid(5), QStringList({"total,ft,,,,,,,,,,,10,200,feet,,",
                                           "total,mm,,,,,,,,,,,6,36,meters,,", ""}));
        QCOMPARE(QFile(dir.filePath("Lobby été.pdf")).symLinkTarget(), dir.filePath("rooms.csv"));
        QVERIFY(QFile::exists(dir.filePath("Lobby été (2).pdf")));

        QProcess pdfinfo;
        pdfinfo.start("pdfinfo", {dir.filePath("Office 101, _north_.pdf")});
        QVERIFY(pdfinfo.waitForFinished() && pdfinfo.exitCode() == 0);
        QVERIFY(pdfinfo.readAllStandardOutput().contains("\nPages:           1\n"));

        const QStringList names{"Office 101, \"north\"", "Open\nplan", "Lobby été"};
        for (int i = 0; i < good.size(); ++i) {
            const QStringList cells = good[i].split(',');
            const Room room = LaidOut(names[i], cells.mid(cells.size() - 10));
            QProcess python;
            python.start("/usr/bin/python3",
                         {"-c", kReadPlan, dir.filePath(SafeFileName(room.name) + ".dxf")});
            QVERIFY(python.waitForFinished(60000));
            QCOMPARE(QString(python.readAllStandardOutput()) + python.readAllStandardError(),
                     ExpectedPlan(room));
        }
    }
};

QTEST_MAIN(TestPlan)
#include "tst_plan.moc"
