// What the room picture draws on, in the program's own units, so the drawing code never sees
// which widget stands behind it.
#pragma once

#include <QColor>

class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;
    // (x1, y1) becomes the inner top-left corner and (x2, y2) the inner bottom-right corner.
    virtual void SetUserRect(double x1, double y1, double x2, double y2) = 0;
    // Erases everything drawn, back to the background.
    virtual void Clear() = 0;
    virtual void Line(double x1, double y1, double x2, double y2, const QColor& colour) = 0;
    // A full circle; the radius is in units of the x axis. A filled one is solid black inside.
    virtual void Circle(double x, double y, double radius, const QColor& colour, bool filled) = 0;
};
