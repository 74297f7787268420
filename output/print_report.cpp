#include "output/print_report.h"

#include "core/calculate.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "core/unit_data.h"
#include "core/unit_pair.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// Page positions in twips. Everything is 64-bit: no design, however odd, wraps a position.
using Twips = std::int64_t;

constexpr std::array<Twips, 6> PrintTabs{1000, 2000, 3800, 5200, 7000, 9000};
constexpr Twips kTitleY = 500;
constexpr Twips kDescriptionY = 800;
constexpr Twips kLineStep = 300;
constexpr Twips kSeparatorGap = 600; // the headings take the line between title and separator
constexpr double kTitleSize = 14;
constexpr double kBodySize = 10;
constexpr const char* kTitle = " MASKING SPEAKER LAYOUT ";
constexpr const char* kArrayTitle = "SPEAKER LAYOUT ARRAY";
const std::string kDescriptionLabel = "Description: ";
constexpr std::array<const char*, 5> kHeadings{"DIRECTION", "DIMENSION", "NR ROWS",
                                               "SPEAKER SPACING", "END SPACING"};
constexpr std::size_t kSeparatorLength = 75;

constexpr UnitPair<const char*> kUnitShort{" ft", " mm"};
constexpr UnitPair<const char*> kTableEdgePattern{"#0.0", "###0"};

// The layout array: the room's length always 9000 twips across the page, its top at 5200.
constexpr Twips kDrawnLength = 9000;
constexpr Twips kRoomTop = 5200;
constexpr Twips kTickLength = 500;
constexpr Twips kLabelY = 4800;
constexpr Twips kLengthEdgeLabelIn = 50;
constexpr Twips kCaptionRightOfCentre = 500;
constexpr Twips kWidthLabelRaise = 50;
constexpr Twips kSpeakerRadius = 100;
constexpr int kHeavyLine = 3;
constexpr int kThinLine = 1;
constexpr UnitPair<Twips> kSpacingLabelBack{100, 300};
constexpr UnitPair<Twips> kWidthLabelLeft{500, 800};
constexpr UnitPair<const char*> kLengthEdgePattern{"##.0", "####"};
constexpr UnitPair<const char*> kLengthSpacingPattern{"#0", "###0"};
constexpr UnitPair<const char*> kWidthPattern{"##.0", "###0"};
// The array's loops always counted rows in 16 bits; more rows than that lie closer than a
// twip apart on the page and show nothing but a black band.
constexpr std::int32_t kMostRowsDrawn = 32767;

// A position of the layout array lies beyond any page.
struct OutOfRange {};

// Positions further off than 2^50 twips come only from results no room can have. Holding every
// value of the array below it keeps the few sums made from them exact in the device's double
// coordinates (2^53) and far inside 64 bits.
constexpr Twips kFarOff = Twips{1} << 50;

Twips Bounded(Twips v) {
    if (v > kFarOff || v < -kFarOff)
        throw OutOfRange{};
    return v;
}

Twips Mul(Twips a, Twips b) {
    Twips r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        throw OutOfRange{};
    return Bounded(r);
}

// A device width or text width rounded to whole twips; anything beyond a page is held at 2^40
// so that sums with it stay in range.
Twips Whole(double twips) {
    constexpr double kLimit = 1099511627776.0;
    if (std::isnan(twips))
        return 0;
    return static_cast<Twips>(RoundHalfEven(std::clamp(twips, -kLimit, kLimit)));
}

struct ArrayGeometry {
    Twips drawWid = 0, roomLeft = 0, roomRight = 0, roomBottom = 0;
    Twips lSpcDraw = 0, lEdgeDraw = 0, wSpcDraw = 0, wEdgeDraw = 0;
    Twips x1 = 0, y1 = 0; // the first column and the first row
    Twips X(Twips j) const { return x1 + (j - 1) * lSpcDraw; }
    Twips Y(Twips i) const { return y1 + (i - 1) * wSpcDraw; }
};

