#include "ui/handler_queue.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <cstdio>

namespace {
const QEvent::Type kDrainEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
}

HandlerQueue::HandlerQueue(QObject* parent) : QObject(parent) {}

void HandlerQueue::Post(std::function<void()> handler) {
    m_handlers.push_back(std::move(handler));
    Schedule();
}

void HandlerQueue::PostKey(std::function<void()> keystroke) {
    m_keys.push_back(std::move(keystroke));
    Schedule();
}

void HandlerQueue::Schedule() {
    if (m_scheduled)
        return;
    m_scheduled = true;
    QCoreApplication::postEvent(this, new QEvent(kDrainEvent));
}

void HandlerQueue::customEvent(QEvent* event) {
    if (event->type() != kDrainEvent)
        return;
    m_scheduled = false;
    Drain();
}

void HandlerQueue::Drain() {
    // A modal box opened by a running item spins a nested event loop; what is queued meanwhile
    // waits for the running item to return, so items never interleave.
    if (m_draining)
        return;
    m_draining = true;
    while (!IsIdle()) {
        auto& source = m_handlers.empty() ? m_keys : m_handlers;
        const std::function<void()> item = std::move(source.front());
        source.pop_front();
        item();
    }
    m_draining = false;
}

namespace {

void PressBackspace(QWidget* target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// Selects up to n characters before the caret, a surrogate pair counting as one, as n
// Backspaces would remove them.
void SelectBeforeCaret(QLineEdit* box, int n) {
    const QString text = box->text();
    const int caret = box->cursorPosition();
    int start = caret;
    for (; n > 0 && start > 0; --n) {
        --start;
        if (start > 0 && text[start].isLowSurrogate() && text[start - 1].isHighSurrogate())
            --start;
    }
    box->setSelection(caret, start - caret);
}

} // namespace

void QueuedKeys::SendKeys(const std::string& keys) {
    int count = 0;
    if (keys == "{BS}")
        count = 1;
    else if (std::sscanf(keys.c_str(), "{BS %d}", &count) != 1 || count < 1)
        return;
    m_queue.PostKey([count] {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            return;
        auto* box = qobject_cast<QLineEdit*>(target);
        if (box && count > 1 && !box->hasSelectedText()) {
            SelectBeforeCaret(box, count);
            PressBackspace(box);
            return;
        }
        for (int i = 0; i < count; ++i)
            PressBackspace(target);
    });
}
