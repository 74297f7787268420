// Drives the real window in tests: recorded message boxes answered from a script, the real
// queued keystrokes and focus handlers, and a recording printer instead of the system's.
#pragma once

#include "core/dialogs.h"
#include "output/print_report.h"
#include "output/recording_printer.h"
#include "ui/handler_queue.h"
#include "ui/main_form.h"
#include "ui/report_printing.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <deque>
#include <memory>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    MsgIcon icon;
    std::string title;
    MsgButtons buttons;
};

class RecordingBoxes : public MessageBoxes {
  public:
    MsgAnswer Show(const std::string& text, MsgIcon icon, const std::string& title,
                   MsgButtons buttons) override {
        shown.push_back({text, icon, title, buttons});
        if (answers.empty())
            return buttons == MsgButtons::RetryCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<ShownBox> shown;
    std::deque<MsgAnswer> answers;
};

// Prints each report on a new recording printer and keeps the last one for inspection.
class RecordingPrinting : public ReportPrinting {
  public:
    std::string Print(const DesignState& s, MessageBoxes& boxes) override;
    std::string FitDescription(const std::string& description) override;
    std::unique_ptr<RecordingPrinter> last;
    std::function<void(RecordingPrinter&)> prepare; // e.g. make it fail
    int runs = 0;
};

class WindowFixture {
  public:
    // Prints through the recording printer unless another printing service is given.
    explicit WindowFixture(ReportPrinting* printingService = nullptr);
    ~WindowFixture();
    MainForm& form() { return *m_form; }
    DesignState& state() { return m_form->State(); }

    bool idle() const { return m_queue.IsIdle(); }
    // Runs every queued handler and keystroke.
    void settle();
    // Types each character as a key click, letting queued keystrokes run in between.
    void type(QWidget* w, const QString& text);
    void key(QWidget* w, Qt::Key k);
    void click(QWidget* w);
    void focus(QWidget* w);
    void pick(QListWidget* list, int row);
    QString note() const;
    QString line(int i) const;
    QStringList lines() const; // all four

    // Choose a unit system, then run a whole design through the window by mouse and keyboard.
    void chooseUnits(bool feet);
    void enterRoom(const QString& length, const QString& width);

    RecordingBoxes boxes;
    RecordingPrinting printing;

  private:
    HandlerQueue m_queue;
    QueuedKeys m_keys{m_queue};
    std::unique_ptr<MainForm> m_form;
};
