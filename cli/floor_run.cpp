#include "cli/floor_run.h"

#include "cli/cad_plan.h"
#include "cli/csv_rows.h"
#include "cli/room_files.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "core/unit_pair.h"
#include "floorplan/outline_layout.h"
#include "floorplan/rooms.h"
#include "floorplan/units.h"
#include "output/printer_output.h"
#include "output/room_drawing.h"
#include "output/safe_file.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <stdexcept>

namespace {

using floorplan::DrawingUnit;
using floorplan::InsUnitsCode;
using floorplan::MillimetresPer;
using floorplan::Point;
using floorplan::Ring;
using floorplan::UnitWord;

// A plan larger than this is refused unread: no floor plan comes near it, and reading holds the
// whole file in memory.
constexpr qint64 kMostPlanBytes = qint64{1} << 30;

std::string Today() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

struct Bounds {
    double minX, minY, maxX, maxY;
    double Width() const { return maxX - minX; }
    double Height() const { return maxY - minY; }
};

Bounds BoundsOf(const Ring& ring) {
    Bounds b{ring.front().x, ring.front().y, ring.front().x, ring.front().y};
    for (const Point& p : ring)
        b = {std::min(b.minX, p.x), std::min(b.minY, p.y), std::max(b.maxX, p.x),
             std::max(b.maxY, p.y)};
    return b;
}

double Area(const Ring& ring) {
    double twice = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point& a = ring[i];
        const Point& b = ring[(i + 1) % ring.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::abs(twice) / 2;
}

// Where a room's name goes: the middle of its bounding box.
Point Middle(const Ring& ring) {
    const Bounds b = BoundsOf(ring);
    return {(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2};
}

std::string Fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals).toStdString();
}

// A size beyond any room in the unit given: the unit is probably wrong.
constexpr UnitPair<double> kLeastPlausibleSide{2.0, 600.0};
constexpr UnitPair<double> kMostPlausibleSide{1000.0, 300000.0};

// The sizes of the rooms in drawing units, smallest and largest, so a user can tell the unit.
std::string RoomSizes(const std::vector<floorplan::PlanRoom>& rooms) {
    const auto size = [](const floorplan::PlanRoom& room) {
        const Bounds b = BoundsOf(room.corners);
        return std::pair{std::min(b.Width(), b.Height()), std::max(b.Width(), b.Height())};
    };
    auto smallest = size(rooms.front()), largest = smallest;
    for (const floorplan::PlanRoom& room : rooms) {
        const auto s = size(room);
        if (s.first * s.second < smallest.first * smallest.second)
            smallest = s;
        if (s.first * s.second > largest.first * largest.second)
            largest = s;
    }
    const auto text = [](std::pair<double, double> s) {
        return Trim(SignedText(static_cast<float>(s.first))) + " x " +
               Trim(SignedText(static_cast<float>(s.second)));
    };
    return rooms.size() == 1 ? "its room measures " + text(smallest)
                             : "its rooms measure from " + text(smallest) + " to " + text(largest);
}

// Why the plan has no rooms to lay out, and what it holds instead.
std::string NoRooms(const floorplan::Plan& plan, const floorplan::FloorRooms& found,
                    const std::vector<std::string>& roomLayers) {
    std::string layers;
    for (const std::string& pattern :
         roomLayers.empty() ? floorplan::DefaultRoomLayers() : roomLayers)
        layers += (layers.empty() ? "" : ", ") + pattern;
    std::string closed;
    for (const auto& [layer, count] : found.closedOutlinesPerLayer)
        closed += (closed.empty() ? "" : ", ") + layer + " (" + std::to_string(count) + ")";
    if (!closed.empty())
        return "no room outlines on the layers " + layers + "; closed outlines lie on " + closed +
               ": name the room layers with --room-layer";
    int lines = 0;
    for (const auto& [layer, count] : plan.linesPerLayer)
        lines += count;
    return "the plan has no room outlines (closed polylines)" +
           (lines > 0 ? ", only " + std::to_string(lines) + " lines such as walls"
                      : std::string()) +
           "; draw each room as a closed polyline on a room layer";
}

struct ScheduledRoom {
    long line = 0;
    RoomFields fields;
    std::map<std::string, std::string> more; // the system's space and tap
    bool inPlan = false;
};

// The schedule's rooms by name; nothing when it cannot be used.
std::optional<std::map<std::string, ScheduledRoom>> ReadSchedule(const QString& path, bool system,
                                                                 QTextStream& err, bool& failed) {
    const QString name = QFileInfo(path).fileName();
    std::ifstream in(QFile::encodeName(path).constData(), std::ios::binary);
    if (!in) {
        err << path << ": cannot be read\n";
        return std::nullopt;
    }
    std::map<std::string, ScheduledRoom> rooms;
    std::optional<ScheduleColumns> columns;
    std::string unusable;
    const auto refuse = [&](long line, const std::string& reason) {
        err << name << ":" << line << ": " << QString::fromStdString(reason) << "\n";
        failed = true;
    };
    const CsvEncoding encoding = ReadCsvRows(in, [&](const CsvRow& row) {
        if (!unusable.empty())
            return;
        if (!columns) {
            auto read =
                ScheduleColumns::Read(row.fields, {Field::Room},
                                      system ? std::vector<std::string>{kSpaceColumn, kTapColumn}
                                             : std::vector<std::string>{});
            if (const auto* error = std::get_if<std::string>(&read))
                unusable = name.toStdString() + ":" + std::to_string(row.line) + ": " + *error;
            else
                columns = std::get<ScheduleColumns>(std::move(read));
            return;
        }
        if (!row.error.empty())
            return refuse(row.line, row.error);
        if (auto extra = columns->Extra(row.fields))
            return refuse(row.line, *extra);
        RoomFields fields = columns->Fields(row.fields);
        const std::string room = Trim(At(fields, Field::Room));
        if (!rooms.emplace(room, ScheduledRoom{row.line, fields, columns->More(row.fields), false})
                 .second)
            refuse(row.line, "room \"" + room + "\" is in the schedule twice; the first is used");
    });
    if (encoding == CsvEncoding::Utf16)
        unusable = name.toStdString() + ": the schedule is UTF-16; save it as UTF-8 CSV";
    else if (!columns && unusable.empty())
        unusable = name.toStdString() + ": no header row";
    if (!unusable.empty()) {
        err << QString::fromStdString(unusable) << "\n";
        return std::nullopt;
    }
    return rooms;
}

const char* ShapeWord(floorplan::OutlineShape shape) {
    switch (shape) {
    case floorplan::OutlineShape::Rectangle:
        return "rectangle";
    case floorplan::OutlineShape::Rectilinear:
        return "rectilinear";
    case floorplan::OutlineShape::Other:
        break;
    }
    return "other";
}

// A quality figure; none where there is nothing to measure (no pair in a room of one speaker).
std::string Figure(double value) {
    return std::isfinite(value) ? Fixed(value, 2) : "";
}

// Where the plan marks the amplifiers: the first HEAD-END insert, else a text saying HEAD-END.
std::optional<Point> HeadEndOf(const floorplan::Plan& plan) {
    if (!plan.headEnds.empty())
        return plan.headEnds.front();
    for (const floorplan::PlanText& text : plan.texts)
        if (Lower(Trim(text.text)) == "head-end")
            return text.middle.value_or(text.anchor);
    return std::nullopt;
}

constexpr const char* kSummaryColumns =
    "room,layer,handle,status,shape,area,area unit,speakers,wall clearance,closest pair,"
    "farthest spot,notes\n";

// The floor as it is laid out room by room, and what is written of it.
class FloorRun {
  public:
    FloorRun(const FloorRequest& request, DrawingUnit unit, QTextStream& err)
        : m_request(request), m_unit(unit), m_designUnits(floorplan::DesignUnitsFor(unit)),
          m_toDesign(floorplan::ToDesignUnits(unit)),
          m_name(QFileInfo(request.planPath).fileName()), m_err(err) {
        m_cad.drawingUnits = InsUnitsCode(unit);
        m_cad.speakerRadius = SpeakerDotRadius(m_designUnits) / m_toDesign;
        m_cad.textHeight = kNameHeight(m_designUnits) / m_toDesign;
        m_cad.attributeTags = {"ROOM", "NUMBER"};
        m_coordinates = "room,speaker,x,y\n";
        if (request.system) {
            m_floor.planName = QFileInfo(request.planPath).completeBaseName().toStdString();
            m_floor.units = m_designUnits;
            m_floor.metresPerDrawingUnit = MillimetresPer(unit) / 1000;
        }
    }

