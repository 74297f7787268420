#include "cli/room_files.h"

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

#include <dl_dxf.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <tuple>

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// A double as written in full, never rounded to a number of digits: 101840.5 stays 101840.5.
std::string ExactNumber(double v) {
    char text[400]; // the longest fixed-point double, 1.8e308, with room to spare
    return std::string(text,
                       std::to_chars(text, text + sizeof text, v, std::chars_format::fixed).ptr);
}

// dxflib's writer, kept in memory: the library writes every group through these, and the whole
// plan then goes to the safe writer, which checks each write (the library's file is not). It
// also gives each object its owner, which the library leaves out of the OBJECTS section: every
// object there is listed in the dictionary before it.
class DxfBytes : public DL_WriterA {
  public:
    DxfBytes() : DL_WriterA("", DL_Codes::AC1015) {} // the library's own file is never opened
    const QByteArray& Bytes() const { return m_bytes; }

    void dxfReal(int gc, double value) const override { dxfString(gc, ExactNumber(value)); }
    void dxfInt(int gc, int value) const override { dxfString(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override {
        dxfString(gc, QByteArray::number(value, 16).toUpper().toStdString());
    }
    void dxfString(int gc, const char* value) const override { dxfString(gc, std::string(value)); }
    void dxfString(int gc, const std::string& value) const override {
        Group(gc, value);
        if (m_sectionName || (gc == 0 && value == "ENDSEC"))
            m_inObjects = m_sectionName && value == "OBJECTS";
        m_sectionName = gc == 0 && value == "SECTION";
        if (!m_inObjects)
            return;
        if (gc == 5) {
            m_object = value;
            const auto owner = m_owners.find(value);
            Group(330, owner == m_owners.end() ? "0" : owner->second);
        } else if (gc == 350 || gc == 340) {
            m_owners.emplace(value, m_object);
        }
    }

  private:
    void Group(int gc, const std::string& value) const {
        m_bytes += QByteArray::number(gc).rightJustified(3, ' ') + '\n' +
                   QByteArray::fromStdString(value) + '\n';
    }

    mutable QByteArray m_bytes;
    mutable bool m_sectionName = false; // the next group names a section
    mutable bool m_inObjects = false;
    mutable std::string m_object;
    mutable std::map<std::string, std::string> m_owners;
};

// DXF drawing units and the speaker block; everything in the design's own unit.
constexpr int kInsUnitsFeet = 2;
constexpr int kInsUnitsMillimetres = 4;
constexpr int kByLayer = 256;
constexpr int kByBlock = 0;

// A name in a folder holds 255 bytes; a room's files add at most ".speakers.csv" and " (9999)".
constexpr int kMostNameBytes = 255 - 13 - 7;

// The room's name below it, a foot or 300 mm high.
constexpr UnitPair<double> kNameHeight{1.0, 300.0};

// A text as this DXF version holds it: on one line (a line end would end the group), letters
// beyond ASCII as \U+XXXX, since the file's code page is not UTF-8, and "%%" sequences, which
// readers take for symbols ("%%d" is a degree sign), as typed ("%%%" is a percent sign).
std::string DxfText(const std::string& text) {
    const std::string line = OneLine(text);
    const bool escape = line.find("%%") != std::string::npos;
    std::string out;
    for (const char32_t c : QString::fromStdString(line).toUcs4()) {
        if (c < 0x20)
            out += ' ';
        else if (c == '%' && escape)
            out += "%%%";
        else if (c < 0x80)
            out += static_cast<char>(c);
        else
            out += c <= 0xFFFF ? QString::asprintf("\\U+%04X", unsigned(c)).toStdString() : "?";
    }
    return out;
}

// What the plan covers: the room and its name below it, and the height of that name.
struct PlanExtents {
    double minX, minY, maxX, maxY;
};

PlanExtents ExtentsOf(const DesignState& s) {
    const double height = kNameHeight(s.units.value());
    return {0.0, -2 * height, double(s.length), double(s.width)};
}

// The view a reader opens the plan with: the whole plan, centred, a tenth to spare, on a screen
// half again as wide as high.
void DxfViewport(const DL_WriterA& dw, const PlanExtents& e) {
    constexpr double kAspect = 1.5;
    const double height = 1.1 * std::max(e.maxY - e.minY, (e.maxX - e.minX) / kAspect);
    dw.dxfString(0, "TABLE");
    dw.dxfString(2, "VPORT");
    dw.dxfHex(5, 0x8);
    dw.dxfString(100, "AcDbSymbolTable");
    dw.dxfInt(70, 1);
    dw.dxfString(0, "VPORT");
    dw.handle();
    dw.dxfString(100, "AcDbSymbolTableRecord");
    dw.dxfString(100, "AcDbViewportTableRecord");
    dw.dxfString(2, "*Active");
    dw.dxfInt(70, 0);
    const std::pair<int, double> reals[] = {{10, 0.0},
                                            {20, 0.0},
                                            {11, 1.0},
                                            {21, 1.0},
                                            {12, (e.minX + e.maxX) / 2},
                                            {22, (e.minY + e.maxY) / 2},
                                            {13, 0.0},
                                            {23, 0.0},
                                            {14, 10.0},
                                            {24, 10.0},
                                            {15, 10.0},
                                            {25, 10.0},
                                            {16, 0.0},
                                            {26, 0.0},
                                            {36, 1.0},
                                            {17, 0.0},
                                            {27, 0.0},
                                            {37, 0.0},
                                            {40, height},
                                            {41, kAspect},
                                            {42, 50.0},
                                            {43, 0.0},
                                            {44, 0.0},
                                            {50, 0.0},
                                            {51, 0.0}};
    for (const auto& [gc, value] : reals)
        dw.dxfReal(gc, value);
    for (const auto& [gc, value] :
         {std::pair{71, 0}, {72, 100}, {73, 1}, {74, 3}, {75, 1}, {76, 1}, {77, 0}, {78, 0}})
        dw.dxfInt(gc, value);
    dw.dxfString(0, "ENDTAB");
}

void DxfTables(DL_Dxf& dxf, DL_WriterA& dw, const PlanExtents& extents) {
    dw.sectionTables();
    DxfViewport(dw, extents);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();
    // Layer colours: the room in black or white against the background, a grey grid, red speakers.
    const std::pair<const char*, int> layers[] = {
        {"0", 7}, {kRoomLayer, 7}, {kGridLayer, 8}, {kSpeakerLayer, 1}};
    dw.tableLayers(4);
    for (const auto& [name, colour] : layers)
        dxf.writeLayer(dw, DL_LayerData(name, 0),
                       DL_Attributes("", colour, 100, "CONTINUOUS", 1.0));
    dw.tableEnd();
    dw.tableStyle(1);
    dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, 1, 1, 1, 1, 1);
    dxf.writeBlockRecord(dw);
    dxf.writeBlockRecord(dw, kSpeakerBlock);
    dw.tableEnd();
    dw.sectionEnd();
}

void DxfBlocks(DL_Dxf& dxf, DL_WriterA& dw, double radius) {
    dw.sectionBlocks();
    for (const char* space : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(dw, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(dw, space);
    }
    // The circle takes the layer and colour of each insert, so the count is per layer.
    dxf.writeBlock(dw, DL_BlockData(kSpeakerBlock, 0, 0.0, 0.0, 0.0));
    dxf.writeCircle(dw, DL_CircleData(0.0, 0.0, 0.0, radius),
                    DL_Attributes("0", kByBlock, -1, "BYBLOCK", 1.0));
    dxf.writeEndBlock(dw, kSpeakerBlock);
    dw.sectionEnd();
}

void DxfEntities(DL_Dxf& dxf, DL_WriterA& dw, const Room& room) {
    const DesignState& s = room.s;
    const double leng = s.length, wid = s.width;
    dw.sectionEntities();
    const DL_Attributes onRoom(kRoomLayer, kByLayer, -1, "BYLAYER", 1.0);
    dxf.writePolyline(dw, DL_PolylineData(4, 0, 0, 1), onRoom);
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {leng, 0.0}, {leng, wid}, {0.0, wid}})
        dxf.writeVertex(dw, DL_VertexData(x, y, 0.0, 0.0));
    dxf.writePolylineEnd(dw);

