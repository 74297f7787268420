// masking-speaker-plan: the window's design rule, texts and report from the command line, for
// one room given by options or for a whole room schedule, with CAD plans. It needs no display.
#include "cli/cad_plan.h"
#include "cli/csv_rows.h"
#include "cli/floor_run.h"
#include "cli/plan_run.h"
#include "cli/room_files.h"
#include "cli/system_run.h"
#include "core/app_info.h"
#include "core/calculate.h"
#include "floorplan/units.h"
#include "output/printer_output.h"
#include "output/safe_file.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <map>
#include <optional>
#include <unistd.h>
#include <variant>

namespace {

// The words, comma-separated, on lines of at most 80 characters indented by the given blanks.
QString WrappedList(const QStringList& words, int indent) {
    const QString margin(indent, ' ');
    QString text = margin, line = margin;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString word = words[i] + (i + 1 < words.size() ? "," : "");
        if (line.size() > indent && line.size() + 1 + word.size() > 80) {
            text += "\n" + margin;
            line = margin;
        } else if (line.size() > indent) {
            text += ' ';
            line += ' ';
        }
        text += word;
        line += word;
    }
    return text.mid(indent);
}

// The help's account of the command; the columns, layers and limits are the ones the run uses.
QString Description() {
    QStringList columns;
    for (std::size_t f = 0; f < kFieldCount; ++f)
        columns << FieldName(static_cast<Field>(f));
    const auto limit = [](Field f) { return QString::number(FieldLimit(f)); };
    return QString(R"txt(Lays out sound-masking speakers by the same rule, texts and report as the
window: one room from the options below, or every room of a schedule (CSV).

Examples:
  %1 --units ft --location suspended --plenum 2 --tile 3
      --ceiling-height 1 --batts --length 40 --width 25
  %1 --units mm --location open --structural-height 4000
      --length 12500 --width 8400 --json
  %1 --schedule rooms.csv --out plans --pdf --dxf
  %1 --plan floor.dxf --location suspended --plenum 2 --tile 3
      --ceiling-height 1 --system --head-end 120,40 --wire 14awg --dxf

A schedule has a header row naming its columns, in any order and any case:
  %2
It writes "<schedule> summary.csv" (one row per schedule row, a total per unit) and,
as asked, <room>.pdf (the report), <room>.dxf (the plan: layers %3,
%4, %5, block %6) and <room>.speakers.csv.
With --plan, --system also designs the system to bid: zones, channels, cable
and line loss. It adds a zones column to "<plan> summary.csv" and writes
"<plan> zones.csv", "<plan> bill.csv", "<plan> bill.xlsx" and "<plan>
commissioning.csv"; the masking plan's speakers then carry ZONE and TAP too,
with each zone's cable route and the head-end on layer %11.
With --schedule, --system designs the zones, channels and amplifiers only: a
schedule has no positions, so --line-voltage, --wire, --drop and --head-end
do not go with it. It adds the zones column and writes "<schedule> zones.csv",
"<schedule> bill.csv" and "<schedule> bill.xlsx".
A schedule given with it may have the columns space (open or closed) and tap
(1/8, 1/4, 1/2, 1 or 2). Wire sizes are written 18awg ... 12awg or 0.75mm2 ...
2.5mm2.
Files never replace others: a taken name gets " (2)", " (3)" ...
Bad rows are reported as file:line: reason, and the summary gives every row
of the schedule, with the reason a room was refused or its files are missing.
A room's name takes at most %7 characters, its description %8, any other
field %9; a schedule's row at most %10 KB. Each option is given once.

Exit status: 0 all done, 1 a room, a file or the standard output or error failed,
2 unusable options or schedule.)txt")
        .arg(kCommandName)
        .arg(WrappedList(columns, 2))
        .arg(QString(kRoomLayer), QString(kGridLayer), QString(kSpeakerLayer),
             QString(kSpeakerBlock))
        .arg(limit(Field::Room), limit(Field::Description), limit(Field::Units))
        .arg(static_cast<int>(kMaxCsvLineBytes / 1024))
        .arg(QString(kCableLayer));
}

