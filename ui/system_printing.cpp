#include "output/print_report.h"
#include "output/qt_printer_device.h"
#include "ui/report_printing.h"

#include <QDateTime>

SystemPrinting::SystemPrinting() = default;
SystemPrinting::~SystemPrinting() = default;

std::string SystemPrinting::Print(const DesignState& s, MessageBoxes& boxes) {
    m_measure.reset();
    const std::unique_ptr<QtPrinterDevice> printer =
        OpenReportPrinter(s.Descr, QDateTime::currentDateTime());
    if (PrintReport(*printer, s, boxes) != PrintOutcome::Printed || printer->SavedPath().isEmpty())
        return {};
    return "No printer is installed. The report was saved as " + printer->SavedPath().toStdString();
}

std::string SystemPrinting::FitDescription(const std::string& description) {
    if (!m_measure)
        m_measure = OpenReportPrinter({}, QDateTime::currentDateTime());
    return FittingDescription(*m_measure, description);
}
