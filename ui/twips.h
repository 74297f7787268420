// Window positions and sizes are designed in twips: 15 to a pixel at 96 dots per inch. Qt's
// device-pixel ratio scales those pixels on denser screens.
#pragma once

#include <QWidget>
#include <QtMath>

inline int Px(double twips) {
    return qRound(twips / 15.0);
}

inline void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

inline void MoveTo(QWidget* w, int left, int top) {
    w->move(Px(left), Px(top));
}