struct Options {
    QCommandLineOption schedule{"schedule", "Lay out every room of <file>.", "file"};
    QCommandLineOption out{"out", "Write files into <folder> (default: the current one).", "folder",
                           "."};
    QCommandLineOption pdf{"pdf", "Write each room's printed report as PDF."};
    QCommandLineOption dxf{"dxf", "Write each room's plan as DXF."};
    QCommandLineOption coordinates{"coordinates", "Write each room's speaker coordinates as CSV."};
    QCommandLineOption json{"json", "Print one room's design as JSON."};
    QCommandLineOption plan{"plan", "Lay out every room outline of the floor plan <file> (DXF).",
                            "file"};
    QCommandLineOption roomLayer{"room-layer",
                                 "A plan's layer of room outlines; * matches any letters, any "
                                 "case; repeatable (default: layers that say area, room, space or "
                                 "zone).",
                                 "pattern"};
    QCommandLineOption textLayer{
        "text-layer", "A plan's layer of room names; repeatable (default: any).", "pattern"};
    QCommandLineOption planUnits{
        "plan-units", "The plan's drawing unit, in, ft, mm, cm or m (default: its header's).",
        "unit"};
    QCommandLineOption sheet{"sheet",
                             "Write the plan's floor sheet as PDF on A3, A1, letter, tabloid or "
                             "ansi-d (--pdf: A3).",
                             "size"};
    QCommandLineOption system{
        "system", "With --plan or --schedule: design the system to bid, with the options below."};
};

// The options that shape the system, each with a value.
std::vector<QCommandLineOption> SystemOptionsOf() {
    std::vector<QCommandLineOption> options;
    for (const SystemOptionInfo& info : SystemOptionList())
        options.emplace_back(info.name, info.help, info.valueName);
    return options;
}

// Options that may be given more than once.
bool Repeatable(const QString& name) {
    return name == "room-layer" || name == "text-layer";
}

// What a floor plan's rooms take from the plan itself rather than from options.
bool FromPlan(Field f) {
    return f == Field::Room || f == Field::Units || f == Field::Length || f == Field::Width ||
           f == Field::Description;
}

// The room's fields as options: --batts and --insulation are switches, the rest take a value.
bool IsSwitch(Field f) {
    return f == Field::Batts || f == Field::Insulation;
}

// Standard output or error, written unbuffered by the system with every write checked. One that
// cannot be written (a closed pipe, a full disk) does not stop the run: the rest is dropped,
// and the first failure is kept for the exit status.
class StandardStream : public QIODevice {
  public:
    explicit StandardStream(int fd) : m_fd(fd) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    int Failure() const { return m_failure; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        for (qint64 done = 0; done < size && m_failure == 0;) {
            const ssize_t n = ::write(m_fd, data + done, static_cast<size_t>(size - done));
            if (n > 0)
                done += n;
            else if (errno != EINTR)
                m_failure = n < 0 ? errno : EIO;
        }
        return size;
    }

  private:
    int m_fd;
    int m_failure = 0;
};

StandardStream g_out(STDOUT_FILENO), g_err(STDERR_FILENO);

int Fail(const QString& text, RunStatus status = RunStatus::Unusable) {
    QTextStream(&g_err) << kCommandName << ": " << text << "\n";
    return static_cast<int>(status);
}

// A broken standard output is told on standard error; either makes the run a failed one.
int CheckedStatus(int status) {
    if (const int failure = g_out.Failure())
        Fail("standard output not written: " + ShortReason(failure), RunStatus::RoomsFailed);
    if (g_out.Failure() || g_err.Failure())
        return std::max(status, static_cast<int>(RunStatus::RoomsFailed));
    return status;
}

// The room's fields as the options give them; a switch given is "yes".
RoomFields RoomOptions(const QCommandLineParser& parser) {
    RoomFields fields;
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const QString name = FieldName(static_cast<Field>(f));
        if (parser.isSet(name))
            fields[f] = IsSwitch(static_cast<Field>(f)) ? "yes" : parser.value(name).toStdString();
    }
    return fields;
}