    void SetHeadEnd(Point headEnd) { m_floor.headEnd = headEnd; }

    void LayOut(const floorplan::PlanRoom& room, const ScheduledRoom* scheduled) {
        std::vector<std::string> notes = room.notes;
        const Bounds b = BoundsOf(room.corners);
        const double shorter = std::min(b.Width(), b.Height()) * m_toDesign;
        const double longer = std::max(b.Width(), b.Height()) * m_toDesign;
        if (longer < kLeastPlausibleSide(m_designUnits) ||
            longer > kMostPlausibleSide(m_designUnits))
            notes.push_back("size implausible in " + UnitWord(m_unit) + " (" +
                            Fixed(shorter / m_toDesign, 1) + " x " + Fixed(longer / m_toDesign, 1) +
                            "); check the plan's unit (--plan-units)");
        m_cad.outlines.push_back(Cad(room.corners));
        m_cad.names.push_back({CadAt(Middle(room.corners)), room.name});

        RoomFields fields = scheduled ? scheduled->fields : m_request.defaults;
        if (scheduled)
            for (Field f : {Field::Length, Field::Width, Field::Units})
                if (!Trim(At(fields, f)).empty())
                    notes.push_back(std::string(FieldName(f)) +
                                    " of the schedule left out: the plan gives the room");
        At(fields, Field::Room) = room.name;
        At(fields, Field::Units) = m_designUnits == Units::Feet ? "ft" : "mm";
        At(fields, Field::Length) = At(fields, Field::Width) = "";
        const auto checked = RoomConditions(fields);
        if (const auto* error = std::get_if<RoomError>(&checked))
            return Refuse(room, "refused: " + error->text, notes);
        const Room& conditions = std::get<Room>(checked);
        notes.insert(notes.end(), conditions.notes.begin(), conditions.notes.end());
        const auto system = SystemRoomOf(room, conditions, scheduled);
        if (const auto* error = std::get_if<std::string>(&system))
            return Refuse(room, "refused: " + *error, notes);

        const auto laidOut = floorplan::LayOutOutline(room.corners, m_toDesign, conditions.s);
        if (const auto* refusal = std::get_if<floorplan::LayoutRefusal>(&laidOut)) {
            ++m_skipped;
            return RoomLine(room, "skipped: " + refusal->reason, "", "", notes);
        }
        const floorplan::OutlineLayout& layout = std::get<floorplan::OutlineLayout>(laidOut);
        notes.insert(notes.end(), layout.notes.begin(), layout.notes.end());
        for (const floorplan::GridRow& row : layout.rows)
            m_cad.rows.push_back({CadAt(row.from), CadAt(row.to)});
        if (m_request.system) {
            m_floor.rooms.push_back(std::get<system_design::SystemRoom>(system));
            m_floor.rooms.back().speakers = layout.speakers;
            m_floor.firstSpeaker.push_back(m_cad.speakers.size());
        }
        int number = 0;
        for (const Point& speaker : layout.speakers) {
            m_cad.speakers.push_back({CadAt(speaker), {room.name, std::to_string(++number)}});
            m_coordinates += Row({Cell(room.name), std::to_string(number), ExactNumber(speaker.x),
                                  ExactNumber(speaker.y)});
        }
        // Curved walls are laid out along their chords, which a designer should look at.
        const bool check = layout.needsCheck || room.hadArcs;
        if (room.hadArcs)
            notes.push_back("arcs taken as chords");
        m_sheetRooms.push_back({room.name, room.corners, layout.speakers, check});
        m_speakers += static_cast<std::int64_t>(layout.speakers.size());
        m_area += AreaInDesignUnits(room.corners);
        ++m_laidOut;
        const floorplan::LayoutQuality& q = layout.quality;
        const std::string status = !q.holds            ? "laid out: check, quality rule not met"
                                   : layout.needsCheck ? "laid out: check"
                                                       : "laid out";
        RoomLine(room, status, ShapeWord(layout.shape), std::to_string(layout.speakers.size()),
                 notes,
                 {Fixed(q.wallClearance, 2), Figure(q.closestPair), Fixed(q.farthestSpot, 2)});
        if (m_request.system)
            m_summary.back().systemRoom = m_floor.rooms.size() - 1;
    }

