// The program's sans-serif face, for the window and the printed page alike. Liberation Sans
// keeps the proportions of the classic dialog and printer faces the layout was designed with,
// so captions fit their controls and the report's lines fit the page.
#pragma once

#include <QFont>

inline QFont ProgramTypeface(double points, bool bold = false) {
    QFont f;
    f.setFamilies({"Liberation Sans", "Arial", "Helvetica", "DejaVu Sans"});
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}
