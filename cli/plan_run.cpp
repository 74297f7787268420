#include "cli/plan_run.h"

#include "cli/csv_rows.h"
#include "cli/room_files.h"
#include "core/calculate.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "output/safe_file.h"

#include <QFile>
#include <QFileInfo>

#include <fstream>
#include <map>
#include <optional>

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

std::string SummaryRow(const Room& room, const QStringList& files) {
    const DesignState& s = room.s;
    std::string notes, names;
    for (const std::string& note : room.notes)
        notes += (notes.empty() ? "" : "; ") + note;
    for (const QString& file : files)
        names += (names.empty() ? "" : "; ") + QFileInfo(file).fileName().toStdString();
    const std::string cells[] = {CsvField(room.name),
                                 s.units == Units::Feet ? "ft" : "mm",
                                 LocationWord(s.location),
                                 Number(std::int64_t{s.length}),
                                 Number(std::int64_t{s.width}),
                                 Number(std::int64_t{s.nominalSpacing}),
                                 Number(std::int64_t{s.alongLength.rows}),
                                 Number(std::int64_t{s.alongLength.spacing}),
                                 Number(s.alongLength.edge),
                                 Number(std::int64_t{s.alongWidth.rows}),
                                 Number(std::int64_t{s.alongWidth.spacing}),
                                 Number(s.alongWidth.edge),
                                 Number(SpeakerCount(s)),
                                 Number(WirePerSpeaker(s.units.value()) * SpeakerCount(s)),
                                 WiringUnitWord(s.units.value()),
                                 CsvField(notes),
                                 CsvField(names)};
    std::string row;
    for (const std::string& cell : cells)
        row += (row.empty() ? "" : ",") + cell;
    return row + "\n";
}

// Speakers and wiring of the floor, one total for each unit in use.
struct Totals {
    std::int64_t speakers = 0;
    std::int64_t wiring = 0;
    bool used = false;
};

class ScheduleRun {
  public:
    ScheduleRun(const QString& name, const Outputs& out, SafeFile& summary, QTextStream& err)
        : m_name(name), m_out(out), m_summary(summary), m_err(err) {}

    void Row(long line, const std::vector<std::string>& cells) {
        if (!m_headerRead)
            return Header(line, cells);
        if (m_unusable)
            return;
        if (cells.size() > m_columns.size())
            return Fail(line, "has " + std::to_string(cells.size()) + " fields, the header has " +
                                  std::to_string(m_columns.size()));
        RoomFields fields;
        for (std::size_t c = 0; c < cells.size(); ++c)
            At(fields, m_columns[c]) = cells[c];
        auto laidOut = LayOutRoom(fields);
        if (const auto* error = std::get_if<RoomError>(&laidOut))
            return Fail(line, error->text);
        const Room& room = std::get<Room>(laidOut);
        const RoomFiles files = WriteRoomFiles(room, m_out, m_err);
        m_filesFailed = m_filesFailed || !files.problems.isEmpty();
        m_summary.Append(QByteArray::fromStdString(SummaryRow(room, files.paths)));
        Totals& t = m_totals[room.s.units == Units::Feet ? 0 : 1];
        t.speakers += SpeakerCount(room.s);
        t.wiring += WirePerSpeaker(room.s.units.value()) * SpeakerCount(room.s);
        t.used = true;
        ++m_done;
    }

    void Fail(long line, const std::string& reason) {
        m_err << m_name << ":" << line << ": " << QString::fromStdString(reason) << "\n";
        ++m_refused;
    }

    void WriteTotals() {
        for (bool feet : {true, false}) {
            const Totals& t = m_totals[feet ? 0 : 1];
            if (t.used)
                m_summary.Append(QByteArray::fromStdString(
                    "total," + std::string(feet ? "ft" : "mm") + ",,,,,,,,,,," +
                    Number(t.speakers) + "," + Number(t.wiring) + "," +
                    WiringUnitWord(feet ? Units::Feet : Units::Millimetres) + ",,\n"));
        }
    }

