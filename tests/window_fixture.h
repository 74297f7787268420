// Drives the real window in tests: recorded message boxes answered from a script, the real
// queued focus handlers and Backspaces, and a recording printer instead of the system's.
#pragma once

#include "core/dialogs.h"
#include "output/print_report.h"
#include "ui/frame_box.h"
#include "ui/main_window.h"
#include "ui/report_printing.h"
#include "ui/room_picture.h"

#include <QtTest>
#include <QtWidgets>

struct ShownBox {
    std::string text;
    MsgIcon icon;
    std::string title;
    MsgButtons buttons;
};

// Shows nothing: records each box and gives the next scripted answer, else Cancel or OK.
class RecordingBoxes : public MessageBoxes {
  public:
    MsgAnswer Show(const std::string& text, MsgIcon icon, const std::string& title,
                   MsgButtons buttons) override {
        shown.push_back({text, icon, title, buttons});
        const MsgAnswer a =
            answers.empty() ? buttons == MsgButtons::RetryCancel ? MsgAnswer::Cancel : MsgAnswer::Ok
                            : answers.front();
        return answers.empty() ? a : (answers.pop_front(), a);
    }
    std::vector<ShownBox> shown;
    std::deque<MsgAnswer> answers;
};

// Prints each report on a page kept for inspection, laid out with the fixed metrics; it can be
// told to refuse pages first.
class RecordingPrinting : public ReportPrinting, public ReportOutput {
  public:
    std::string Print(const DesignState& s, MessageBoxes& boxes) override {
        ++runs;
        page.clear();
        PrintReport(*this, s, boxes);
        return {};
    }
    std::string FitDescription(const std::string& text) override {
        return FittingDescription(m_metrics, text);
    }
    const TextMetrics& Metrics() const override { return m_metrics; }
    void Deliver(const std::vector<PageItem>& items) override {
        if (refusals != 0) // counted down, unless for ever
            throw PrinterError((refusals -= refusals > 0, "Printer not ready"));
        page = items;
    }
    std::vector<PageItem> page; // of the last run; empty when it printed nothing
    int refusals = 0;           // pages refused before one is taken (for ever when negative)
    int runs = 0;

  private:
    FixedMetrics m_metrics;
};

// The window's controls, found by the names the design gives them.
struct Controls {
    QWidget& window;
    template <typename T = QWidget> T* get(const QString& name) const {
        T* control = window.findChild<T*>(name);
        if (!control)
            qFatal("no control %s", qPrintable(name));
        return control;
    }
    // clang-format off
    QRadioButton* OptMeas(int i) const { return get<QRadioButton>(QString("OptMeas(%1)").arg(i)); }
    QRadioButton* OptMask(int i) const { return get<QRadioButton>(QString("OptMask(%1)").arg(i)); }
    QLabel* LabList(int i) const { return get<QLabel>(QString("LabList(%1)").arg(i)); }
    FrameBox *FramRoom = get<FrameBox>("FramRoom"), *FramCeiling = get<FrameBox>("FramCeiling"),
             *FramCeilHt = get<FrameBox>("FramCeilHt"), *FramNote = get<FrameBox>("FramNote"), *FramDesign = get<FrameBox>("FramDesign");
    QLabel* LabNote = get<QLabel>("LabNote");
    QLineEdit *TxtLeng = get<QLineEdit>("TxtLeng"), *TxtWid = get<QLineEdit>("TxtWid"),
              *TxtCeilHt = get<QLineEdit>("TxtCeilHt"), *TxtDescription = get<QLineEdit>("TxtDescription");
    QListWidget *ListPlenum = get<QListWidget>("ListPlenum"), *ListCeil = get<QListWidget>("ListCeil"),
                *ListCeilHt = get<QListWidget>("ListCeilHt");
    QCheckBox *ChkBatts = get<QCheckBox>("ChkBatts"), *ChkBattsOpen = get<QCheckBox>("ChkBattsOpen");
    QPushButton *CmdCalculate = get<QPushButton>("CmdCalculate"), *CmdPrint = get<QPushButton>("CmdPrint"),
                *CmdPrt = get<QPushButton>("CmdPrt"), *CmdDone = get<QPushButton>("CmdDone");
    RoomPicture* PicRoom = get<RoomPicture>("PicRoom");
    // clang-format on
};

