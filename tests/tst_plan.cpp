// The command-line program against the window: the same page for designs in both units and
// all three locations; single rooms and schedules with a bad row of each kind among good ones,
// run as a user runs them; their DXF plans read back and audited by an independent reader, their
// PDF reports parsed; files cut short, ending signals and broken streams.
#include "window_fixture.h"

#include "cli/room.h"
#include "core/calculate.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Run {
    int status; // -1: ended by a signal
    QString out, err;
};

// What a run meets: names taken, files and standard streams cut off, a signal.
struct Setting {
    int taken = 0;            // names of out/T.speakers.csv already taken
    qint64 fileSizeLimit = 0; // bytes a file may have, or none
    int signal = 0; // sent twice (as timeout and service managers do) once "R (20).pdf" is written
    int closedStream = -1; // a standard stream that is a pipe nobody reads
    QString stdoutFile{};  // where standard output goes instead of the test
};

Run Command(const QStringList& args, const QString& folder = {}, const Setting& setting = {},
            const QString& program = MSL_PLAN_PATH) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setStandardOutputFile(setting.stdoutFile); // none when empty
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
    p.start(program, args);
    while (setting.signal && !QFile::exists(folder + "/R (20).pdf") && !p.waitForFinished(50))
        continue;
    for (int n = 0; setting.signal && n < 2 && p.processId() > 0; ++n)
        kill(pid_t(p.processId()), setting.signal);
    p.waitForFinished(120000);
    close(pipeEnds[1]);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// Debian's python with its ezdxf, reading with an audit that repairs nothing: units, extents
// and the first view, layers, the room outline, the speaker's dot, the name and every speaker.
constexpr const char* kReadPlan = R"(
import sys; from ezdxf import recover; from ezdxf.lldxf.encoding import decode_dxf_unicode
doc, audit = recover.readfile(sys.argv[1]); msp = doc.modelspace(); h = doc.header; v = doc.viewports.get('*Active')[0].dxf
xy = lambda *ps: ' '.join('%.10g,%.10g' % tuple(p)[:2] for p in ps); room = msp.query('LWPOLYLINE[layer=="ROOM"]')[0]
print('audit', len(audit.errors), len(audit.fixes), 'units', h['$INSUNITS'], 'extents', xy(h['$EXTMIN'], h['$EXTMAX']), 'view',
      xy(v.center), v.height > 0, '\nlayers', *sorted(l.dxf.name for l in doc.layers), '\nroom', room.closed, xy(*room.get_points()))
print('dot', doc.blocks['MASKING_SPEAKER'].query('CIRCLE')[0].dxf.radius, 'grid', len(msp.query('LINE[layer=="MASKING-GRID"]')),
      'name', decode_dxf_unicode(msp.query('TEXT')[0].dxf.text), '\nspeakers', xy(*(i.dxf.insert for i in
      msp.query('INSERT[layer=="MASKING-SPEAKERS"]') if i.dxf.name == 'MASKING_SPEAKER')))
)";

