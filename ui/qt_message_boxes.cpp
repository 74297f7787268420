#include "ui/qt_message_boxes.h"

#include "core/app_info.h"

#include <QMessageBox>

MsgAnswer QtMessageBoxes::Show(const std::string& text, MsgIcon icon, const std::string& title,
                               MsgButtons buttons) {
    QMessageBox box(m_parent);
    box.setWindowTitle(QString::fromStdString(title.empty() ? kApplicationTitle : title));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (buttons == MsgButtons::RetryCancel) {
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Retry);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (answer == QMessageBox::Retry)
        return MsgAnswer::Retry;
    if (answer == QMessageBox::Cancel)
        return MsgAnswer::Cancel;
    return MsgAnswer::Ok;
}
