// Start-up of a window program, measured from outside: the time from starting the process to
// the line its first-paint probe prints, and the peak resident memory the line reports.
#pragma once

#include <string>

struct StartupRun {
    bool ok = false;
    double ms = 0;       // process start to the first painted frame
    double peakKiB = 0;  // VmHWM at that moment
    std::string failure; // why the run gave no figure
};

// Starts program on the offscreen platform with the probe switched on and waits for its line.
StartupRun RunToFirstPaint(const std::string& program, const char* argument = nullptr);