int OneRoom(const QCommandLineParser& parser, const Options& o, const Outputs& out) {
    RoomFields fields = RoomOptions(parser);
    if (!parser.isSet(FieldName(Field::Room)))
        At(fields, Field::Room) = "room";
    const auto laidOut = LayOutRoom(fields);
    if (const auto* error = std::get_if<RoomError>(&laidOut))
        return Fail(QString::fromStdString(error->text), RunStatus::RoomsFailed);
    Room room = std::get<Room>(laidOut);
    QTextStream stdOut(&g_out), stdErr(&g_err);
    if (parser.isSet(o.json)) {
        stdOut << RoomJson(room);
    } else {
        for (const std::string& line : ResultLines(room.s))
            stdOut << QString::fromStdString(line) << "\n";
    }
    RoomFiles files;
    if (out.pdf || out.dxf || out.coordinates) { // the folder only when a file goes into it
        if (const QString error = MakeFolder(out.folder); !error.isEmpty())
            return Fail(error);
        files = WriteRoomFiles(room, out, stdErr);
    }
    for (const QString& path : files.paths)
        stdErr << "wrote " << path << "\n";
    if (!parser.isSet(o.json))
        for (const std::string& note : room.notes)
            stdErr << "note: " << QString::fromStdString(note) << "\n";
    return static_cast<int>(files.problems.isEmpty() ? RunStatus::Done : RunStatus::RoomsFailed);
}

// Qt's remark that a desktop session's runtime folder is missing means nothing here.
void QuietAboutDesktop(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith("QStandardPaths: XDG_RUNTIME_DIR"))
        qt_message_output(type, context, text);
}

void AddOptions(QCommandLineParser& parser, const Options& o) {
    parser.setApplicationDescription(Description());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({o.schedule, o.plan, o.out, o.pdf, o.dxf, o.coordinates, o.json, o.roomLayer,
                       o.textLayer, o.planUnits, o.sheet, o.system});
    for (const QCommandLineOption& option : SystemOptionsOf())
        parser.addOption(option);
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const Field field = static_cast<Field>(f);
        parser.addOption(
            IsSwitch(field)
                ? QCommandLineOption(FieldName(field), QString::fromStdString(FieldHelp(field)))
                : QCommandLineOption(FieldName(field), QString::fromStdString(FieldHelp(field)),
                                     "value"));
    }
}

std::variant<SystemOptions, std::string> SystemOptionsGiven(const QCommandLineParser& parser) {
    std::map<std::string, std::string> given;
    for (const SystemOptionInfo& info : SystemOptionList())
        if (parser.isSet(info.name))
            given[info.name] = parser.value(info.name).toStdString();
    return ReadSystemOptions(given);
}

// A floor plan's rooms take their names and sizes from the plan, and its unit from the plan or
// --plan-units; the options for them would go unused.
std::optional<int> EndBeforeFloor(const QCommandLineParser& parser, const Options& o) {
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        const Field field = static_cast<Field>(f);
        if (FromPlan(field) && parser.isSet(FieldName(field)))
            return Fail(QString("--") + FieldName(field) +
                        " does not go with --plan: the plan gives it (see --help)");
    }
    if (parser.isSet(o.json))
        return Fail("--json does not go with --plan (see --help)");
    if (parser.isSet(o.planUnits) &&
        !floorplan::ParseDrawingUnit(parser.value(o.planUnits).toStdString()))
        return Fail("--plan-units \"" + parser.value(o.planUnits) +
                    "\" is not in, ft, mm, cm or m (see --help)");
    if (parser.isSet(o.sheet) && !ParseSheetSize(parser.value(o.sheet).toStdString()))
        return Fail("--sheet \"" + parser.value(o.sheet) +
                    "\" is not A3, A1, letter, tabloid or ansi-d (see --help)");
    for (const SystemOptionInfo& info : SystemOptionList())
        if (!parser.isSet(o.system) && parser.isSet(info.name))
            return Fail(QString("--") + info.name + " needs --system (see --help)");
    const auto system = SystemOptionsGiven(parser);
    if (const auto* error = std::get_if<std::string>(&system))
        return Fail(QString::fromStdString(*error));
    return std::nullopt;
}

