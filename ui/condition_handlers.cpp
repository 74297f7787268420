// The speaker location, the ceiling conditions and the "Design Conditions" summary that
// follows them. A changed condition throws away the results it no longer matches.
#include "core/sentences.h"
#include "core/unit_data.h"
#include "ui/frame_box.h"
#include "ui/main_form.h"
#include "ui/room_picture.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

const char* const kConditionsCaption = "Design Conditions";
const char* const kEnterDimensions = "Enter the room dimensions.";
const char* const kPickConditions =
    "Pick the plenum depth, ceiling height and tile type.  Check if there is sound absorption on "
    "the structural ceiling or there are sound batts overlaying the tiles.";

template <std::size_t N> void Refill(QListWidget* list, const std::array<const char*, N>& texts) {
    list->clear();
    for (const char* text : texts)
        list->addItem(QString::fromUtf8(text));
}

// The four lines hold the results of a Calculate: clearing them zeroes the rows.
bool ResultsShown(const MainForm& f) {
    return f.FramDesign->Caption() == "Design Results" && f.State().alongLength.rows > 0;
}

} // namespace

void MainForm::FillCeilingLists() {
    Refill(ListCeil, CeilingTypeTexts);
    Refill(ListPlenum, UnitDataFor(m_s.MeasFeet).PlenumTexts);
    Refill(ListCeilHt, UnitDataFor(m_s.MeasFeet).CeilHtTexts);
}

void MainForm::OptMask_Click(int Index) {
    if (!m_s.MeasChosen)
        return;
    CmdCalculate->setEnabled(false);
    m_s.MaskLoc = static_cast<Location>(Index);
    m_s.StructHt = 0;
    ZeroRoomAndConditions(m_s);
    SetBoxText(TxtCeilHt, "");
    SetBoxText(TxtLeng, "");
    SetBoxText(TxtWid, "");
    FramDesign->setVisible(true);
    FramDesign->SetCaption(kConditionsCaption);
    for (int i = 1; i <= 4; ++i)
        SetLine(i, "");
    ErasePicture();
    PicRoom->setVisible(false);
    switch (m_s.MaskLoc) {
    case Location::AboveCeiling:
        FramCeilHt->setVisible(false);
        FramRoom->setVisible(false);
        MoveTo(FramCeiling, 60, 2100);
        FramCeiling->setVisible(true);
        SetNote(kPickConditions);
        SetLine(3, PlenumBattsSentence(Absorption::None));
        FillCeilingLists();
        FocusOn(ListPlenum);
        break;
    case Location::OpenCeiling:
        FramCeiling->setVisible(false);
        FramRoom->setVisible(false);
        SetLine(3, "");
        MoveTo(FramCeilHt, 60, 2200);
        FramCeilHt->setVisible(true);
        SetNote("Enter the structural ceiling height.");
        SetLine(3, OpenBattsSentence(Absorption::None));
        FocusOn(TxtCeilHt);
        break;
    case Location::AccessFloor:
        FramCeilHt->setVisible(false);
        FramCeiling->setVisible(false);
        FramRoom->setVisible(true);
        SetLine(3, "");
        SetNote("Enter the room length.");
        FocusOn(TxtLeng);
        break;
    case Location::None:
        break;
    }
}

void MainForm::OptMask_DblClick(int Index) {
    OptMask_Click(Index);
}

void MainForm::ListClick(QListWidget* list, std::int16_t& choice, std::int16_t& previous,
                         int lineIndex, std::string (*sentence)(const DesignState&)) {
    const QList<QListWidgetItem*> picked = list->selectedItems();
    if (picked.isEmpty())
        return; // the list was emptied: no pick, no line
    choice = static_cast<std::int16_t>(list->row(picked.first()) + 1);
    if (previous >= 1 && previous != choice) {
        ClearResults();
        ShowSuspendedConditions();
        FramDesign->SetCaption(kConditionsCaption);
    }
    SetLine(lineIndex, sentence(m_s));
    if (CeilingData(m_s)) {
        GuideToRoomOrCalculate();
    } else {
        FramRoom->setVisible(false);
    }
    previous = choice;
}

