#include "cli/room_files.h"

#include "cli/csv_rows.h"
#include "core/calculate.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "output/print_report.h"
#include "output/printer_output.h"
#include "output/room_drawing.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <dl_dxf.h>

#include <algorithm>
#include <memory>

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

Made ReadBack(const QString& path) {
    QFile file(path);
    Made made;
    if (!file.open(QIODevice::ReadOnly))
        made.error = path + ": " + file.errorString();
    else
        made.bytes = file.readAll();
    file.close();
    QFile::remove(path);
    return made;
}

// DXF drawing units and the speaker block; everything in the design's own unit.
constexpr int kInsUnitsFeet = 2;
constexpr int kInsUnitsMillimetres = 4;
constexpr const char* kSpeakerBlock = "MASKING_SPEAKER";
constexpr const char* kRoomLayer = "ROOM";
constexpr const char* kSpeakerLayer = "MASKING-SPEAKERS";
constexpr const char* kGridLayer = "MASKING-GRID";
constexpr int kByLayer = 256;
constexpr int kByBlock = 0;

// A text as this DXF version holds it: on one line (a line end would end the group), and
// letters beyond ASCII as \U+XXXX, since the file's code page is not UTF-8.
std::string DxfText(const std::string& text) {
    std::string out;
    for (const char32_t c : QString::fromStdString(text).toUcs4()) {
        if (c < 0x20)
            out += ' ';
        else if (c < 0x80)
            out += static_cast<char>(c);
        else
            out += c <= 0xFFFF ? QString::asprintf("\\U+%04X", unsigned(c)).toStdString() : "?";
    }
    return out;
}

void DxfTables(DL_Dxf& dxf, DL_WriterA& dw) {
    dw.sectionTables();
    dxf.writeVPort(dw);
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

    // The name below the room, a foot or 300 mm high.
    const double height = s.units == Units::Feet ? 1.0 : 300.0;
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
        csv += QByteArray::number(++n) + "," + QByteArray::number(p.x) + "," +
               QByteArray::number(p.y) + "\n";
    return csv;
}

Made ReportPdf(const DesignState& s) {
    const ReportPaper paper;
    return {paper.Pdf(ComposeReport(s, paper), ReportTitle(s.description)), {}};
}

Made PlanDxf(const Room& room, const QString& scratchFolder) {
    const QString path = scratchFolder + "/plan.dxf";
    DL_Dxf dxf;
    const std::unique_ptr<DL_WriterA> dw(
        dxf.out(QFile::encodeName(path).constData(), DL_Codes::AC1015));
    if (!dw)
        return {{}, path + ": cannot be created"};
    dxf.writeHeader(*dw);
    dw->dxfString(9, "$INSUNITS");
    dw->dxfInt(70, room.s.units == Units::Feet ? kInsUnitsFeet : kInsUnitsMillimetres);
    dw->dxfString(9, "$MEASUREMENT");
    dw->dxfInt(70, room.s.units == Units::Feet ? 0 : 1);
    dw->sectionEnd();
    DxfTables(dxf, *dw);
    DxfBlocks(dxf, *dw, SpeakerDotRadius(room.s.units.value()));
    DxfEntities(dxf, *dw, room);
    dxf.writeObjects(*dw);
    dxf.writeObjectsEnd(*dw);
    dw->dxfEOF();
    dw->close();
    return ReadBack(path);
}

QString SafeFileName(const std::string& name) {
    QString safe;
    for (const QChar c : QString::fromStdString(name))
        safe += c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c)
                    ? QChar('_')
                    : c;
    safe = safe.trimmed();
    while (safe.startsWith('.'))
        safe.remove(0, 1);
    while (safe.toUtf8().size() > 100)
        safe.chop(1);
    safe = safe.trimmed();
    return safe.isEmpty() ? QStringLiteral("room") : safe;
}
