// A drawing surface that keeps what was drawn, in user coordinates, so the window's picture can
// paint it again whenever it is uncovered or resized.
#pragma once

#include "output/drawing_surface.h"

#include <QRectF>
#include <vector>

class QPainter;

struct DrawnShape {
    enum class Kind { Line, Circle };
    Kind kind = Kind::Line;
    // A line from (x1, y1) to (x2, y2); a circle centred on (x1, y1) with radius x2.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QColor colour;
    bool filled = false;
    bool operator==(const DrawnShape& o) const {
        return kind == o.kind && x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 &&
               colour == o.colour && filled == o.filled;
    }
};

class RetainedDrawing : public DrawingSurface {
  public:
    void SetUserRect(double x1, double y1, double x2, double y2) override;
    void Clear() override { m_shapes.clear(); }
    void Line(double x1, double y1, double x2, double y2, const QColor& colour) override;
    void Circle(double x, double y, double radius, const QColor& colour, bool filled) override;

    // Paints the white background and every shape, the user rectangle mapped onto target.
    // Lines are one pixel wide and solid; filled circles are solid black.
    void Paint(QPainter& painter, const QRectF& target) const;

    const std::vector<DrawnShape>& Shapes() const { return m_shapes; }
    // Left, top, right and bottom of the user coordinates.
    QRectF UserRect() const { return m_user; }

  private:
    QRectF m_user{0, 0, 1, 1};
    std::vector<DrawnShape> m_shapes;
};
