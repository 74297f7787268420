// What the room picture and the printed page can both draw, in the program's own units, so the
// drawing code never sees which widget, printer or recorder stands behind it.
#pragma once

#include <QColor>

// Shapes common to every output: positions and radii are in the surface's own coordinates.
class ShapeSurface {
  public:
    virtual ~ShapeSurface() = default;
    virtual void Line(double x1, double y1, double x2, double y2, const QColor& colour) = 0;
    // A full circle; the radius is in units of the x axis, the interior as the fill style says.
    virtual void Circle(double x, double y, double radius, const QColor& colour) = 0;
    // 0: shapes drawn next are filled solid with the fill colour; 1: they are not filled.
    virtual void SetFillStyle(int style) = 0;
};

// A picture that can be given user coordinates and erased.
class DrawingSurface : public ShapeSurface {
  public:
    // (x1, y1) becomes the inner top-left corner and (x2, y2) the inner bottom-right corner.
    virtual void Scale(double x1, double y1, double x2, double y2) = 0;
    // Erases everything drawn, back to the background.
    virtual void Cls() = 0;
};

inline constexpr int kFillSolid = 0;
inline constexpr int kFillTransparent = 1;

// An entry 0..15 of the classic 16-colour palette; 0 is black, 7 light grey (192, 192, 192).
QColor QBColor(int index);
