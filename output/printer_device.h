// The printer as the report sees it: a page addressed in twips (1440 to the inch) from the
// top-left corner of the printable area, with a print position, a current font and the line
// and fill settings of the classic printer object.
#pragma once

#include "output/drawing_surface.h"

#include <stdexcept>
#include <string>

// A refused or failed printer operation. Its description is what the user is told.
class PrinterError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    std::string Description() const { return what(); }
};

inline constexpr int kDrawSolid = 0;
inline constexpr int kDrawDotted = 2;

// Every operation may throw PrinterError; one that throws has had no effect, so the caller can
// simply try it again. Line, Circle and Box use the current draw width, draw style, fill style
// and fill colour.
class PrinterDevice : public ShapeSurface {
  public:
    // Width of the printable area, in twips.
    virtual double ScaleWidth() = 0;
    virtual void SetFontSize(double points) = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual void SetCurrentX(double x) = 0;
    virtual void SetCurrentY(double y) = 0;
    virtual double CurrentX() = 0;
    virtual double CurrentY() = 0;
    // Width in twips the text would take in the current font.
    virtual double TextWidth(const std::string& text) = 0;
    // Draws the text with the top-left corner of its line box at the print position. Ending
    // the line moves the position to x = 0, one line height of the current font down; otherwise
    // the position is left just after the text.
    virtual void Print(const std::string& text, bool endLine) = 0;
    // Width of the lines drawn next, in device pixels.
    virtual void SetDrawWidth(int pixels) = 0;
    // kDrawSolid or kDrawDotted.
    virtual void SetDrawStyle(int style) = 0;
    virtual void SetFillColor(const QColor& colour) = 0;
    // The outline of the rectangle with these opposite corners, interior per fill style.
    virtual void Box(double x1, double y1, double x2, double y2, const QColor& colour) = 0;
    // Ends the document and releases the page.
    virtual void EndDoc() = 0;
    // Abandons the document: nothing of it is printed or left behind.
    virtual void Abort() noexcept = 0;
};
