// Modal message boxes, seen by the program only through this interface so that tests can
// record every box (text, icon, title) and give its answer without a dialog ever blocking.
#pragma once

#include <string>

enum class MsgIcon { Information, Exclamation, Critical };
enum class MsgButtons { Ok, RetryCancel };
enum class MsgAnswer { Ok, Retry, Cancel };

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns the button that closed it. An empty title shows the
    // application's title.
    virtual MsgAnswer Show(const std::string& text, MsgIcon icon, const std::string& title,
                           MsgButtons buttons = MsgButtons::Ok) = 0;
};
