// The program's one window. Its controls carry the names the design gives them as object and
// accessible names; the C++ side groups them by the frame they sit in. The window owns the
// design workflow for as long as it is open, forwards every user action to it and shows what
// it says.
#pragma once

#include "core/design_workflow.h"
#include "core/dialogs.h"
#include "core/entry.h"
#include "core/indexed.h"
#include "core/unit_pair.h"

#include <QButtonGroup>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <string>

class FrameBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class ReportPrinting;
class RoomPicture;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    // The window shows its message boxes through boxes and prints through printing; neither is
    // owned.
    MainWindow(MessageBoxes& boxes, ReportPrinting& printing, QWidget* parent = nullptr);
    ~MainWindow() override;

    const DesignState& state() const { return m_workflow.state(); }
    // No focus handler is waiting to run.
    bool idle() const { return m_focusMoves.empty(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private slots:
    // Ceiling conditions.
    void pickPlenumDepth();
    void pickCeilingType();
    void pickCeilingHeight();
    void tickPlenumBatts();
    void tickOpenInsulation();
    // Numeric entry.
    void eraseOutdatedPicture();
    void enterInLength();
    void enterInWidth();
    void enterInCeilingHeight();
    // Calculate and print.
    void calculate();
    void offerDescription();
    void printReport();
    void fitDescription();
    void followFocus(QWidget* old, QWidget* now);

  private:
    // Unit system, location, and what the focus handlers do on entering or leaving a control.
    void chooseUnits(Units units);
    void promptForLocation();
    void chooseLocation(Location location);
    void promptForDimension(EntryBox side);
    void promptForCeilingHeight();
    void commitDimension(EntryBox side);
    void commitCeilingHeight();
    void commitDescription();
    void warnOfSmallRoom();
    // What waits for the running handler to return.
    void runPending();

    // Each frame's options are a button group whose ids are the enum's values.
    struct UnitsFrame {
        FrameBox* frame;
        QButtonGroup* options;
        QAbstractButton* option(Units units) const { return options->button(int(units)); }
    };
    struct LocationFrame {
        FrameBox* frame;
        QButtonGroup* options;
        QAbstractButton* option(Location location) const { return options->button(int(location)); }
    };
    struct RoomFrame {
        FrameBox* frame;
        QLabel* lengthLabel;
        QLineEdit* length;
        QLabel* widthLabel;
        QLineEdit* width;
        QLineEdit* box(EntryBox side) const { return side == EntryBox::Length ? length : width; }
    };
    struct CeilingFrame {
        FrameBox* frame;
        QLabel* plenumLabel;
        QListWidget* plenum;
        QLabel* typeLabel;
        QListWidget* type;
        QLabel* heightLabel;
        QListWidget* height;
        QCheckBox* batts;
    };
    struct OpenCeilingFrame {
        FrameBox* frame;
        QLabel* heightLabel;
        QLineEdit* height;
        QCheckBox* insulation;
    };
    struct DescriptionFrame {
        FrameBox* frame;
        QLineEdit* text;
        QPushButton* print;
    };
    struct DesignFrame {
        FrameBox* frame;
        Indexed<QLabel*, 4> line;
        RoomPicture* picture;
    };

    void createUnitsFrame();
    void createLocationFrame();
    void createRoomFrame();
    void createCeilingFrame();
    void createOpenCeilingFrame();
    void createDescriptionFrame();
    void createDesignFrame();
    void createLooseControls();
    void setTabOrder();
    void connectHandlers();

    void startAfresh();
    void setDimensions();
    void clearAllData();
    void fillCeilingLists();
    // The set-up of each location once its button is chosen.
    void askForSuspendedCeiling();
    void askForStructuralHeight();
    void askForRoomLength();
    void clearResultLines();
    void showSuspendedConditions();
    void showOpenConditions();
    void pickFrom(QListWidget* list, CeilingList which, int line,
                  std::string (*sentence)(const DesignState&));
    void changeAbsorption(Absorption absorption, const std::string& line,
                          void (MainWindow::*rebuild)(),
                          bool (*conditionsComplete)(const DesignState&));
    void guideToRoomOrCalculate();
    void askForConditions();
    void focusOn(QWidget* control);
    void schedulePending();
    void runFocusHandler(QWidget* control, bool entered);
    void showStoredAgain(QLineEdit* box, std::int32_t stored);
    void setNote(const std::string& text);
    void setLine(int i, const std::string& text);
    void setBoxText(QLineEdit* box, const std::string& text);
    void erasePicture();
    std::string unitWords() const;

    UnitsFrame m_units{};
    LocationFrame m_location{};
    RoomFrame m_room{};
    CeilingFrame m_ceiling{};
    OpenCeilingFrame m_open{};
    DescriptionFrame m_description{};
    DesignFrame m_design{};
    QPushButton* m_calculate = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_printResults = nullptr;

    DesignWorkflow m_workflow;

    MessageBoxes& m_boxes;
    ReportPrinting& m_printing;
    // Focus handlers run after the handler that moved the focus has returned, one at a time,
    // even when one opens a modal message box.
    struct FocusMove {
        QWidget* control;
        bool entered;
    };
    std::deque<FocusMove> m_focusMoves;
    bool m_running = false;
    bool m_scheduled = false;
    bool m_activated = false;
};
