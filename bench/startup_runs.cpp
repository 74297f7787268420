#include "startup_runs.h"

#include "timing.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// A program that shows nothing within this long is reported, not waited for.
constexpr int kTimeoutMs = 30000;

} // namespace

StartupRun RunToFirstPaint(const std::string& program, const char* argument) {
    StartupRun run;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("MSL_BENCH_STARTUP", "1", 1);
    int out[2];
    if (pipe(out) != 0) {
        run.failure = std::strerror(errno);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument), nullptr};

    pid_t pid = 0;
    const double start = NowMs();
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    unsetenv("MSL_BENCH_STARTUP");
    if (spawned != 0) {
        close(out[0]);
        run.failure = program + ": " + std::strerror(spawned);
        return run;
    }

    std::string text;
    while (text.find('\n') == std::string::npos) {
        pollfd p{out[0], POLLIN, 0};
        const int left = kTimeoutMs - static_cast<int>(NowMs() - start);
        if (left <= 0 || poll(&p, 1, left) <= 0)
            break;
        char buffer[256];
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    const double elapsed = NowMs() - start;
    close(out[0]);

    const std::string key = "first-paint peak-rss-kib ";
    const std::size_t at = text.find(key);
    if (at == std::string::npos) {
        kill(pid, SIGKILL);
        run.failure = program + " printed no first-paint line";
    } else {
        run.ok = true;
        run.ms = elapsed;
        run.peakKiB = std::strtod(text.c_str() + at + key.size(), nullptr);
    }
    int status = 0;
    waitpid(pid, &status, 0); // the next run starts on a quiet machine
    return run;
}
