#include "cli/plan_run.h"

#include "cli/csv_rows.h"
#include "cli/room_files.h"
#include "cli/system_run.h"
#include "core/calculate.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "output/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <stdexcept>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string_view>

namespace {

constexpr const char* kSummaryColumns =
    "room,units,location,length,width,nominal spacing,length rows,length spacing,length edge,"
    "width rows,width spacing,width edge,speakers,wiring,wiring unit,notes,files\n";

std::string Number(std::int64_t v) {
    return std::to_string(v);
}
std::string Number(float v) {
    return Trim(SignedText(v));
}

std::string WiringUnitWord(Units units) {
    return Trim(WiringUnit(units));
}

std::string SummaryRow(const Room& room, const RoomFiles& files) {
    const DesignState& s = room.s;
    std::vector<std::string> notes = room.notes, names;
    for (const QString& problem : files.problems)
        notes.push_back(problem.toStdString());
    for (const QString& file : files.paths)
        names.push_back(QFileInfo(file).fileName().toStdString());
    return Row({Cell(room.name), s.units == Units::Feet ? "ft" : "mm", LocationWord(s.location),
                Number(std::int64_t{s.length}), Number(std::int64_t{s.width}),
                Number(std::int64_t{s.nominalSpacing}), Number(std::int64_t{s.alongLength.rows}),
                Number(std::int64_t{s.alongLength.spacing}), Number(s.alongLength.edge),
                Number(std::int64_t{s.alongWidth.rows}), Number(std::int64_t{s.alongWidth.spacing}),
                Number(s.alongWidth.edge), Number(SpeakerCount(s)),
                Number(WirePerSpeaker(s.units.value()) * SpeakerCount(s)),
                WiringUnitWord(s.units.value()), Cell(Joined(notes)), Cell(Joined(names))});
}

// A refused row keeps the room's cells as they were given, where they fit their field.
std::string RefusedRow(const RoomFields& fields, const std::string& reason) {
    const auto given = [&](Field f) {
        const std::string text = Trim(fields[static_cast<std::size_t>(f)]);
        return FitsField(f, text) ? Cell(text) : std::string();
    };
    std::vector<std::string> cells{given(Field::Room), given(Field::Units), given(Field::Location),
                                   given(Field::Length), given(Field::Width)};
    cells.resize(15);
    cells.push_back(Cell("refused: " + reason));
    cells.emplace_back();
    return Row(cells);
}

// Speakers and wiring of the floor, one total for each unit in use.
struct Totals {
    std::int64_t speakers = 0;
    std::int64_t wiring = 0;
    bool used = false;
};

// A summary row held back until the system gives the zones of its room, if it has one.
struct HeldRow {
    std::string text;
    std::optional<std::size_t> systemRoom;
};

class ScheduleRun {
  public:
    ScheduleRun(const QString& name, const Outputs& out, const std::optional<SystemOptions>& system,
                QTextStream& err)
        : m_name(name), m_out(out), m_system(system), m_err(err) {}

    void Row(const CsvRow& row) {
        if (!m_headerRead)
            return Header(row);
        if (m_unusable)
            return;
        const RoomFields fields = m_columns.Fields(row.fields);
        if (!row.error.empty())
            return Refuse(row.line, fields, row.error);
        if (auto extra = m_columns.Extra(row.fields))
            return Refuse(row.line, fields, *extra);
        auto laidOut = LayOutRoom(fields);
        if (const auto* error = std::get_if<RoomError>(&laidOut))
            return Refuse(row.line, fields, error->text);
        Room& room = std::get<Room>(laidOut);
        std::optional<std::size_t> systemRoom;
        if (m_system) {
            const auto given = RoomSystemOf(m_columns.More(row.fields), m_system->space);
            if (const auto* error = std::get_if<std::string>(&given))
                return Refuse(row.line, fields, *error);
            systemRoom = AddSystemRoom(room, std::get<RoomSystem>(given));
        }
        const RoomFiles files = WriteRoomFiles(room, m_out, m_err);
        Append(SummaryRow(room, files), systemRoom);
        // A room whose files are not all there is left out of the totals, which count what
        // can be installed from the files.
        if (!files.problems.isEmpty()) {
            ++m_incomplete;
            return;
        }
        Totals& t = m_totals[room.s.units == Units::Feet ? 0 : 1];
        t.speakers += SpeakerCount(room.s);
        t.wiring += WirePerSpeaker(room.s.units.value()) * SpeakerCount(room.s);
        t.used = true;
        ++m_done;
    }

