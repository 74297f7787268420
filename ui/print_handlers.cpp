// Print Results opens the layout-description frame; Print closes it and prints the report to
// the system's printer, or to a PDF file when there is none.
#include "output/print_report.h"
#include "output/printer_device.h"
#include "ui/frame_box.h"
#include "ui/main_form.h"
#include "ui/report_printing.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void MainForm::CmdPrint_Click() {
    MoveTo(FramNote, 60, 5460);
    FramNote->raise();
    FramNote->setVisible(true);
    TxtDescription->setFocus(Qt::OtherFocusReason);
}

void MainForm::CmdPrt_Click() {
    FramNote->setVisible(false);
    std::string where;
    std::unique_ptr<PrinterDevice> printer;
    while (!printer) {
        try {
            printer = m_printing.Open(where);
        } catch (const PrinterError& failure) {
            const MsgAnswer answer =
                m_boxes.Show(std::string(failure.what()) + " error occurred.", MsgIcon::Critical,
                             "Printer Error", MsgButtons::RetryCancel);
            if (answer == MsgAnswer::Cancel)
                return;
        }
    }
    if (PrintReport(*printer, m_s, m_boxes) == PrintOutcome::Printed && !where.empty())
        SetNote(where);
}
