// The command line on generated room schedules, measured from outside: the wall time of a whole
// run and the peak resident memory of the process (its maximum resident set, from the kernel).
#pragma once

#include <string>
#include <vector>

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

enum class Messages { Shown, Hidden }; // what the program writes on its standard error

// Runs a program (arguments[0], a path) with its output thrown away, and measures it the same
// way: the wall time, processor time and peak memory of the process; ok when it exits with 0.
ScheduleRun RunProcess(std::vector<std::string> arguments, Messages messages = Messages::Shown);
