// The speaker location, the ceiling conditions and the "Design Conditions" summary that
// follows them. When the workflow says a changed condition threw the results away, they leave
// the screen.
#include "core/sentences.h"
#include "core/unit_data.h"
#include "ui/frame_box.h"
#include "ui/main_window.h"
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

} // namespace

void MainWindow::fillCeilingLists() {
    Refill(m_ceiling.type, kCeilingTypeTexts);
    Refill(m_ceiling.plenum, UnitDataFor(state().units.value()).plenumDepthTexts);
    Refill(m_ceiling.height, UnitDataFor(state().units.value()).ceilingHeightTexts);
}

void MainWindow::chooseLocation(Location location) {
    if (!m_workflow.chooseLocation(location))
        return;
    m_calculate->setEnabled(false);
    setBoxText(m_open.height, "");
    setBoxText(m_room.length, "");
    setBoxText(m_room.width, "");
    m_design.frame->setVisible(true);
    m_design.frame->SetCaption(kConditionsCaption);
    for (int i = 1; i <= 4; ++i)
        setLine(i, "");
    erasePicture();
    m_design.picture->setVisible(false);
    switch (state().location) {
    case Location::AboveCeiling:
        askForSuspendedCeiling();
        break;
    case Location::OpenCeiling:
        askForStructuralHeight();
        break;
    case Location::AccessFloor:
        askForRoomLength();
        break;
    case Location::None:
        break;
    }
}

void MainWindow::askForSuspendedCeiling() {
    m_open.frame->setVisible(false);
    m_room.frame->setVisible(false);
    MoveTo(m_ceiling.frame, 60, 2100);
    m_ceiling.frame->setVisible(true);
    setNote(kPickConditions);
    setLine(3, PlenumBattsSentence(Absorption::None));
    fillCeilingLists();
    focusOn(m_ceiling.plenum);
}

void MainWindow::askForStructuralHeight() {
    m_ceiling.frame->setVisible(false);
    m_room.frame->setVisible(false);
    setLine(3, "");
    MoveTo(m_open.frame, 60, 2200);
    m_open.frame->setVisible(true);
    setNote("Enter the structural ceiling height.");
    setLine(3, OpenBattsSentence(Absorption::None));
    focusOn(m_open.height);
}

void MainWindow::askForRoomLength() {
    m_open.frame->setVisible(false);
    m_ceiling.frame->setVisible(false);
    m_room.frame->setVisible(true);
    setLine(3, "");
    setNote("Enter the room length.");
    focusOn(m_room.length);
}

void MainWindow::pickFrom(QListWidget* list, CeilingList which, int lineIndex,
                          std::string (*sentence)(const DesignState&)) {
    const QList<QListWidgetItem*> picked = list->selectedItems();
    if (picked.isEmpty())
        return; // the list was emptied: no pick, no line
    if (m_workflow.pick(which, static_cast<std::int16_t>(list->row(picked.first()) + 1))) {
        clearResultLines();
        showSuspendedConditions();
        m_design.frame->SetCaption(kConditionsCaption);
    }
    setLine(lineIndex, sentence(state()));
    if (SuspendedCeilingComplete(state())) {
        guideToRoomOrCalculate();
    } else {
        m_room.frame->setVisible(false);
    }
}

void MainWindow::pickPlenumDepth() {
    pickFrom(m_ceiling.plenum, CeilingList::PlenumDepth, 1, PlenumDepthSentence);
}

void MainWindow::pickCeilingType() {
    pickFrom(m_ceiling.type, CeilingList::CeilingType, 2, CeilingTypeSentence);
}

void MainWindow::pickCeilingHeight() {
    pickFrom(m_ceiling.height, CeilingList::CeilingHeight, 4, CeilingHeightSentence);
}

// The conditions are complete: the room frame is shown before anything in it gets the focus.
void MainWindow::guideToRoomOrCalculate() {
    m_room.frame->setVisible(true);
    if (state().length == 0 || state().width == 0) {
        setNote(kEnterDimensions);
        focusOn(m_room.length);
    } else {
        m_calculate->setEnabled(true);
        focusOn(m_calculate);
    }
}

// Calculate waits for the location's conditions: the focus goes where the first one missing is
// given, and the prompt asks for them.
void MainWindow::askForConditions() {
    if (state().location == Location::OpenCeiling) {
        focusOn(m_open.height); // its own prompt asks for the height
        return;
    }
    setNote(kPickConditions);
    focusOn(!state().plenumDepth   ? m_ceiling.plenum
            : !state().ceilingType ? m_ceiling.type
                                   : m_ceiling.height);
}

// A hidden or disabled control never gets the focus; where it cannot, the focus stays.
void MainWindow::focusOn(QWidget* control) {
    if (control->isVisible() && control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
}

// The box's own line is written first and the summary rebuilt after it, so for the open ceiling
// the sentence moves from line 3 to line 2 whenever the tick has changed.
void MainWindow::changeAbsorption(Absorption absorption, const std::string& line,
                                  void (MainWindow::*rebuild)(),
                                  bool (*conditionsComplete)(const DesignState&)) {
    // A tick left from an earlier location can be cleared without changing the absorption; the
    // results of that unchanged condition stay on screen.
    const bool resultsShown = m_workflow.resultsShown();
    const bool changed = m_workflow.tickAbsorption(absorption);
    if (!resultsShown)
        setLine(3, line);
    if (changed) {
        clearResultLines();
        (this->*rebuild)();
        m_design.frame->SetCaption(kConditionsCaption);
    }
    if (conditionsComplete(state()))
        guideToRoomOrCalculate();
}

void MainWindow::tickPlenumBatts() {
    const Absorption absorption = m_ceiling.batts->checkState() == Qt::Checked
                                      ? Absorption::BattsOverTiles
                                      : Absorption::None;
    changeAbsorption(absorption, PlenumBattsSentence(absorption),
                     &MainWindow::showSuspendedConditions, SuspendedCeilingComplete);
}

void MainWindow::tickOpenInsulation() {
    const Absorption absorption =
        m_open.insulation->checkState() == Qt::Checked ? Absorption::OnStructure : Absorption::None;
    changeAbsorption(absorption,
                     absorption == Absorption::OnStructure ? OpenBattsSentence(absorption)
                                                           : kOpenBattsClearedByCheckBox,
                     &MainWindow::showOpenConditions, OpenCeilingComplete);
}

// The results the workflow has thrown away leave the screen.
void MainWindow::clearResultLines() {
    if (m_design.picture->isVisibleTo(this))
        erasePicture();
    for (int i = 1; i <= 4; ++i)
        setLine(i, "");
}

void MainWindow::showSuspendedConditions() {
    setLine(1, !state().plenumDepth ? "" : PlenumDepthSentence(state()));
    setLine(2, !state().ceilingType ? "" : CeilingTypeSentence(state()));
    setLine(3, PlenumBattsSentence(state().absorption));
    setLine(4, !state().ceilingHeight ? "" : CeilingHeightSentence(state()));
}

void MainWindow::showOpenConditions() {
    setLine(1, state().structuralHeight < 1 ? "" : StructuralHeightSentence(state()));
    // Batts over tiles, left from the suspended ceiling, are not said for an open ceiling.
    setLine(2, state().absorption == Absorption::BattsOverTiles
                   ? ""
                   : OpenBattsSentence(state().absorption));
}
