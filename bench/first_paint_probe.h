// The start-up probe of the benchmark program. With MSL_BENCH_STARTUP set in the environment,
// a window's first paint is answered, once the frame it belongs to is finished, by one line on
// standard output giving the process's peak resident memory so far, and the program quits.
// The benchmark times each run from the moment it starts the process to the arrival of that
// line; the real window and a bare one use the same probe, so both are measured alike.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <cstdio>
#include <cstdlib>
#include <cstring>

class FirstPaintProbe : public QObject {
  public:
    // Watches window when the environment asks for it; otherwise does nothing.
    static void InstallOn(QObject* window) {
        if (std::getenv("MSL_BENCH_STARTUP"))
            window->installEventFilter(new FirstPaintProbe(window));
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so it runs after the rest of the frame is painted and flushed.
            QMetaObject::invokeMethod(this, &FirstPaintProbe::Report, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    using QObject::QObject;

    static long PeakResidentKiB() {
        long kib = -1;
        if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, f))
                if (std::strncmp(line, "VmHWM:", 6) == 0)
                    kib = std::strtol(line + 6, nullptr, 10);
            std::fclose(f);
        }
        return kib;
    }

    void Report() {
        std::printf("first-paint peak-rss-kib %ld\n", PeakResidentKiB());
        std::fflush(stdout);
        QCoreApplication::quit();
    }
};
