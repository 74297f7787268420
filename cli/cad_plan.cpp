#include "cli/cad_plan.h"

#include "output/print_report.h"

#include <QString>

#include <dl_dxf.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <tuple>

std::string ExactNumber(double v) {
    char text[400]; // the longest fixed-point double, 1.8e308, with room to spare
    return std::string(text,
                       std::to_chars(text, text + sizeof text, v, std::chars_format::fixed).ptr);
}

namespace {

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

constexpr int kByLayer = 256;
constexpr int kByBlock = 0;
// Attributes stay out of sight: the plan shows dots, and a reader lists the values on request.
constexpr int kInvisible = 1;

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

// What the plan covers.
struct PlanExtents {
    double minX, minY, maxX, maxY;
};

PlanExtents ExtentsOf(const CadPlan& plan) {
    PlanExtents e{0, 0, 0, 0};
    bool first = true;
    const auto take = [&](const CadPoint& p) {
        if (first)
            e = {p.x, p.y, p.x, p.y};
        e = {std::min(e.minX, p.x), std::min(e.minY, p.y), std::max(e.maxX, p.x),
             std::max(e.maxY, p.y)};
        first = false;
    };
    for (const auto& outline : plan.outlines)
        std::for_each(outline.begin(), outline.end(), take);
    for (const auto& [from, to] : plan.rows)
        take(from), take(to);
    for (const CadSpeaker& speaker : plan.speakers)
        take(speaker.at);
    for (const CadText& name : plan.names)
        take(name.at);
    for (const auto& cable : plan.cables)
        std::for_each(cable.begin(), cable.end(), take);
    if (plan.headEnd)
        take(*plan.headEnd);
    return e;
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

bool HasCable(const CadPlan& plan) {
    return !plan.cables.empty() || plan.headEnd;
}

void DxfTables(DL_Dxf& dxf, DL_WriterA& dw, const CadPlan& plan, const PlanExtents& extents) {
    dw.sectionTables();
    DxfViewport(dw, extents);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();
    // Layer colours: the room in black or white against the background, a grey grid, red
    // speakers, blue cable.
    std::vector<std::pair<const char*, int>> layers = {
        {"0", 7}, {kRoomLayer, 7}, {kGridLayer, 8}, {kSpeakerLayer, 1}};
    if (HasCable(plan))
        layers.push_back({kCableLayer, 5});
    dw.tableLayers(static_cast<int>(layers.size()));
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

// An attribute's definition in the speaker block, or its value on one speaker.
void DxfAttribute(const DL_WriterA& dw, const char* entity, const char* layer, const CadPoint& at,
                  double height, const std::string& tag, const std::string& value) {
    const bool definition = std::string(entity) == "ATTDEF";
    dw.dxfString(0, entity);
    dw.handle();
    dw.dxfString(100, "AcDbEntity");
    dw.dxfString(8, layer);
    dw.dxfString(100, "AcDbText");
    dw.dxfReal(10, at.x);
    dw.dxfReal(20, at.y);
    dw.dxfReal(30, 0.0);
    dw.dxfReal(40, height);
    dw.dxfString(1, value);
    dw.dxfString(100, definition ? "AcDbAttributeDefinition" : "AcDbAttribute");
    if (definition)
        dw.dxfString(3, tag);
    dw.dxfString(2, tag);
    dw.dxfInt(70, kInvisible);
}

void DxfBlocks(DL_Dxf& dxf, DL_WriterA& dw, const CadPlan& plan) {
    dw.sectionBlocks();
    for (const char* space : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(dw, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(dw, space);
    }
    // The circle takes the layer and colour of each insert, so the count is per layer.
    const bool attributes = !plan.attributeTags.empty();
    dxf.writeBlock(dw, DL_BlockData(kSpeakerBlock, attributes ? 2 : 0, 0.0, 0.0, 0.0));
    dxf.writeCircle(dw, DL_CircleData(0.0, 0.0, 0.0, plan.speakerRadius),
                    DL_Attributes("0", kByBlock, -1, "BYBLOCK", 1.0));
    for (const std::string& tag : plan.attributeTags)
        DxfAttribute(dw, "ATTDEF", "0", {}, plan.speakerRadius, tag, "");
    dxf.writeEndBlock(dw, kSpeakerBlock);
    dw.sectionEnd();
}

// An insert followed by its attributes and the end of their sequence.
void DxfAttributedSpeaker(const DL_WriterA& dw, const CadSpeaker& speaker,
                          const std::vector<std::string>& tags, double height) {
    dw.dxfString(0, "INSERT");
    dw.handle();
    dw.dxfString(100, "AcDbEntity");
    dw.dxfString(8, kSpeakerLayer);
    dw.dxfString(100, "AcDbBlockReference");
    dw.dxfInt(66, 1);
    dw.dxfString(2, kSpeakerBlock);
    dw.dxfReal(10, speaker.at.x);
    dw.dxfReal(20, speaker.at.y);
    dw.dxfReal(30, 0.0);
    for (std::size_t i = 0; i < tags.size(); ++i)
        DxfAttribute(dw, "ATTRIB", kSpeakerLayer, speaker.at, height, tags[i],
                     DxfText(i < speaker.attributes.size() ? speaker.attributes[i] : ""));
    dw.dxfString(0, "SEQEND");
    dw.handle();
    dw.dxfString(100, "AcDbEntity");
    dw.dxfString(8, kSpeakerLayer);
}

// A polyline through the points, closed back to the first or left open.
void DxfPolyline(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<CadPoint>& points, bool closed,
                 const DL_Attributes& attributes) {
    dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(points.size()), 0, 0, closed ? 1 : 0),
                      attributes);
    for (const CadPoint& p : points)
        dxf.writeVertex(dw, DL_VertexData(p.x, p.y, 0.0, 0.0));
    dxf.writePolylineEnd(dw);
}

// Each zone's route as an open polyline, and the head-end as a circle with its name.
void DxfCable(DL_Dxf& dxf, DL_WriterA& dw, const CadPlan& plan) {
    const DL_Attributes onCable(kCableLayer, kByLayer, -1, "BYLAYER", 1.0);
    for (const auto& cable : plan.cables)
        DxfPolyline(dxf, dw, cable, false, onCable);
    if (!plan.headEnd)
        return;
    const CadPoint at = *plan.headEnd;
    dxf.writeCircle(dw, DL_CircleData(at.x, at.y, 0.0, 2 * plan.speakerRadius), onCable);
    dxf.writeText(dw,
                  DL_TextData(at.x + 3 * plan.speakerRadius, at.y, 0.0, 0.0, 0.0, 0.0,
                              plan.textHeight, 1.0, 0, 0, 0, "HEAD-END", "Standard", 0.0),
                  onCable);
}

void DxfEntities(DL_Dxf& dxf, DL_WriterA& dw, const CadPlan& plan) {
    dw.sectionEntities();
    const DL_Attributes onRoom(kRoomLayer, kByLayer, -1, "BYLAYER", 1.0);
    for (const auto& outline : plan.outlines)
        DxfPolyline(dxf, dw, outline, true, onRoom);
    const DL_Attributes onGrid(kGridLayer, kByLayer, -1, "BYLAYER", 1.0);
    for (const auto& [from, to] : plan.rows)
        dxf.writeLine(dw, DL_LineData(from.x, from.y, 0.0, to.x, to.y, 0.0), onGrid);
    const DL_Attributes onSpeakers(kSpeakerLayer, kByLayer, -1, "BYLAYER", 1.0);
    for (const CadSpeaker& speaker : plan.speakers) {
        if (!plan.attributeTags.empty())
            DxfAttributedSpeaker(dw, speaker, plan.attributeTags, plan.speakerRadius);
        else
            dxf.writeInsert(dw,
                            DL_InsertData(kSpeakerBlock, speaker.at.x, speaker.at.y, 0.0, 1, 1, 1,
                                          0, 1, 1, 0, 0),
                            onSpeakers);
    }
    for (const CadText& name : plan.names)
        dxf.writeText(dw,
                      DL_TextData(name.at.x, name.at.y, 0.0, 0.0, 0.0, 0.0, plan.textHeight, 1.0, 0,
                                  0, 0, DxfText(name.text), "Standard", 0.0),
                      onRoom);
    DxfCable(dxf, dw, plan);
    dw.sectionEnd();
}

} // namespace

QByteArray CadPlanDxf(const CadPlan& plan) {
    const PlanExtents extents = ExtentsOf(plan);
    DL_Dxf dxf;
    DxfBytes dw;
    dxf.writeHeader(dw);
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, plan.drawingUnits);
    // Inches and feet are imperial drawings, the rest metric.
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, plan.drawingUnits == 1 || plan.drawingUnits == 2 ? 0 : 1);
    for (const auto& [name, x, y] : {std::tuple{"$EXTMIN", extents.minX, extents.minY},
                                     {"$EXTMAX", extents.maxX, extents.maxY}}) {
        dw.dxfString(9, name);
        dw.dxfReal(10, x);
        dw.dxfReal(20, y);
        dw.dxfReal(30, 0.0);
    }
    dw.sectionEnd();
    DxfTables(dxf, dw, plan, extents);
    DxfBlocks(dxf, dw, plan);
    DxfEntities(dxf, dw, plan);
    dxf.writeObjects(dw);
    dxf.writeObjectsEnd(dw);
    dw.dxfEOF();
    return dw.Bytes();
}
