#include "output/page_recorder.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace {
constexpr double kTwipsPerInch = 1440;
} // namespace

bool PageItem::operator==(const PageItem& o) const {
    return kind == o.kind && x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 &&
           radius == o.radius && text == o.text && fontSize == o.fontSize && bold == o.bold &&
           colour == o.colour && drawWidth == o.drawWidth && drawStyle == o.drawStyle &&
           fillStyle == o.fillStyle && fillColour == o.fillColour;
}

double PageRecorder::ScaleWidth() {
    BeforeOperation();
    return PrintableWidth();
}

void PageRecorder::SetFontSize(double points) {
    BeforeOperation();
    m_fontSize = points;
}

void PageRecorder::SetFontBold(bool bold) {
    BeforeOperation();
    m_bold = bold;
}

void PageRecorder::SetCurrentX(double x) {
    BeforeOperation();
    m_x = x;
}

void PageRecorder::SetCurrentY(double y) {
    BeforeOperation();
    m_y = y;
}

double PageRecorder::CurrentX() {
    BeforeOperation();
    return m_x;
}

double PageRecorder::CurrentY() {
    BeforeOperation();
    return m_y;
}

double PageRecorder::TextWidth(const std::string& text) {
    BeforeOperation();
    return MeasureText(text, m_fontSize, m_bold);
}

void PageRecorder::Print(const std::string& text, bool endLine) {
    BeforeOperation();
    PageItem item;
    item.kind = PageItem::Kind::Text;
    item.x1 = m_x;
    item.y1 = m_y;
    item.text = text;
    item.fontSize = m_fontSize;
    item.bold = m_bold;
    const double width = MeasureText(text, m_fontSize, m_bold);
    const double height = LineHeight(m_fontSize, m_bold);
    m_items.push_back(std::move(item));
    if (endLine) {
        m_x = 0;
        m_y += height;
    } else {
        m_x += width;
    }
}

void PageRecorder::SetDrawWidth(int pixels) {
    BeforeOperation();
    m_drawWidth = pixels;
}

void PageRecorder::SetDrawStyle(int style) {
    BeforeOperation();
    m_drawStyle = style;
}

void PageRecorder::SetFillStyle(int style) {
    BeforeOperation();
    m_fillStyle = style;
}

void PageRecorder::SetFillColor(const QColor& colour) {
    BeforeOperation();
    m_fillColour = colour;
}

PageItem PageRecorder::Shape(PageItem::Kind kind, double x1, double y1, double x2, double y2,
                             const QColor& colour) const {
    PageItem item;
    item.kind = kind;
    item.x1 = x1;
    item.y1 = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.colour = colour;
    item.drawWidth = m_drawWidth;
    item.drawStyle = m_drawStyle;
    item.fillStyle = m_fillStyle;
    item.fillColour = m_fillColour;
    return item;
}

void PageRecorder::Line(double x1, double y1, double x2, double y2, const QColor& colour) {
    BeforeOperation();
    m_items.push_back(Shape(PageItem::Kind::Line, x1, y1, x2, y2, colour));
}

void PageRecorder::Box(double x1, double y1, double x2, double y2, const QColor& colour) {
    BeforeOperation();
    m_items.push_back(Shape(PageItem::Kind::Box, x1, y1, x2, y2, colour));
}

void PageRecorder::Circle(double x, double y, double radius, const QColor& colour) {
    BeforeOperation();
    PageItem item = Shape(PageItem::Kind::Circle, x, y, 0, 0, colour);
    item.radius = radius;
    m_items.push_back(std::move(item));
}

namespace {
constexpr double kPrinterDotsPerInch = 300;
} // namespace

void PaintPage(QPainter& painter, const std::vector<PageItem>& items, const QFont& typeface) {
    const QPaintDevice& device = *painter.device();
    const double sx = device.logicalDpiX() / kTwipsPerInch;
    const double sy = device.logicalDpiY() / kTwipsPerInch;
    const auto at = [&](double x, double y) { return QPointF(x * sx, y * sy); };
    painter.save();
    for (const PageItem& item : items) {
        if (item.kind == PageItem::Kind::Text) {
            QFont font = typeface;
            font.setPointSizeF(item.fontSize);
            font.setBold(item.bold);
            painter.setFont(font);
            painter.setPen(Qt::black);
            const QFontMetricsF metrics(font, painter.device());
            painter.drawText(at(item.x1, item.y1) + QPointF(0, metrics.ascent()),
                             QString::fromStdString(item.text));
            continue;
        }
        // A draw width counts printer dots of 1/300 inch, so the heavy outline and ticks look
        // the same on every printer and in a high-resolution PDF.
        QPen pen(item.colour, item.drawWidth * device.logicalDpiX() / kPrinterDotsPerInch,
                 item.drawStyle == kDrawDotted ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap);
        painter.setPen(pen);
        painter.setBrush(item.fillStyle == kFillSolid ? QBrush(item.fillColour)
                                                      : QBrush(Qt::NoBrush));
        switch (item.kind) {
        case PageItem::Kind::Line:
            painter.drawLine(at(item.x1, item.y1), at(item.x2, item.y2));
            break;
        case PageItem::Kind::Box:
            painter.drawRect(QRectF(at(item.x1, item.y1), at(item.x2, item.y2)).normalized());
            break;
        case PageItem::Kind::Circle:
            painter.drawEllipse(at(item.x1, item.y1), item.radius * sx, item.radius * sx);
            break;
        case PageItem::Kind::Text:
            break;
        }
    }
    painter.restore();
}
