// The program's icon: a room seen from above, white with a dark wall line, and its grid of
// masking speakers as black dots on grey grid lines. One description of the picture is drawn
// with QPainter for the window and the fixed-size theme icons, and written out as SVG for the
// scalable one, so every copy shows the same picture.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

// The picture on a transparent square of size by size pixels.
QImage AppIconImage(int size);
QString AppIconSvg();
// The window icon, in the sizes a desktop asks for.
QIcon AppIcon();
