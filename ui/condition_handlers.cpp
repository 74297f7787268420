// The speaker location, the ceiling conditions and the "Design Conditions" summary that
// follows them. A changed condition throws away the results it no longer matches.
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

// The four lines hold the results of a Calculate: clearing them zeroes the rows.
bool MainWindow::resultsShown() const {
    return m_design.frame->Caption() == "Design Results" && m_s.alongLength.rows > 0;
}

void MainWindow::fillCeilingLists() {
    Refill(m_ceiling.type, kCeilingTypeTexts);
    Refill(m_ceiling.plenum, UnitDataFor(m_s.units.value()).plenumDepthTexts);
    Refill(m_ceiling.height, UnitDataFor(m_s.units.value()).ceilingHeightTexts);
}

void MainWindow::chooseLocation(int location) {
    if (!m_s.units)
        return;
    m_calculate->setEnabled(false);
    m_s.location = static_cast<Location>(location);
    m_s.structuralHeight = 0;
    ClearRoomAndConditions(m_s);
    setBoxText(m_open.height, "");
    setBoxText(m_room.length, "");
    setBoxText(m_room.width, "");
    m_design.frame->setVisible(true);
    m_design.frame->SetCaption(kConditionsCaption);
    for (int i = 1; i <= 4; ++i)
        setLine(i, "");
    erasePicture();
    m_design.picture->setVisible(false);
    switch (m_s.location) {
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

void MainWindow::pickFrom(QListWidget* list, std::optional<std::int16_t>& choice,
                          std::optional<std::int16_t>& previous, int lineIndex,
                          std::string (*sentence)(const DesignState&)) {
    const QList<QListWidgetItem*> picked = list->selectedItems();
    if (picked.isEmpty())
        return; // the list was emptied: no pick, no line
    choice = static_cast<std::int16_t>(list->row(picked.first()) + 1);
    if (previous && previous != choice) {
        clearResults();
        showSuspendedConditions();
        m_design.frame->SetCaption(kConditionsCaption);
    }
    setLine(lineIndex, sentence(m_s));
    if (SuspendedCeilingComplete(m_s)) {
        guideToRoomOrCalculate();
    } else {
        m_room.frame->setVisible(false);
    }
    previous = choice;
}

void MainWindow::pickPlenumDepth() {
    pickFrom(m_ceiling.plenum, m_s.plenumDepth, m_prevPlenum, 1, PlenumDepthSentence);
}

void MainWindow::pickCeilingType() {
    pickFrom(m_ceiling.type, m_s.ceilingType, m_prevCeil, 2, CeilingTypeSentence);
}

void MainWindow::pickCeilingHeight() {
    pickFrom(m_ceiling.height, m_s.ceilingHeight, m_prevCeilHt, 4, CeilingHeightSentence);
}

// The conditions are complete: the room frame is shown before anything in it gets the focus.
void MainWindow::guideToRoomOrCalculate() {
    m_room.frame->setVisible(true);
    if (m_s.length == 0 || m_s.width == 0) {
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
    if (m_s.location == Location::OpenCeiling) {
        focusOn(m_open.height); // its own prompt asks for the height
        return;
    }
    setNote(kPickConditions);
    focusOn(!m_s.plenumDepth   ? m_ceiling.plenum
            : !m_s.ceilingType ? m_ceiling.type
                               : m_ceiling.height);
}

// A hidden or disabled control never gets the focus; where it cannot, the focus stays.
void MainWindow::focusOn(QWidget* control) {
    if (control->isVisible() && control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
}

// The box's own line is written first and the summary rebuilt after it, so for the open ceiling
// the sentence moves from line 3 to line 2 whenever the tick has changed.
void MainWindow::changeAbsorption(const std::string& line, void (MainWindow::*rebuild)(),
                                  bool (*conditionsComplete)(const DesignState&)) {
    // A tick left from an earlier location can be cleared without changing absorption; the
    // results of that unchanged condition stay on screen.
    if (!resultsShown())
        setLine(3, line);
    if (m_prevBatts != m_s.absorption) {
        clearResults();
        (this->*rebuild)();
        m_design.frame->SetCaption(kConditionsCaption);
    }
    m_prevBatts = m_s.absorption;
    if (conditionsComplete(m_s))
        guideToRoomOrCalculate();
}

void MainWindow::tickPlenumBatts() {
    m_s.absorption = m_ceiling.batts->checkState() == Qt::Checked ? Absorption::BattsOverTiles
                                                                  : Absorption::None;
    changeAbsorption(PlenumBattsSentence(m_s.absorption), &MainWindow::showSuspendedConditions,
                     SuspendedCeilingComplete);
}

void MainWindow::tickOpenInsulation() {
    m_s.absorption =
        m_open.insulation->checkState() == Qt::Checked ? Absorption::OnStructure : Absorption::None;
    changeAbsorption(m_s.absorption == Absorption::OnStructure ? OpenBattsSentence(m_s.absorption)
                                                               : kOpenBattsClearedByCheckBox,
                     &MainWindow::showOpenConditions, OpenCeilingComplete);
}

void MainWindow::clearResults() {
    if (m_design.picture->isVisibleTo(this))
        erasePicture();
    for (int i = 1; i <= 4; ++i)
        setLine(i, "");
    ClearLayouts(m_s);
}

void MainWindow::showSuspendedConditions() {
    setLine(1, !m_s.plenumDepth ? "" : PlenumDepthSentence(m_s));
    setLine(2, !m_s.ceilingType ? "" : CeilingTypeSentence(m_s));
    setLine(3, PlenumBattsSentence(m_s.absorption));
    setLine(4, !m_s.ceilingHeight ? "" : CeilingHeightSentence(m_s));
}

void MainWindow::showOpenConditions() {
    setLine(1, m_s.structuralHeight < 1 ? "" : StructuralHeightSentence(m_s));
    // Batts over tiles, left from the suspended ceiling, are not said for an open ceiling.
    setLine(2,
            m_s.absorption == Absorption::BattsOverTiles ? "" : OpenBattsSentence(m_s.absorption));
}