    void Refused(const floorplan::RefusedOutline& outline) {
        m_err << m_name << ": layer " << QString::fromStdString(outline.layer) << " handle "
              << QString::fromStdString(outline.handle) << ": "
              << QString::fromStdString(outline.reason) << "\n";
        AddRow({"", Cell(outline.layer), Cell(outline.handle), Cell("refused: " + outline.reason),
                "", "", "", "", "", "", "", ""});
        ++m_refused;
    }

    void NotInPlan(const std::string& room, long line) {
        const QString schedule = QFileInfo(m_request.schedulePath).fileName();
        m_err << schedule << ":" << line << ": room \"" << QString::fromStdString(room)
              << "\" is not in the plan\n";
        AddRow({Cell(room), "", "", "not in the plan", "", "", "", "", "", "", "", ""});
        ++m_refused;
    }

    // Writes the wanted files and the summary; false when one could not be written.
    bool Write(QTextStream& report) {
        const QString folderError = MakeFolder(m_request.out.folder);
        if (!folderError.isEmpty()) {
            m_err << folderError << "\n";
            return false;
        }
        const QString base =
            SafeFileName(QFileInfo(m_request.planPath).completeBaseName().toStdString());
        bool written = true;
        const auto write = [&](const QString& suffix, const char* extension,
                               const QByteArray& bytes) {
            const SafeWrite result =
                WriteFileSafely(m_request.out.folder, base + suffix, extension, bytes);
            if (result.ok())
                report << QString(extension).section('.', -1) << ": " << result.path << "\n";
            else
                m_err << result.error << "\n";
            written = written && result.ok();
        };
        std::optional<system_design::SystemDesign> design;
        if (m_request.system) {
            design = Design();
            if (!design)
                return false;
            AddSystemToPlan(m_floor, *design, m_cad);
            const BidFiles bid = ZonesAndBillFiles(m_floor, *design);
            for (const BidFile& file : bid.files)
                write(QString(" ") + file.name, file.extension, file.bytes);
            if (!bid.workbookError.empty()) {
                m_err << QString::fromStdString(bid.workbookError) << "\n";
                written = false;
            }
            write(" commissioning", "csv",
                  QByteArray::fromStdString(CommissioningCsv(m_floor, *design)));
            CommissioningInput form = CommissioningFormOf(m_floor, *design);
            form.date = Today();
            form.unitName = UnitWord(m_unit);
            write(" commissioning", "pdf", CommissioningPdf(form, m_name));
        }
        if (m_request.out.dxf)
            write(" masking", "dxf", CadPlanDxf(m_cad));
        if (m_request.out.coordinates)
            write(" speakers", "csv", QByteArray::fromStdString(m_coordinates));
        if (m_request.sheet)
            write(" floor sheet", "pdf", SheetPdf(design));
        AddRow({"total", "", "", std::to_string(m_laidOut) + " laid out", "", Fixed(m_area, 1),
                AreaUnit(), std::to_string(m_speakers), "", "", "", ""});
        write(" summary", "csv", QByteArray::fromStdString(SummaryCsv(design)));
        return written;
    }

