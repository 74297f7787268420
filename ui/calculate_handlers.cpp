// Calculate: the longer side becomes the length, both dimensions are laid out, the four result
// lines are written and the room picture is sized and drawn. Also the small-room warning given
// when the button receives the focus, and the window-side helpers every handler shares.
#include "core/calculate.h"
#include "core/compute_rows.h"
#include "output/room_drawing.h"
#include "ui/frame_box.h"
#include "ui/main_window.h"
#include "ui/room_picture.h"
#include "ui/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void MainWindow::calculate() {
    // Calculate is enabled only for a complete design; anything else is left untouched rather
    // than dividing by a zero dimension or reading a missing table cell.
    const std::optional<Orientation> orientation = m_workflow.calculate();
    if (!orientation)
        return;
    if (*orientation == Orientation::Exchanged) {
        setBoxText(m_room.width, std::to_string(state().width));
        setBoxText(m_room.length, std::to_string(state().length));
        m_boxes.Show(kExchangedMessage, MsgIcon::Information, "");
    }
    setNote("");
    for (int i = 1; i <= 4; ++i)
        setLine(i, "");
    m_design.frame->SetCaption("Design Results");
    const std::array<std::string, 4> lines = ResultLines(state());
    for (int i = 1; i <= 4; ++i)
        setLine(i, lines[static_cast<std::size_t>(i - 1)]);

    m_design.picture->setGeometry(Px(5640), Px(150), Px(4000),
                                  Px(RoomPictureHeight(state().length, state().width)));
    m_design.picture->setVisible(true);
    m_design.picture->Surface().SetUserRect(0, 0, state().length, state().width);
    DrawLayout(m_design.picture->Surface(), state());
    m_design.picture->update();
    m_printResults->setEnabled(true);
}

void MainWindow::warnOfSmallRoom() {
    if (IsSmallRoom(state()))
        m_boxes.Show(kSmallRoomMessage, MsgIcon::Exclamation, kSmallRoomTitle);
    else
        setNote(kPressCalculatePrompt);
}

namespace {

// The prompt line and the design lines are named by what they say, so a screen reader reads the
// text itself and, through the NameChanged event that a new name sends, hears of each change as
// of a live status line. Blank, a line keeps a name that says what it is for.
void ShowOnLabel(QLabel* label, const std::string& text, const QString& blankName) {
    const QString shown = QString::fromStdString(text);
    label->setText(shown);
    label->setAccessibleName(shown.trimmed().isEmpty() ? blankName : shown);
}

} // namespace

void MainWindow::setNote(const std::string& text) {
    ShowOnLabel(m_note, text, "Prompt");
}

void MainWindow::setLine(int i, const std::string& text) {
    ShowOnLabel(m_design.line(i), text, QString("Design line %1").arg(i));
}

void MainWindow::setBoxText(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text)); // runs the box's change handler
}

void MainWindow::erasePicture() {
    m_design.picture->Surface().Clear();
    m_design.picture->update();
}
