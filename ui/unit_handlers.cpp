// The start state, the choice of the measurement system with the reset that goes with it, and
// the end of the program.
#include "core/unit_data.h"
#include "ui/frame_box.h"
#include "ui/main_form.h"
#include "ui/room_picture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

void MainForm::Form_Activate() {
    CmdCalculate->setEnabled(false);
    CmdPrint->setEnabled(false);
    FramMeas->setVisible(true);
    for (QWidget* hidden : {static_cast<QWidget*>(FramMasking), static_cast<QWidget*>(FramCeilHt),
                            static_cast<QWidget*>(FramCeiling), static_cast<QWidget*>(FramRoom),
                            static_cast<QWidget*>(FramDesign), static_cast<QWidget*>(FramNote),
                            static_cast<QWidget*>(PicRoom)})
        hidden->setVisible(false);
    m_s.ValidChars = "0123456789.";
    SetNote("Choose the measurement system.");
    setWindowTitle("MASKING SPEAKER LAYOUT");
    m_s.MaskLoc = Location::AboveCeiling;
    m_s.MeasChosen = false;
    m_s.MeasFeet = true;
}

void MainForm::OptMeas_Click(int Index) {
    m_s.MeasFeet = Index == 1;
    SetDimensions();
    FillCeilingLists();
    FramMasking->setVisible(true);
    FramCeilHt->setVisible(false);
    FramCeiling->setVisible(false);
    FramRoom->setVisible(false);
    FramDesign->setVisible(false);
    ErasePicture();
    PicRoom->setVisible(false);
    ClearAllData();
    m_s.MeasChosen = true;
    // The location in force is shown selected; its set-up runs once, from here.
    FocusOn(OptMask(static_cast<int>(m_s.MaskLoc)));
    {
        const QSignalBlocker quiet(OptMask(static_cast<int>(m_s.MaskLoc)));
        OptMask(static_cast<int>(m_s.MaskLoc))->setChecked(true);
    }
    OptMask_Click(static_cast<int>(m_s.MaskLoc));
}

void MainForm::OptMeas_LostFocus(int) {
    SetNote("Choose the location for the speakers. Double click if already picked.");
}

void MainForm::CmdDone_Click() {
    close();
}

void MainForm::SetDimensions() {
    const UnitData& u = UnitDataFor(m_s.MeasFeet);
    LabLeng->setText(u.LengCaption);
    LabWid->setText(u.WidCaption);
    LabCeilht->setText(u.CeilHtCaption);
    LabPlen->setText(u.PlenCaption);
    LabCeilHtList->setText(u.CeilHtListCaption);
    // A list is not named by its label as a text box is; give it the caption with its unit.
    ListPlenum->setAccessibleName(LabPlen->text());
    ListCeilHt->setAccessibleName(LabCeilHtList->text());
}

void MainForm::ClearAllData() {
    for (int i = 1; i <= 4; ++i)
        SetLine(i, "");
    SetBoxText(TxtLeng, "");
    SetBoxText(TxtWid, "");
    SetBoxText(TxtCeilHt, "");
    ZeroResults(m_s);
    ZeroRoomAndConditions(m_s); // the structural height stays until a location is chosen
    m_s.MaskLoc = Location::AboveCeiling;
    ChkBatts->setChecked(false); // runs ChkBatts_Click when it was ticked
    CmdCalculate->setEnabled(false);
}