// The exit status of a run that ends before any room is read: unusable options, help or version.
std::optional<int> EndBeforeRooms(QCommandLineParser& parser, const Options& o) {
    if (!parser.parse(QCoreApplication::arguments()))
        return Fail(parser.errorText() + " (see --help)");
    if (parser.isSet("help")) {
        QString text = parser.helpText();
        text.replace(QCoreApplication::arguments().constFirst(), kCommandName);
        QTextStream(&g_out) << text;
        return 0;
    }
    if (parser.isSet("version")) {
        QTextStream(&g_out) << kCommandName << " " << kApplicationVersion << "\n";
        return 0;
    }
    // A second value would silently win over the first.
    const QStringList given = parser.optionNames();
    for (const QString& name : given)
        if (given.count(name) > 1 && !Repeatable(name))
            return Fail("--" + name + " is given more than once (see --help)");
    if (!parser.positionalArguments().isEmpty())
        return Fail("unexpected \"" + parser.positionalArguments().first() + "\" (see --help)");
    if (parser.isSet(o.plan))
        return EndBeforeFloor(parser, o);
    for (const QCommandLineOption* planOnly : {&o.roomLayer, &o.textLayer, &o.planUnits, &o.sheet})
        if (parser.isSet(*planOnly))
            return Fail("--" + planOnly->names().constFirst() + " needs --plan (see --help)");
    if (parser.isSet(o.system) && !parser.isSet(o.schedule))
        return Fail("--system needs --plan or --schedule (see --help)");
    for (const SystemOptionInfo& info : SystemOptionList()) {
        if (!parser.isSet(info.name))
            continue;
        if (!parser.isSet(o.system))
            return Fail(QString("--") + info.name + " needs --system (see --help)");
        if (info.cable)
            return Fail(QString("--") + info.name +
                        " does not go with --schedule: a schedule has no positions, so no cable "
                        "is designed (see --help)");
    }
    if (const auto system = SystemOptionsGiven(parser);
        const auto* error = std::get_if<std::string>(&system))
        return Fail(QString::fromStdString(*error));
    // A room's options and a schedule together would leave one of them unused.
    bool roomOptions = parser.isSet(o.json);
    for (std::size_t f = 0; f < kFieldCount; ++f)
        roomOptions = roomOptions || parser.isSet(FieldName(static_cast<Field>(f)));
    if (parser.isSet(o.schedule) == roomOptions)
        return Fail(roomOptions ? "a room's options and --schedule exclude each other (see --help)"
                                : "give a room's options, --schedule or --plan (see --help)");
    return std::nullopt;
}

std::vector<std::string> Values(const QCommandLineParser& parser, const QCommandLineOption& o) {
    std::vector<std::string> values;
    for (const QString& value : parser.values(o))
        values.push_back(value.toStdString());
    return values;
}

int LayOutFloor(const QCommandLineParser& parser, const Options& o, const Outputs& out) {
    FloorRequest request;
    request.planPath = parser.value(o.plan);
    request.roomLayers = Values(parser, o.roomLayer);
    request.textLayers = Values(parser, o.textLayer);
    if (parser.isSet(o.planUnits))
        request.unit = floorplan::ParseDrawingUnit(parser.value(o.planUnits).toStdString());
    request.defaults = RoomOptions(parser);
    request.schedulePath = parser.value(o.schedule);
    if (parser.isSet(o.sheet))
        request.sheet = ParseSheetSize(parser.value(o.sheet).toStdString());
    else if (out.pdf)
        request.sheet = SheetSize::A3;
    if (parser.isSet(o.system))
        request.system = std::get<SystemOptions>(SystemOptionsGiven(parser));
    request.out = out;
    request.out.pdf = false; // the floor sheet stands for the rooms' reports
    QTextStream stdOut(&g_out), stdErr(&g_err);
    return static_cast<int>(RunFloorPlan(request, stdOut, stdErr));
}

int LayOutRooms(const QCommandLineParser& parser, const Options& o) {
    Outputs out;
    out.folder = parser.value(o.out);
    out.pdf = parser.isSet(o.pdf);
    out.dxf = parser.isSet(o.dxf);
    out.coordinates = parser.isSet(o.coordinates);
    if (out.pdf && !parser.isSet(o.plan))
        out.paper = std::make_shared<const ReportPaper>();

    int status = 0;
    if (parser.isSet(o.plan)) {
        status = LayOutFloor(parser, o, out);
    } else if (parser.isSet(o.schedule)) {
        std::optional<SystemOptions> system;
        if (parser.isSet(o.system))
            system = std::get<SystemOptions>(SystemOptionsGiven(parser));
        QTextStream stdOut(&g_out), stdErr(&g_err);
        status =
            static_cast<int>(RunSchedule(parser.value(o.schedule), out, system, stdOut, stdErr));
    } else {
        status = OneRoom(parser, o, out);
    }
    SyncFolder(out.folder); // the new files' names, once for the whole run
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    // A closed pipe or a file-size limit then fails the write that meets it, which is reported,
    // instead of ending the program partway with a temporary file left.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
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
        return CheckedStatus(*status);
    return CheckedStatus(LayOutRooms(parser, o));
}
