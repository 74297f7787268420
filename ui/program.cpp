#include "ui/program.h"

#include "core/app_info.h"
#include "desktop/app_icon.h"
#include "output/typeface.h"
#include "ui/main_window.h"
#include "ui/qt_message_boxes.h"
#include "ui/report_printing.h"

#include <QApplication>

int runProgram(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QApplication::setApplicationVersion(kApplicationVersion);
    QApplication::setDesktopFileName(kApplicationName); // ties the window to its launcher
    QApplication::setWindowIcon(AppIcon());
    // The window's own face for everything, message boxes included: one family to load.
    QApplication::setFont(ProgramTypeface(8.25));
    QtMessageBoxes boxes;
    SystemPrinting printing;
    MainWindow form(boxes, printing);
    boxes.SetParent(&form);
    if (beforeShow)
        beforeShow(form);
    form.show();
    return app.exec();
}