    QString Counts() const {
        return QString("%1 laid out, %2 skipped, %3 refused")
            .arg(m_laidOut)
            .arg(m_skipped)
            .arg(m_refused);
    }
    bool AllDone() const { return m_refused == 0; }

  private:
    // A summary row, and the room the system knows it as.
    struct SummaryRow {
        std::vector<std::string> cells;
        std::optional<std::size_t> systemRoom;
    };

    void AddRow(std::vector<std::string> cells) { m_summary.push_back({std::move(cells), {}}); }

    // The room as the system takes it, with its space and tap, or why they cannot be used.
    std::variant<system_design::SystemRoom, std::string>
    SystemRoomOf(const floorplan::PlanRoom& room, const Room& conditions,
                 const ScheduledRoom* scheduled) const {
        system_design::SystemRoom system;
        if (!m_request.system)
            return system;
        system.name = room.name;
        system.outline = room.corners;
        system.conditions = ConditionsKey(conditions.s);
        const auto given =
            RoomSystemOf(scheduled ? scheduled->more : std::map<std::string, std::string>{},
                         m_request.system->space);
        if (const auto* error = std::get_if<std::string>(&given))
            return *error;
        system.space = std::get<RoomSystem>(given).space;
        system.tapWatts = std::get<RoomSystem>(given).tapWatts;
        return system;
    }

