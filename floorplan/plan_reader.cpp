// dxflib reads the scanned plan into a collection of drawings: model space and each block, in the
// coordinates they were written in. Placing the blocks then composes each insert's transform
// with those of the inserts around it, down to the outlines and texts the plan is made of.
#include "floorplan/plan_reader.h"

#include "floorplan/plan_encoding.h"
#include "floorplan/plan_scan.h"
#include "floorplan/plan_text.h"
#include "floorplan/units.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <istream>
#include <memory>
#include <set>
#include <streambuf>

namespace floorplan {
namespace {

// Nested and arrayed blocks can multiply a small file into more than memory holds.
constexpr long long kMostPlacedItems = 20'000'000;
constexpr int kDeepestNesting = 64;
constexpr double kPi = 3.14159265358979323846;

// x' = a x + b y + c, y' = d x + e y + f
struct Transform {
    double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;

    Point operator()(Point p) const { return {a * p.x + b * p.y + c, d * p.x + e * p.y + f}; }
    Transform operator*(const Transform& t) const {
        return {a * t.a + b * t.d, a * t.b + b * t.e, a * t.c + b * t.f + c,
                d * t.a + e * t.d, d * t.b + e * t.e, d * t.c + e * t.f + f};
    }
};

Transform Translation(double x, double y) {
    return {1, 0, x, 0, 1, y};
}

// Plans place the same few blocks on the same few layers many thousand times: an insert holds
// their names as numbers in the collector's list of names.
struct Insert {
    int block = 0, layer = 0;
    Transform placement;         // of the first copy
    Point columnShift, rowShift; // from one copy of an array to the next
    int columns = 1, rows = 1;
};

// Strings stay as their bytes until the header has said how to read them.
struct RawPolyline {
    std::string layer;
    int handle = -1;
    Ring corners;
    bool closed = false, hadArcs = false;
};
struct RawText {
    std::string layer, text;
    Point anchor;
    std::optional<Point> middle;
};

// The middle of an MTEXT's lines: its attachment point (1 top left ... 9 bottom right) says
// which point of the text's box the insertion point is; the box is the reference width wide, or
// as wide as the longest line at about 0.6 of the height a character, and each line 5/3 of the
// height high.
Point MTextMiddle(const DL_MTextData& data, const std::string& text) {
    std::size_t lines = 0, longest = 0;
    for (std::size_t at = 0; at <= text.size(); ++lines) {
        std::size_t end = text.find("\\P", at);
        end = end == std::string::npos ? text.size() : end;
        longest = std::max(longest, CleanText(text.substr(at, end - at)).size());
        at = end + 2;
    }
    const double width = data.width > 0 ? data.width : 0.6 * data.height * double(longest);
    const double height = 5.0 / 3 * data.height * double(lines);
    const int attachment = std::clamp(data.attachmentPoint, 1, 9) - 1;
    const double along = (0.5 - (attachment % 3) / 2.0) * width;
    const double across = ((attachment / 3) / 2.0 - 0.5) * height;
    const double c = std::cos(data.angle), s = std::sin(data.angle);
    return {data.ipx + along * c - across * s, data.ipy + along * s + across * c};
}

struct Drawing {
    std::vector<RawPolyline> polylines;
    std::vector<RawText> texts;
    std::map<std::string, int> linesPerLayer;
    std::vector<Insert> inserts;
    Point base;
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

class Collector : public DL_CreationAdapter {
  public:
    explicit Collector(const ScannedPlan& scan) : m_scan(scan) {}

    std::map<std::string, Drawing> blocks;
    Drawing modelSpace;
    std::string version, codePage;
    std::optional<int> insUnits;

    void setVariableString(const std::string& key, const std::string& value, int) override {
        (key == "$ACADVER" ? version : key == "$DWGCODEPAGE" ? codePage : m_ignored) = value;
    }
    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS") {
            insUnits = value;
        }
    }

    void addBlock(const DL_BlockData& data) override {
        finishPolyline();
        const bool paperSpace = StartsWithNoCase(data.name, "*Paper_Space");
        m_current = paperSpace ? nullptr : &blocks[data.name];
        if (m_current) {
            *m_current = Drawing{};
            m_current->base = {data.bpx, data.bpy};
        }
    }
    void endBlock() override {
        finishPolyline();
        m_current = &modelSpace;
    }

    void addLine(const DL_LineData&) override {
        finishPolyline();
        if (Drawing* drawing = target()) {
            ++drawing->linesPerLayer[getAttributes().getLayer()];
        }
    }

