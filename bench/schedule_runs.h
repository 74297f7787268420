// The command line on generated room schedules, measured from outside: the wall time of a whole
// run and the peak resident memory of the process (its maximum resident set, from the kernel).
#pragma once

#include <string>

struct ScheduleRun {
    bool ok = false;
    double ms = 0;
    double cpuMs = 0; // user and system time of the process: what the load of others leaves out
    double peakKiB = 0;
    std::string failure;
};

// Writes a schedule of `rooms` rooms into a fresh folder, in both units and all three
// locations with sizes from a small room to a large hall, and runs the command on it with the
// given extra options (e.g. "--pdf --dxf"). The folder is removed afterwards.
ScheduleRun RunSchedule(const std::string& program, int rooms, const std::string& options);