// The array's geometry, or nothing when the room cannot be drawn: without a width the drawn
// height divides by zero, too many rows show nothing, and positions beyond kFarOff come only
// from results that do not belong to the room.
std::optional<ArrayGeometry> ArrayGeometryFor(const DesignState& s, Twips midX) {
    if (s.length <= 0 || s.width <= 0 || s.alongLength.rows > kMostRowsDrawn ||
        s.alongWidth.rows > kMostRowsDrawn)
        return std::nullopt;
    try {
        ArrayGeometry g;
        // width / length is below 2^31, so the drawn width is far inside the range.
        g.drawWid = static_cast<Twips>(RoundHalfEven(static_cast<double>(s.width) /
                                                     static_cast<double>(s.length) * kDrawnLength));
        g.roomLeft = midX - kDrawnLength / 2;
        g.roomRight = midX + kDrawnLength / 2;
        g.roomBottom = g.drawWid + kRoomTop;
        g.lSpcDraw = Mul(s.alongLength.spacing, kDrawnLength) / s.length;
        g.lEdgeDraw = Bounded(kDrawnLength - Mul(Twips{s.alongLength.rows} - 1, g.lSpcDraw)) / 2;
        g.wSpcDraw = Mul(s.alongWidth.spacing, g.drawWid) / s.width;
        g.wEdgeDraw = Bounded(g.drawWid - Mul(Twips{s.alongWidth.rows} - 1, g.wSpcDraw)) / 2;
        g.x1 = Bounded(g.roomLeft + g.lEdgeDraw);
        g.y1 = Bounded(kRoomTop + g.wEdgeDraw);
        // The last column and row: every one between lies between them and the first.
        Bounded(g.x1 + Mul(Twips{s.alongLength.rows} - 1, g.lSpcDraw));
        Bounded(g.y1 + Mul(Twips{s.alongWidth.rows} - 1, g.wSpcDraw));
        return g;
    } catch (const OutOfRange&) {
        return std::nullopt;
    }
}

// A pick is printed only when it names an entry of its list.
template <typename List> bool Names(std::optional<std::int16_t> pick, const List& list) {
    return pick && *pick >= 1 && static_cast<std::size_t>(*pick) <= list.size();
}

std::vector<std::string> ConditionLines(const DesignState& s) {
    std::vector<std::string> lines;
    switch (s.location) {
    case Location::AboveCeiling:
        lines.push_back("The masking speakers are hung above a suspended ceiling.");
        if (Names(s.plenumDepth, UnitDataFor(s.units.value()).plenumDepthTexts))
            lines.push_back(PlenumDepthSentence(s));
        if (Names(s.ceilingType, kCeilingTypeTexts))
            lines.push_back(CeilingTypeSentence(s));
        lines.push_back(PlenumBattsSentence(s.absorption));
        if (Names(s.ceilingHeight, UnitDataFor(s.units.value()).ceilingHeightTexts))
            lines.push_back(CeilingHeightSentence(s));
        break;
    case Location::OpenCeiling:
        lines.push_back("The masking speakers are hung from the structural ceiling without a "
                        "suspended ceiling.");
        if (s.absorption != Absorption::BattsOverTiles)
            lines.push_back(OpenBattsSentence(s.absorption));
        if (s.structuralHeight > 0)
            lines.push_back(StructuralHeightSentence(s));
        break;
    case Location::AccessFloor:
        lines.push_back("The masking speakers are placed below a raised access floor.");
        break;
    case Location::None:
        break;
    }
    return lines;
}

// Lays the page out item by item.
class PageComposer {
  public:
    PageComposer(const DesignState& s, const TextMetrics& metrics) : m_s(s), m_metrics(metrics) {}

    std::vector<PageItem> Page() && {
        m_midX = Whole(m_metrics.PageWidth()) / 2;
        Title();
        Body();
        if (m_s.length > 0) {
            Table();
            LayoutArray();
        }
        return std::move(m_items);
    }

  private:
    // The top-left corner of the text's line box at (x, y).
    void Text(Twips x, double y, std::string text, double size = kBodySize, bool bold = false) {
        m_items.push_back(PageText{static_cast<double>(x), y, std::move(text), size, bold});
    }
    Twips HalfWidth(const std::string& text, double size = kBodySize, bool bold = false) const {
        return Whole(m_metrics.TextWidth(text, size, bold)) / 2;
    }
    static Pen BlackPen(int width, LineStyle style = LineStyle::Solid) {
        return Pen{Qt::black, width, style};
    }
    void Line(Twips x1, Twips y1, Twips x2, Twips y2, Pen pen) {
        m_items.push_back(PageLine{static_cast<double>(x1), static_cast<double>(y1),
                                   static_cast<double>(x2), static_cast<double>(y2), pen});
    }

