// The program's one window. Its controls carry the names the design gives them, control arrays
// are addressed from 1, and every handler is named after its control and event. The window owns
// the design state for as long as it is open; handlers read and write it directly.
#pragma once

#include "core/design_state.h"
#include "core/dialogs.h"
#include "core/entry.h"
#include "core/indexed.h"
#include "ui/handler_queue.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

class FrameBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class ReportPrinting;
class RoomPicture;

class MainForm : public QWidget {
    Q_OBJECT
  public:
    // The window shows its message boxes and sends its keystrokes through these; the printing
    // service opens the printer for a report. None is owned.
    MainForm(MessageBoxes& boxes, KeyQueue& keys, HandlerQueue& queue, ReportPrinting& printing,
             QWidget* parent = nullptr);

    DesignState& State() { return m_s; }
    const DesignState& State() const { return m_s; }

    // Unit system and window (start state, fixed size, exit).
    void Form_Activate();
    void Form_Resize();
    void OptMeas_Click(int Index);
    void OptMeas_LostFocus(int Index);
    void CmdDone_Click();
    void SetDimensions();
    void ClearAllData();

    // Speaker location and ceiling conditions.
    void FillCeilingLists();
    void OptMask_Click(int Index);
    void OptMask_DblClick(int Index);
    void ListPlenum_Click();
    void ListCeil_Click();
    void ListCeilHt_Click();
    void ChkBatts_Click();
    void ChkBattsOpen_Click();

    // Conditions summary.
    void ClearResults();
    void ShowSuspendedConditions();
    void ShowOpenConditions();

    // Numeric entry.
    void TxtLeng_Change();
    void TxtWid_Change();
    void TxtCeilHt_Change();
    void TxtLeng_GotFocus();
    void TxtWid_GotFocus();
    void TxtCeilHt_GotFocus();
    void TxtLeng_KeyPress(std::int16_t& KeyAscii);
    void TxtLeng_KeyDown(std::int16_t& KeyCode, std::int16_t Shift);
    void TxtWid_KeyPress(std::int16_t& KeyAscii);
    void TxtCeilHt_KeyPress(std::int16_t& KeyAscii);
    void TxtDescription_KeyPress(std::int16_t& KeyAscii);
    void TxtLeng_LostFocus();
    void TxtWid_LostFocus();
    void TxtCeilHt_LostFocus();
    void TxtDescription_LostFocus();

    // Calculate and print.
    void CmdCalculate_Click();
    void CmdCalculate_GotFocus();
    void CmdPrint_Click();
    void CmdPrt_Click();
    void TxtDescription_Change();

    // Controls, under the names the handlers use.
    FrameBox* FramMeas;
    Indexed<QRadioButton*, 2> OptMeas;
    FrameBox* FramMasking;
    Indexed<QRadioButton*, 3> OptMask;
    FrameBox* FramRoom;
    QLabel* LabLeng;
    QLineEdit* TxtLeng;
    QLabel* LabWid;
    QLineEdit* TxtWid;
    QPushButton* CmdCalculate;
    FrameBox* FramCeiling;
    QLabel* LabPlen;
    QListWidget* ListPlenum;
    QLabel* LabCeil;
    QListWidget* ListCeil;
    QLabel* LabCeilHtList;
    QListWidget* ListCeilHt;
    QCheckBox* ChkBatts;
    FrameBox* FramCeilHt;
    QLabel* LabCeilht;
    QLineEdit* TxtCeilHt;
    QCheckBox* ChkBattsOpen;
    FrameBox* FramNote;
    QLineEdit* TxtDescription;
    QPushButton* CmdPrt;
    FrameBox* FramDesign;
    Indexed<QLabel*, 4> LabList;
    RoomPicture* PicRoom;
    QLabel* LabNote;
    QPushButton* CmdDone;
    QPushButton* CmdPrint;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateMeasurementFrame();
    void CreateLocationFrame();
    void CreateRoomFrame();
    void CreateCeilingFrame();
    void CreateOpenCeilingFrame();
    void CreateDescriptionFrame();
    void CreateDesignFrame();
    void CreateLooseControls();
    void SetTabOrder();
    void ConnectHandlers();
    void WatchFocus(QWidget* control, std::function<void()> gotFocus,
                    std::function<void()> lostFocus);

    void NumericChange(QLineEdit* box, bool roomDimension);
    bool RoomDimensionLostFocus(QLineEdit* box, EntryBox kind, std::int32_t& stored);
    void ListClick(QListWidget* list, std::int16_t& choice, std::int16_t& previous, int lineIndex,
                   std::string (*sentence)(const DesignState&));
    void GuideToRoomOrCalculate();
    void AskForConditions();
    void FocusOn(QWidget* control);
    void ShowStoredAgain(QLineEdit* box, std::int32_t stored);
    void AbsorptionClick(const std::string& line, void (MainForm::*rebuild)(),
                         bool (*conditionsComplete)(const DesignState&));
    void SetNote(const std::string& text);
    void SetLine(int i, const std::string& text);
    void SetBoxText(QLineEdit* box, const std::string& text);
    void ErasePicture();
    std::string UnitWords() const;

    DesignState m_s;
    MessageBoxes& m_boxes;
    KeyQueue& m_keys;
    HandlerQueue& m_queue;
    ReportPrinting& m_printing;
    // Got-focus and lost-focus handlers by control.
    std::map<const QObject*, std::pair<std::function<void()>, std::function<void()>>>
        m_focusHandlers;
    bool m_activated = false;
};
