// The commissioning form: the test points of a system as a table the installer fills in on site,
// one row a point with blank boxes for what was measured, whether the bands are within
// tolerance, what was adjusted, by whom and when. The header row repeats on every page under a
// heading with the plan, the tolerance and "page 1 of 3". Pages are composed as page items,
// positions in twips from the page's top-left corner, and painted to a portrait PDF.
#pragma once

#include "output/report_page.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

enum class FormPaper { Letter, A4 }; // portrait

struct CommissioningPoint {
    std::string point, room, space;
    double x = 0, y = 0; // drawing units
    std::string target;  // e.g. "45-48 dBA"
};

struct CommissioningInput {
    std::string planName, date, unitName;
    std::string tolerance; // e.g. "+-0.5 dBA overall, +-2 dB per third-octave band"
    std::vector<CommissioningPoint> points;
    FormPaper paper = FormPaper::Letter;
};

// The form's pages, at least one; metrics measure the text, the page is the input's paper. A
// text too long for its cell is cut and ends in an ellipsis.
std::vector<std::vector<PageItem>> ComposeCommissioningPages(const CommissioningInput& input,
                                                             const TextMetrics& metrics);

// The form as a PDF titled title, a page of the input's paper for each composed page, laid out
// with the metrics of the report's paper and painted by PaintPage.
QByteArray CommissioningPdf(const CommissioningInput& input, const QString& title);
