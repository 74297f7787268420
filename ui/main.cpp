// Starts the program: one window, its message boxes, its queued keystrokes and its printer.
#include "core/app_info.h"
#include "desktop/app_icon.h"
#include "output/typeface.h"
#include "ui/first_paint_probe.h"
#include "ui/main_form.h"
#include "ui/qt_message_boxes.h"
#include "ui/report_printing.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QApplication::setApplicationVersion(kApplicationVersion);
    QApplication::setDesktopFileName(kApplicationName); // ties the window to its launcher
    QApplication::setWindowIcon(AppIcon());
    // The window's own face for everything, message boxes included: one family to load.
    QApplication::setFont(ProgramTypeface(8.25));
    QtMessageBoxes boxes;
    HandlerQueue queue;
    QueuedKeys keys(queue);
    SystemPrinting printing;
    MainForm form(boxes, keys, queue, printing);
    boxes.SetParent(&form);
    FirstPaintProbe::InstallOn(&form);
    form.show();
    return app.exec();
}
