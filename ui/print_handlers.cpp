// Print Results opens the layout-description frame; Print closes it and prints the report.
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
    const std::string where = m_printing.Print(m_s, m_boxes);
    if (!where.empty())
        SetNote(where);
}
