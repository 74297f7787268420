#include "output/report_page.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {
constexpr double kTwipsPerInch = 1440;
constexpr double kPrinterDotsPerInch = 300;
} // namespace

bool PageText::operator==(const PageText& o) const {
    return x == o.x && y == o.y && text == o.text && fontSize == o.fontSize && bold == o.bold;
}
bool Pen::operator==(const Pen& o) const {
    return colour == o.colour && lineWidth == o.lineWidth && lineStyle == o.lineStyle;
}
bool PageLine::operator==(const PageLine& o) const {
    return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 && pen == o.pen;
}
bool PageRect::operator==(const PageRect& o) const {
    return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 && pen == o.pen &&
           filled == o.filled;
}
bool PageDot::operator==(const PageDot& o) const {
    return x == o.x && y == o.y && radius == o.radius && pen == o.pen && filled == o.filled;
}

double FixedMetrics::TextWidth(const std::string& text, double points, bool) const {
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80; // not a continuation byte
    });
    return static_cast<double>(chars) * points * kCharWidthPerPoint;
}

namespace {

// Paints one item; twips become the device's pixels through its resolution.
class ItemPainter {
  public:
    ItemPainter(QPainter& painter, const QFont& typeface)
        : m_painter(painter), m_typeface(typeface),
          m_sx(painter.device()->logicalDpiX() / kTwipsPerInch),
          m_sy(painter.device()->logicalDpiY() / kTwipsPerInch) {}

    void operator()(const PageText& t) const {
        QFont font = m_typeface;
        font.setPointSizeF(t.fontSize);
        font.setBold(t.bold);
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
        const QFontMetricsF metrics(font, m_painter.device());
        m_painter.drawText(At(t.x, t.y) + QPointF(0, metrics.ascent()),
                           QString::fromStdString(t.text));
    }
    void operator()(const PageLine& l) const {
        Outline(l.pen, false);
        m_painter.drawLine(At(l.x1, l.y1), At(l.x2, l.y2));
    }
    void operator()(const PageRect& r) const {
        Outline(r.pen, r.filled);
        m_painter.drawRect(QRectF(At(r.x1, r.y1), At(r.x2, r.y2)).normalized());
    }
    void operator()(const PageDot& d) const {
        Outline(d.pen, d.filled);
        m_painter.drawEllipse(At(d.x, d.y), d.radius * m_sx, d.radius * m_sx);
    }

  private:
    QPointF At(double x, double y) const { return QPointF(x * m_sx, y * m_sy); }
    // A line width counts printer dots, so the heavy outline and ticks look the same on every
    // printer and in a high-resolution PDF.
    void Outline(const Pen& pen, bool filled) const {
        const double dotsPerPixel = m_painter.device()->logicalDpiX() / kPrinterDotsPerInch;
        m_painter.setPen(QPen(pen.colour, pen.lineWidth * dotsPerPixel,
                              pen.lineStyle == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine,
                              Qt::FlatCap));
        m_painter.setBrush(filled ? QBrush(pen.colour) : QBrush(Qt::NoBrush));
    }

    QPainter& m_painter;
    const QFont& m_typeface;
    const double m_sx;
    const double m_sy;
};

} // namespace

void PaintPage(QPainter& painter, const std::vector<PageItem>& items, const QFont& typeface) {
    painter.save();
    const ItemPainter paint(painter, typeface);
    for (const PageItem& item : items)
        std::visit(paint, item);
    painter.restore();
}