    void WriteTotals() {
        for (bool feet : {true, false}) {
            const Totals& t = m_totals[feet ? 0 : 1];
            if (t.used)
                Append("total," + std::string(feet ? "ft" : "mm") + ",,,,,,,,,,," +
                           Number(t.speakers) + "," + Number(t.wiring) + "," +
                           WiringUnitWord(feet ? Units::Feet : Units::Millimetres) + ",,\n",
                       std::nullopt);
        }
    }

    // The system's zones into the rows held back, and its files beside the summary; false when
    // it could not be designed or a file could not be written.
    bool WriteSystem(const QString& baseName, QTextStream& report) {
        SystemFloor floor;
        floor.planName = baseName.toStdString();
        floor.positions = false;
        // The unit picks only defaults of the cable, which is not designed here.
        const system_design::SystemInputs inputs = InputsFor(*m_system, Units::Feet, {});
        floor.channelWatts = inputs.channelWatts;
        floor.channelsPerAmplifier = inputs.channelsPerAmplifier;
        for (const system_design::CountedRoom& room : m_systemRooms)
            floor.rooms.push_back({room.name, {}, {}, room.space, room.conditions, room.tapWatts});
        std::optional<system_design::SystemDesign> design;
        try {
            design = system_design::DesignWithoutPositions(m_systemRooms, inputs);
        } catch (const std::invalid_argument& e) {
            m_err << m_name << ": the system cannot be designed: " << e.what() << "\n";
        }
        const std::vector<std::string> zones = design
                                                   ? RoomZones(*design, m_systemRooms.size())
                                                   : std::vector<std::string>(m_systemRooms.size());
        for (HeldRow& row : m_held) {
            row.text.pop_back(); // the line end, for one more cell
            m_summary->Append(QByteArray::fromStdString(
                row.text + "," + (row.systemRoom ? zones[*row.systemRoom] : "") + "\n"));
        }
        if (!design)
            return false;
        bool written = true;
        const auto write = [&](const char* what, const char* extension, const QByteArray& bytes) {
            const SafeWrite result =
                WriteFileSafely(m_out.folder, baseName + " " + what, extension, bytes);
            if (result.ok())
                report << what << ": " << result.path << "\n";
            else
                m_err << result.error << "\n";
            written = written && result.ok();
        };
        const BidFiles bid = ZonesAndBillFiles(floor, *design);
        for (const BidFile& file : bid.files)
            write(file.name, file.extension, file.bytes);
        if (!bid.workbookError.empty()) {
            m_err << QString::fromStdString(bid.workbookError) << "\n";
            written = false;
        }
        return written;
    }

    // The summary, open once the header has been read.
    SafeFile* Summary() const { return m_unusable ? nullptr : m_summary.get(); }
    bool NoHeader() const { return !m_headerRead; }
    QString Counts() const {
        return QString("%1 laid out, %2 refused, %3 incomplete")
            .arg(m_done)
            .arg(m_refused)
            .arg(m_incomplete);
    }
    bool AllDone() const { return m_refused == 0 && m_incomplete == 0; }

  private:
    void Refuse(long line, const RoomFields& fields, const std::string& reason) {
        m_err << m_name << ":" << line << ": " << QString::fromStdString(reason) << "\n";
        Append(RefusedRow(fields, reason), std::nullopt);
        ++m_refused;
    }

    // Without the system a row goes straight into the summary: nothing of the floor is held.
    void Append(const std::string& row, std::optional<std::size_t> systemRoom) {
        if (m_system)
            m_held.push_back({row, systemRoom});
        else
            m_summary->Append(QByteArray::fromStdString(row));
    }

