#include "output/report_page.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {
constexpr double kTwipsPerInch = 1440;
constexpr double kPrinterDotsPerInch = 300;
} // namespace

bool PageItem::operator==(const PageItem& o) const {
    return kind == o.kind && x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 &&
           radius == o.radius && text == o.text && fontSize == o.fontSize && bold == o.bold &&
           colour == o.colour && lineWidth == o.lineWidth && lineStyle == o.lineStyle &&
           filled == o.filled;
}

double FixedMetrics::TextWidth(const std::string& text, double points, bool) const {
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80; // not a continuation byte
    });
    return static_cast<double>(chars) * points * kCharWidthPerPoint;
}

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
        // A line width counts printer dots, so the heavy outline and ticks look the same on
        // every printer and in a high-resolution PDF.
        QPen pen(item.colour, item.lineWidth * device.logicalDpiX() / kPrinterDotsPerInch,
                 item.lineStyle == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap);
        painter.setPen(pen);
        painter.setBrush(item.filled ? QBrush(item.colour) : QBrush(Qt::NoBrush));
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
