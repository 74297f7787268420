#include "output/commissioning_sheet.h"

#include "core/app_info.h"
#include "output/printer_output.h"
#include "output/typeface.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double Mm(double millimetres) {
    return millimetres * kTwipsPerInch / 25.4;
}

struct Paper {
    QPageSize::PageSizeId id;
    double width, height; // twips
};
Paper PaperOf(FormPaper paper) {
    return paper == FormPaper::Letter
               ? Paper{QPageSize::Letter, 8.5 * kTwipsPerInch, 11 * kTwipsPerInch}
               : Paper{QPageSize::A4, Mm(210), Mm(297)};
}

// Half an inch clear above and below; the table is as wide on either paper and centred on it.
constexpr double kMargin = 720;
constexpr double kHeadingGap = 120;
constexpr double kTitleSize = 12, kHeadingSize = 10, kCellSize = 8;
constexpr double kCellInset = 60;
// The header row holds two lines of heading; a row is 0.3 in, room to write in by hand.
constexpr double kHeaderHeight = 480;
constexpr double kHeaderTextTop = 48;
constexpr double kRowHeight = 432;
constexpr double kTableWidth = 10500;
constexpr std::array<double, 11> kColumnWidths{600, 1500, 900, 900, 1020, 1020,
                                               960, 1320, 900, 600, 780};
const Pen kGridPen{Qt::black, 1};

const std::string kEllipsis = "\u2026";

// Sizes that agree to rounding count as equal, so that a text or row that fits exactly fits.
bool AtMost(double size, double room) {
    return size <= room * (1 + 1e-9);
}

class FormComposer {
  public:
    FormComposer(const CommissioningInput& input, const TextMetrics& metrics)
        : m_input(input), m_metrics(metrics), m_paper(PaperOf(input.paper)),
          m_left((m_paper.width - kTableWidth) / 2),
          m_tableTop(kMargin + metrics.LineHeight(kTitleSize, true) +
                     2 * metrics.LineHeight(kHeadingSize, false) + kHeadingGap) {}

    std::vector<std::vector<PageItem>> Pages() {
        const std::size_t perPage = RowsPerPage(), points = m_input.points.size();
        const std::size_t count = std::max<std::size_t>(1, (points + perPage - 1) / perPage);
        std::vector<std::vector<PageItem>> pages;
        for (std::size_t page = 0; page < count; ++page) {
            const std::size_t first = page * perPage;
            Heading(page + 1, count);
            HeaderRow();
            const std::size_t rows = std::min(perPage, points - first);
            for (std::size_t row = 0; row < rows; ++row)
                Row(m_input.points[first + row], RowTop(row));
            Grid(rows);
            pages.push_back(std::move(m_items));
            m_items.clear();
        }
        return pages;
    }

  private:
    // Whole rows between the header row and the bottom margin; one at least, so that every
    // point has a page.
    std::size_t RowsPerPage() const {
        const double room = m_paper.height - kMargin - m_tableTop - kHeaderHeight;
        std::size_t rows = 1;
        while (AtMost((rows + 1) * kRowHeight, room))
            ++rows;
        return rows;
    }

    void Heading(std::size_t page, std::size_t pages) {
        double y = kMargin;
        Text(m_left, y, "Commissioning test points: " + m_input.planName, kTitleSize, true);
        const std::string number = "page " + std::to_string(page) + " of " + std::to_string(pages);
        Text(m_left + kTableWidth - m_metrics.TextWidth(number, kHeadingSize, false), y, number,
             kHeadingSize);
        y += m_metrics.LineHeight(kTitleSize, true);
        Text(m_left, y, "Date: " + m_input.date + "   Unit: " + m_input.unitName, kHeadingSize);
        y += m_metrics.LineHeight(kHeadingSize, false);
        Text(m_left, y, "Tolerance: " + m_input.tolerance, kHeadingSize);
    }

    void HeaderRow() {
        const std::string unit = "(" + m_input.unitName + ")";
        const std::array<std::array<std::string, 2>, kColumnWidths.size()> headings{{
            {"point", ""},
            {"room", ""},
            {"x", unit},
            {"y", unit},
            {"space", ""},
            {"target", ""},
            {"measured", "dBA"},
            {"bands within", "+-2 dB"},
            {"adjusted", ""},
            {"by", ""},
            {"date", ""},
        }};
        const double lineHeight = m_metrics.LineHeight(kCellSize, true);
        for (std::size_t c = 0; c < headings.size(); ++c)
            for (std::size_t line = 0; line < 2; ++line)
                Cell(c, m_tableTop + kHeaderTextTop + line * lineHeight, headings[c][line], true);
    }

