// Medians over repeated runs, the one statistic the benchmark reports: a run disturbed by
// another process on the machine moves the mean but hardly the median.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

inline double NowMs() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// Runs work once to warm caches, then `runs` times; the median duration in milliseconds.
template <typename Work> double MedianMs(int runs, Work&& work) {
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs();
        work();
        times.push_back(NowMs() - start);
    }
    return Median(times);
}