    // Rooms of different units, space or conditions never share a zone.
    std::size_t AddSystemRoom(const Room& room, const RoomSystem& given) {
        const Units units = room.s.units.value();
        m_systemRooms.push_back(
            {room.name, std::size_t(SpeakerCount(room.s)), given.space,
             std::string(units == Units::Feet ? "ft " : "mm ") + ConditionsKey(room.s),
             given.tapWatts});
        return m_systemRooms.size() - 1;
    }

    void Header(const CsvRow& row) {
        m_headerRead = true;
        if (!row.error.empty())
            return Unusable(row.line, row.error);
        auto columns = ScheduleColumns::Read(
            row.fields, {Field::Room, Field::Units, Field::Location, Field::Length, Field::Width},
            m_system ? std::vector<std::string>{kSpaceColumn, kTapColumn}
                     : std::vector<std::string>{});
        if (const auto* error = std::get_if<std::string>(&columns))
            return Unusable(row.line, *error);
        m_columns = std::get<ScheduleColumns>(std::move(columns));
        // The folder is made only now that the summary will be written into it.
        const QString folderError = MakeFolder(m_out.folder);
        if (!folderError.isEmpty())
            return Unusable(folderError);
        m_summary = std::make_unique<SafeFile>(m_out.folder);
        if (!m_summary->Error().isEmpty())
            return Unusable(m_summary->Error());
        std::string header = kSummaryColumns;
        if (m_system)
            header.insert(header.size() - 1, ",zones");
        m_summary->Append(QByteArray::fromStdString(header));
    }

    void Unusable(long line, const std::string& reason) {
        Unusable(m_name + ":" + QString::number(line) + ": " + QString::fromStdString(reason));
    }
    void Unusable(const QString& message) {
        m_err << message << "\n";
        m_unusable = true;
    }

    QString m_name;
    const Outputs& m_out;
    const std::optional<SystemOptions>& m_system;
    QTextStream& m_err;
    std::unique_ptr<SafeFile> m_summary;
    std::vector<HeldRow> m_held;                           // with the system only
    std::vector<system_design::CountedRoom> m_systemRooms; // the rooms laid out, with the system
    ScheduleColumns m_columns;
    bool m_headerRead = false;
    bool m_unusable = false;
    int m_done = 0;
    int m_refused = 0;
    int m_incomplete = 0;
    Totals m_totals[2];
};

} // namespace

// A spreadsheet takes a cell that starts with = + - @ (or a tab or a carriage return before
// them) for a formula; a leading apostrophe makes it text. Plain numbers stay numbers.
std::string Cell(const std::string& text) {
    static const QRegularExpression number(R"(^[+-]?(\d+\.?\d*|\.\d+)$)");
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    return CsvField(formula && !number.match(QString::fromStdString(text)).hasMatch() ? "'" + text
                                                                                      : text);
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts)
        joined += (joined.empty() ? "" : "; ") + part;
    return joined;
}

std::string Row(const std::vector<std::string>& cells) {
    std::string row;
    for (std::size_t c = 0; c < cells.size(); ++c)
        row += (c ? "," : "") + cells[c];
    return row + "\n";
}

std::variant<ScheduleColumns, std::string>
ScheduleColumns::Read(std::vector<std::string> header, std::initializer_list<Field> required,
                      const std::vector<std::string>& more) {
    ScheduleColumns read;
    read.m_headerSize = header.size();
    while (!header.empty() && Trim(header.back()).empty())
        header.pop_back(); // the empty columns a spreadsheet adds at the end
    std::map<std::string, Field> known;
    for (std::size_t f = 0; f < kFieldCount; ++f)
        known.emplace(FieldName(static_cast<Field>(f)), static_cast<Field>(f));
    std::set<std::string> further(more.begin(), more.end());
    for (const std::string& cell : header) {
        const std::string name = Lower(Trim(cell));
        const auto it = known.find(name);
        if (further.erase(name) == 1) {
            read.m_more.emplace(read.m_columns.size(), name);
            read.m_columns.emplace_back();
            continue;
        }
        if (it == known.end())
            return name == kSpaceColumn || name == kTapColumn
                       ? "column \"" + cell + "\" is read only with --system"
                       : "unknown column \"" + cell + "\"";
        read.m_columns.push_back(it->second);
        known.erase(it); // a second column of the same name is unknown
    }
    for (Field f : required)
        if (known.count(FieldName(f)))
            return std::string("no column \"") + FieldName(f) + "\"";
    return read;
}

