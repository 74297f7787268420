#include "ui/frame_box.h"

#include <QPainter>

FrameBox::FrameBox(const QString& caption, QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true); // a frame hides what lies under it
    SetCaption(caption);
}

void FrameBox::SetCaption(const QString& caption) {
    m_caption = caption;
    setAccessibleName(caption);
    update();
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect box = rect().adjusted(0, top, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(box);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(box.adjusted(1, 1, 1, 1));
    if (m_caption.isEmpty())
        return;
    const int left = 6;
    const QRect title(left, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
    p.fillRect(title, palette().color(QPalette::Window));
    p.setPen(QColor(0, 0, 255));
    p.drawText(title, Qt::AlignCenter, m_caption);
}