    void CountBroken() { ++m_refused; }
    bool Unusable() const { return m_unusable || !m_headerRead; }
    bool NoHeader() const { return !m_headerRead; }
    int Done() const { return m_done; }
    int Refused() const { return m_refused; }
    bool FilesFailed() const { return m_filesFailed; }

  private:
    void Header(long line, const std::vector<std::string>& cells) {
        m_headerRead = true;
        std::map<std::string, Field> known;
        for (std::size_t f = 0; f < kFieldCount; ++f)
            known.emplace(FieldName(static_cast<Field>(f)), static_cast<Field>(f));
        for (const std::string& cell : cells) {
            const auto it = known.find(Lower(Trim(cell)));
            if (it == known.end())
                return Unusable(line, "unknown column \"" + cell + "\"");
            m_columns.push_back(it->second);
            known.erase(it); // a second column of the same name is unknown
        }
        for (Field f : {Field::Room, Field::Units, Field::Location, Field::Length, Field::Width})
            if (known.count(FieldName(f)))
                return Unusable(line, std::string("no column \"") + FieldName(f) + "\"");
    }

    void Unusable(long line, const std::string& reason) {
        m_err << m_name << ":" << line << ": " << QString::fromStdString(reason) << "\n";
        m_unusable = true;
    }

    QString m_name;
    const Outputs& m_out;
    SafeFile& m_summary;
    QTextStream& m_err;
    std::vector<Field> m_columns;
    bool m_headerRead = false;
    bool m_unusable = false;
    int m_done = 0;
    int m_refused = 0;
    bool m_filesFailed = false;
    Totals m_totals[2];
};

} // namespace

RoomFiles WriteRoomFiles(const Room& room, const Outputs& out, QTextStream& err) {
    const QString base = SafeFileName(room.name);
    RoomFiles files;
    const auto write = [&](const char* extension, const Made& made) {
        const SafeWrite result = made.error.isEmpty()
                                     ? WriteFileSafely(out.folder, base, extension, made.bytes)
                                     : SafeWrite{{}, made.error};
        if (result.ok()) {
            files.paths << result.path;
        } else {
            files.problems << extension + QStringLiteral(" not written: ") + result.error;
            err << QString::fromStdString(room.name) << ": " << files.problems.constLast() << "\n";
        }
    };
    if (out.pdf)
        write("pdf", ReportPdf(room.s));
    if (out.dxf)
        write("dxf", PlanDxf(room, out.scratch));
    if (out.coordinates)
        write("speakers.csv", {CoordinatesCsv(room.s), {}});
    return files;
}

RunStatus RunSchedule(const QString& schedulePath, const Outputs& out, QTextStream& report,
                      QTextStream& err) {
    const QString name = QFileInfo(schedulePath).fileName();
    std::ifstream in(QFile::encodeName(schedulePath).constData(), std::ios::binary);
    if (!in) {
        err << schedulePath << ": cannot be read\n";
        return RunStatus::Unusable;
    }
    SafeFile summary(out.folder);
    if (!summary.Error().isEmpty()) {
        err << summary.Error() << "\n";
        return RunStatus::Unusable;
    }
    summary.Append(kSummaryColumns);
    ScheduleRun run(name, out, summary, err);
    const std::optional<std::string> broken = ReadCsvRows(
        in, [&](long line, const std::vector<std::string>& cells) { run.Row(line, cells); });
    if (broken) {
        // The rest of the file cannot be split into rows; the rooms before it stand.
        err << name << ":" << QString::fromStdString(*broken) << "\n";
        run.CountBroken();
    }
    if (run.Unusable()) {
        if (run.NoHeader() && !broken)
            err << name << ": no header row\n";
        return RunStatus::Unusable;
    }
    run.WriteTotals();
    const SafeWrite written =
        summary.Commit(QFileInfo(schedulePath).completeBaseName() + " summary", "csv");
    if (!written.ok()) {
        err << written.error << "\n";
        return RunStatus::Unusable;
    }
    report << run.Done() << " rooms laid out, " << run.Refused()
           << " refused; summary: " << written.path << "\n";
    return run.Refused() > 0 || run.FilesFailed() ? RunStatus::RoomsFailed : RunStatus::Done;
}
