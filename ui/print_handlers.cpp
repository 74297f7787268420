// Print Results opens the layout-description frame; Print closes it and prints the report.
#include "ui/frame_box.h"
#include "ui/main_window.h"
#include "ui/report_printing.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

void MainWindow::offerDescription() {
    MoveTo(m_description.frame, 60, 5460);
    m_description.frame->raise();
    m_description.frame->setVisible(true);
    m_description.text->setFocus(Qt::OtherFocusReason);
}

void MainWindow::printReport() {
    m_description.frame->setVisible(false);
    const std::string where = m_printing.Print(state(), m_boxes);
    if (!where.empty())
        setNote(where);
    // Hiding the frame would hand the focus on to Exit, where one more Enter ends the program
    // and the design with it. On Print Results another Enter only offers the description again.
    m_printResults->setFocus(Qt::OtherFocusReason);
}

// The description is printed on one line of the report: a pasted line break or tab becomes a
// blank, and the box keeps no more than the line holds.
void MainWindow::fitDescription() {
    const QString typed = m_description.text->text();
    QString text = typed;
    text.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ').replace('\t', ' ');
    text = QString::fromStdString(m_printing.FitDescription(text.toStdString()));
    if (text == typed)
        return;
    const int cursor = std::min<int>(m_description.text->cursorPosition(), int(text.size()));
    m_description.text->setText(text); // comes back here with nothing left to change
    m_description.text->setCursorPosition(cursor);
}
