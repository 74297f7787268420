#include "cli/room_files.h"

#include "cli/cad_plan.h"
#include "cli/csv_rows.h"
#include "core/calculate.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "core/unit_pair.h"
#include "output/print_report.h"
#include "output/printer_output.h"
#include "output/room_drawing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <map>
#include <tuple>

namespace {

// The plan's drawing units: the design's own.
constexpr int kInsUnitsFeet = 2;
constexpr int kInsUnitsMillimetres = 4;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// A name in a folder holds 255 bytes; a room's files add at most ".speakers.csv" and " (9999)".
constexpr int kMostNameBytes = 255 - 13 - 7;

} // namespace

std::vector<SpeakerPoint> SpeakerPoints(const DesignState& s) {
    std::vector<SpeakerPoint> points;
    points.reserve(static_cast<std::size_t>(std::max<std::int64_t>(SpeakerCount(s), 0)));
    VisitGrid(
        s, [](double) {}, [](double) {},
        [&](double x, double y) {
            points.push_back({x, y});
        });
    return points;
}

QByteArray RoomJson(const Room& room) {
    const DesignState& s = room.s;
    QJsonObject inputs{{"room", Text(room.name)},
                       {"units", s.units == Units::Feet ? "ft" : "mm"},
                       {"location", LocationWord(s.location)},
                       {"length", s.length},
                       {"width", s.width},
                       {"description", Text(s.description)}};
    if (s.location == Location::AboveCeiling) {
        inputs["plenum"] = s.plenumDepth.value();
        inputs["tile"] = s.ceilingType.value();
        inputs["ceiling-height"] = s.ceilingHeight.value();
        inputs["batts"] = s.absorption == Absorption::BattsOverTiles;
    } else if (s.location == Location::OpenCeiling) {
        inputs["structural-height"] = static_cast<int>(s.structuralHeight);
        inputs["insulation"] = s.absorption == Absorption::OnStructure;
    }
    const auto dimension = [](const RowLayout& l) {
        return QJsonObject{{"rows", l.rows}, {"spacing", l.spacing}, {"edge", double(l.edge)}};
    };
    QJsonArray lines, notes, speakers;
    for (const std::string& line : ResultLines(s))
        lines.append(Text(line));
    for (const std::string& note : room.notes)
        notes.append(Text(note));
    for (const SpeakerPoint& p : SpeakerPoints(s))
        speakers.append(QJsonArray{p.x, p.y});
    const QJsonObject json{
        {"inputs", inputs},
        {"nominal_spacing", s.nominalSpacing},
        {"length", dimension(s.alongLength)},
        {"width", dimension(s.alongWidth)},
        {"speakers", static_cast<qint64>(SpeakerCount(s))},
        {"wiring",
         QJsonObject{
             {"per_speaker", static_cast<qint64>(WirePerSpeaker(s.units.value()))},
             {"total", static_cast<qint64>(WirePerSpeaker(s.units.value()) * SpeakerCount(s))},
             {"unit", s.units == Units::Feet ? "ft" : "m"}}},
        {"lines", lines},
        {"notes", notes},
        {"coordinates", speakers}};
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

QByteArray CoordinatesCsv(const DesignState& s) {
    QByteArray csv = "speaker,x,y\n";
    int n = 0;
    for (const SpeakerPoint& p : SpeakerPoints(s))
        csv += QByteArray::number(++n) + "," + QByteArray::fromStdString(ExactNumber(p.x)) + "," +
               QByteArray::fromStdString(ExactNumber(p.y)) + "\n";
    return csv;
}

void FitDescription(Room& room, const ReportPaper& paper) {
    const std::string line = OneLine(room.s.description);
    room.s.description = FittingDescription(paper, line);
    if (room.s.description.size() < line.size())
        room.notes.push_back("description cut to fit the report");
}

QByteArray ReportPdf(const DesignState& s, const ReportPaper& paper) {
    return paper.Pdf(ComposeReport(s, paper), ReportTitle(s.description));
}

QByteArray PlanDxf(const Room& room) {
    const DesignState& s = room.s;
    const double length = s.length, width = s.width;
    CadPlan plan;
    plan.drawingUnits = s.units == Units::Feet ? kInsUnitsFeet : kInsUnitsMillimetres;
    plan.speakerRadius = SpeakerDotRadius(s.units.value());
    plan.textHeight = kNameHeight(s.units.value());
    plan.outlines = {{{0.0, 0.0}, {length, 0.0}, {length, width}, {0.0, width}}};
    VisitGrid(
        s,
        [&](double x) {
            plan.rows.push_back({{x, 0.0}, {x, width}});
        },
        [&](double y) {
            plan.rows.push_back({{0.0, y}, {length, y}});
        },
        [&](double x, double y) {
            plan.speakers.push_back({{x, y}, {}});
        });
    plan.names = {{{0.0, -2 * plan.textHeight}, room.name}};
    return CadPlanDxf(plan);
}

QString SafeFileName(const std::string& name) {
    // Marks that reorder or hide letters would make the name read otherwise than it is.
    const auto hidden = [](char32_t c) {
        return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
               (c >= 0x200B && c <= 0x200F) || c == 0x2060 || c == 0xFEFF;
    };
    const std::u32string_view refused = U"/\\:*?\"<>|";
    std::u32string safe;
    for (const char32_t c : QString::fromStdString(name).toUcs4()) {
        if (hidden(c))
            continue;
        const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
        safe += control || refused.find(c) != refused.npos ? U'_' : c;
    }
    const auto blank = [](char32_t c) { return QChar::isSpace(c); };
    std::size_t first = 0;
    while (first < safe.size() && (blank(safe[first]) || safe[first] == '.'))
        ++first;
    // Cut once, after the last whole character that fits.
    std::size_t end = first;
    for (int bytes = 0; end < safe.size(); ++end) {
        const char32_t c = safe[end];
        bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes > kMostNameBytes)
            break;
    }
    while (end > first && blank(safe[end - 1]))
        --end;
    return end == first ? QStringLiteral("room")
                        : QString::fromUcs4(safe.data() + first, qsizetype(end - first));
}
