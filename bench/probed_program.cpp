// The program as it ships, answering the start-up probe: the benchmark times this one.
#include "bench/first_paint_probe.h"
#include "ui/program.h"

#include <QWidget>

int main(int argc, char** argv) {
    return runProgram(argc, argv, [](QWidget& window) { FirstPaintProbe::InstallOn(&window); });
}