    void addPolyline(const DL_PolylineData& data) override {
        finishPolyline();
        // Polyface and polygon meshes are 3D surfaces, not outlines.
        if ((data.flags & (16 | 64)) != 0 || !target()) {
            return;
        }
        m_polyline = RawPolyline{getAttributes().getLayer(),
                                 getAttributes().getHandle(),
                                 {},
                                 (data.flags & 1) != 0,
                                 false};
        m_polylineTarget = target();
        m_polylineMirrored = mirrored();
        // A lightweight polyline's corners come from the scan; dxflib is given none of them.
        const ScannedOutline* scanned = scannedOf(m_scan.outlines, m_polyline->handle);
        if (scanned && scanned->lightweight) {
            const auto first = m_scan.corners.begin() + long(scanned->firstCorner);
            for (auto corner = first; corner != first + long(scanned->cornerCount); ++corner) {
                addCorner(*corner);
            }
        }
    }
    void addVertex(const DL_VertexData& data) override {
        if (m_polyline) {
            addCorner({data.x, data.y, data.bulge});
        }
    }
    void addCorner(const ScannedCorner& corner) {
        m_polyline->corners.push_back({m_polylineMirrored ? -corner.x : corner.x, corner.y});
        m_polyline->hadArcs = m_polyline->hadArcs || corner.bulge != 0;
    }
    void endSequence() override { finishPolyline(); }

    void addText(const DL_TextData& data) override {
        finishPolyline();
        addTextAt(data, data.text);
    }
    void addAttribute(const DL_AttributeData& data) override {
        finishPolyline();
        addTextAt(data, data.text);
    }
    void addMTextChunk(const std::string& text) override { m_mtextChunks += text; }
    void addMText(const DL_MTextData& data) override {
        finishPolyline();
        const std::string text = m_mtextChunks + data.text;
        m_mtextChunks.clear();
        if (Drawing* drawing = target()) {
            // An MTEXT's insertion point is in world coordinates, whatever its extrusion.
            drawing->texts.push_back(
                {getAttributes().getLayer(), text, {data.ipx, data.ipy}, MTextMiddle(data, text)});
        }
    }

    void addInsert(const DL_InsertData& data) override {
        finishPolyline();
        Drawing* drawing = target();
        if (!drawing) {
            return;
        }
        const ScannedPlacement* scanned = scannedOf(m_scan.placements, getAttributes().getHandle());
        const ScannedPlacement placed =
            scanned ? *scanned : ScannedPlacement{data.ipx,   data.ipy,   data.sx,   data.sy,
                                                  data.angle, data.colSp, data.rowSp};
        const double turn = placed.angle * kPi / 180;
        const Transform rotation{std::cos(turn), -std::sin(turn), 0,
                                 std::sin(turn), std::cos(turn),  0};
        const Transform mirror = mirrored() ? Transform{-1, 0, 0, 0, 1, 0} : Transform{};
        const Transform at = mirror * Translation(placed.x, placed.y) * rotation;
        Insert insert;
        insert.block = nameNumber(data.name);
        insert.layer = nameNumber(getAttributes().getLayer());
        insert.placement = at * Transform{placed.scaleX, 0, 0, 0, placed.scaleY, 0};
        const Point start = insert.placement({0, 0});
        const Point nextColumn = (at * Translation(placed.columnSpacing, 0))({0, 0});
        const Point nextRow = (at * Translation(0, placed.rowSpacing))({0, 0});
        insert.columnShift = {nextColumn.x - start.x, nextColumn.y - start.y};
        insert.rowShift = {nextRow.x - start.x, nextRow.y - start.y};
        insert.columns = std::max(1, data.cols);
        insert.rows = std::max(1, data.rows);
        drawing->inserts.push_back(insert);
    }

    // A polyline's vertices come after it: it is complete when the next entity starts.
    void finishPolyline() {
        if (m_polyline) {
            m_polylineTarget->polylines.push_back(std::move(*m_polyline));
        }
        m_polyline.reset();
    }

    const std::string& name(int number) const { return m_names[size_t(number)]; }

  private:
    // What the scan kept of the entity its group 5 numbers.
    template <typename Scanned>
    static const Scanned* scannedOf(const std::vector<Scanned>& list, int position) {
        return position >= 1 && size_t(position) <= list.size() ? &list[size_t(position) - 1]
                                                                : nullptr;
    }