    // The point's own cells; the ones to write in stay blank.
    void Row(const CommissioningPoint& p, double top) {
        const double y = top + (kRowHeight - m_metrics.LineHeight(kCellSize, false)) / 2;
        const std::array<std::string, 6> cells{p.point,     p.room,  Number(p.x),
                                               Number(p.y), p.space, p.target};
        for (std::size_t c = 0; c < cells.size(); ++c)
            Cell(c, y, cells[c], false);
    }

    // A line above and below every row and between every two columns: each cell a box.
    void Grid(std::size_t rows) {
        const double right = m_left + kTableWidth, bottom = RowTop(rows);
        Line(m_left, m_tableTop, right, m_tableTop);
        for (std::size_t row = 0; row <= rows; ++row)
            Line(m_left, RowTop(row), right, RowTop(row));
        double x = m_left;
        Line(x, m_tableTop, x, bottom);
        for (const double width : kColumnWidths)
            x += width, Line(x, m_tableTop, x, bottom);
    }

    double RowTop(std::size_t row) const { return m_tableTop + kHeaderHeight + row * kRowHeight; }

    double ColumnLeft(std::size_t column) const {
        double x = m_left;
        for (std::size_t c = 0; c < column; ++c)
            x += kColumnWidths[c];
        return x;
    }

    // To a tenth of a drawing unit, rounded before it is printed: a small negative value is
    // then 0.0, not -0.0.
    static std::string Number(double value) {
        return QString::number(std::round(value * 10) / 10, 'f', 1).toStdString();
    }

    void Cell(std::size_t column, double y, const std::string& text, bool bold) {
        if (text.empty())
            return;
        const double width = kColumnWidths[column] - 2 * kCellInset;
        Text(ColumnLeft(column) + kCellInset, y, Fitting(text, width, bold), kCellSize, bold);
    }

    // The text or, when it is wider than width, its longest beginning that fits with an
    // ellipsis after it, cut between characters.
    std::string Fitting(const std::string& text, double width, bool bold) const {
        if (AtMost(m_metrics.TextWidth(text, kCellSize, bold), width))
            return text;
        std::string cut = text;
        while (!cut.empty()) {
            do
                cut.pop_back();
            while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80);
            if (AtMost(m_metrics.TextWidth(cut + kEllipsis, kCellSize, bold), width))
                return cut + kEllipsis;
        }
        return cut;
    }

    void Text(double x, double y, std::string text, double size, bool bold = false) {
        m_items.push_back(PageText{std::round(x), std::round(y), std::move(text), size, bold});
    }
    void Line(double x1, double y1, double x2, double y2) {
        m_items.push_back(
            PageLine{std::round(x1), std::round(y1), std::round(x2), std::round(y2), kGridPen});
    }

    const CommissioningInput& m_input;
    const TextMetrics& m_metrics;
    const Paper m_paper;
    const double m_left;     // the table's
    const double m_tableTop; // the header row's
    std::vector<PageItem> m_items;
};

} // namespace

std::vector<std::vector<PageItem>> ComposeCommissioningPages(const CommissioningInput& input,
                                                             const TextMetrics& metrics) {
    return FormComposer(input, metrics).Pages();
}

QByteArray CommissioningPdf(const CommissioningInput& input, const QString& title) {
    const std::vector<std::vector<PageItem>> pages =
        ComposeCommissioningPages(input, ReportPaper());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    // The items are placed from the page's corner, so the page has no margins of its own.
    pdf.setPageLayout(
        QPageLayout(QPageSize(PaperOf(input.paper).id), QPageLayout::Portrait, QMarginsF()));
    pdf.setTitle(title);
    pdf.setCreator(QString("%1 %2").arg(kApplicationTitle, kApplicationVersion));
    QPainter painter(&pdf);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            pdf.newPage();
        PaintPage(painter, pages[i], ProgramTypeface(10));
    }
    painter.end();
    return bytes;
}
