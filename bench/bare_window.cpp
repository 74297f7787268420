// The floor of the start-up benchmark: an empty top-level window the size of the program's
// window (657 x 473 logical pixels), built with the same flags and answering the same probe.
// With --label it shows one line of text in the default font, which is the price any window
// pays for text: the font database and one font loaded, shaped and drawn.
#include "bench/first_paint_probe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(657, 473);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
        new QLabel("Measurement System", &window);
    FirstPaintProbe::InstallOn(&window);
    window.show();
    return app.exec();
}
