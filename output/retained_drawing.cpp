#include "output/retained_drawing.h"

#include <QPainter>

#include <cmath>

namespace {
// The picture's fill colour, which the program never changes.
const QColor kFillColour = Qt::black;
} // namespace

void RetainedDrawing::SetUserRect(double x1, double y1, double x2, double y2) {
    m_user = QRectF(QPointF(x1, y1), QPointF(x2, y2));
}

void RetainedDrawing::Line(double x1, double y1, double x2, double y2, const QColor& colour) {
    m_shapes.push_back({DrawnShape::Kind::Line, x1, y1, x2, y2, colour, false});
}

void RetainedDrawing::Circle(double x, double y, double radius, const QColor& colour, bool filled) {
    m_shapes.push_back({DrawnShape::Kind::Circle, x, y, radius, 0, colour, filled});
}

void RetainedDrawing::Paint(QPainter& painter, const QRectF& target) const {
    painter.save();
    painter.fillRect(target, Qt::white);
    // A user rectangle of no width or height has nothing to map onto the target.
    if (m_user.width() != 0 && m_user.height() != 0) {
        const double sx = target.width() / m_user.width();
        const double sy = target.height() / m_user.height();
        const auto map = [&](double x, double y) {
            return QPointF(target.left() + (x - m_user.left()) * sx,
                           target.top() + (y - m_user.top()) * sy);
        };
        painter.setClipRect(target);
        for (const DrawnShape& shape : m_shapes) {
            QPen pen(shape.colour, 1, Qt::SolidLine);
            pen.setCosmetic(true);
            painter.setPen(pen);
            if (shape.kind == DrawnShape::Kind::Line) {
                painter.drawLine(map(shape.x1, shape.y1), map(shape.x2, shape.y2));
            } else {
                // The radius counts in x units on both axes, so a dot stays round.
                const double r = std::abs(shape.x2 * sx);
                painter.setBrush(shape.filled ? QBrush(kFillColour) : QBrush(Qt::NoBrush));
                painter.drawEllipse(map(shape.x1, shape.y1), r, r);
            }
        }
    }
    painter.restore();
}
