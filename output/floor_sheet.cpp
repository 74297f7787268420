#include "output/floor_sheet.h"

#include "core/app_info.h"
#include "core/unit_pair.h"
#include "output/typeface.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

using floorplan::Point;

constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerPoint = 20;
constexpr double Mm(double millimetres) {
    return millimetres * kTwipsPerInch / 25.4;
}
constexpr double Inches(double inches) {
    return inches * kTwipsPerInch;
}

// Landscape sheets; the ISO ones are measured in millimetres, the others in inches.
struct SheetFormat {
    std::string_view name;
    SheetSize size;
    Units system;
    double width, height; // twips
};
constexpr std::array<SheetFormat, 5> kSheets{{
    {"a3", SheetSize::A3, Units::Millimetres, Mm(420), Mm(297)},
    {"a1", SheetSize::A1, Units::Millimetres, Mm(841), Mm(594)},
    {"letter", SheetSize::Letter, Units::Feet, Inches(11), Inches(8.5)},
    {"tabloid", SheetSize::Tabloid, Units::Feet, Inches(17), Inches(11)},
    {"ansi-d", SheetSize::AnsiD, Units::Feet, Inches(34), Inches(22)},
}};
// Clear paper around the frame, and the strip below the drawing for legend, scale bar and title.
constexpr UnitPair<double> kMargin{Inches(0.5), Mm(10)};
constexpr UnitPair<double> kStrip{Inches(1.25), Mm(30)};

// The strip's sections: the legend on the left, the title block on the right, the scale bar
// between; texts stand this far inside their section.
constexpr double kLegendWidth = 4320;
constexpr double kTitleBlockWidth = 5040;
constexpr double kInset = 120;
// The scale bar at most this long: round lengths of a few metres or feet.
constexpr UnitPair<double> kLongestBar{Inches(2.5), Mm(60)};
constexpr UnitPair<double> kBarUnitMillimetres{304.8, 1000};
constexpr UnitPair<const char*> kBarUnitName{"ft", "m"};
constexpr double kBarTop = 600;
constexpr double kBarHeight = 120;

// With zones, the column of their list at the drawing area's right, a swatch of each zone's
// colour before its line, and the head-end's square.
constexpr UnitPair<double> kZoneColumn{Inches(3), Mm(75)};
constexpr double kSwatchWidth = 360;
constexpr double kZoneTextOffset = 480;
constexpr double kHeadEndHalf = 80;
const std::array<QColor, 6> kZoneColours{QColor(0, 114, 178),  QColor(230, 159, 0),
                                         QColor(0, 158, 115),  QColor(204, 121, 167),
                                         QColor(86, 180, 233), QColor(213, 94, 0)};

constexpr double kSpeakerRadius = 40;
constexpr std::array<double, 2> kLabelSizes{8, 6}; // a label smaller than 6 pt is left out
constexpr double kLegendSize = 10;
constexpr double kZoneSize = 8;
constexpr double kPlanNameSize = 12;
const QColor kFlagColour(204, 0, 0);
const Pen kFramePen{Qt::black, 3};
const Pen kDividerPen{Qt::black, 1};
const Pen kOutlinePen{Qt::black, 2};
const Pen kFlaggedPen{kFlagColour, 4};
const Pen kWallPen{QColor(128, 128, 128), 1};
const Pen kDotPen{Qt::black, 1};

const QColor& ZoneColour(int number) {
    const int count = static_cast<int>(kZoneColours.size());
    return kZoneColours[((number - 1) % count + count) % count];
}

