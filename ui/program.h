// The program's start: the application, its identity and face, and the one window with its
// message boxes and printing service.
#pragma once

#include <functional>

class QWidget;

// Runs the program until its window closes. beforeShow, when given, sees the window just
// before it is shown (the benchmark watches its first paint this way).
int runProgram(int argc, char** argv, const std::function<void(QWidget&)>& beforeShow = {});
