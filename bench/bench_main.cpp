// The benchmark program: start-up time and peak memory of the window against a bare Qt window
// of the same size, and the time of the design rule, of Calculate with its drawing and of the
// printed report for a typical, a large and the largest room the entry limits allow, in feet
// and in millimetres; and the command line on generated room schedules: the summary of 10,000
// rooms, reports and plans for 1,000, and its peak memory as the schedule grows; and the command
// on a generated floor plan of 2,000 rooms (60 MB), against ezdxf reading the same file. Every
// figure is a median over repeated runs, printed with its target.
//
//   msl-bench [--runs N] [--startup-runs N] [--markdown] [--only TEXT]
//
// --only runs just the figures whose name contains TEXT, e.g. to profile one of them.
#include "design_timings.h"
#include "floor_sheet_timing.h"
#include "schedule_runs.h"
#include "startup_runs.h"
#include "timing.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

// Start-up and memory against the bare window; the time targets by room size.
constexpr double kStartupRatio = 1.15;
constexpr double kExtraMemoryMiB = 8;
constexpr double kCalculateTypicalMs = 2;
constexpr double kCalculateLargestMs = 50;
constexpr double kReportTypicalMs = 150;
constexpr double kReportLargestMs = 500;
constexpr double kPasteMs = 100; // the window answers again after any paste
// The command line: a floor's summary, every room's report and plan, memory that does not
// grow with the number of rooms.
constexpr double kSummaryMs = 1000;
constexpr double kFullOutputMs = 3000;
constexpr double kMemoryGrowthMiB = 2;
constexpr int kScheduleRuns = 3;
// A floor plan of 2,000 rooms: read, laid out and written within 3 s, in memory under three
// times the file's size, and its floor sheet within 2 s more.
constexpr int kFloorRooms = 2000;
constexpr double kFloorPlanMs = 3000;
constexpr double kFloorMemoryPerFileSize = 3;
constexpr double kFloorSheetMs = 2000;
// Zones, channels, routes and losses for the same floor.
constexpr double kSystemDesignMs = 1000;
constexpr int kFloorRuns = 3;
constexpr const char* kPython = "/usr/bin/python3";

struct Options {
    int runs = 21;
    int startupRuns = 21;
    bool markdown = false;
    std::string only; // run only the figures whose name contains this
};

struct Row {
    std::string figure;
    std::string room;
    std::string value;
    std::string target;
    bool pass = false;
};

