// Build tool: writes the program's icon as a freedesktop hicolor tree,
//   make_icon DIR NAME SIZE...
// giving DIR/SIZExSIZE/apps/NAME.png for each size and DIR/scalable/apps/NAME.svg.
#include "desktop/app_icon.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icon DIR NAME SIZE...\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString dir = QString("%1x%1/apps").arg(size);
        if (size <= 0 || !root.mkpath(dir) ||
            !AppIconImage(size).save(root.filePath(dir + "/" + name + ".png"), "PNG")) {
            std::fprintf(stderr, "make_icon: cannot write the %s icon\n", argv[i]);
            return 1;
        }
    }
    QFile svg(root.filePath("scalable/apps/" + name + ".svg"));
    if (!root.mkpath("scalable/apps") || !svg.open(QIODevice::WriteOnly) ||
        svg.write(AppIconSvg().toUtf8()) < 0) {
        std::fprintf(stderr, "make_icon: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}