    int nameNumber(const std::string& name) {
        const auto [found, added] = m_nameNumbers.emplace(name, int(m_names.size()));
        if (added) {
            m_names.push_back(name);
        }
        return found->second;
    }

    // Where the entity being read belongs: nowhere when it is in paper space.
    Drawing* target() { return getAttributes().isInPaperSpace() ? nullptr : m_current; }

    // An extrusion pointing down mirrors the entity's own coordinates in x.
    bool mirrored() {
        const DL_Extrusion* extrusion = getExtrusion();
        return extrusion && extrusion->getDirection() && extrusion->getDirection()[2] < 0;
    }

    template <typename TextData> void addTextAt(const TextData& data, const std::string& text) {
        Drawing* drawing = target();
        if (!drawing) {
            return;
        }
        // A justified text is placed by its alignment point.
        const bool justified = data.hJustification != 0 || data.vJustification != 0;
        Point anchor = justified ? Point{data.apx, data.apy} : Point{data.ipx, data.ipy};
        anchor.x = mirrored() ? -anchor.x : anchor.x;
        drawing->texts.push_back({getAttributes().getLayer(), text, anchor, std::nullopt});
    }

    const ScannedPlan& m_scan;
    Drawing* m_current = &modelSpace;
    std::optional<RawPolyline> m_polyline;
    Drawing* m_polylineTarget = nullptr;
    bool m_polylineMirrored = false;
    std::string m_mtextChunks;
    std::string m_ignored;
    std::vector<std::string> m_names;
    std::map<std::string, int> m_nameNumbers;
};

// dxflib reads the scanned text where it lies; a string stream would first copy all of it.
class TextReader : public std::streambuf {
  public:
    explicit TextReader(std::string& text) {
        setg(text.data(), text.data(), text.data() + text.size());
    }
};

struct TooLarge {};

// Places model space and, through its inserts, the blocks into one plan.
class Placer {
  public:
    Placer(const Collector& collected, const std::vector<ScannedOutline>& outlines,
           const std::string& iconvCodePage)
        : m_collected(collected), m_outlines(outlines), m_decode(iconvCodePage) {}

    Plan place() {
        place(m_collected.modelSpace, Transform{}, "");
        markRepeatedTexts();
        return std::move(m_plan);
    }

  private:
    void place(const Drawing& drawing, const Transform& transform, const std::string& insertLayer) {
        for (const RawPolyline& raw : drawing.polylines) {
            spend(static_cast<long long>(raw.corners.size()) + 1);
            PlanPolyline polyline{
                layer(raw.layer, insertLayer), handle(raw.handle), {}, raw.closed, raw.hadArcs};
            for (const Point& corner : raw.corners) {
                polyline.corners.push_back(transform(corner));
            }
            dropRepeatedFirstCorner(polyline);
            if (allFinite(polyline.corners)) {
                m_plan.polylines.push_back(std::move(polyline));
            }
        }
        for (const RawText& raw : drawing.texts) {
            spend(1);
            PlanText text{layer(raw.layer, insertLayer), transform(raw.anchor),
                          CleanText(m_decode(raw.text)), std::nullopt};
            if (raw.middle)
                text.middle = transform(*raw.middle);
            if (allFinite({text.anchor, text.middle.value_or(text.anchor)})) {
                m_plan.texts.push_back(std::move(text));
                m_textSources.push_back(&raw);
            }
        }
        for (const auto& [lineLayer, lines] : drawing.linesPerLayer) {
            spend(lines);
            m_plan.linesPerLayer[layer(lineLayer, insertLayer)] += lines;
        }
        for (const Insert& insert : drawing.inserts) {
            placeInsert(insert, transform, insertLayer);
        }
    }

    void placeInsert(const Insert& insert, const Transform& transform,
                     const std::string& insertLayer) {
        const std::string& block = m_collected.name(insert.block);
        if (block.size() == 8 && StartsWithNoCase(block, "HEAD-END")) {
            m_plan.headEnds.push_back(transform(insert.placement({0, 0})));
        }
        const auto found = m_collected.blocks.find(block);
        if (found == m_collected.blocks.end() || m_open.count(block) == 1 ||
            int(m_open.size()) >= kDeepestNesting) {
            return; // a missing block, a block inside itself, or nesting beyond any real plan
        }
        m_open.insert(block);
        const std::string blockLayer = layer(m_collected.name(insert.layer), insertLayer);
        const Transform toBase = Translation(-found->second.base.x, -found->second.base.y);
        for (int row = 0; row < insert.rows; ++row) {
            for (int column = 0; column < insert.columns; ++column) {
                spend(1);
                place(found->second, transform * copyAt(insert, column, row) * toBase, blockLayer);
            }
        }
        m_open.erase(block);
    }

