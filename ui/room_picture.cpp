#include "ui/room_picture.h"

#include <QPainter>

RoomPicture::RoomPicture(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRectF RoomPicture::InnerRect() const {
    return QRectF(rect()).adjusted(1, 1, -1, -1);
}

void RoomPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF inner = InnerRect();
    if (inner.isEmpty())
        return; // a room so narrow that its picture is all border
    p.setClipRect(inner);
    m_drawing.Paint(p, inner);
}
