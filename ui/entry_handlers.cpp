// The numeric boxes: the prompts, the keys that move the user on, and the reading, rounding and
// limits applied when a box is left. (Their validator refuses characters as the user types.)
#include "core/entry.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "ui/frame_box.h"
#include "ui/main_window.h"
#include "ui/room_picture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

std::string TextOf(const QLineEdit* box) {
    return box->text().toStdString();
}

} // namespace

// A new room dimension takes away the drawing of an earlier calculation; the result lines stay
// until the next Calculate.
void MainWindow::eraseOutdatedPicture() {
    if (m_design.picture->isVisibleTo(this)) {
        erasePicture();
        m_design.picture->setVisible(false);
    }
}

std::string MainWindow::unitWords() const {
    return state().units == Units::Feet ? "feet." : "millimeters.";
}

void MainWindow::promptForDimension(EntryBox side) {
    setNote("Enter the " + std::string(side == EntryBox::Length ? "longest" : "shortest") +
            " dimension of the room in " + unitWords());
}

void MainWindow::promptForCeilingHeight() {
    m_workflow.discardResults();
    clearResultLines();
    setNote("Enter the structural ceiling height in " + unitWords() +
            "\nCheck if sound absorbing materials are on the structural ceiling.");
}

void MainWindow::enterInLength() {
    focusOn(m_room.width);
}

void MainWindow::enterInWidth() {
    const bool lengthGiven = ReadLeadingNumber(TextOf(m_room.length)) > 0;
    if (!lengthGiven) {
        focusOn(m_room.length); // its own prompt asks for the length
    } else if (ReadLeadingNumber(TextOf(m_room.width)) <= 0) {
        promptForDimension(EntryBox::Width); // the focus stays; ask for the width again
    } else if (!ConditionsComplete(state())) {
        askForConditions();
    } else {
        m_calculate->setEnabled(true);
        focusOn(m_calculate);
    }
}

void MainWindow::enterInCeilingHeight() {
    m_room.frame->setVisible(true);
    focusOn(m_room.length);
}

// A box left blank keeps the value stored and shows it again: what the box shows is what
// Calculate uses.
void MainWindow::showStoredAgain(QLineEdit* box, std::int32_t stored) {
    if (stored > 0)
        setBoxText(box, std::to_string(stored));
}

void MainWindow::commitDimension(EntryBox side) {
    QLineEdit* box = m_room.box(side);
    if (Trim(TextOf(box)).empty()) {
        showStoredAgain(box, side == EntryBox::Length ? state().length : state().width);
        return;
    }
    const EntryValue v = ReadEntry(TextOf(box), LimitsFor(side, state().units.value()));
    if (v.verdict != EntryVerdict::Accepted)
        m_boxes.Show(EntryMessage(side, state().units.value(), v.verdict), MsgIcon::Information,
                     EntryTitle(side));
    m_workflow.commitDimension(side, v.value);
    setBoxText(box, std::to_string(v.value));
    if (m_workflow.calculateAllowed())
        m_calculate->setEnabled(true);
}

void MainWindow::commitCeilingHeight() {
    QLineEdit* box = m_open.height;
    if (Trim(TextOf(box)).empty()) {
        setNote("Please re-enter the structural ceiling height.");
        showStoredAgain(box, state().structuralHeight);
        return;
    }
    const EntryValue v =
        ReadEntry(TextOf(box), LimitsFor(EntryBox::CeilingHeight, state().units.value()));
    if (v.verdict != EntryVerdict::Accepted)
        m_boxes.Show(EntryMessage(EntryBox::CeilingHeight, state().units.value(), v.verdict),
                     MsgIcon::Information, EntryTitle(EntryBox::CeilingHeight));
    const bool changed = m_workflow.commitStructuralHeight(v.value);
    setBoxText(box, std::to_string(v.value));
    setLine(1, StructuralHeightSentence(state()));
    if (changed) {
        clearResultLines();
        showOpenConditions();
    }
}

void MainWindow::commitDescription() {
    m_workflow.commitDescription(Trim(TextOf(m_description.text)));
}