RoomFields ScheduleColumns::Fields(const std::vector<std::string>& cells) const {
    RoomFields fields;
    for (std::size_t c = 0; c < std::min(cells.size(), m_columns.size()); ++c)
        if (m_columns[c])
            At(fields, *m_columns[c]) = cells[c];
    return fields;
}

std::map<std::string, std::string>
ScheduleColumns::More(const std::vector<std::string>& cells) const {
    std::map<std::string, std::string> more;
    for (const auto& [column, name] : m_more)
        if (column < cells.size() && !Trim(cells[column]).empty())
            more.emplace(name, Trim(cells[column]));
    return more;
}

std::optional<std::string> ScheduleColumns::Extra(const std::vector<std::string>& cells) const {
    for (std::size_t c = m_columns.size(); c < cells.size(); ++c)
        if (!Trim(cells[c]).empty())
            return c < m_headerSize ? "column " + std::to_string(c + 1) +
                                          " has no name but holds \"" + Trim(cells[c]) + "\""
                                    : "has " + std::to_string(cells.size()) +
                                          " fields, the header has " + std::to_string(m_headerSize);
    return std::nullopt;
}

RoomFiles WriteRoomFiles(Room& room, const Outputs& out, QTextStream& err) {
    const QString base = SafeFileName(room.name);
    RoomFiles files;
    const auto write = [&](const char* extension, const QByteArray& bytes) {
        const SafeWrite result = WriteFileSafely(out.folder, base, extension, bytes);
        if (result.ok()) {
            files.paths << result.path;
        } else {
            files.problems << extension + QStringLiteral(" not written: ") +
                                  ShortReason(result.errorNumber);
            err << QString::fromStdString(room.name) << ": " << files.problems.constLast() << "\n";
        }
    };
    if (out.pdf) {
        FitDescription(room, *out.paper);
        write("pdf", ReportPdf(room.s, *out.paper));
    }
    if (out.dxf)
        write("dxf", PlanDxf(room));
    if (out.coordinates)
        write("speakers.csv", CoordinatesCsv(room.s));
    return files;
}

QString MakeFolder(const QString& folder) {
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        return folder + ": cannot be created";
    RemoveStaleParts(folder);
    return {};
}

RunStatus RunSchedule(const QString& schedulePath, const Outputs& out,
                      const std::optional<SystemOptions>& system, QTextStream& report,
                      QTextStream& err) {
    const QString name = QFileInfo(schedulePath).fileName();
    std::ifstream in(QFile::encodeName(schedulePath).constData(), std::ios::binary);
    if (!in) {
        err << schedulePath << ": cannot be read\n";
        return RunStatus::Unusable;
    }
    ScheduleRun run(name, out, system, err);
    if (ReadCsvRows(in, [&](const CsvRow& row) { run.Row(row); }) == CsvEncoding::Utf16) {
        err << name << ": the schedule is UTF-16; save it as UTF-8 CSV\n";
        return RunStatus::Unusable;
    }
    SafeFile* summary = run.Summary();
    if (!summary) {
        if (run.NoHeader())
            err << name << ": no header row\n";
        return RunStatus::Unusable;
    }
    run.WriteTotals();
    const QString baseName = QFileInfo(schedulePath).completeBaseName();
    const bool systemWritten = !system || run.WriteSystem(baseName, report);
    const SafeWrite written = summary->Commit(baseName + " summary", "csv");
    if (!written.ok()) {
        err << written.error << "\n";
        return RunStatus::Unusable;
    }
    report << "summary: " << written.path << "\n";
    err << name << ": " << run.Counts() << "\n";
    return run.AllDone() && systemWritten ? RunStatus::Done : RunStatus::RoomsFailed;
}
