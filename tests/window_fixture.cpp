#include "window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

std::string RecordingPrinting::Print(const DesignState& s, MessageBoxes& boxes) {
    ++runs;
    last = std::make_unique<RecordingPrinter>();
    if (prepare)
        prepare(*last);
    PrintReport(*last, s, boxes);
    return {};
}

std::string RecordingPrinting::FitDescription(const std::string& description) {
    RecordingPrinter measure;
    return FittingDescription(measure, description);
}

WindowFixture::WindowFixture(ReportPrinting* printingService) {
    m_form = std::make_unique<MainForm>(boxes, m_keys, m_queue,
                                        printingService ? *printingService : printing);
    m_form->show();
    m_form->activateWindow();
    if (!QTest::qWaitForWindowActive(m_form.get()))
        qWarning("the window did not become active");
    settle();
}

WindowFixture::~WindowFixture() {
    // A modal dialog must never appear: every box goes through the recorder.
    if (QApplication::activeModalWidget())
        qFatal("a modal dialog was left open");
}

void WindowFixture::settle() {
    for (int i = 0; i < 1000 && !m_queue.IsIdle(); ++i)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    if (!m_queue.IsIdle())
        QFAIL("queued handlers and keystrokes never drained");
}

void WindowFixture::type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QTest::keyClick(w, c.toLatin1());
        settle();
    }
}

void WindowFixture::key(QWidget* w, Qt::Key k) {
    QTest::keyClick(w, k);
    settle();
}

void WindowFixture::click(QWidget* w) {
    // The middle of a control lies on its caption or its box, whichever side the box stands.
    QTest::mouseClick(w, Qt::LeftButton);
    settle();
}

void WindowFixture::focus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    settle();
}

void WindowFixture::pick(QListWidget* list, int row) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    settle();
}

QString WindowFixture::note() const {
    return m_form->LabNote->text();
}
QString WindowFixture::line(int i) const {
    return m_form->LabList(i)->text();
}
QStringList WindowFixture::lines() const {
    return {line(1), line(2), line(3), line(4)};
}

void WindowFixture::chooseUnits(bool feet) {
    click(m_form->OptMeas(feet ? 1 : 2));
}

void WindowFixture::enterRoom(const QString& length, const QString& width) {
    focus(m_form->TxtLeng);
    type(m_form->TxtLeng, length);
    key(m_form->TxtLeng, Qt::Key_Return);
    type(m_form->TxtWid, width);
    key(m_form->TxtWid, Qt::Key_Return);
}
