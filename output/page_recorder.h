// A printer device that keeps its page as a list of items instead of drawing at once. The
// recording printer of the tests and the real printer share it: the real one measures text with
// the printer's own font and paints the finished page in one go when the document ends, so an
// abandoned run never starts a print job or leaves a half-written file.
#pragma once

#include "output/printer_device.h"

#include <string>
#include <vector>

class QFont;
class QPainter;

struct PageItem {
    enum class Kind { Text, Line, Box, Circle };
    Kind kind = Kind::Text;
    // Text: the top-left corner of its line box at (x1, y1). Line and Box: corners (x1, y1) and
    // (x2, y2). Circle: centre (x1, y1) and the radius.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double radius = 0;
    std::string text;
    double fontSize = 0;
    bool bold = false;
    QColor colour;
    int drawWidth = 0;
    int drawStyle = 0;
    int fillStyle = 0;
    QColor fillColour;
    bool operator==(const PageItem& o) const;
    bool operator!=(const PageItem& o) const { return !(*this == o); }
};

class PageRecorder : public PrinterDevice {
  public:
    double ScaleWidth() override;
    void SetFontSize(double points) override;
    void SetFontBold(bool bold) override;
    void SetCurrentX(double x) override;
    void SetCurrentY(double y) override;
    double CurrentX() override;
    double CurrentY() override;
    double TextWidth(const std::string& text) override;
    void Print(const std::string& text, bool endLine) override;
    void SetDrawWidth(int pixels) override;
    void SetDrawStyle(int style) override;
    void SetFillStyle(int style) override;
    void SetFillColor(const QColor& colour) override;
    void Line(double x1, double y1, double x2, double y2, const QColor& colour) override;
    void Box(double x1, double y1, double x2, double y2, const QColor& colour) override;
    void Circle(double x, double y, double radius, const QColor& colour) override;

    const std::vector<PageItem>& Items() const { return m_items; }

  protected:
    // Runs first in every operation; throwing PrinterError here refuses the operation.
    virtual void BeforeOperation() {}
    virtual double PrintableWidth() const = 0;
    virtual double MeasureText(const std::string& text, double points, bool bold) const = 0;
    virtual double LineHeight(double points, bool bold) const = 0;
    void DiscardPage() { m_items.clear(); }

  private:
    PageItem Shape(PageItem::Kind kind, double x1, double y1, double x2, double y2,
                   const QColor& colour) const;

    std::vector<PageItem> m_items;
    double m_x = 0;
    double m_y = 0;
    double m_fontSize = 10;
    bool m_bold = false;
    int m_drawWidth = 1;
    int m_drawStyle = kDrawSolid;
    int m_fillStyle = kFillTransparent;
    QColor m_fillColour = Qt::black;
};

// Paints the items on the painter's device, twips mapped to its pixels through its resolution,
// text in the given typeface at each item's size and boldness.
void PaintPage(QPainter& painter, const std::vector<PageItem>& items, const QFont& typeface);