std::string Fixed(double v, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string Ms(double v) {
    if (v < 0.1)
        return Fixed(v * 1000, 3) + " us";
    return Fixed(v, v < 10 ? 3 : 1) + " ms";
}

std::string FirstLine(const char* path, const char* key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return line.substr(line.find(':') + 2);
    return "unknown";
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

class Table {
  public:
    explicit Table(bool markdown) : m_markdown(markdown) {}

    void Add(Row row) {
        Print(row.figure, row.room, row.value, row.target,
              row.target.empty() ? "" : (row.pass ? "PASS" : "MISS"));
        if (!row.target.empty() && !row.pass)
            ++m_misses;
    }
    void Header() {
        Print("Figure", "Room", "Median", "Target", "Result");
        if (m_markdown)
            std::printf("|---|---|---:|---|---|\n");
    }
    int Misses() const { return m_misses; }

  private:
    void Print(const std::string& a, const std::string& b, const std::string& c,
               const std::string& d, const std::string& e) {
        if (m_markdown)
            std::printf("| %s | %s | %s | %s | %s |\n", a.c_str(), b.c_str(), c.c_str(), d.c_str(),
                        e.c_str());
        else
            std::printf("%-38s %-40s %18s  %-18s %s\n", a.c_str(), b.c_str(), c.c_str(), d.c_str(),
                        e.c_str());
        std::fflush(stdout);
    }

    bool m_markdown;
    int m_misses = 0;
};

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--runs") && hasValue)
            o.runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--startup-runs") && hasValue)
            o.startupRuns = std::max(0, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--markdown"))
            o.markdown = true;
        else if (!std::strcmp(argv[i], "--only") && hasValue)
            o.only = argv[++i];
        else {
            std::fprintf(stderr,
                         "usage: %s [--runs N] [--startup-runs N] [--markdown] [--only TEXT]\n",
                         argv[0]);
            std::exit(2);
        }
    }
    return o;
}

// Runs the bare window, the bare window with one label and the program in turn, after one
// unmeasured run of each.
bool Startup(const Options& o, Table& table) {
    struct Subject {
        const char* program;
        const char* argument;
        std::vector<double> ms, peakKiB;
    };
    Subject bare{MSL_BARE_WINDOW_PATH, nullptr, {}, {}};
    Subject label{MSL_BARE_WINDOW_PATH, "--label", {}, {}};
    Subject program{MSL_PROGRAM_PATH, nullptr, {}, {}};
    for (int i = -1; i < o.startupRuns; ++i) {
        for (Subject* s : {&bare, &label, &program}) {
            const StartupRun run = RunToFirstPaint(s->program, s->argument);
            if (!run.ok) {
                std::fprintf(stderr, "start-up run failed: %s\n", run.failure.c_str());
                return false;
            }
            if (i >= 0) {
                s->ms.push_back(run.ms);
                s->peakKiB.push_back(run.peakKiB);
            }
        }
    }
    const double bareMs = Median(bare.ms), labelMs = Median(label.ms);
    const double programMs = Median(program.ms);
    const double bareMiB = Median(bare.peakKiB) / 1024, labelMiB = Median(label.peakKiB) / 1024;
    const double programMiB = Median(program.peakKiB) / 1024;
    const std::string runs = std::to_string(o.startupRuns) + " runs each";
    const auto ratio = [](double a, double b) { return Fixed(a / b, 2) + "x"; };
    table.Add({"start-up to first paint, bare window", runs, Ms(bareMs), "", true});
    table.Add({"start-up, bare window + one label", runs,
               Ms(labelMs) + " (" + ratio(labelMs, bareMs) + ")", "", true});
    table.Add({"start-up to first paint, program", runs, Ms(programMs), "", true});
    table.Add({"start-up, program / bare window", runs, ratio(programMs, bareMs),
               "<= " + Fixed(kStartupRatio, 2) + "x", programMs / bareMs <= kStartupRatio});
    table.Add({"start-up, program / window + label", runs, ratio(programMs, labelMs), "", true});
    table.Add({"peak memory at first paint, bare", runs, Fixed(bareMiB, 1) + " MiB", "", true});
    table.Add({"peak memory, bare window + one label", runs,
               Fixed(labelMiB, 1) + " MiB (+" + Fixed(labelMiB - bareMiB, 1) + ")", "", true});
    table.Add({"peak memory at first paint, program", runs,
               Fixed(programMiB, 1) + " MiB (+" + Fixed(programMiB - bareMiB, 1) + ")",
               "<= bare + " + Fixed(kExtraMemoryMiB, 0) + " MiB",
               programMiB <= bareMiB + kExtraMemoryMiB});
    return true;
}

std::string RoomText(const RoomCase& room) {
    return room.label + " " + Describe(room) + ", " + std::to_string(SpeakerCount(room)) + " spk";
}

bool Wanted(const Options& o, const std::string& name) {
    return o.only.empty() || name.find(o.only) != std::string::npos;
}

void Timed(const Options& o, Table& table, const std::string& figure,
           const std::vector<RoomCase>& rooms, double typicalTarget, double largestTarget,
           const std::function<double(const RoomCase&)>& measure) {
    for (const RoomCase& room : rooms) {
        if (!Wanted(o, figure + ", " + RoomText(room)))
            continue;
        const double target = room.label == "typical" ? typicalTarget : largestTarget;
        const double ms = measure(room);
        const std::string targetText = "< " + Fixed(target, 0) + " ms";
        if (ms < 0)
            table.Add({figure, RoomText(room), "failed", targetText, false});
        else
            table.Add({figure, RoomText(room), Ms(ms), targetText, ms < target});
    }
}

// Median time and peak memory of a few runs of the command on one schedule; false if one fails.
struct ScheduleFigure {
    double ms = 0, cpuMs = 0, peakMiB = 0;
    std::string Text() const { return Ms(ms) + " (cpu " + Ms(cpuMs) + ")"; }
};

std::optional<ScheduleFigure> MedianRun(const std::function<ScheduleRun()>& measure, int runs) {
    std::vector<double> times, cpu, peaks;
    for (int i = 0; i < runs; ++i) {
        const ScheduleRun run = measure();
        if (!run.ok) {
            std::fprintf(stderr, "run failed: %s\n", run.failure.c_str());
            return std::nullopt;
        }
        times.push_back(run.ms);
        cpu.push_back(run.cpuMs);
        peaks.push_back(run.peakKiB / 1024);
    }
    return ScheduleFigure{Median(times), Median(cpu), Median(peaks)};
}

bool ScheduleFigures(int rooms, const std::string& options, int runs, ScheduleFigure& figure) {
    const auto median = MedianRun([&] { return RunSchedule(MSL_PLAN_PATH, rooms, options); }, runs);
    figure = median.value_or(ScheduleFigure{});
    return median.has_value();
}

void Schedules(const Options& o, Table& table) {
    if (!Wanted(o, "schedule"))
        return;
    const int runs = std::min(o.runs, kScheduleRuns);
    const std::string each = std::to_string(runs) + " runs";
    ScheduleFigure summary1k, summary10k, full100, full1k;
    if (!ScheduleFigures(1000, "", runs, summary1k) ||
        !ScheduleFigures(10000, "", runs, summary10k) ||
        !ScheduleFigures(100, "--pdf --dxf", 1, full100) ||
        !ScheduleFigures(1000, "--pdf --dxf", 1, full1k)) {
        table.Add({"schedule", "", "failed", "", false});
        return;
    }
    table.Add({"schedule to summary CSV", "1,000 rooms, " + each, summary1k.Text(), "", true});
    table.Add({"schedule to summary CSV", "10,000 rooms, " + each, summary10k.Text(),
               "< " + Fixed(kSummaryMs, 0) + " ms", summary10k.ms < kSummaryMs});
    table.Add({"schedule, PDF + DXF per room", "100 rooms, 1 run", full100.Text(), "", true});
    table.Add({"schedule, PDF + DXF per room", "1,000 rooms, 1 run", full1k.Text(),
               "< " + Fixed(kFullOutputMs, 0) + " ms", full1k.ms < kFullOutputMs});
    const auto growth = [&](const std::string& what, const ScheduleFigure& small,
                            const ScheduleFigure& large) {
        const double more = large.peakMiB - small.peakMiB;
        table.Add({"schedule peak memory", what,
                   Fixed(small.peakMiB, 1) + " -> " + Fixed(large.peakMiB, 1) + " MiB",
                   "<= +" + Fixed(kMemoryGrowthMiB, 0) + " MiB", more <= kMemoryGrowthMiB});
    };
    growth("summary, 1,000 -> 10,000 rooms", summary1k, summary10k);
    growth("PDF + DXF, 100 -> 1,000 rooms", full100, full1k);
}

// The command on a floor plan written by ezdxf into a fresh folder, the plan's floor sheet, and
// ezdxf reading the same file as a reference.
void FloorPlans(const Options& o, Table& table) {
    const std::string command = "floor plan, read + lay out + DXF + summary";
    const std::string memory = "floor plan peak memory", sheet = "floor sheet PDF";
    const std::string system = "system design: zones, channels, routes, losses";
    const std::string reference = "ezdxf reading the same floor plan";
    if (!Wanted(o, command) && !Wanted(o, memory) && !Wanted(o, sheet) && !Wanted(o, system) &&
        !Wanted(o, reference))
        return;
    if (!RunProcess({kPython, "-c",
                     "import importlib.util, sys; sys.exit(not importlib.util.find_spec('ezdxf'))"})
             .ok) {
        std::printf("Floor plan figures skipped: %s has no ezdxf (install python3-ezdxf).\n",
                    kPython);
        return;
    }
    QTemporaryDir dir;
    const std::string plan = dir.path().toStdString() + "/floor.dxf";
    if (!RunProcess({kPython, MSL_MAKE_FLOOR_PATH, plan, std::to_string(kFloorRooms)}).ok) {
        table.Add({command, "writing the plan with ezdxf", "failed", "", false});
        return;
    }
    struct stat file {};
    stat(plan.c_str(), &file);
    const double fileMiB = static_cast<double>(file.st_size) / (1024 * 1024);
    const int runs = std::min(o.runs, kFloorRuns);
    const std::string what = Fixed(kFloorRooms, 0) + " rooms, " + Fixed(fileMiB, 1) + " MiB, " +
                             std::to_string(runs) + " runs";
    const std::vector<std::string> arguments{
        MSL_PLAN_PATH, "--plan",     plan,   "--out", dir.path().toStdString() + "/out",
        "--dxf",       "--location", "floor"};
    const std::optional<ScheduleFigure> floor =
        MedianRun([&] { return RunProcess(arguments, Messages::Hidden); }, runs);
    if (!floor) {
        table.Add({command, what, "failed", "", false});
        return;
    }
    if (Wanted(o, command))
        table.Add({command, what, floor->Text(), "< " + Fixed(kFloorPlanMs, 0) + " ms",
                   floor->ms < kFloorPlanMs});
    if (Wanted(o, memory)) {
        const double most = kFloorMemoryPerFileSize * fileMiB;
        table.Add(
            {memory, what,
             Fixed(floor->peakMiB, 1) + " MiB (" + Fixed(floor->peakMiB / fileMiB, 2) +
                 "x the file)",
             "< " + Fixed(kFloorMemoryPerFileSize, 0) + "x the file, " + Fixed(most, 0) + " MiB",
             floor->peakMiB < most});
    }
    if (Wanted(o, sheet)) {
        const std::optional<double> ms = FloorSheetMs(plan, SheetSize::A1, runs);
        table.Add({sheet, "A1, composed and made PDF bytes, " + std::to_string(runs) + " runs",
                   ms ? Ms(*ms) : "failed", "< " + Fixed(kFloorSheetMs, 0) + " ms",
                   ms && *ms < kFloorSheetMs});
    }
    if (Wanted(o, system)) {
        const std::optional<double> ms = SystemDesignMs(plan, runs);
        table.Add({system, "every room an open area, " + std::to_string(runs) + " runs",
                   ms ? Ms(*ms) : "failed", "< " + Fixed(kSystemDesignMs, 0) + " ms",
                   ms && *ms < kSystemDesignMs});
    }
    if (Wanted(o, reference)) {
        const std::optional<ScheduleFigure> ezdxf = MedianRun(
            [&] {
                return RunProcess(
                    {kPython, "-c", "import sys, ezdxf; ezdxf.readfile(sys.argv[1])", plan});
            },
            runs);
        table.Add({reference, "python3 process, " + std::to_string(runs) + " runs",
                   ezdxf ? Ms(ezdxf->ms) + " (" + Fixed(ezdxf->ms / floor->ms, 1) +
                               "x the command's whole run)"
                         : "failed",
                   "", ezdxf.has_value()});
    }
}

} // namespace