// A plan of length by width as kReadPlan prints it: its name two text heights (1 ft, 300 mm)
// below the room, the view on all of it, grid lines and speakers worked out from the rule by hand.
QString ExpectedPlan(bool feet, double length, double width, int grid, const QString& name,
                     const QString& speakers) {
    const double below = feet ? -2 : -600;
    return QString::asprintf("audit 0 0 units %d extents 0,%g %.10g,%g view %.10g,%g True \nlayers "
                             "0 Defpoints MASKING-GRID "
                             "MASKING-SPEAKERS ROOM \nroom True 0,0 %.10g,0 %.10g,%g 0,%g\ndot %s "
                             "grid %d name %s \nspeakers %s\n",
                             feet ? 2 : 4, below, length, width, length / 2, (width + below) / 2,
                             length, length, width, width, feet ? "1.0" : "305.0", grid,
                             qUtf8Printable(name), qUtf8Printable(speakers));
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

Q_DECLARE_METATYPE(Setting)

class TestPlan : public QObject {
    Q_OBJECT
  private slots:
    void commandLineAndWindowGiveTheSamePage_data() {
        // units, location, plenum, tile, ceiling-height, batts, structural-height, insulation,
        // length, width
        QTest::addColumn<QStringList>("fields");
        // clang-format off
        QTest::newRow("ft suspended") << QStringList{"ft", "suspended", "2", "3", "2", "yes", "", "", "40", "25"};
        QTest::newRow("mm suspended, exchanged") << QStringList{"mm", "suspended", "4", "5", "1", "no", "", "", "8400", "12500.5"};
        QTest::newRow("ft open") << QStringList{"ft", "open", "", "", "", "", "19.5", "yes", "45", "31"};
        QTest::newRow("mm floor") << QStringList{"mm", "floor", "", "", "", "", "", "", "4880", "9761"};
        // clang-format on
    }
    void commandLineAndWindowGiveTheSamePage() {
        QFETCH(QStringList, fields);
        WindowFixture w;
        w.conditions(fields);
        w.enterRoom(fields[8], fields[9]);
        w.click(w.controls().CmdCalculate);
        w.click(w.controls().CmdPrint);
        w.controls().TxtDescription->setText("Level 2");
        w.click(w.controls().CmdPrt);
        RoomFields r{"Level 2"}; // the fields from units on, in the columns' order
        std::transform(fields.begin(), fields.end(), r.begin() + 1,
                       [](const QString& v) { return v.toStdString(); });
        // The page holds the rows, spacings, edges and count the result lines are made of.
        QVERIFY(ComposeReport(std::get<Room>(LayOutRoom(r)).s, FixedMetrics()) == w.printing.page);
    }

    // What a user gets from a room's options, or from a schedule as spreadsheets write it (s.csv,
    // unless empty) laid out into the folder "out": standard error, the exit status, and standard
    // output with blanks folded or, when a summary is written, the summary's rows after its
    // header (the folder is made only then).
    void roomsAndScheduleRowsAreEachAccountedFor_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<Setting>("setting");
        QTest::addColumn<QByteArray>("schedule");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("out");
        // The files in the run's own folder, or after a signal the hidden ones, or none read.
        QTest::addColumn<QStringList>("files");
        // clang-format off
        const QStringList own{"--schedule", "s.csv"}, s = own + QStringList{"--out", "out"}, c = s + QStringList{"--coordinates"};
        const QStringList room{"--units", "mm", "--location", "open", "--insulation", "--length", "8400", "--width",
                               "12500.5", "--structural-height"};
        const QByteArray h = "room,units,location,plenum,tile,ceiling-height,batts,structural-height,insulation,length,width,"
                             "description\n", a = "A,ft,floor,,,,,,,30,20\n", b = "B,mm,floor,,,,,,,9760,4880\n";
        const QStringList lines{"Length: There are 3 rows 3900 mm. apart. Edges are 2350 mm. from walls.",
            " Width: There are 2 rows 3900 mm. apart. Edges are 2250 mm. from walls.", "There are 6 masking speakers.",
            "Estimated length of zone wiring at 6 meters per speaker is 36 meters"};
        // Floor rooms at 16 ft / 4880 mm: 30 ft gives 2 rows 15 apart, edges 7.5; 20 ft 2 rows
        // 10 apart, edges 5; 9760 mm 2 rows 4880 apart, edges 2440; 4880 mm 1 row, edges 2440.
        const auto ft = [](const QString& name, const QString& more = ",") {
            return name + ",ft,floor,30,20,16,2,15,7.5,2,10,5,4,80,feet," + more + "\n"; };
        const QString mm = "B,mm,floor,9760,4880,4880,2,4880,2440,1,0,2440,2,12,meters,,\n";
        const auto total = [](int ftRooms, int mmRooms) {
            return (ftRooms ? QString("total,ft,,,,,,,,,,,%1,%2,feet,,\n").arg(4 * ftRooms).arg(80 * ftRooms) : "")
                + (mmRooms ? QString("total,mm,,,,,,,,,,,%1,%2,meters,,\n").arg(2 * mmRooms).arg(12 * mmRooms) : ""); };
        const auto counts = [](int done, int refused, int incomplete = 0) {
            return QString("s.csv: %1 laid out, %2 refused, %3 incomplete").arg(done).arg(refused).arg(incomplete); };
        const QString quote = "a quote stands inside a field (quote the field and double its quotes)";
        const QString utf16 = "s.csv: the schedule is UTF-16; save it as UTF-8 CSV";
        const QByteArray le = QStringEncoder(QStringConverter::Utf16LE)(QString(h + a)),
                         be = QStringEncoder(QStringConverter::Utf16BE)(QString(h + a));
        const QByteArray name200 = QString(200, QChar(0xE9)).toUtf8();
        QTest::newRow("lines") << room + QStringList{"4000"} << Setting{} << QByteArray() << 0
            << "note: width 12500.5 rounded to 12500\nnote: length and width exchanged"
            << lines.join(' ').simplified() << QStringList();
        QTest::newRow("json") << room + QStringList{"4000", "--json"} << Setting{} << QByteArray() << 0 << ""
            << "{ \"coordinates\": [ [ 2350, 2250 ], [ 2350, 6150 ], [ 6250, 2250 ], [ 6250, 6150 ], [ 10150, 2250 ], "
               "[ 10150, 6150 ] ], \"inputs\": { \"description\": \"room\", \"insulation\": true, \"length\": 12500, "
               "\"location\": \"open\", \"room\": \"room\", \"structural-height\": 4000, \"units\": \"mm\", \"width\": "
               "8400 }, \"length\": { \"edge\": 2350, \"rows\": 3, \"spacing\": 3900 }, \"lines\": [ \""
               + lines.join("\", \"") + "\" ], \"nominal_spacing\": 3900, \"notes\": [ \"width 12500.5 "
               "rounded to 12500\", \"length and width exchanged\" ], \"speakers\": 6, \"width\": { \"edge\": 2250, "
               "\"rows\": 2, \"spacing\": 3900 }, \"wiring\": { \"per_speaker\": 6, \"total\": 36, \"unit\": \"m\" } }" << QStringList();
        QTest::newRow("refused") << room + QStringList{"3599.4"} << Setting{} << QByteArray() << 1
            << "masking-speaker-plan: structural-height \"3599.4\" is below the minimum of 3600 mm" << "" << QStringList();
        QTest::newRow("nothing to do") << QStringList() << Setting{} << QByteArray() << 2
            << "masking-speaker-plan: give a room's options, --schedule or --plan (see --help)" << "" << QStringList();
        QTest::newRow("both") << s + QStringList{"--json"} << Setting{} << h + a << 2
            << "masking-speaker-plan: a room's options and --schedule exclude each other (see --help)" << "" << QStringList();
        QTest::newRow("repeated --length") << s + QStringList{"--length", "40", "--length", "50"} << Setting{} << h + a
            << 2 << "masking-speaker-plan: --length is given more than once (see --help)" << "" << QStringList();
        QTest::newRow("no schedule") << s << Setting{} << QByteArray() << 2 << "s.csv: cannot be read" << "" << QStringList();
        QTest::newRow("blank") << s << Setting{} << QByteArray("\r\n") << 2 << "s.csv: no header row" << "" << QStringList();
        QTest::newRow("unknown column") << s << Setting{} << "room,units,x\n" + a << 2 << "s.csv:1: unknown column \"x\"" << "" << QStringList();
        QTest::newRow("missing column") << s << Setting{} << QByteArray("\n\nroom,units,location,width\n") << 2
            << "s.csv:3: no column \"length\"" << "" << QStringList();
        QTest::newRow("UTF-16 LE") << s << Setting{} << "\xFF\xFE" + le << 2 << utf16 << "" << QStringList();
        QTest::newRow("UTF-16 LE, no mark") << s << Setting{} << le << 2 << utf16 << "" << QStringList();
        QTest::newRow("UTF-16 BE, no mark") << s << Setting{} << be << 2 << utf16 << "" << QStringList();
        QTest::newRow("quotes") << s << Setting{} << h + "A,ft,floor,,,,,,,30,20,6\" speaker\nQ,ft,floor,,,,,,,30,\"20\n" + b
               + "C,ft,floor,,,,,,,30,\"2" << 1 << "s.csv:2: " + quote + "\ns.csv:3: a quoted field is not closed\n"
               "s.csv:5: a quoted field is not closed\n" + counts(1, 3)
            << "A,ft,floor,30,20,,,,,,,,,,,refused: " + quote + ",\nQ,ft,floor,30,,,,,,,,,,,,refused: a quoted field is not "
               "closed,\n" + mm + "C,ft,floor,30,,,,,,,,,,,,refused: a quoted field is not closed,\n" + total(0, 1) << QStringList();
        QTest::newRow("CR, LF and CRLF line ends, line feeds quoted") << s << Setting{}
            << QByteArray(h).replace('\n', '\r') + "\"A\r\n1\",ft,floor,,,,,,,30,20,\"x\n\ny\"\r\nC,ft,floor,,,,,,,30,abc\r" + b << 1
            << "s.csv:6: width \"abc\" is not a number\n" + counts(2, 1)
            << ft("\"A\r\n1\"") + "C,ft,floor,30,abc,,,,,,,,,,,\"refused: width \"\"abc\"\" is not a number\",\n"
               + mm + total(1, 1) << QStringList();
        QTest::newRow("refused rows keep what was read") << s << Setting{}
            << h + ",ft,floor,,,,,,,30,20\n" + b + "C,ft,floor,,,,,,,30,-5\nD,ft,floor,,,,,,,30,20,,x\n"
               "E,,floor,,,,,,,30,20\nF,ft,roof,,,,,,,30,20\nG,ft,suspended,2,6,1,,,,30,20\n"
               "H,ft,suspended,2,3,1,maybe,,,30,20\nI,ft,suspended,2,3,1,,14,,30,20\n" << 1
            << "s.csv:2: room has no name\ns.csv:4: width \"-5\" is below the minimum of 4 ft\n"
               "s.csv:5: has 13 fields, the header has 12\ns.csv:6: units is missing (needed for every room)\n"
               "s.csv:7: location \"roof\" is not suspended, open or floor\ns.csv:8: tile \"6\" is not one of 1 to 5\n"
               "s.csv:9: batts \"maybe\" is not yes or no\n"
               "s.csv:10: structural-height \"14\" does not apply above a suspended ceiling\n" + counts(1, 8)
            << ",ft,floor,30,20,,,,,,,,,,,refused: room has no name,\n" + mm
               + "C,ft,floor,30,-5,,,,,,,,,,,\"refused: width \"\"-5\"\" is below the minimum of 4 ft\",\n"
               "D,ft,floor,30,20,,,,,,,,,,,\"refused: has 13 fields, the header has 12\",\n"
               "E,,floor,30,20,,,,,,,,,,,refused: units is missing (needed for every room),\n"
               "F,ft,roof,30,20,,,,,,,,,,,\"refused: location \"\"roof\"\" is not suspended, open or floor\",\n"
               "G,ft,suspended,30,20,,,,,,,,,,,\"refused: tile \"\"6\"\" is not one of 1 to 5\",\n"
               "H,ft,suspended,30,20,,,,,,,,,,,\"refused: batts \"\"maybe\"\" is not yes or no\",\n"
               "I,ft,suspended,30,20,,,,,,,,,,,\"refused: structural-height \"\"14\"\" does not apply above a "
               "suspended ceiling\",\n" + total(0, 1) << QStringList();
        QTest::newRow("formulas made text") << c << Setting{} << h + "@A,ft,floor,,,,,,,30,20\n\"=1+2,x\",ft,floor,,,,,,,30,20\n"
               "-2+3,ft,floor,,,,,,,30,20\n\"+A,\"\"q\"\"\",ft,floor,,,,,,,30,=1\n" << 1
            << "s.csv:5: width \"=1\" is not a number\n" + counts(3, 1)
            << ft("'@A", ",'@A.speakers.csv") + ft("\"'=1+2,x\"", ",\"'=1+2,x.speakers.csv\"")
               + ft("'-2+3", ",'-2+3.speakers.csv")
               + "\"'+A,\"\"q\"\"\",ft,floor,30,'=1,,,,,,,,,,,\"refused: width \"\"=1\"\" is not a number\",\n"
               + total(3, 0) << QStringList();
        QTest::newRow("no in a column that does not apply") << s << Setting{}
            << h + "A,ft,floor,,,,no,,FALSE,30,20\nB,ft,floor,,,,N,,0,30,20\nC,ft,floor,,,,YES,,,30,20\n"
               "D,ft,floor,,,,,,True,30,20\nE,ft,suspended,2,3,1,TRUE,,no,40,25\nF,ft,suspended,2,3,1,False,,,40,25\n" << 1
            << "s.csv:4: batts \"YES\" does not apply below an access floor\n"
               "s.csv:5: insulation \"True\" does not apply below an access floor\n" + counts(4, 2)
            << ft("A") + ft("B") + "C,ft,floor,30,20,,,,,,,,,,,\"refused: batts \"\"YES\"\" does not apply below an access floor\",\n"
               "D,ft,floor,30,20,,,,,,,,,,,\"refused: insulation \"\"True\"\" does not apply below an access floor\",\n"
               // 15 ft, 14 with batts: 40 ft gives 3 rows 14 apart either way, 25 ft 2 rows 12 apart
               "E,ft,suspended,40,25,14,3,14,6,2,12,6.5,6,120,feet,,\nF,ft,suspended,40,25,15,3,14,6,2,12,6.5,6,120,feet,,\n"
               "total,ft,,,,,,,,,,,20,400,feet,,\n" << QStringList();
        QTest::newRow("trailing empty columns") << s << Setting{}
            << "room,units,location,length,width,,\n" + QByteArray("A,ft,floor,30,20,,,,\r\nB,ft,floor,30,20,, x\n") << 1
            << "s.csv:3: column 7 has no name but holds \"x\"\n" + counts(1, 1)
            << ft("A") + "B,ft,floor,30,20,,,,,,,,,,,\"refused: column 7 has no name but holds \"\"x\"\"\",\n" + total(1, 0) << QStringList();
        // Each field and row at its limit and one past it; a line of 65536 bytes with its line feed.
        QTest::newRow("longest fields") << s << Setting{}
            << h + name200 + ",ft,floor,,,,,,,30,20," + QByteArray(1000, 'd') + "\n"
               + name200 + "e,ft,floor,,,,,,,30,20\nC,ft,floor,,,,,,,30,20," + QByteArray(1001, 'd') + "\n"
               + "D,ft,floor,,,,,,,30," + QByteArray(51, '2') + "\nE," + QByteArray(65534, 'x') + "\n"
               + "F,ft,floor,,,,,,,30,20" + QByteArray(65513, ',') + "\n" + b << 1
            << "s.csv:3: room is longer than 200 characters\ns.csv:4: description is longer than 1000 characters\n"
               "s.csv:5: width is longer than 50 characters\ns.csv:6: the row is longer than 65536 bytes\n" + counts(3, 4)
            << ft(name200) + ",ft,floor,30,20,,,,,,,,,,,refused: room is longer than 200 characters,\n"
               "C,ft,floor,30,20,,,,,,,,,,,refused: description is longer than 1000 characters,\n"
               "D,ft,floor,30,,,,,,,,,,,,refused: width is longer than 50 characters,\n"
               ",,,,,,,,,,,,,,,refused: the row is longer than 65536 bytes,\n" + ft("F") + mm + total(2, 1) << QStringList();
        // File names cut once between characters to 235 bytes of UTF-8 (255 less ".speakers.csv" and " (9999)"),
        // without marks that reorder or hide letters.
        const QString e = QString(116, QChar(0xE9)), emoji = QString::fromUtf8("\xF0\x9F\x98\x80"), bidi = "Invoice\u202Efdp.exe"
            "\u2066\u2067\u2068\u2069\u202A\u202B\u202C\u202D\u200B\u200C\u200D\u200E\u200F\u2060\uFEFF";
        const auto named = [&](const QString& name, const QString& file) { return ft(name, "," + file + ".speakers.csv"); };
        QTest::newRow("file names") << c << Setting{} << h + QString("\" ..a/b\\c:d*e?f\"\"g<h>i|j\tk \",ft,floor,,,,,,,30,20\n" + bidi
               + ",ft,floor,,,,,,,30,20\n" + e + "a" + emoji + ",ft,floor,,,,,,,30,20\n" + e + "éa,ft,floor,,,,,,,30,20\n" + e
               + "éé,ft,floor,,,,,,,30,20\n" + emoji.repeated(100) + ",ft,floor,,,,,,,30,20\n \u200B. ,ft,floor,,,,,,,30,20\n").toUtf8()
            << 0 << counts(7, 0) << named("\"..a/b\\c:d*e?f\"\"g<h>i|j\tk\"", "a_b_c_d_e_f_g_h_i_j_k") + named(bidi, "Invoicefdp.exe")
               + named(e + "a" + emoji, e + "a") + named(e + "éa", e + "éa") + named(e + "éé", e + "é")
               + named(emoji.repeated(100), emoji.repeated(58)) + named("\u200B.", "room") + total(7, 0) << QStringList();
        QTest::newRow("file not written") << c << Setting{9999} << h + a + "T,ft,floor,,,,,,,30,20\n" << 1
            << "T: speakers.csv not written: every numbered name is taken\n" + counts(1, 0, 1)
            << ft("A", ",A.speakers.csv") + ft("T", "speakers.csv not written: every numbered name is taken,")
               + total(1, 0) << QStringList();
        // A file that would be cut short (a file-size limit, a full disk) is refused with the reason; the others
        // are written and the run fails. An ending signal sent twice or a standard stream nobody reads leave no
        // hidden temporary file, and a broken stream does not stop the run. Each run writes into its own folder,
        // where a temporary file that a copy no longer running left is removed.
        const QStringList pdf = own + QStringList{"--pdf"};
        const QByteArray h5 = "room,units,location,length,width\n", r = "R,ft,floor,40,30\n", hall = h5 + "Hall,mm,floor,"
            "300000,300000\n", office = h5 + "Office,mm,floor,106081,3000\n";
        const QString incomplete = "\ns.csv: 0 laid out, 0 refused, 1 incomplete", summary = "summary: ./s summary.csv";
        QTest::newRow("dxf cut short") << own + QStringList{"--pdf", "--dxf", "--coordinates"} << Setting{0, 200000} << hall
            << 1 << "Hall: dxf not written: file too large" + incomplete << summary
            << QStringList{"Hall.pdf", "Hall.speakers.csv", "s summary.csv", "s.csv"};
        QTest::newRow("pdf cut short") << own + QStringList{"--pdf", "--dxf"} << Setting{0, 14000} << office << 1
            << "Office: pdf not written: file too large" + incomplete << summary << QStringList{"Office.dxf", "s summary.csv", "s.csv"};
        QTest::newRow("coordinates cut short") << own + QStringList{"--coordinates"} << Setting{0, 60000} << hall << 1
            << "Hall: speakers.csv not written: file too large" + incomplete << summary << QStringList{"s summary.csv", "s.csv"};
        QTest::newRow("summary cut short") << own << Setting{0, 300} << h5 + r.repeated(3) << 2
            << "Device I/O (File too large in .)" << "" << QStringList{"s.csv"};
        QTest::newRow("json into a full disk") << room + QStringList{"4000", "--json"} << Setting{0, 0, 0, -1, "/dev/full"}
            << QByteArray() << 1 << "masking-speaker-plan: standard output not written: disk full" << "" << QStringList{".Masking "
               "layout 4000000-1.part"};
        QTest::newRow("SIGTERM twice") << pdf << Setting{0, 0, SIGTERM} << h5 + r.repeated(200) << -1 << "" << "" << QStringList{};
        QTest::newRow("SIGHUP twice") << pdf << Setting{0, 0, SIGHUP} << h5 + r.repeated(200) << -1 << "" << "" << QStringList{};
        QTest::newRow("closed standard error") << pdf << Setting{0, 0, 0, STDERR_FILENO} << h5 + "B,ft,roof,40,30\n" + r
            << 1 << "" << summary << QStringList{"R.pdf", "s summary.csv", "s.csv"};
        QTest::newRow("closed standard output") << pdf << Setting{0, 0, 0, STDOUT_FILENO} << h5 + r << 1
            << "s.csv: 1 laid out, 0 refused, 0 incomplete\nmasking-speaker-plan: standard output not written: broken pipe"
            << "" << QStringList{"R.pdf", "s summary.csv", "s.csv"};
        // clang-format on
    }
    void roomsAndScheduleRowsAreEachAccountedFor() {
        QFETCH(QStringList, args);
        QFETCH(Setting, setting);
        QFETCH(QByteArray, schedule);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QString, out);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        QVERIFY(schedule.isEmpty() || WriteFile(dir.filePath("s.csv"), schedule));
        QVERIFY(WriteFile(dir.filePath(".Masking layout 4000000-1.part"), "cut short"));
        QVERIFY(!setting.taken || QDir(dir.path()).mkdir("out"));
        for (int n = 1; n <= setting.taken; ++n)
            QVERIFY(WriteFile(dir.filePath(n > 1 ? QString("out/T (%1).speakers.csv").arg(n)
                                                 : "out/T.speakers.csv"),
                              {}));
        const Run run = Command(args, dir.path(), setting);
        QCOMPARE(run.err.trimmed(), err);
        QCOMPARE(run.status, status);
        QFile written(dir.filePath("out/s summary.csv"));
        const bool opened = written.open(QIODevice::ReadOnly) && !written.readLine().isEmpty();
        QCOMPARE(QDir(dir.filePath("out")).exists(), opened);
        QVERIFY(!opened || run.out == "summary: out/s summary.csv\n");
        QCOMPARE(opened ? QString::fromUtf8(written.readAll()) : run.out.simplified(), out);
        const QStringList all = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        if (setting.signal || !files.isEmpty())
            QCOMPARE(setting.signal ? all.filter(QRegularExpression("^\\.")) : all, files);
    }

    // The help states the limits, columns and layers the runs use, in plain words.
    void helpStatesTheLimitsColumnsAndLayers() {
        const Run run = Command({"--help"});
        QCOMPARE(run.status, 0);
        const QString help = run.out.simplified();
        for (const char* expected :
             {"--room <value> name of the room; names its files (at most 200 characters)",
              "--units <value> ft or mm --location",
              "--structural-height <value> open: structural ceiling height, 12-100 ft or "
              "3600-30000 mm",
              "--length <value> room length, 4-1000 ft or 1200-300000 mm",
              "--width <value> room width, 4-1000 ft or 1200-300000 mm",
              "the room's name by default (at most 1000 characters)",
              "room, units, location, plenum, tile, ceiling-height, batts, structural-height, "
              "insulation, length, width, description",
              "(the plan: layers ROOM, MASKING-GRID, MASKING-SPEAKERS, block MASKING_SPEAKER)",
              "A room's name takes at most 200 characters, its description 1000, any other field "
              "50; a schedule's row at most 64 KB."})
            QVERIFY2(help.contains(expected), expected);
    }

    // Names with quotes, commas, line breaks, percent codes and letters beyond ASCII, under
    // headers in any case and order, with a byte-order mark and CRLF line ends: the summary, and
    // each room's report title, last coordinates and plan read back, positions worked out by
    // hand. A link already standing under a room's name is neither followed nor replaced.
    void scheduleOfAnyHeadersAndNamesIsLaidOutIntoFiles() {
        QTemporaryDir dir;
        // clang-format off
        QVERIFY(WriteFile(dir.filePath("s.csv"), "\xEF\xBB\xBFUNITS,location,Width,Room,length,Description,plenum,tile,"
            "Ceiling-Height,batts,structural-height,insulation\r\n"
            "ft,suspended,25,\"Office 101, \"\"north\"\"\",40,,2,3,1,yes,,\r\nMM,open,8400,\"Open\nplan\",12500,,,,,,4000.5,yes\r\n"
            "feet,floor,30,Lobby été,20,,,,,,,\r\nft,floor,30,50%%d off,40,Sale %%p,,,,,,\r\n"
            "ft,floor,30,\"Open\r\nplan\",40,\"Level 2\r\nEast\nWing\rB\vC\fD\u2028E\",,,,,,\r\n"
            "ft,floor,30,Lobby,40," + QByteArray("word ").repeated(40).trimmed() + ",,,,,,\r\nmm,floor,3000,Hall,106081,,,,,,,\r\n"));
        QVERIFY(QFile::link(dir.filePath("s.csv"), dir.filePath("Lobby été.pdf")));
        const Run run = Command({"--schedule", "s.csv", "--pdf", "--dxf", "--coordinates"}, dir.path());
        QCOMPARE(run.err + run.out, "s.csv: 7 laid out, 0 refused, 0 incomplete\nsummary: ./s summary.csv\n");
        QCOMPARE(run.status, 0);
        QCOMPARE(QFile(dir.filePath("Lobby été.pdf")).symLinkTarget(), dir.filePath("s.csv"));
        const auto files = [](const QString& f) { return f + ".pdf; " + f + ".dxf; " + f + ".speakers.csv\n"; };
        // Office: 15 ft less 1 for the batts, 14 ft. 16 ft on the floor: 3 rows 15 apart along 40 ft,
        // edges 5, and 2 across 30 ft, edges 7.5; Lobby été exchanged. 4880 mm: 21 rows along
        // 106081 mm, edges 4240.5, and 1 across 3000 mm.
        const QString ft = ",ft,floor,40,30,16,3,15,5,2,15,7.5,6,120,feet,";
        QCOMPARE(Command({"-n+2", dir.filePath("s summary.csv")}, {}, {}, "tail").out, "\"Office 101, \"\"north\"\"\",ft,suspended,40,25,14,3,14,6,2,12,6.5,6,120,feet,,\""
            + files("Office 101, _north_").chopped(1) + "\"\n\"Open\nplan\",mm,open,12500,8400,3900,3,3900,2350,2,3900,"
            "2250,6,36,meters,structural-height 4000.5 rounded to 4000," + files("Open_plan") + "Lobby été,ft,floor,30,20,"
            "16,2,15,7.5,2,10,5,4,80,feet,length and width exchanged,Lobby été (2).pdf; Lobby été.dxf; Lobby "
            "été.speakers.csv\n50%%d off" + ft + "," + files("50%%d off") + "\"Open\r\nplan\"" + ft + "," + files("Open__plan")
            + "Lobby" + ft + "description cut to fit the report," + files("Lobby") + "Hall,mm,floor,106081,3000,4880,21,"
            "4880,4240.5,1,0,1500,21,126,meters,," + files("Hall") + "total,ft,,,,,,,,,,,28,560,feet,,\n"
            "total,mm,,,,,,,,,,,27,162,meters,,\n");
        const QString ft40 = "5,7.5 5,22.5 20,7.5 20,22.5 35,7.5 35,22.5";
        const QList<QStringList> rooms{ // file, report title, last speaker, plan
            {"Office 101, _north_", "Office 101, \"north\"", "6,34,18.5",
             ExpectedPlan(true, 40, 25, 5, "Office 101, \"north\"", "6,6.5 6,18.5 20,6.5 20,18.5 34,6.5 34,18.5")},
            {"Open_plan", "Open plan", "6,10150,6150", ExpectedPlan(false, 12500, 8400, 5, "Open plan",
             "2350,2250 2350,6150 6250,2250 6250,6150 10150,2250 10150,6150")},
            {"Lobby été", "", "4,22.5,15", ExpectedPlan(true, 30, 20, 4, "Lobby été", "7.5,5 7.5,15 22.5,5 22.5,15")},
            {"50%%d off", "Sale %%p", "6,35,22.5", ExpectedPlan(true, 40, 30, 5, "50%%%%%%d off", ft40)},
            {"Open__plan", "Level 2 East Wing B C D E", "6,35,22.5", ExpectedPlan(true, 40, 30, 5, "Open plan", ft40)},
            {"Lobby", "", "6,35,22.5", ExpectedPlan(true, 40, 30, 5, "Lobby", ft40)},
            {"Hall", "Hall", "21,101840.5,1500", ExpectedPlan(false, 106081, 3000, 22, "Hall", "4240.5,1500 9120.5,1500 "
             "14000.5,1500 18880.5,1500 23760.5,1500 28640.5,1500 33520.5,1500 38400.5,1500 43280.5,1500 48160.5,1500 "
             "53040.5,1500 57920.5,1500 62800.5,1500 67680.5,1500 72560.5,1500 77440.5,1500 82320.5,1500 87200.5,1500 "
             "92080.5,1500 96960.5,1500 101840.5,1500")}};
        // clang-format on
        for (const QStringList& room : rooms) {
            const QString base = dir.filePath(room[0]);
            const QString pdf = Command({base + ".pdf"}, {}, {}, "pdfinfo").out;
            QVERIFY(room[1].isEmpty() ||
                    (pdf.contains("Title:           Masking layout - " + room[1] + "\n") &&
                     pdf.contains("\nPages:           1\n")));
            QCOMPARE(Command({"-n1", base + ".speakers.csv"}, {}, {}, "tail").out, room[2] + "\n");
            QCOMPARE(Command({"-c", kReadPlan, base + ".dxf"}, {}, {}, "/usr/bin/python3").out,
                     room[3]);
        }
    }
};

QTEST_MAIN(TestPlan)
#include "tst_plan.moc"