    void Title() {
        Text(m_midX - HalfWidth(kTitle, kTitleSize, true), kTitleY, kTitle, kTitleSize, true);
    }

    void Body() {
        m_lineY = kDescriptionY;
        Text(PrintTabs[0], m_lineY, kDescriptionLabel + OneLine(m_s.description));
        for (const std::string& line : ConditionLines(m_s))
            Text(PrintTabs[0], m_lineY += kLineStep, line);
        Text(PrintTabs[0], m_lineY += kLineStep,
             WiringSentence(m_s.units.value(), SpeakerCount(m_s)));
        Text(m_midX - HalfWidth(kArrayTitle), m_lineY += kLineStep, kArrayTitle);
        // The headings take the line below the array title, however high the font's lines are.
        const double headingY =
            static_cast<double>(m_lineY) + m_metrics.LineHeight(kBodySize, false);
        for (std::size_t c = 0; c < kHeadings.size(); ++c)
            Text(PrintTabs[c + 1] - HalfWidth(kHeadings[c]), headingY, kHeadings[c]);
        m_lineY += kSeparatorGap;
        Text(PrintTabs[0], m_lineY, std::string(kSeparatorLength, '='));
    }

    void TableRow(const std::array<std::string, 5>& cells) {
        m_lineY += kLineStep;
        for (std::size_t c = 0; c < cells.size(); ++c)
            Text(PrintTabs[c + 1], m_lineY, cells[c]);
    }

    void Table() {
        const Units units = m_s.units.value();
        const std::string unit = kUnitShort(units);
        TableRow({"Length", PatternText("####0", m_s.length) + unit,
                  PatternText("#0", m_s.alongLength.rows),
                  PatternText("###0", m_s.alongLength.spacing) + unit,
                  PatternText(kTableEdgePattern(units), m_s.alongLength.edge) + unit});
        TableRow({"Width", PatternText("####0", m_s.width) + unit,
                  PatternText("#0", m_s.alongWidth.rows),
                  PatternText("###0", m_s.alongWidth.spacing) + unit,
                  PatternText(kTableEdgePattern(units), m_s.alongWidth.edge) + unit});
        Text(PrintTabs[1], m_lineY += kLineStep, "Total number of speakers:");
        Text(PrintTabs[3], m_lineY, PatternText("##0", static_cast<double>(SpeakerCount(m_s))));
    }

    // No array when the room has no width (its drawn height would divide by zero) or the
    // results cannot be drawn (see ArrayGeometryFor).
    void LayoutArray() {
        const std::optional<ArrayGeometry> g = ArrayGeometryFor(m_s, m_midX);
        if (!g)
            return;
        m_items.push_back(PageRect{static_cast<double>(g->roomLeft), static_cast<double>(kRoomTop),
                                   static_cast<double>(g->roomRight),
                                   static_cast<double>(g->roomBottom), BlackPen(kHeavyLine),
                                   false});
        Grid(*g);
        Ticks(*g);
        Labels(*g);
        Speakers(*g);
    }

    void GridLine(Twips x1, Twips y1, Twips x2, Twips y2) {
        Line(x1, y1, x2, y2, BlackPen(kThinLine, LineStyle::Dotted));
    }
    void Tick(Twips x1, Twips y1, Twips x2, Twips y2) {
        Line(x1, y1, x2, y2, BlackPen(kHeavyLine));
    }

    void Grid(const ArrayGeometry& g) {
        for (Twips i = 1; i <= m_s.alongWidth.rows; ++i)
            GridLine(g.roomLeft, g.Y(i), g.roomRight, g.Y(i));
        for (Twips j = 1; j <= m_s.alongLength.rows; ++j)
            GridLine(g.X(j), kRoomTop, g.X(j), g.roomBottom);
    }

    void Ticks(const ArrayGeometry& g) {
        const Twips above = kRoomTop - kTickLength;
        const Twips left = g.roomLeft - kTickLength;
        Tick(g.roomLeft, kRoomTop, g.roomLeft, above);
        Tick(g.x1, kRoomTop, g.x1, above);
        Tick(g.x1 + g.lSpcDraw, kRoomTop, g.x1 + g.lSpcDraw, above);
        Tick(g.roomLeft, kRoomTop, left, kRoomTop);
        Tick(g.roomLeft, g.y1, left, g.y1);
        Tick(g.roomLeft, g.y1 + g.wSpcDraw, left, g.y1 + g.wSpcDraw);
    }