    std::optional<system_design::SystemDesign> Design() {
        const system_design::SystemInputs inputs =
            InputsFor(*m_request.system, m_designUnits, m_floor.headEnd);
        m_floor.channelWatts = inputs.channelWatts;
        m_floor.channelsPerAmplifier = inputs.channelsPerAmplifier;
        try {
            return system_design::DesignSystem(m_floor.rooms, inputs, m_floor.metresPerDrawingUnit);
        } catch (const std::invalid_argument& e) {
            m_err << m_name << ": the system cannot be designed: " << e.what() << "\n";
            return std::nullopt;
        }
    }

    // With the system, each room's zones in a last column.
    std::string SummaryCsv(const std::optional<system_design::SystemDesign>& design) const {
        std::string csv = kSummaryColumns;
        std::vector<std::string> zones;
        if (design) {
            csv.insert(csv.size() - 1, ",zones");
            zones = RoomZones(*design, m_floor.rooms.size());
        }
        for (SummaryRow row : m_summary) {
            if (design)
                row.cells.push_back(row.systemRoom ? zones[*row.systemRoom] : "");
            csv += Row(row.cells);
        }
        return csv;
    }

    CadPoint CadAt(const Point& p) const { return {p.x, p.y}; }
    std::vector<CadPoint> Cad(const Ring& ring) const {
        std::vector<CadPoint> points;
        for (const Point& p : ring)
            points.push_back(CadAt(p));
        return points;
    }
    // Square feet, or square metres for a design in millimetres.
    double AreaInDesignUnits(const Ring& ring) const {
        const double area = Area(ring) * m_toDesign * m_toDesign;
        return m_designUnits == Units::Feet ? area : area / 1e6;
    }
    std::string AreaUnit() const { return m_designUnits == Units::Feet ? "sq ft" : "m2"; }

    void Refuse(const floorplan::PlanRoom& room, const std::string& status,
                const std::vector<std::string>& notes) {
        m_err << m_name << ": " << QString::fromStdString(room.name) << ": "
              << QString::fromStdString(status) << "\n";
        ++m_refused;
        RoomLine(room, status, "", "", notes);
    }

    void RoomLine(const floorplan::PlanRoom& room, const std::string& status,
                  const std::string& shape, const std::string& speakers,
                  const std::vector<std::string>& notes,
                  const std::vector<std::string>& quality = {"", "", ""}) {
        AddRow({Cell(room.name), Cell(room.layer), Cell(room.handle), Cell(status), shape,
                Fixed(AreaInDesignUnits(room.corners), 1), AreaUnit(), speakers, quality[0],
                quality[1], quality[2], Cell(Joined(notes))});
    }

    QByteArray SheetPdf(const std::optional<system_design::SystemDesign>& design) const {
        FloorSheetInput input;
        input.planName = m_name.toStdString();
        input.date = Today();
        if (design) {
            input.zones = SheetZones(m_floor, *design);
            input.headEnd = m_floor.headEnd;
        }
        input.millimetresPerUnit = MillimetresPer(m_unit);
        input.imperial = m_designUnits == Units::Feet;
        input.unitName = UnitWord(m_unit);
        input.rooms = m_sheetRooms;
        input.size = *m_request.sheet;
        const FloorSheet sheet = ComposeFloorSheet(input, ReportPaper());
        return FloorSheetPdf(sheet, m_name);
    }

