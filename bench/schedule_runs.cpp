#include "schedule_runs.h"

#include "timing.h"

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Row i of the schedule: the units, location and conditions turn over quickly, the size
// slowly, so every thousand rooms hold every kind.
std::string ScheduleRow(int i) {
    const bool feet = i % 2 == 0;
    const int kind = i / 2 % 3;
    const int size = 1 + i % 97;
    const std::string conditions[] = {
        "suspended," + std::to_string(1 + i % 4) + "," + std::to_string(1 + i % 5) + "," +
            std::to_string(1 + i % 2) + ",yes,,",
        std::string("open,,,,,") + (feet ? "14" : "4300") + ",no", "floor,,,,,,"};
    const int length = feet ? 10 + size * 4 : 3000 + size * 1200;
    const int width = feet ? 8 + size * 2 : 2400 + size * 600;
    return "Room " + std::to_string(i + 1) + "," + (feet ? "ft," : "mm,") + conditions[kind] + "," +
           std::to_string(length) + "," + std::to_string(width) + "\n";
}

} // namespace

ScheduleRun RunSchedule(const std::string& program, int rooms, const std::string& options) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    {
        std::ofstream csv(folder + "/rooms.csv");
        csv << "room,units,location,plenum,tile,ceiling-height,batts,structural-height,"
               "insulation,length,width\n";
        for (int i = 0; i < rooms; ++i)
            csv << ScheduleRow(i);
    }
    std::vector<std::string> args{program, "--schedule", folder + "/rooms.csv", "--out",
                                  folder + "/out"};
    std::istringstream extra(options);
    for (std::string word; extra >> word;)
        args.push_back(word);
    return RunProcess(std::move(args));
}

ScheduleRun RunProcess(std::vector<std::string> arguments, Messages messages) {
    ScheduleRun run;
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (messages == Messages::Hidden)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const double start = NowMs();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        run.failure = arguments[0] + ": " + std::strerror(spawned);
        return run;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.ms = NowMs() - start;
    const auto ms = [](const timeval& tv) { return tv.tv_sec * 1000.0 + tv.tv_usec / 1000.0; };
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.peakKiB = static_cast<double>(usage.ru_maxrss);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!run.ok)
        run.failure = arguments[0] + " ended with status " + std::to_string(WEXITSTATUS(status));
    return run;
}