    // The transform of one copy of an arrayed insert.
    static Transform copyAt(const Insert& insert, int column, int row) {
        Transform copy = insert.placement;
        copy.c += column * insert.columnShift.x + row * insert.rowShift.x;
        copy.f += column * insert.columnShift.y + row * insert.rowShift.y;
        return copy;
    }

    // A text is repeated when its source was placed more than once: in the sorted list of
    // sources, the same source stands next to itself.
    void markRepeatedTexts() {
        std::vector<const RawText*> sorted = m_textSources;
        std::sort(sorted.begin(), sorted.end(), std::less<const RawText*>());
        for (size_t i = 0; i < m_plan.texts.size(); ++i) {
            const auto [first, last] = std::equal_range(
                sorted.begin(), sorted.end(), m_textSources[i], std::less<const RawText*>());
            m_plan.texts[i].repeatedByBlock = last - first > 1;
        }
    }

    void spend(long long items) {
        m_spent += items;
        if (m_spent > kMostPlacedItems) {
            throw TooLarge{};
        }
    }

    // Entities on layer 0 inside a block take the layer of the insert that places them.
    std::string layer(const std::string& raw, const std::string& insertLayer) {
        if (raw == "0" && !insertLayer.empty()) {
            return insertLayer;
        }
        const auto found = m_layers.find(raw);
        if (found != m_layers.end()) {
            return found->second;
        }
        return m_layers[raw] = m_decode(raw);
    }

    std::string handle(int index) const {
        return index >= 1 && size_t(index) <= m_outlines.size()
                   ? m_outlines[size_t(index) - 1].handle
                   : "";
    }

    static void dropRepeatedFirstCorner(PlanPolyline& polyline) {
        Ring& corners = polyline.corners;
        if (corners.size() >= 2 && corners.front().x == corners.back().x &&
            corners.front().y == corners.back().y) {
            corners.pop_back();
            polyline.closed = true;
        }
    }

    static bool allFinite(const Ring& points) {
        for (const Point& p : points) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
                return false;
            }
        }
        return true;
    }

    const Collector& m_collected;
    const std::vector<ScannedOutline>& m_outlines;
    TextDecoder m_decode;
    Plan m_plan;
    std::vector<const RawText*> m_textSources; // the text each of the plan's texts comes from
    std::set<std::string> m_open;
    std::map<std::string, std::string> m_layers;
    long long m_spent = 0;
};

// dxflib reads the scanned text; the scan is let go of before the blocks are placed.
std::variant<Plan, PlanError> ReadScanned(std::variant<ScannedPlan, PlanError> scanned) {
    if (const PlanError* error = std::get_if<PlanError>(&scanned)) {
        return *error;
    }
    ScannedPlan& scan = std::get<ScannedPlan>(scanned);
    Collector collector(scan);
    {
        TextReader reader(scan.dxf);
        std::istream stream(&reader);
        auto dxf = std::make_unique<DL_Dxf>();
        dxf->in(stream, &collector);
        collector.finishPolyline();
    }
    std::string().swap(scan.dxf);
    std::vector<ScannedCorner>().swap(scan.corners);
    std::vector<ScannedPlacement>().swap(scan.placements);
    // Files from AutoCAD 2007 on (AC1021) hold UTF-8; older ones the header's code page.
    const bool utf8 = collector.version >= "AC1021";
    try {
        Placer placer(collector, scan.outlines, utf8 ? "UTF-8" : IconvCodePage(collector.codePage));
        Plan plan = placer.place();
        plan.headerUnit = UnitOfInsUnits(collector.insUnits.value_or(0));
        return plan;
    } catch (const TooLarge&) {
        return PlanError{"The plan's blocks place more than " + std::to_string(kMostPlacedItems) +
                         " corners, texts and lines; it is too large to read."};
    }
}

} // namespace

std::variant<Plan, PlanError> ReadPlan(std::string_view bytes) {
    return ReadScanned(ScanPlan(bytes));
}

std::variant<Plan, PlanError> ReadPlan(std::string&& bytes) {
    std::variant<ScannedPlan, PlanError> scanned = ScanPlan(bytes);
    std::string().swap(bytes);
    return ReadScanned(std::move(scanned));
}

} // namespace floorplan