    const FloorRequest& m_request;
    const DrawingUnit m_unit;
    const Units m_designUnits;
    const double m_toDesign;
    const QString m_name;
    QTextStream& m_err;
    CadPlan m_cad;
    SystemFloor m_floor;
    std::vector<SummaryRow> m_summary;
    std::string m_coordinates;
    std::vector<SheetRoom> m_sheetRooms;
    std::int64_t m_speakers = 0;
    double m_area = 0;
    int m_laidOut = 0;
    int m_skipped = 0;
    int m_refused = 0;
};

} // namespace

RunStatus RunFloorPlan(const FloorRequest& request, QTextStream& report, QTextStream& err) {
    const QString name = QFileInfo(request.planPath).fileName();
    QFile file(request.planPath);
    if (!file.open(QIODevice::ReadOnly)) {
        err << request.planPath << ": cannot be read: " << file.errorString() << "\n";
        return RunStatus::Unusable;
    }
    if (file.size() > kMostPlanBytes) {
        err << name << ": larger than any floor plan (over 1 GB)\n";
        return RunStatus::Unusable;
    }
    // Read into a string the reader can let go of once it has checked it.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(file.size()));
    char chunk[1 << 16];
    for (qint64 got; (got = file.read(chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, static_cast<std::size_t>(got));
    const auto read = floorplan::ReadPlan(std::move(bytes));
    if (const auto* error = std::get_if<floorplan::PlanError>(&read)) {
        err << name << ": " << QString::fromStdString(error->message) << "\n";
        return RunStatus::Unusable;
    }
    const floorplan::Plan& plan = std::get<floorplan::Plan>(read);
    const floorplan::FloorRooms found =
        floorplan::FindRooms(plan, request.roomLayers, request.textLayers);
    if (found.rooms.empty() && found.refused.empty()) {
        err << name << ": " << QString::fromStdString(NoRooms(plan, found, request.roomLayers))
            << "\n";
        return RunStatus::Unusable;
    }
    const std::optional<DrawingUnit> unit = request.unit ? request.unit : plan.headerUnit;
    if (!unit) {
        err << name << ": the plan does not say its unit; "
            << QString::fromStdString(found.rooms.empty() ? std::string("it has no usable room")
                                                          : RoomSizes(found.rooms))
            << " drawing units: give --plan-units in, ft, mm, cm or m\n";
        return RunStatus::Unusable;
    }
    bool scheduleFailed = false;
    std::optional<std::map<std::string, ScheduledRoom>> schedule;
    if (!request.schedulePath.isEmpty()) {
        schedule =
            ReadSchedule(request.schedulePath, request.system.has_value(), err, scheduleFailed);
        if (!schedule)
            return RunStatus::Unusable;
    }

    FloorRun run(request, *unit, err);
    if (request.system) {
        const std::optional<Point> headEnd =
            request.system->headEnd ? request.system->headEnd : HeadEndOf(plan);
        if (!headEnd) {
            err << name
                << ": the plan shows no head-end: give --head-end X,Y in plan coordinates, or "
                   "draw an insert of a block HEAD-END or a text HEAD-END where the amplifiers "
                   "stand\n";
            return RunStatus::Unusable;
        }
        run.SetHeadEnd(*headEnd);
    }
    for (const floorplan::PlanRoom& room : found.rooms) {
        ScheduledRoom* scheduled = nullptr;
        if (schedule) {
            const auto it = schedule->find(room.name);
            if (it != schedule->end())
                scheduled = &it->second, scheduled->inPlan = true;
        }
        run.LayOut(room, scheduled);
    }
    for (const floorplan::RefusedOutline& outline : found.refused)
        run.Refused(outline);
    if (schedule)
        for (const auto& [room, scheduled] : *schedule)
            if (!scheduled.inPlan)
                run.NotInPlan(room, scheduled.line);
    const bool written = run.Write(report);
    err << name << ": " << run.Counts() << "\n";
    return written && run.AllDone() && !scheduleFailed ? RunStatus::Done : RunStatus::RoomsFailed;
}