    const DL_Attributes onGrid(kGridLayer, kByLayer, -1, "BYLAYER", 1.0);
    const DL_Attributes onSpeakers(kSpeakerLayer, kByLayer, -1, "BYLAYER", 1.0);
    VisitGrid(
        s, [&](double x) { dxf.writeLine(dw, DL_LineData(x, 0.0, 0.0, x, wid, 0.0), onGrid); },
        [&](double y) { dxf.writeLine(dw, DL_LineData(0.0, y, 0.0, leng, y, 0.0), onGrid); },
        [&](double x, double y) {
            dxf.writeInsert(dw, DL_InsertData(kSpeakerBlock, x, y, 0.0, 1, 1, 1, 0, 1, 1, 0, 0),
                            onSpeakers);
        });

    const double height = kNameHeight(s.units.value());
    const std::string name = DxfText(room.name);
    dxf.writeText(dw,
                  DL_TextData(0.0, -2 * height, 0.0, 0.0, 0.0, 0.0, height, 1.0, 0, 0, 0, name,
                              "Standard", 0.0),
                  onRoom);
    dw.sectionEnd();
}

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
    const PlanExtents extents = ExtentsOf(room.s);
    DL_Dxf dxf;
    DxfBytes dw;
    dxf.writeHeader(dw);
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, room.s.units == Units::Feet ? kInsUnitsFeet : kInsUnitsMillimetres);
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, room.s.units == Units::Feet ? 0 : 1);
    for (const auto& [name, x, y] : {std::tuple{"$EXTMIN", extents.minX, extents.minY},
                                     {"$EXTMAX", extents.maxX, extents.maxY}}) {
        dw.dxfString(9, name);
        dw.dxfReal(10, x);
        dw.dxfReal(20, y);
        dw.dxfReal(30, 0.0);
    }
    dw.sectionEnd();
    DxfTables(dxf, dw, extents);
    DxfBlocks(dxf, dw, SpeakerDotRadius(room.s.units.value()));
    DxfEntities(dxf, dw, room);
    dxf.writeObjects(dw);
    dxf.writeObjectsEnd(dw);
    dw.dxfEOF();
    return dw.Bytes();
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
