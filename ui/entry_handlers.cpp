// The numeric boxes: the character filter as the user types, the prompts, the keys that move
// the user on, and the reading, rounding and limits applied when a box is left.
#include "core/entry.h"
#include "core/number_text.h"
#include "core/sentences.h"
#include "ui/frame_box.h"
#include "ui/main_form.h"
#include "ui/room_picture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

std::string TextOf(const QLineEdit* box) {
    return box->text().toStdString();
}

const std::int16_t kEnter = 13;
const std::int16_t kUpArrow = 38;

} // namespace

void MainForm::NumericChange(QLineEdit* box, bool roomDimension) {
    const QString text = box->text();
    std::int16_t Posit = 0;
    CharValid(Trim(text.toStdString()), m_s.ValidChars, Posit);
    if (Posit == 0) {
        // All the Backspaces that one per refused last character would send, at once: one by
        // one, each would re-check the whole text, and a long paste would freeze the window.
        const int caret = box->cursorPosition();
        const std::size_t refused = RefusedBeforeCaret(
            text.left(caret).toStdString(), text.mid(caret).toStdString(), m_s.ValidChars);
        m_keys.SendKeys(refused > 1 ? "{BS " + std::to_string(refused) + "}" : "{BS}");
    }
    // A new room dimension takes away the drawing of an earlier calculation; the result lines
    // stay until the next Calculate.
    if (roomDimension && PicRoom->isVisibleTo(this)) {
        ErasePicture();
        PicRoom->setVisible(false);
    }
}

void MainForm::TxtLeng_Change() {
    NumericChange(TxtLeng, true);
}
void MainForm::TxtWid_Change() {
    NumericChange(TxtWid, true);
}
void MainForm::TxtCeilHt_Change() {
    NumericChange(TxtCeilHt, false);
}

std::string MainForm::UnitWords() const {
    return m_s.MeasFeet ? "feet." : "millimeters.";
}

void MainForm::TxtLeng_GotFocus() {
    SetNote("Enter the longest dimension of the room in " + UnitWords());
}

void MainForm::TxtWid_GotFocus() {
    SetNote("Enter the shortest dimension of the room in " + UnitWords());
}

void MainForm::TxtCeilHt_GotFocus() {
    ClearResults();
    SetNote("Enter the structural ceiling height in " + UnitWords() +
            "\nCheck if sound absorbing materials are on the structural ceiling.");
}

void MainForm::TxtLeng_KeyPress(std::int16_t& KeyAscii) {
    if (KeyAscii == kEnter)
        FocusOn(TxtWid);
}

void MainForm::TxtLeng_KeyDown(std::int16_t& KeyCode, std::int16_t) {
    if (KeyCode == kUpArrow)
        FocusOn(TxtWid);
}

void MainForm::TxtWid_KeyPress(std::int16_t& KeyAscii) {
    if (KeyAscii != kEnter)
        return;
    const bool lengthGiven = ReadLeadingNumber(TextOf(TxtLeng)) > 0;
    if (!lengthGiven) {
        FocusOn(TxtLeng); // its own prompt asks for the length
    } else if (ReadLeadingNumber(TextOf(TxtWid)) <= 0) {
        TxtWid_GotFocus(); // the focus stays; ask for the width again
    } else if (!ConditionsComplete(m_s)) {
        AskForConditions();
    } else {
        CmdCalculate->setEnabled(true);
        FocusOn(CmdCalculate);
    }
}

void MainForm::TxtCeilHt_KeyPress(std::int16_t& KeyAscii) {
    if (KeyAscii != kEnter)
        return;
    FramRoom->setVisible(true);
    FocusOn(TxtLeng);
}

void MainForm::TxtDescription_KeyPress(std::int16_t& KeyAscii) {
    if (KeyAscii == kEnter)
        FocusOn(CmdPrt);
}

// A box left blank keeps the value stored and shows it again: what the box shows is what
// Calculate uses.
void MainForm::ShowStoredAgain(QLineEdit* box, std::int32_t stored) {
    if (stored > 0)
        SetBoxText(box, std::to_string(stored));
}

bool MainForm::RoomDimensionLostFocus(QLineEdit* box, EntryBox kind, std::int32_t& stored) {
    if (Trim(TextOf(box)).empty()) {
        ShowStoredAgain(box, stored);
        return false;
    }
    const EntryValue v = ReadEntry(TextOf(box), LimitsFor(kind, m_s.MeasFeet));
    if (v.verdict != EntryVerdict::Accepted)
        m_boxes.Show(EntryMessage(kind, m_s.MeasFeet, v.verdict), MsgIcon::Information,
                     EntryTitle(kind));
    stored = v.value;
    SetBoxText(box, std::to_string(stored));
    return true;
}

void MainForm::TxtLeng_LostFocus() {
    if (RoomDimensionLostFocus(TxtLeng, EntryBox::Length, m_s.Leng) && m_s.Wid > 0 &&
        ConditionsComplete(m_s))
        CmdCalculate->setEnabled(true);
}

void MainForm::TxtWid_LostFocus() {
    if (RoomDimensionLostFocus(TxtWid, EntryBox::Width, m_s.Wid) && m_s.Leng > 0 &&
        ConditionsComplete(m_s))
        CmdCalculate->setEnabled(true);
}

void MainForm::TxtCeilHt_LostFocus() {
    if (Trim(TextOf(TxtCeilHt)).empty()) {
        SetNote("Please re-enter the structural ceiling height.");
        ShowStoredAgain(TxtCeilHt, m_s.StructHt);
        return;
    }
    const EntryValue v =
        ReadEntry(TextOf(TxtCeilHt), LimitsFor(EntryBox::CeilingHeight, m_s.MeasFeet));
    if (v.verdict != EntryVerdict::Accepted)
        m_boxes.Show(EntryMessage(EntryBox::CeilingHeight, m_s.MeasFeet, v.verdict),
                     MsgIcon::Information, EntryTitle(EntryBox::CeilingHeight));
    m_s.StructHt = v.value;
    SetBoxText(TxtCeilHt, std::to_string(m_s.StructHt));
    SetLine(1, StructHtSentence(m_s));
    if (m_s.StructHt != m_s.PrevStructHt) {
        ClearResults();
        ShowOpenConditions();
    }
    m_s.PrevStructHt = m_s.StructHt;
}

void MainForm::TxtDescription_LostFocus() {
    m_s.Descr = Trim(TextOf(TxtDescription));
}
