// Message boxes shown with QMessageBox, modal to the window.
#pragma once

#include "core/dialogs.h"

class QWidget;

class QtMessageBoxes : public MessageBoxes {
  public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    MsgAnswer Show(const std::string& text, MsgIcon icon, const std::string& title,
                   MsgButtons buttons) override;

  private:
    QWidget* m_parent;
};
