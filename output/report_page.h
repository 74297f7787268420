// The printed page as data: texts and shapes at positions in twips (1440 to the inch) from the
// top-left corner of the printable area, with the metrics the page is laid out with and the one
// pass that paints it on a printer, a PDF or an image.
#pragma once

#include <QColor>

#include <string>
#include <variant>
#include <vector>

class QFont;
class QPainter;

enum class LineStyle { Solid, Dotted };

// A text, its line box's top-left corner at (x, y).
struct PageText {
    double x = 0, y = 0;
    std::string text;
    double fontSize = 0;
    bool bold = false;
    bool operator==(const PageText& o) const;
};

// How a shape is outlined: its colour, width in printer dots of 1/300 inch and style.
struct Pen {
    QColor colour = Qt::black;
    int lineWidth = 0;
    LineStyle lineStyle = LineStyle::Solid;
    bool operator==(const Pen& o) const;
};

struct PageLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Pen pen;
    bool operator==(const PageLine& o) const;
};

// A rectangle between two corners; filled means its interior takes the pen's colour.
struct PageRect {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Pen pen;
    bool filled = false;
    bool operator==(const PageRect& o) const;
};

// A round dot, such as a speaker, around its centre.
struct PageDot {
    double x = 0, y = 0;
    double radius = 0;
    Pen pen;
    bool filled = false;
    bool operator==(const PageDot& o) const;
};

using PageItem = std::variant<PageText, PageLine, PageRect, PageDot>;

// How much room text takes on the page it is laid out for, in twips.
class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    // Width of the printable area.
    virtual double PageWidth() const = 0;
    virtual double TextWidth(const std::string& text, double points, bool bold) const = 0;
    // The distance from one line to the next.
    virtual double LineHeight(double points, bool bold) const = 0;
};

// Fixed and simple metrics, so that every position on a page can be worked out by hand: the
// printable width is 11520 twips (8 inches: a letter page less quarter-inch margins); every
// character, counted as a UTF-8 code point, is 0.6 of the font size wide (12 twips per point,
// 120 at 10 pt) and a line 1.2 times the font size high (24 twips per point, 240 at 10 pt).
class FixedMetrics : public TextMetrics {
  public:
    static constexpr double kPageWidth = 11520;
    static constexpr double kCharWidthPerPoint = 12;
    static constexpr double kLineHeightPerPoint = 24;

    double PageWidth() const override { return kPageWidth; }
    double TextWidth(const std::string& text, double points, bool bold) const override;
    double LineHeight(double points, bool) const override { return points * kLineHeightPerPoint; }
};

// Paints the items on the painter's device, twips mapped to its pixels through its resolution,
// text in black in the given typeface at each item's size and boldness.
void PaintPage(QPainter& painter, const std::vector<PageItem>& items, const QFont& typeface);