class WindowFixture {
  public:
    // Prints through the recording printer unless another printing service is given.
    explicit WindowFixture(ReportPrinting* printingService = nullptr)
        : m_window(
              std::make_unique<MainWindow>(boxes, printingService ? *printingService : printing)),
          m_controls{*m_window} {
        m_window->show();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("the window did not become active");
        settle();
    }
    ~WindowFixture() {
        if (QApplication::activeModalWidget()) // every box must go through the recorder
            qFatal("a modal dialog was left open");
    }
    MainWindow& window() { return *m_window; }
    const Controls& controls() const { return m_controls; }
    const DesignState& state() const { return m_window->state(); }

    // Runs every queued handler and keystroke.
    void settle() {
        for (int i = 0; i < 1000 && !m_window->idle(); ++i)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (!m_window->idle())
            QFAIL("queued handlers and keystrokes never drained");
    }
    // Types each character as a key click, letting queued keystrokes run in between.
    void type(QWidget* w, const QString& text) {
        for (const QChar c : text) {
            for (const auto a : {QTest::Press, QTest::Release}) // a letter no key names by its text
                c.unicode() < 0x80 ? QTest::keyEvent(a, w, c.toLatin1())
                                   : QTest::sendKeyEvent(a, w, Qt::Key_unknown, QString(c), {});
            settle();
        }
    }
    // clang-format off
    void key(QWidget* w, Qt::Key k) { QTest::keyClick(w, k), settle(); }
    void enter(QLineEdit* box, const QString& text) { type(box, text), key(box, Qt::Key_Return); }
    // The middle of a control lies on its caption or its box, whichever side the box stands.
    template <typename... W> void click(W*... ws) { ((QTest::mouseClick(ws, Qt::LeftButton), settle()), ...); }
    void focus(QWidget* w) { w->setFocus(Qt::TabFocusReason), settle(); }
    void pick(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center()), settle();
    }
    // clang-format on
    QString note() const { return m_controls.LabNote->text(); }
    QString line(int i) const { return m_controls.LabList(i)->text(); }
    QStringList lines() const { return {line(1), line(2), line(3), line(4)}; }

    // Each message box shown, as "title: text".
    QStringList shownBoxes() const {
        QStringList texts;
        for (const ShownBox& b : boxes.shown)
            texts << QString::fromStdString(b.title + ": " + b.text);
        return texts;
    }

    // Choose a unit system, then run a whole design through the window by mouse and keyboard.
    void chooseUnits(bool feet) { click(m_controls.OptMeas(feet ? 1 : 2)); }
    // The conditions as the command line's fields give them: "ft" or "mm"; "suspended" with the
    // plenum, tile and height rows counted from 1 and "yes" for batts, "open" with the
    // structural height and "yes" for insulation, or "floor".
    void conditions(const QStringList& c) {
        const Controls& f = m_controls;
        chooseUnits(c.value(0) == "ft");
        int i = 2;
        if (c.value(1) == "suspended")
            for (QListWidget* l : {f.ListPlenum, f.ListCeil, f.ListCeilHt})
                pick(l, c.value(i++).toInt() - 1);
        else
            click(f.OptMask(c.value(1) == "open" ? 2 : 3));
        if (c.value(1) == "open")
            enter(f.TxtCeilHt, c.value(6));
        if (c.value(5) == "yes" || c.value(7) == "yes")
            click(c.value(5) == "yes" ? f.ChkBatts : f.ChkBattsOpen);
    }
    void enterRoom(const QString& length, const QString& width) {
        focus(m_controls.TxtLeng);
        enter(m_controls.TxtLeng, length);
        enter(m_controls.TxtWid, width);
    }

    RecordingBoxes boxes;
    RecordingPrinting printing;

  private:
    std::unique_ptr<MainWindow> m_window;
    Controls m_controls;
};
