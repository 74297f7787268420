#include "output/printer_output.h"
#include "ui/report_printing.h"

#include <QDateTime>

SystemPrinting::SystemPrinting() = default;
SystemPrinting::~SystemPrinting() = default;

std::string SystemPrinting::Print(const DesignState& s, MessageBoxes& boxes) {
    m_measure.reset();
    const std::unique_ptr<PrinterOutput> output =
        OpenReportOutput(s.description, QDateTime::currentDateTime());
    if (PrintReport(*output, s, boxes) != PrintOutcome::Printed || output->SavedPath().isEmpty())
        return {};
    return "No printer is installed. The report was saved as " + output->SavedPath().toStdString();
}

std::string SystemPrinting::FitDescription(const std::string& description) {
    if (!m_measure)
        m_measure = NextReportPaper();
    return FittingDescription(*m_measure, description);
}
