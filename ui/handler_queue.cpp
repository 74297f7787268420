#include "ui/handler_queue.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

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

void QueuedKeys::SendKeys(const std::string& keys) {
    if (keys != "{BS}")
        return;
    m_queue.PostKey([] {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    });
}