void MainForm::ListPlenum_Click() {
    ListClick(ListPlenum, m_s.PlenumSel, m_s.PrevPlenum, 1, PlenumSentence);
}

void MainForm::ListCeil_Click() {
    ListClick(ListCeil, m_s.CeilSel, m_s.PrevCeil, 2, CeilSentence);
}

void MainForm::ListCeilHt_Click() {
    ListClick(ListCeilHt, m_s.CeilHtSel, m_s.PrevCeilHt, 4, CeilHtSentence);
}

// The conditions are complete: the room frame is shown before anything in it gets the focus.
void MainForm::GuideToRoomOrCalculate() {
    FramRoom->setVisible(true);
    if (m_s.Leng == 0 || m_s.Wid == 0) {
        SetNote(kEnterDimensions);
        FocusOn(TxtLeng);
    } else {
        CmdCalculate->setEnabled(true);
        FocusOn(CmdCalculate);
    }
}

// Calculate waits for the location's conditions: the focus goes where the first one missing is
// given, and the prompt asks for them.
void MainForm::AskForConditions() {
    if (m_s.MaskLoc == Location::OpenCeiling) {
        FocusOn(TxtCeilHt); // its own prompt asks for the height
        return;
    }
    SetNote(kPickConditions);
    FocusOn(m_s.PlenumSel < 1 ? ListPlenum : m_s.CeilSel < 1 ? ListCeil : ListCeilHt);
}

// A hidden or disabled control never gets the focus; where it cannot, the focus stays.
void MainForm::FocusOn(QWidget* control) {
    if (control->isVisible() && control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
}

// The box's own line is written first and the summary rebuilt after it, so for the open ceiling
// the sentence moves from line 3 to line 2 whenever the tick has changed.
void MainForm::AbsorptionClick(const std::string& line, void (MainForm::*rebuild)(),
                               bool (*conditionsComplete)(const DesignState&)) {
    // A tick left from an earlier location can be cleared without changing BattsSel; the
    // results of that unchanged condition stay on screen.
    if (!ResultsShown(*this))
        SetLine(3, line);
    if (m_s.PrevBatts != m_s.BattsSel) {
        ClearResults();
        (this->*rebuild)();
        FramDesign->SetCaption(kConditionsCaption);
    }
    m_s.PrevBatts = m_s.BattsSel;
    if (conditionsComplete(m_s))
        GuideToRoomOrCalculate();
}

void MainForm::ChkBatts_Click() {
    m_s.BattsSel =
        ChkBatts->checkState() == Qt::Checked ? Absorption::BattsOverTiles : Absorption::None;
    AbsorptionClick(PlenumBattsSentence(m_s.BattsSel), &MainForm::ShowSuspendedConditions,
                    CeilingData);
}

void MainForm::ChkBattsOpen_Click() {
    m_s.BattsSel =
        ChkBattsOpen->checkState() == Qt::Checked ? Absorption::OnStructure : Absorption::None;
    AbsorptionClick(m_s.BattsSel == Absorption::OnStructure ? OpenBattsSentence(m_s.BattsSel)
                                                            : kOpenBattsClearedByCheckBox,
                    &MainForm::ShowOpenConditions, OpenCeilingData);
}

void MainForm::ClearResults() {
    if (PicRoom->isVisibleTo(this))
        ErasePicture();
    for (int i = 1; i <= 4; ++i)
        SetLine(i, "");
    ZeroResults(m_s);
}

void MainForm::ShowSuspendedConditions() {
    SetLine(1, m_s.PlenumSel < 1 ? "" : PlenumSentence(m_s));
    SetLine(2, m_s.CeilSel < 1 ? "" : CeilSentence(m_s));
    SetLine(3, PlenumBattsSentence(m_s.BattsSel));
    SetLine(4, m_s.CeilHtSel < 1 ? "" : CeilHtSentence(m_s));
}

void MainForm::ShowOpenConditions() {
    SetLine(1, m_s.StructHt < 1 ? "" : StructHtSentence(m_s));
    // Batts over tiles, left from the suspended ceiling, are not said for an open ceiling.
    SetLine(2, m_s.BattsSel == Absorption::BattsOverTiles ? "" : OpenBattsSentence(m_s.BattsSel));
}
