#pragma once
// What every benchmark program needs to measure and to print its rows of the `make bench` table.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace vantrel::bench {

// The value below which the fraction `p` of `values` lie (nearest rank); -1 for no values.
inline double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// The machine's load while measuring, for the log: figures from a busy machine read high.
inline std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one.empty() ? "unknown" : one + " (1 min), " + five + " (5 min)";
}

// CPU time of the process (RUSAGE_SELF) or of the calling thread (RUSAGE_THREAD), in seconds.
inline double CpuSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// CPU time so far on `clock` (a thread's or another process's CPU clock), in seconds.
inline double CpuSecondsOf(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A figure of this process's memory from /proc/self/status in KiB, e.g. "VmRSS" or "VmHWM".
inline long StatusKiB(std::string_view field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.size() > field.size() && line.compare(0, field.size(), field) == 0 &&
            line[field.size()] == ':') {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

inline long ResidentKiB() { return StatusKiB("VmRSS"); }

// One number in printf notation, e.g. Format("%.3f ms", 0.25).
inline std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Without an X display, starts `program` again under an Xvfb of its own (no key auto-repeat, the
// keymap kept) and ends with it; returns only when there is a display.
inline void RunAgainUnderXvfbWithoutDisplay(const char* program) {
    if (std::getenv("DISPLAY") || std::getenv("VANTREL_BENCH_UNDER_XVFB")) return;
    ::setenv("VANTREL_BENCH_UNDER_XVFB", "1", 1);
    execlp("xvfb-run", "xvfb-run", "-a", "-s", "-noreset -r -screen 0 1280x800x24", program,
           static_cast<char*>(nullptr));
    std::perror("xvfb-run");
    std::exit(1);
}

// One row of the table; scripts/run-bench.sh collects the lines that end in met or MISSED.
inline void Row(std::string_view figure, std::string_view measured, std::string_view target,
                bool met) {
    std::printf("  %-58.*s %-22.*s %-12.*s %s\n", static_cast<int>(figure.size()), figure.data(),
                static_cast<int>(measured.size()), measured.data(), static_cast<int>(target.size()),
                target.data(), met ? "met" : "MISSED");
}

}  // namespace vantrel::bench