    void Labels(const ArrayGeometry& g) {
        const Units units = m_s.units.value();
        Text(g.roomLeft + kLengthEdgeLabelIn, kLabelY,
             PatternText(kLengthEdgePattern(units), m_s.alongLength.edge));
        if (m_s.alongLength.spacing > 0)
            Text(g.x1 + g.lSpcDraw / 2 - kSpacingLabelBack(units), kLabelY,
                 PatternText(kLengthSpacingPattern(units), m_s.alongLength.spacing));
        Text(m_midX + kCaptionRightOfCentre, kLabelY, "Length Dimension");
        const Twips widthLabelX = g.roomLeft - kWidthLabelLeft(units);
        Text(widthLabelX, static_cast<double>(kRoomTop + g.wEdgeDraw / 2 - kWidthLabelRaise),
             PatternText(kWidthPattern(units), m_s.alongWidth.edge));
        if (m_s.alongWidth.spacing > 0)
            Text(widthLabelX, static_cast<double>(g.y1 + g.wSpcDraw / 2 - kWidthLabelRaise),
                 PatternText(kWidthPattern(units), m_s.alongWidth.spacing));
    }

    void Speakers(const ArrayGeometry& g) {
        for (Twips j = 1; j <= m_s.alongLength.rows; ++j) {
            for (Twips i = 1; i <= m_s.alongWidth.rows; ++i) {
                m_items.push_back(PageDot{static_cast<double>(g.X(j)), static_cast<double>(g.Y(i)),
                                          static_cast<double>(kSpeakerRadius), BlackPen(kThinLine),
                                          true});
            }
        }
    }

    const DesignState& m_s;
    const TextMetrics& m_metrics;
    std::vector<PageItem> m_items;
    Twips m_midX = 0;
    Twips m_lineY = 0;
};

} // namespace

std::vector<PageItem> ComposeReport(const DesignState& s, const TextMetrics& metrics) {
    return PageComposer(s, metrics).Page();
}

PrintOutcome PrintReport(ReportOutput& output, const DesignState& s, MessageBoxes& boxes) {
    const std::vector<PageItem> page = ComposeReport(s, output.Metrics());
    for (;;) {
        try {
            output.Deliver(page);
            return PrintOutcome::Printed;
        } catch (const PrinterError& e) {
            if (boxes.Show(e.Description() + " error occurred.", MsgIcon::Critical, "Printer Error",
                           MsgButtons::RetryCancel) != MsgAnswer::Retry)
                return PrintOutcome::Cancelled;
        }
    }
}

std::string FittingDescription(const TextMetrics& metrics, const std::string& description) {
    const double room = metrics.PageWidth() - static_cast<double>(PrintTabs[0]);
    const auto fits = [&](std::size_t bytes) {
        return metrics.TextWidth(kDescriptionLabel + description.substr(0, bytes), kBodySize,
                                 false) <= room;
    };
    // Where a character starts, and the end; the widest of them that fits, by halving.
    std::vector<std::size_t> cuts;
    for (std::size_t i = 0; i <= description.size(); ++i)
        if (i == description.size() || (static_cast<unsigned char>(description[i]) & 0xC0) != 0x80)
            cuts.push_back(i);
    std::size_t low = 0, high = cuts.size() - 1;
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (fits(cuts[mid]))
            low = mid;
        else
            high = mid - 1;
    }
    return description.substr(0, cuts[low]);
}

std::string OneLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::string_view rest = std::string_view(text).substr(i);
        if (rest.substr(0, 2) == "\r\n" || rest.substr(0, 3) == "\u2028" ||
            rest.substr(0, 3) == "\u2029") {
            line += ' ';
            i += rest[0] == '\r' ? 1 : 2;
        } else if (rest.substr(0, 2) == "\u0085") {
            line += ' ';
            ++i;
        } else {
            line += c == '\n' || c == '\r' || c == '\v' || c == '\f' ? ' ' : c;
        }
    }
    return line;
}
