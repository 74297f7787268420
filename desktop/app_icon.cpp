#include "desktop/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Designed on a 256-unit square. The speakers stand half a spacing from the walls, as the
// program lays them out.
const double kCanvas = 256;
const QRectF kRoom(16, 40, 224, 176);
const double kWallWidth = 12;
const double kGridWidth = 6;
const double kDotRadius = 20;
const double kColumns[] = {16 + 224.0 / 6, 16 + 224.0 / 2, 16 + 224.0 * 5 / 6};
const double kRows[] = {40 + 176.0 / 4, 40 + 176.0 * 3 / 4};
const QColor kWall(0x30, 0x30, 0x30);
const QColor kGrid(0xa0, 0xa0, 0xa0);

QString Number(double v) {
    return QString::number(v, 'f', 2);
}

} // namespace

QImage AppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    p.fillRect(kRoom, Qt::white);
    p.setPen(QPen(kGrid, kGridWidth, Qt::SolidLine, Qt::FlatCap));
    for (double x : kColumns)
        p.drawLine(QPointF(x, kRoom.top()), QPointF(x, kRoom.bottom()));
    for (double y : kRows)
        p.drawLine(QPointF(kRoom.left(), y), QPointF(kRoom.right(), y));
    p.setPen(QPen(kWall, kWallWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(kRoom);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (double x : kColumns)
        for (double y : kRows)
            p.drawEllipse(QPointF(x, y), kDotRadius, kDotRadius);
    return image;
}

QString AppIconSvg() {
    QString svg = QString("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n")
                      .arg(kCanvas);
    const QString room = QString("x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"")
                             .arg(Number(kRoom.x()), Number(kRoom.y()), Number(kRoom.width()),
                                  Number(kRoom.height()));
    svg += QString("  <rect %1 fill=\"#ffffff\"/>\n").arg(room);
    QString grid;
    for (double x : kColumns)
        grid += QString("M%1 %2V%3").arg(Number(x), Number(kRoom.top()), Number(kRoom.bottom()));
    for (double y : kRows)
        grid += QString("M%1 %2H%3").arg(Number(kRoom.left()), Number(y), Number(kRoom.right()));
    svg += QString("  <path d=\"%1\" stroke=\"%2\" stroke-width=\"%3\"/>\n")
               .arg(grid, kGrid.name(), Number(kGridWidth));
    svg += QString("  <rect %1 fill=\"none\" stroke=\"%2\" stroke-width=\"%3\"/>\n")
               .arg(room, kWall.name(), Number(kWallWidth));
    for (double x : kColumns)
        for (double y : kRows)
            svg += QString("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"#000000\"/>\n")
                       .arg(Number(x), Number(y), Number(kDotRadius));
    svg += "</svg>\n";
    return svg;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    return icon;
}