const SheetFormat& Format(SheetSize size) {
    return *std::find_if(kSheets.begin(), kSheets.end(),
                         [size](const SheetFormat& f) { return f.size == size; });
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Integral values of any size, without an exponent: scale denominators and feet to the inch.
std::string Whole(double value) {
    return QString::number(value, 'f', 0).toStdString();
}

std::string Count(std::size_t n, const std::string& thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

// Sizes that agree to rounding count as equal, so that a floor or bar that fits exactly fits.
bool AtMost(double size, double room) {
    return size <= room * (1 + 1e-9);
}

// 1, 2, 5, 10, 20, 50 ...: the k-th of the series of round values.
double OneTwoFive(int k) {
    constexpr std::array<double, 3> kSteps{1, 2, 5};
    return kSteps[k % 3] * std::pow(10.0, k / 3);
}

struct DrawingScale {
    double denominator = 1;
    std::string text;
};

// The i-th standard scale, each smaller than the one before and without end, so that every
// floor has one: 1:50, 1:100, 1:200, 1:500, 1:1000 ... for metric plans; the architect's
// quarter, eighth, sixteenth and thirty-second of an inch to the foot and then the engineer's
// 1" = 100', 200', 500' ... for imperial ones.
DrawingScale StandardScale(int i, bool imperial) {
    if (!imperial) {
        const double denominator = OneTwoFive(i + 5);
        return {denominator, "1:" + Whole(denominator)};
    }
    if (i < 4)
        return {48.0 * (1 << i), "1/" + std::to_string(4 << i) + "\" = 1'-0\""};
    const double feetToTheInch = OneTwoFive(i + 2);
    return {12 * feetToTheInch, "1\" = " + Whole(feetToTheInch) + "'"};
}

// The floor's extent in plan coordinates; empty when there is nothing to draw.
struct Bounds {
    double left = 0, bottom = 0, right = 0, top = 0;
    bool empty = true;
    void Add(const Point& p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return;
        left = empty ? p.x : std::min(left, p.x), right = empty ? p.x : std::max(right, p.x);
        bottom = empty ? p.y : std::min(bottom, p.y), top = empty ? p.y : std::max(top, p.y);
        empty = false;
    }
    double Width() const { return right - left; }
    double Height() const { return top - bottom; }
};

Bounds FloorBounds(const FloorSheetInput& input) {
    Bounds b;
    for (const SheetRoom& room : input.rooms)
        for (const Point& p : room.outline)
            b.Add(p);
    for (const auto& [from, to] : input.walls)
        b.Add(from), b.Add(to);
    if (input.zones.empty())
        return b;
    for (const SheetZone& zone : input.zones) {
        for (const Point& p : zone.speakers)
            b.Add(p);
        for (const Point& p : zone.route)
            b.Add(p);
    }
    if (input.headEnd)
        b.Add(*input.headEnd);
    return b;
}

Bounds RingBounds(const floorplan::Ring& ring) {
    Bounds b;
    for (const Point& p : ring)
        b.Add(p);
    return b;
}

// Where a label goes: the outline's centre of area, or the middle of its extent when it
// encloses none.
Point LabelCentre(const floorplan::Ring& ring) {
    double twiceArea = 0, x = 0, y = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point& a = ring[i];
        const Point& b = ring[(i + 1) % ring.size()];
        const double cross = a.x * b.y - b.x * a.y;
        twiceArea += cross, x += (a.x + b.x) * cross, y += (a.y + b.y) * cross;
    }
    if (std::abs(twiceArea) > 1e-12) // NaN corners fall through to the extent too
        return {x / (3 * twiceArea), y / (3 * twiceArea)};
    const Bounds b = RingBounds(ring);
    return {(b.left + b.right) / 2, (b.bottom + b.top) / 2};
}

// Plan coordinates to the sheet: the floor's middle on the drawing area's, plan y up and the
// sheet's down, positions in whole twips.
class PaperMap {
  public:
    PaperMap(const Bounds& floor, double twipsPerUnit, double areaMiddleX, double areaMiddleY)
        : m_floorX((floor.left + floor.right) / 2), m_floorY((floor.bottom + floor.top) / 2),
          m_twipsPerUnit(twipsPerUnit), m_middleX(areaMiddleX), m_middleY(areaMiddleY) {}
    double X(const Point& p) const {
        return std::round(m_middleX + (p.x - m_floorX) * m_twipsPerUnit);
    }
    double Y(const Point& p) const {
        return std::round(m_middleY - (p.y - m_floorY) * m_twipsPerUnit);
    }
    double Length(double units) const { return units * m_twipsPerUnit; }

  private:
    double m_floorX, m_floorY, m_twipsPerUnit, m_middleX, m_middleY;
};

class SheetComposer {
  public:
    SheetComposer(const FloorSheetInput& input, const TextMetrics& metrics)
        : m_input(input), m_metrics(metrics), m_format(Format(input.size)),
          m_barSystem(input.imperial ? Units::Feet : Units::Millimetres) {
        const double margin = kMargin(m_format.system);
        m_left = margin, m_right = m_format.width - margin;
        m_top = margin, m_bottom = m_format.height - margin;
        m_stripTop = m_bottom - kStrip(m_format.system);
        m_drawingRight = m_input.zones.empty() ? m_right : m_right - kZoneColumn(m_format.system);
    }

    FloorSheet Sheet() && {
        const Bounds floor = FloorBounds(m_input);
        m_scale = FittingScale(floor);
        const PaperMap map(floor, Mm(m_input.millimetresPerUnit) / m_scale.denominator,
                           (m_left + m_drawingRight) / 2, (m_top + m_stripTop) / 2);
        Frame();
        for (const auto& [from, to] : m_input.walls)
            Line(map.X(from), map.Y(from), map.X(to), map.Y(to), kWallPen);
        for (const SheetRoom& room : m_input.rooms)
            Room(room, map);
        if (!m_input.zones.empty())
            System(map);
        Legend();
        ScaleBar();
        TitleBlock();
        return {m_format.width, m_format.height, m_scale.text, std::move(m_items)};
    }

  private:
    // The largest standard scale at which the floor fits the drawing area.
    DrawingScale FittingScale(const Bounds& floor) const {
        const auto paperSize = [this](double units) {
            const double size = Mm(units * m_input.millimetresPerUnit);
            return std::isnan(size) ? 0 : size;
        };
        const double width = paperSize(floor.Width()), height = paperSize(floor.Height());
        for (int i = 0;; ++i) {
            DrawingScale scale = StandardScale(i, m_input.imperial);
            if (AtMost(width, (m_drawingRight - m_left) * scale.denominator) &&
                AtMost(height, (m_stripTop - m_top) * scale.denominator))
                return scale;
        }
    }

    void Frame() {
        m_items.push_back(PageRect{std::round(m_left), std::round(m_top), std::round(m_right),
                                   std::round(m_bottom), kFramePen, false});
        Line(m_left, m_stripTop, m_right, m_stripTop, kFramePen);
        Line(m_left + kLegendWidth, m_stripTop, m_left + kLegendWidth, m_bottom, kDividerPen);
        Line(TitleLeft(), m_stripTop, TitleLeft(), m_bottom, kDividerPen);
    }

    void Room(const SheetRoom& room, const PaperMap& map) {
        const Pen& pen = room.flagged ? kFlaggedPen : kOutlinePen;
        for (std::size_t i = 0; i < room.outline.size(); ++i) {
            const Point& a = room.outline[i];
            const Point& b = room.outline[(i + 1) % room.outline.size()];
            Line(map.X(a), map.Y(a), map.X(b), map.Y(b), pen);
        }
        if (m_input.zones.empty())
            for (const Point& s : room.speakers)
                Dot(map.X(s), map.Y(s), kDotPen);
        RoomLabel(room, map);
    }

    // The name over the speaker count, in the largest size that fits the room's extent on the
    // sheet; none when even the smallest would not.
    void RoomLabel(const SheetRoom& room, const PaperMap& map) {
        const std::array<std::string, 2> lines{room.flagged ? room.name + " (check)" : room.name,
                                               Count(room.speakers.size(), "speaker")};
        const Bounds extent = RingBounds(room.outline);
        for (const double size : kLabelSizes) {
            const double width = std::max(m_metrics.TextWidth(lines[0], size, false),
                                          m_metrics.TextWidth(lines[1], size, false));
            const double lineHeight = m_metrics.LineHeight(size, false);
            if (!AtMost(width, map.Length(extent.Width())) ||
                !AtMost(2 * lineHeight, map.Length(extent.Height())))
                continue;
            const Point centre = LabelCentre(room.outline);
            for (std::size_t i = 0; i < lines.size(); ++i)
                Centred(map.X(centre), map.Y(centre) + (i - 1.0) * lineHeight, lines[i], size);
            return;
        }
    }

    void Legend() {
        const double x = m_left + kInset;
        double y = m_stripTop + kInset;
        const double lineHeight = m_metrics.LineHeight(kLegendSize, false);
        Text(x, y, "Legend", kLegendSize, true);
        const double sampleEnd = x + 360, textX = x + 480;
        y += m_metrics.LineHeight(kLegendSize, true);
        Dot(x + 180, y + lineHeight / 2, kDotPen);
        Text(textX, y, "Speaker");
        y += lineHeight;
        Line(x, y + lineHeight / 2, sampleEnd, y + lineHeight / 2, kOutlinePen);
        Text(textX, y, "Room outline");
        y += lineHeight;
        Line(x, y + lineHeight / 2, sampleEnd, y + lineHeight / 2, kFlaggedPen);
        Text(textX, y, "Flagged room: check its layout");
        std::vector<std::string> flagged;
        for (const SheetRoom& room : m_input.rooms)
            if (room.flagged)
                flagged.push_back(room.name);
        if (!flagged.empty())
            Text(x, y + lineHeight, FlaggedList(flagged, kLegendWidth - 2 * kInset));
    }

    // Each zone's route under its speakers, the head-end over them, and the list of zones.
    void System(const PaperMap& map) {
        for (const SheetZone& zone : m_input.zones) {
            const Pen pen{ZoneColour(zone.number), 1};
            for (std::size_t i = 1; i < zone.route.size(); ++i) {
                const Point &a = zone.route[i - 1], &b = zone.route[i];
                Line(map.X(a), map.Y(a), map.X(b), map.Y(b), pen);
            }
            for (const Point& s : zone.speakers)
                Dot(map.X(s), map.Y(s), pen);
        }
        if (m_input.headEnd) {
            const double x = map.X(*m_input.headEnd), y = map.Y(*m_input.headEnd);
            Box(x - kHeadEndHalf, y - kHeadEndHalf, x + kHeadEndHalf, y + kHeadEndHalf, kDividerPen,
                true);
            // Above and right of the square, clear of cables leaving it across or down.
            Text(x + kHeadEndHalf + kInset / 2,
                 y - kHeadEndHalf - m_metrics.LineHeight(kZoneSize, true), "HEAD-END", kZoneSize,
                 true);
        }
        ZoneList();
    }

    // A line a zone down the column, as many as it holds; when they are more, the last line
    // counts the rest.
    void ZoneList() {
        Line(m_drawingRight, m_top, m_drawingRight, m_stripTop, kDividerPen);
        const double x = m_drawingRight + kInset;
        double y = m_top + kInset;
        Text(x, y, "Zones", kLegendSize, true);
        y += m_metrics.LineHeight(kLegendSize, true);
        const double lineHeight = m_metrics.LineHeight(kZoneSize, false);
        const std::size_t lines =
            static_cast<std::size_t>(std::floor((m_stripTop - kInset - y) / lineHeight + 1e-9));
        const std::vector<SheetZone>& zones = m_input.zones;
        const std::size_t shown =
            zones.size() <= lines ? zones.size() : std::max<std::size_t>(lines, 1) - 1;
        for (std::size_t i = 0; i < shown; ++i, y += lineHeight) {
            Box(x, y + lineHeight / 4, x + kSwatchWidth, y + 3 * lineHeight / 4,
                {ZoneColour(zones[i].number), 1}, true);
            Text(x + kZoneTextOffset, y, zones[i].legend, kZoneSize);
        }
        if (shown < zones.size())
            Text(x + kZoneTextOffset, y, "+" + std::to_string(zones.size() - shown) + " more",
                 kZoneSize);
    }

    // "Check: A, B, C", as many names as the width holds and the rest counted.
    std::string FlaggedList(const std::vector<std::string>& names, double width) const {
        const auto more = [&names](std::size_t from) {
            return from < names.size() ? ", +" + std::to_string(names.size() - from) + " more"
                                       : std::string();
        };
        std::string list = "Check: " + names[0];
        for (std::size_t i = 1; i < names.size(); ++i) {
            const std::string longer = list + ", " + names[i];
            if (!AtMost(m_metrics.TextWidth(longer + more(i + 1), kLegendSize, false), width))
                return list + more(i);
            list = longer;
        }
        return list;
    }

    // A bar of the longest round length that fits, its first half filled, the lengths above it
    // and the scale below.
    void ScaleBar() {
        const double twipsPerBarUnit = Mm(kBarUnitMillimetres(m_barSystem)) / m_scale.denominator;
        int k = 0;
        while (AtMost(OneTwoFive(k + 1) * twipsPerBarUnit, kLongestBar(m_barSystem)))
            ++k;
        const double length = OneTwoFive(k);
        const double x = std::round(m_left + kLegendWidth + 3 * kInset);
        const double y = std::round(m_stripTop + kBarTop);
        const double half = std::round(x + length / 2 * twipsPerBarUnit);
        const double end = std::round(x + length * twipsPerBarUnit);
        m_items.push_back(PageRect{x, y, half, y + kBarHeight, kDividerPen, true});
        m_items.push_back(PageRect{half, y, end, y + kBarHeight, kDividerPen, false});
        const double labelY = y - m_metrics.LineHeight(kLegendSize, false);
        Centred(x, labelY, "0", kLegendSize);
        Centred(half, labelY, Number(length / 2), kLegendSize);
        Centred(end, labelY, Number(length) + " " + kBarUnitName(m_barSystem), kLegendSize);
        Text(x, y + kBarHeight + kInset, "Scale " + m_scale.text);
    }

    void TitleBlock() {
        const double x = TitleLeft() + kInset;
        double y = m_stripTop + kInset;
        Text(x, y, m_input.planName, kPlanNameSize, true);
        y += m_metrics.LineHeight(kPlanNameSize, true);
        std::size_t speakers = 0;
        for (const SheetRoom& room : m_input.rooms)
            speakers += room.speakers.size();
        for (const std::string& line :
             {"Date: " + m_input.date, "Unit: " + m_input.unitName, "Scale: " + m_scale.text,
              Count(m_input.rooms.size(), "room") + ", " + Count(speakers, "speaker") +
                  (m_input.zones.empty() ? "" : ", " + Count(m_input.zones.size(), "zone"))}) {
            Text(x, y, line);
            y += m_metrics.LineHeight(kLegendSize, false);
        }
    }

    double TitleLeft() const { return m_right - kTitleBlockWidth; }

    void Text(double x, double y, std::string text, double size = kLegendSize, bool bold = false) {
        m_items.push_back(PageText{std::round(x), std::round(y), std::move(text), size, bold});
    }
    void Centred(double x, double y, std::string text, double size) {
        const double width = m_metrics.TextWidth(text, size, false);
        Text(x - width / 2, y, std::move(text), size);
    }
    void Dot(double x, double y, const Pen& pen) {
        m_items.push_back(PageDot{std::round(x), std::round(y), kSpeakerRadius, pen, true});
    }
    void Box(double x1, double y1, double x2, double y2, const Pen& pen, bool filled) {
        m_items.push_back(
            PageRect{std::round(x1), std::round(y1), std::round(x2), std::round(y2), pen, filled});
    }
    void Line(double x1, double y1, double x2, double y2, const Pen& pen) {
        m_items.push_back(
            PageLine{std::round(x1), std::round(y1), std::round(x2), std::round(y2), pen});
    }

    const FloorSheetInput& m_input;
    const TextMetrics& m_metrics;
    const SheetFormat& m_format;
    const Units m_barSystem;
    double m_left = 0, m_right = 0, m_top = 0, m_bottom = 0, m_stripTop = 0;
    double m_drawingRight = 0; // the drawing area's right: the frame's, or the zone column's left
    DrawingScale m_scale;
    std::vector<PageItem> m_items;
};

} // namespace

std::optional<SheetSize> ParseSheetSize(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const SheetFormat& f : kSheets)
        if (f.name == lower)
            return f.size;
    return std::nullopt;
}

FloorSheet ComposeFloorSheet(const FloorSheetInput& input, const TextMetrics& metrics) {
    return SheetComposer(input, metrics).Sheet();
}

QByteArray FloorSheetPdf(const FloorSheet& sheet, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    // The items are placed from the sheet's corner, so the page has no margins of its own.
    const QSizeF portrait(std::min(sheet.pageWidth, sheet.pageHeight) / kTwipsPerPoint,
                          std::max(sheet.pageWidth, sheet.pageHeight) / kTwipsPerPoint);
    pdf.setPageLayout(QPageLayout(QPageSize(portrait, QPageSize::Point),
                                  sheet.pageWidth > sheet.pageHeight ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait,
                                  QMarginsF()));
    pdf.setTitle(title);
    pdf.setCreator(QString("%1 %2").arg(kApplicationTitle, kApplicationVersion));
    QPainter painter(&pdf);
    PaintPage(painter, sheet.items, ProgramTypeface(10));
    painter.end();
    return bytes;
}
