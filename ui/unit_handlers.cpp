// The start state, the choice of the measurement system with the reset that goes with it, and
// the end of the program.
#include "core/app_info.h"
#include "core/unit_data.h"
#include "ui/frame_box.h"
#include "ui/main_window.h"
#include "ui/room_picture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

void MainWindow::startAfresh() {
    m_calculate->setEnabled(false);
    m_printResults->setEnabled(false);
    m_units.frame->setVisible(true);
    for (QWidget* hidden :
         {static_cast<QWidget*>(m_location.frame), static_cast<QWidget*>(m_open.frame),
          static_cast<QWidget*>(m_ceiling.frame), static_cast<QWidget*>(m_room.frame),
          static_cast<QWidget*>(m_design.frame), static_cast<QWidget*>(m_description.frame),
          static_cast<QWidget*>(m_design.picture)})
        hidden->setVisible(false);
    setNote("Choose the measurement system.");
    setWindowTitle(kWindowTitle);
    m_workflow.start();
}

void MainWindow::chooseUnits(Units units) {
    m_workflow.chooseUnits(units);
    setDimensions();
    fillCeilingLists();
    m_location.frame->setVisible(true);
    m_open.frame->setVisible(false);
    m_ceiling.frame->setVisible(false);
    m_room.frame->setVisible(false);
    m_design.frame->setVisible(false);
    erasePicture();
    m_design.picture->setVisible(false);
    clearAllData();
    // The location in force is shown selected; its set-up runs once, from here.
    QAbstractButton* const option = m_location.option(state().location);
    focusOn(option);
    {
        const QSignalBlocker quietOption(option);
        const QSignalBlocker quietGroup(m_location.options);
        option->setChecked(true);
    }
    chooseLocation(state().location);
}

void MainWindow::promptForLocation() {
    setNote("Choose the location for the speakers. Double click if already picked.");
}

void MainWindow::setDimensions() {
    const UnitData& u = UnitDataFor(state().units.value());
    m_room.lengthLabel->setText(u.lengthCaption);
    m_room.widthLabel->setText(u.widthCaption);
    m_open.heightLabel->setText(u.structuralHeightCaption);
    m_ceiling.plenumLabel->setText(u.plenumDepthCaption);
    m_ceiling.heightLabel->setText(u.ceilingHeightCaption);
    // A list is not named by its label as a text box is; give it the caption with its unit.
    m_ceiling.plenum->setAccessibleName(m_ceiling.plenumLabel->text());
    m_ceiling.height->setAccessibleName(m_ceiling.heightLabel->text());
}

void MainWindow::clearAllData() {
    for (int i = 1; i <= 4; ++i)
        setLine(i, "");
    setBoxText(m_room.length, "");
    setBoxText(m_room.width, "");
    setBoxText(m_open.height, "");
    m_ceiling.batts->setChecked(false); // runs tickPlenumBatts when it was ticked
    m_calculate->setEnabled(false);
}
