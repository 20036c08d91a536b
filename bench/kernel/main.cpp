// The real vantrel on a real kernel: a uinput Xbox 360 pad read through its evdev node, keys read
// from the virtual keyboard's node. Idle CPU with the controller selected and the stick still, and
// the latency from the controller's report to the key event. Absolute numbers on a software CPU
// are several times a real machine's: compare them with the timer path's figures from the same
// machine, printed beside them.
#include <glob.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

#include "bench/bench_report.h"
#include "kernel/evdev_watch.h"
#include "kernel/gate.h"
#include "kernel/uinput_controller.h"
#include "kernel/vantrel_process.h"

namespace vantrel::bench {
namespace {

using testing::Clock;
using namespace std::chrono_literals;

constexpr auto kIdleWindow = 10s;
constexpr int kChanges = 400;

// CPU time of every thread of `pid` so far, in seconds (the scheduler's own account, in ns).
double ProcessCpuSeconds(pid_t pid) {
    double total = 0;
    glob_t found{};
    const std::string pattern = "/proc/" + std::to_string(pid) + "/task/*/schedstat";
    if (::glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (size_t i = 0; i < found.gl_pathc; ++i) {
            std::ifstream in(found.gl_pathv[i]);
            double ns = 0;
            in >> ns;
            total += ns * 1e-9;
        }
    }
    ::globfree(&found);
    return total;
}

void Info(const std::string& figure, const std::string& measured) {
    std::printf("  %-58s %-22s %-12s %s\n", figure.c_str(), measured.c_str(), "(compare)", "info");
}

int Run() {
    testing::UinputController pad(testing::Xbox360Pad());
    testing::VantrelProcess vantrel("[controller]\nname=Xbox 360 Controller\n");
    const std::optional<std::string> node = testing::FindEventNode("Vantrel virtual keyboard", 60s);
    if (!node || !vantrel.HoldsOpen(pad.eventNode(), 30000ms)) {
        std::fprintf(stderr, "vantrel did not take up the controller:\n%s",
                     vantrel.Output().c_str());
        return 1;
    }
    testing::EvdevWatch keyboard(*node);

    // Latency: the stick jumps between the fields of gears 1 and 2, each report a new key.
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> gapUs(1000, 4000);
    std::vector<double> latencies;
    for (int i = 0; i < kChanges; ++i) {
        const int gear = 1 + i % 2;
        const uint16_t key = gear == 1 ? KEY_Q : KEY_A;
        std::this_thread::sleep_for(std::chrono::microseconds(gapUs(random)));
        const size_t seen = keyboard.changes().size();
        const Clock::time_point sent = Clock::now();
        pad.MoveStick(testing::GearPosition(gear).x, testing::GearPosition(gear).y);
        const auto pressed = keyboard.WaitForChange(key, true, seen, 2s);
        if (pressed) {
            latencies.push_back(
                std::chrono::duration<double, std::milli>(pressed->when - sent).count());
        }
    }
    pad.MoveStick(testing::kNeutral.x, testing::kNeutral.y);

    // Idle: selected, the stick still.
    std::this_thread::sleep_for(3s);
    const double cpu0 = ProcessCpuSeconds(vantrel.pid());
    const Clock::time_point wall0 = Clock::now();
    std::this_thread::sleep_for(kIdleWindow);
    const double idlePercent = 100.0 * (ProcessCpuSeconds(vantrel.pid()) - cpu0) /
                               std::chrono::duration<double>(Clock::now() - wall0).count();

    std::printf(
        "Real kernel, software CPU: vantrel with a uinput Xbox 360 pad on its evdev node; load "
        "%s\n",
        LoadAverage().c_str());
    Info("idle CPU, stick still [real kernel, software CPU: evdev]",
         Format("%.3f %%", idlePercent));
    Info("report -> key, p50 [real kernel, software CPU: evdev]",
         Format("%.3f ms", Percentile(latencies, 0.5)));
    Info("report -> key, p99 [real kernel, software CPU: evdev]",
         Format("%.3f ms", Percentile(latencies, 0.99)));
    if (latencies.size() != static_cast<size_t>(kChanges)) {
        std::printf("%zu of %d changes gave no key within 2 s\n", kChanges - latencies.size(),
                    kChanges);
    }
    return 0;
}

}  // namespace
}  // namespace vantrel::bench

int main() { return vantrel::bench::Run(); }
