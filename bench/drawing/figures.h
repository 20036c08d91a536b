#pragma once
// What the drawing bench measured in one situation drawn one way, and its part of the table.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_report.h"

namespace vantrel::bench {

// One situation drawn one way, over all its windows.
struct Figures {
    std::string situation;
    bool paced = false;
    std::vector<double> cpuPercents;  // one per window
    double seconds = 0;
    uint64_t moves = 0;
    uint64_t pumps = 0;
    uint64_t listPaints[3] = {};
    uint64_t editorPaints = 0;
    std::vector<double> latencies;

    double Cpu() const { return Percentile(cpuPercents, 0.5); }
    // The busiest of the three lists.
    double ListPaintsPerSecond() const {
        return static_cast<double>(
                   *std::max_element(std::begin(listPaints), std::end(listPaints))) /
               seconds;
    }
};

// How the figures were taken, for the details.
struct Windows {
    int rounds;
    double seconds;
    double settleSeconds;
};

// The rows (paced drawing against its targets, drawing every change beside it) and the details.
inline void PrintDrawingReport(const std::vector<Figures>& figures, double refreshRate,
                               const Windows& windows, const std::string& axisRow) {
    const auto find = [&](const char* situation, bool paced) -> const Figures& {
        return *std::find_if(figures.begin(), figures.end(), [&](const Figures& p) {
            return p.situation == situation && p.paced == paced;
        });
    };
    std::printf(
        "Drawing: virtual controller (2 axes, 12 buttons) at gear 3's edge, 500 reports/s woken "
        "through a node; offscreen platform, %.0f Hz screen\n",
        refreshRate);
    std::printf("  %-58s %-22s %-12s\n", "figure", "measured", "target");
    const std::pair<const char*, double> cpuTargets[] = {
        {"main window shown", 4}, {"field editor open", 6}, {"hidden", 3}};
    for (const auto& [situation, target] : cpuTargets) {
        const double after = find(situation, true).Cpu();
        const double before = find(situation, false).Cpu();
        Row(std::string("CPU at 500 reports/s, ") + situation + " (drawing)",
            Format("%.1f %%", after) + Format(" (before %.1f %%)", before),
            Format("<= %.0f %%", target), after <= target);
    }
    std::vector<double> paced;
    for (const Figures& f : figures) {
        if (f.paced) paced.insert(paced.end(), f.latencies.begin(), f.latencies.end());
    }
    const double p99 = Percentile(paced, 0.99);
    Row("stick change -> key event at 500 reports/s, p99 (drawing)", Format("%.3f ms", p99),
        "<= 1.5 ms", p99 >= 0 && p99 <= 1.5);
    double listRate = 0;
    for (const Figures& f : figures) {
        if (f.paced) listRate = std::max(listRate, f.ListPaintsPerSecond());
    }
    Row("list repaints per second at 500 reports/s (drawing)", Format("%.1f /s", listRate),
        Format("<= %.0f /s", refreshRate), listRate <= refreshRate);

    std::printf(
        "  details (%d windows of %.1f s each way, after %.1f s to settle; CPU is the median):\n",
        windows.rounds, windows.seconds, windows.settleSeconds);
    std::printf("    %-18s %-6s %7s %9s %8s %12s %14s %8s %8s %8s\n", "situation", "drawn", "CPU %",
                "reports/s", "pumps/s", "list paints/s", "editor paints/s", "p50 ms", "p99 ms",
                "max ms");
    for (const Figures& f : figures) {
        std::printf("    %-18s %-6s %7.2f %9.1f %8.1f %12.1f %14.1f %8.3f %8.3f %8.3f\n",
                    f.situation.c_str(), f.paced ? "paced" : "every", f.Cpu(),
                    static_cast<double>(f.moves) / f.seconds,
                    static_cast<double>(f.pumps) / f.seconds, f.ListPaintsPerSecond(),
                    static_cast<double>(f.editorPaints) / f.seconds, Percentile(f.latencies, 0.5),
                    Percentile(f.latencies, 0.99), Percentile(f.latencies, 1.0));
    }
    std::printf("    axis row shown at the end: %s; load average: %s\n", axisRow.c_str(),
                LoadAverage().c_str());
}

}  // namespace vantrel::bench
