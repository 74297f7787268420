// masking-speaker-plan: the window's design rule, texts and report from the command line, for
// one room given by options or for a whole room schedule, with CAD plans. It needs no display.
#include "cli/plan_run.h"
#include "cli/room_files.h"
#include "core/app_info.h"
#include "core/calculate.h"
#include "output/safe_file.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

constexpr const char* kDescription =
    R"txt(Lays out sound-masking speakers by the same rule, texts and report as the
window: one room from the options below, or every room of a schedule (CSV).

Examples:
  masking-speaker-plan --units ft --location suspended --plenum 2 --tile 3
      --ceiling-height 1 --batts --length 40 --width 25
  masking-speaker-plan --units mm --location open --structural-height 4000
      --length 12500 --width 8400 --json
  masking-speaker-plan --schedule rooms.csv --out plans --pdf --dxf

A schedule has a header row naming its columns, in any order and any case:
  room, units, location, plenum, tile, ceiling-height, batts, structural-height,
  insulation, length, width, description
It writes "<schedule> summary.csv" (one row per room and a total per unit) and,
as asked, <room>.pdf (the report), <room>.dxf (the plan: layers ROOM,
MASKING-GRID, MASKING-SPEAKERS, block MASKING_SPEAKER) and <room>.speakers.csv.
Files never replace others: a taken name gets " (2)", " (3)" ...
Bad rows are reported as file:line: reason and skipped.

Exit status: 0 all done, 1 a room or a file failed, 2 unusable options or schedule.)txt";

struct Options {
    QCommandLineOption schedule{"schedule", "Lay out every room of <file>.", "file"};
    QCommandLineOption out{"out", "Write files into <folder> (default: the current one).", "folder",
                           "."};
    QCommandLineOption pdf{"pdf", "Write each room's printed report as PDF."};
    QCommandLineOption dxf{"dxf", "Write each room's plan as DXF."};
    QCommandLineOption coordinates{"coordinates", "Write each room's speaker coordinates as CSV."};
    QCommandLineOption json{"json", "Print one room's design as JSON."};
};

// The room's fields as options: --batts and --insulation are switches, the rest take a value.
bool IsSwitch(Field f) {
    return f == Field::Batts || f == Field::Insulation;
}

int Fail(const QString& text, RunStatus status = RunStatus::Unusable) {
    QTextStream(stderr) << kCommandName << ": " << text << "\n";
    return static_cast<int>(status);
}

int OneRoom(const QCommandLineParser& parser, const Options& o, const Outputs& out) {
    RoomFields fields;
    At(fields, Field::Room) = "room";
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const QString name = FieldName(static_cast<Field>(f));
        if (parser.isSet(name))
            fields[f] = IsSwitch(static_cast<Field>(f)) ? "yes" : parser.value(name).toStdString();
    }
    const auto laidOut = LayOutRoom(fields);
    if (const auto* error = std::get_if<RoomError>(&laidOut))
        return Fail(QString::fromStdString(error->text), RunStatus::RoomsFailed);
    const Room& room = std::get<Room>(laidOut);
    QTextStream stdOut(stdout), stdErr(stderr);
    if (parser.isSet(o.json)) {
        stdOut << RoomJson(room);
    } else {
        for (const std::string& line : ResultLines(room.s))
            stdOut << QString::fromStdString(line) << "\n";
        for (const std::string& note : room.notes)
            stdErr << "note: " << QString::fromStdString(note) << "\n";
    }
    const RoomFiles files = WriteRoomFiles(room, out, stdErr);
    for (const QString& path : files.paths)
        stdErr << "wrote " << path << "\n";
    return static_cast<int>(files.problems.isEmpty() ? RunStatus::Done : RunStatus::RoomsFailed);
}

// Qt's remark that a desktop session's runtime folder is missing means nothing here.
void QuietAboutDesktop(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith("QStandardPaths: XDG_RUNTIME_DIR"))
        qt_message_output(type, context, text);
}

void AddOptions(QCommandLineParser& parser, const Options& o) {
    parser.setApplicationDescription(kDescription);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({o.schedule, o.out, o.pdf, o.dxf, o.coordinates, o.json});
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const Field field = static_cast<Field>(f);
        parser.addOption(IsSwitch(field)
                             ? QCommandLineOption(FieldName(field), FieldHelp(field))
                             : QCommandLineOption(FieldName(field), FieldHelp(field), "value"));
    }
}

// The exit status of a run that ends before any room is read: unusable options, help or version.
std::optional<int> EndBeforeRooms(QCommandLineParser& parser, const Options& o) {
    if (!parser.parse(QCoreApplication::arguments()))
        return Fail(parser.errorText() + " (see --help)");
    if (parser.isSet("help")) {
        QString text = parser.helpText();
        text.replace(QCoreApplication::arguments().constFirst(), kCommandName);
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet("version")) {
        std::printf("%s %s\n", kCommandName, kApplicationVersion);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return Fail("unexpected \"" + parser.positionalArguments().first() + "\" (see --help)");
    // A room's options and a schedule together would leave one of them unused.
    bool roomOptions = parser.isSet(o.json);
    for (std::size_t f = 0; f < kFieldCount; ++f)
        roomOptions = roomOptions || parser.isSet(FieldName(static_cast<Field>(f)));
    if (parser.isSet(o.schedule) == roomOptions)
        return Fail(roomOptions ? "a room's options and --schedule exclude each other (see --help)"
                                : "give a room's options or --schedule (see --help)");
    return std::nullopt;
}

int LayOutRooms(const QCommandLineParser& parser, const Options& o) {
    const QTemporaryDir scratch;
    Outputs out;
    out.folder = parser.value(o.out);
    out.pdf = parser.isSet(o.pdf);
    out.dxf = parser.isSet(o.dxf);
    out.coordinates = parser.isSet(o.coordinates);
    out.scratch = scratch.path();
    if (!scratch.isValid())
        return Fail("no temporary folder: " + scratch.errorString());
    if (!QDir(out.folder).exists() && !QDir().mkpath(out.folder))
        return Fail(out.folder + ": cannot be created");

    int status = 0;
    if (parser.isSet(o.schedule)) {
        QTextStream stdOut(stdout), stdErr(stderr);
        status = static_cast<int>(RunSchedule(parser.value(o.schedule), out, stdOut, stdErr));
    } else {
        status = OneRoom(parser, o, out);
    }
    SyncFolder(out.folder); // the new files' names, once for the whole run
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    // Fonts for the report, but never a display: the same offscreen platform as the tests.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietAboutDesktop);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(kCommandName);
    QCoreApplication::setApplicationVersion(kApplicationVersion);

    QCommandLineParser parser;
    const Options o;
    AddOptions(parser, o);
    if (const std::optional<int> status = EndBeforeRooms(parser, o))
        return *status;
    return LayOutRooms(parser, o);
}
