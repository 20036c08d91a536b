// vantrel-bench-watchdog: what the key watchdog costs while Vantrel runs with XTest keys.
//
// The key service is made as a start makes it (XTest, so the watchdog starts beside it) on an X
// server of its own; the real poll cycle runs on a scripted two-axis controller. The watchdog's
// CPU time is read from its CPU clock over 10 s in each of three spells: a gear held and the stick
// still; the stick reporting 500 times a second and shifting twice a second; and every report a
// shift. Without a display it runs itself under xvfb-run. A program that prints numbers, not a
// test.
#include <dirent.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "app/key_service_factory.h"
#include "bench/bench_report.h"
#include "engine/poll_cycle.h"
#include "settings/load_settings.h"
#include "tests/doubles/fake_controller.h"
#include "tests/doubles/live_views.h"

namespace vantrel::bench {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kSpell = 10s;
constexpr auto kReportEvery = 2ms;  // 500 reports a second
constexpr int kReportsPerShift = 250;

// The watchdog is an orphan from its start; adopted by this process, it is found as a child.
pid_t AdoptedWatchdog() {
    DIR* proc = opendir("/proc");
    pid_t found = 0;
    while (dirent* entry = readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.find("(vantrel-key-wat)") == std::string::npos) {
            continue;
        }
        int parent = 0;
        std::sscanf(line.c_str() + line.rfind(')') + 1, " %*c %d", &parent);
        if (parent == getpid()) found = std::atoi(entry->d_name);
    }
    closedir(proc);
    return found;
}

// From an edge of the 0..10000 scale towards the middle.
int32_t Inward(int32_t value) { return value < 5000 ? 1 : -1; }

struct Spell {
    double watchdogPercent = -1;
    double vantrelPercent = -1;  // this thread: the poll cycle, the key service, the X requests
    int reports = 0;
    int shifts = 0;
};

int Run() {
    // Not the uinput backend, even where /dev/uinput can be written: the watchdog is XTest's.
    setenv("VANTREL_KEY_BACKEND", "xtest", 1);
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::string failure;
    std::unique_ptr<KeyService> keys = CreateKeyService(failure);
    if (!keys) return std::fprintf(stderr, "%s\n", failure.c_str()), 1;
    const pid_t watchdog = AdoptedWatchdog();
    clockid_t watchdogClock;
    if (watchdog == 0 || clock_getcpuclockid(watchdog, &watchdogClock) != 0) {
        std::fprintf(stderr, "the key watchdog did not start; see the message above\n");
        return 1;
    }

    ShiftState state;
    LoadSettings(state, "/nonexistent/vantrel-bench/config.ini");
    state.rangeButton = 2;
    ControllerSlot slot;
    testing::FakeController& scripted = testing::PlugFakeController(slot);
    testing::NullView display;
    // The middle of each gear's field (gears 1 to 8), as the shifter benchmark walks the gate.
    constexpr int32_t kGears[][2] = {{0, 0},    {0, 10000},    {3000, 0},  {3000, 10000},
                                     {7000, 0}, {7000, 10000}, {10000, 0}, {10000, 10000}};

    // `gearOf(report)` is the gear field the stick is in; within it the stick keeps moving a
    // little, so every report is a change.
    const auto spell = [&](auto gearOf) {
        Spell result;
        const double watchdogBefore = CpuSecondsOf(watchdogClock);
        const double vantrelBefore = CpuSeconds(RUSAGE_THREAD);
        const Clock::time_point start = Clock::now();
        Clock::time_point next = start;
        size_t gear = gearOf(0);
        while (Clock::now() - start < kSpell) {
            const size_t now = gearOf(result.reports);
            result.shifts += now != gear;
            gear = now;
            scripted.next = testing::StickAt(
                kGears[gear][0] + Inward(kGears[gear][0]) * (result.reports % 2) * 100,
                kGears[gear][1] + Inward(kGears[gear][1]) * (result.reports % 3) * 50);
            RunPollCycle(state, slot, *keys, display);
            ++result.reports;
            std::this_thread::sleep_until(next += kReportEvery);
        }
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        result.watchdogPercent = 100 * (CpuSecondsOf(watchdogClock) - watchdogBefore) / wall;
        result.vantrelPercent = 100 * (CpuSeconds(RUSAGE_THREAD) - vantrelBefore) / wall;
        return result;
    };

    // Gear 3 engaged, then nothing reports.
    scripted.next = testing::StickAt(kGears[2][0], kGears[2][1]);
    for (int pass = 0; pass < 2; ++pass) RunPollCycle(state, slot, *keys, display);
    const bool held = keys->HeldCount() == 1;
    const double idleBefore = CpuSecondsOf(watchdogClock);
    std::this_thread::sleep_for(kSpell);
    const double idlePercent = 100 * (CpuSecondsOf(watchdogClock) - idleBefore) /
                               std::chrono::duration<double>(kSpell).count();

    const Spell humane = spell([](int report) { return size_t(report / kReportsPerShift) % 8; });
    const Spell frantic = spell([](int report) { return size_t(report) % 8; });
    keys.reset();

    std::printf(
        "Key watchdog: XTest keys on Xvfb, the real poll cycle on a scripted two-axis controller, "
        "10 s per spell\n");
    std::printf("  %-58s %-22s %-12s\n", "figure", "measured", "target");
    const auto percent = [](double p) { return Format("%.3f %% of a core", p); };
    Row("key watchdog CPU, idle, a gear held (watchdog)", percent(idlePercent), "<= 0.1 %",
        held && idlePercent <= 0.1);
    Row("key watchdog CPU, 500 reports/s, 2 shifts/s (watchdog)", percent(humane.watchdogPercent),
        "<= 0.1 %", humane.watchdogPercent <= 0.1);
    std::printf("  details:\n");
    std::printf(
        "    2 shifts/s: %d reports, %d shifts; Vantrel's side (poll cycle, keys, X) %.3f %%\n",
        humane.reports, humane.shifts, humane.vantrelPercent);
    // No player shifts like this: the cost of each key change, which only real changes have.
    std::printf(
        "    a shift on every report: %d reports, %d shifts; watchdog %.3f %% of a core (%.1f us "
        "per shift), Vantrel's side %.3f %%\n",
        frantic.reports, frantic.shifts, frantic.watchdogPercent,
        frantic.watchdogPercent / 100 * std::chrono::duration<double>(kSpell).count() * 1e6 /
            std::max(frantic.shifts, 1),
        frantic.vantrelPercent);
    std::printf("    load average during the run: %s\n", LoadAverage().c_str());
    return 0;
}

}  // namespace
}  // namespace vantrel::bench

int main(int, char** argv) {
    vantrel::bench::RunAgainUnderXvfbWithoutDisplay(argv[0]);
    return vantrel::bench::Run();
}