int main(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Where Qt would put it anyway, without a warning from every process.
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }

    std::printf("Machine: %ld cores (nproc), %s, Qt %s, %s build, offscreen platform\n",
                sysconf(_SC_NPROCESSORS_ONLN), FirstLine("/proc/cpuinfo", "model name").c_str(),
                QT_VERSION_STR, MSL_BUILD_TYPE);
    std::printf("Load average at start: %s\n\n", LoadAverage().c_str());
    std::fflush(stdout);

    Table table(o.markdown);
    table.Header();
    if (o.startupRuns > 0 && Wanted(o, "start-up, peak memory") && !Startup(o, table))
        return 1;

    QApplication app(argc, argv);
    const std::vector<RoomCase> rooms{
        {"typical", true, 40, 25},       {"large", true, 400, 250},
        {"largest", true, 1000, 1000},   {"typical", false, 12000, 7500},
        {"large", false, 120000, 75000}, {"largest", false, 300000, 300000},
    };
    const int runs = o.runs;
    Timed(o, table, "ComputeRows, length and width", rooms, kCalculateTypicalMs,
          kCalculateLargestMs, [&](const RoomCase& r) { return ComputeRowsUs(r, runs) / 1000; });
    Timed(o, table, "Calculate + drawing, no window", rooms, kCalculateTypicalMs,
          kCalculateLargestMs, [&](const RoomCase& r) { return CalculateDrawingMs(r, runs); });
    std::unique_ptr<WindowBench> window; // made for the first room that wants it
    Timed(o, table, "Calculate in the window", rooms, kCalculateTypicalMs, kCalculateLargestMs,
          [&](const RoomCase& r) {
              if (!window)
                  window = std::make_unique<WindowBench>();
              return window->CalculateMs(r, runs);
          });
    // Pastes: the filter's work grows with the text; the box keeps what it holds.
    const std::string letters(1 << 20, 'x');
    const std::string pasteTarget = "< " + Fixed(kPasteMs, 0) + " ms";
    for (const auto& [what, text, left] :
         {std::tuple{std::string("30000 letters"), letters.substr(0, 30000), std::string()},
          {"1 MiB of letters", letters, ""},
          {"12 and 1 MiB of letters", "12" + letters, "12"}}) {
        if (Wanted(o, "character filter, no window, " + what))
            table.Add({"character filter, no window", what, Ms(FilterMs(text, runs)), "", true});
        if (!Wanted(o, "paste into a numeric box, " + what))
            continue;
        if (!window)
            window = std::make_unique<WindowBench>();
        const double ms = window->PasteMs(text, left, runs);
        table.Add({"paste into a numeric box", what, ms < 0 ? "failed" : Ms(ms), pasteTarget,
                   ms >= 0 && ms < kPasteMs});
    }
    window.reset();
    Timed(o, table, "report, composed page", rooms, kReportTypicalMs, kReportLargestMs,
          [&](const RoomCase& r) { return ReportComposedMs(r, runs); });
    Timed(o, table, "report, PDF file", rooms, kReportTypicalMs, kReportLargestMs,
          [&](const RoomCase& r) { return ReportPdfMs(r, runs); });

    Schedules(o, table);
    FloorPlans(o, table);

    std::printf("\nLoad average at end: %s\n", LoadAverage().c_str());
    std::printf("%s\n", table.Misses() == 0
                            ? "All targets met."
                            : (std::to_string(table.Misses()) + " target(s) missed.").c_str());
    return table.Misses() == 0 ? 0 : 1;
}
