// Print Results opens the layout-description frame; Print closes it and prints the report.
#include "ui/frame_box.h"
#include "ui/main_form.h"
#include "ui/report_printing.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

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
    // Hiding the frame would hand the focus on to Exit, where one more Enter ends the program
    // and the design with it. On Print Results another Enter only offers the description again.
    CmdPrint->setFocus(Qt::OtherFocusReason);
}

// The description is printed on one line of the report: a pasted line break or tab becomes a
// blank, and the box keeps no more than the line holds.
void MainForm::TxtDescription_Change() {
    const QString typed = TxtDescription->text();
    QString text = typed;
    text.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ').replace('\t', ' ');
    text = QString::fromStdString(m_printing.FitDescription(text.toStdString()));
    if (text == typed)
        return;
    const int cursor = std::min<int>(TxtDescription->cursorPosition(), int(text.size()));
    TxtDescription->setText(text); // comes back here with nothing left to change
    TxtDescription->setCursorPosition(cursor);
}
