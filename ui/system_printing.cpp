#include "output/print_report.h"
#include "output/qt_printer_device.h"
#include "ui/report_printing.h"

std::string SystemPrinting::Print(const DesignState& s, MessageBoxes& boxes) {
    ReportDestination where;
    const std::unique_ptr<PrinterDevice> printer = OpenReportPrinter(where);
    if (PrintReport(*printer, s, boxes) != PrintOutcome::Printed || !where.isPdf)
        return {};
    return "No printer is installed. The report was saved as " + where.path.toStdString();
}
