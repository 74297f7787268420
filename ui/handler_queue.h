// Deferred work of the window's one event thread. The window's focus handlers run after the
// handler that moved the focus has returned, and a queued keystroke is handled after every
// pending focus handler, by whatever control has the focus then. Both wait here, and run one
// at a time in the order they were queued, even when a handler opens a modal message box.
#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <string>

class QWidget;

class HandlerQueue : public QObject {
    Q_OBJECT
  public:
    explicit HandlerQueue(QObject* parent = nullptr);

    // A handler to run once the running handlers have returned.
    void Post(std::function<void()> handler);
    // A keystroke to deliver after every pending handler.
    void PostKey(std::function<void()> keystroke);
    // Runs everything pending, now; does nothing when called from inside a running item.
    void Drain();
    bool IsIdle() const { return m_handlers.empty() && m_keys.empty(); }

  protected:
    void customEvent(QEvent* event) override;

  private:
    void Schedule();

    std::deque<std::function<void()>> m_handlers;
    std::deque<std::function<void()>> m_keys;
    bool m_draining = false;
    bool m_scheduled = false;
};

// Keystrokes the program sends itself. Only Backspaces are used: "{BS}" one, "{BS n}" n of them.
class KeyQueue {
  public:
    virtual ~KeyQueue() = default;
    virtual void SendKeys(const std::string& keys) = 0;
};

// Queues the Backspaces behind the pending handlers and delivers them to the focused control. In
// a text box n Backspaces go as one: the n characters before the caret are selected and one
// Backspace takes them, so the box changes, and its change handler runs, once.
class QueuedKeys : public KeyQueue {
  public:
    explicit QueuedKeys(HandlerQueue& queue) : m_queue(queue) {}
    void SendKeys(const std::string& keys) override;

  private:
    HandlerQueue& m_queue;
};
