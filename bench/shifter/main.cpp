// Virtual shifter benchmark: the real poll cycle on a scripted two-axis controller, with keys and
// the shifter both on (the key service on a counting backend, the shifter on a stand-in for
// /dev/uinput that writes each report to /dev/null, so the figures include a real write call).
// Prints each figure beside its target. A program that prints numbers, not a test.
#include <fcntl.h>
#include <linux/uinput.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "backends/uinput/uinput_shifter.h"
#include "bench/bench_report.h"
#include "engine/poll_cycle.h"
#include "output/key_service.h"
#include "settings/load_settings.h"
#include "tests/doubles/fake_controller.h"
#include "tests/doubles/key_outputs.h"

namespace vantrel::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kChangingCycles = 20000;
constexpr int kUnchangedCycles = 1000;

// The start of each classification pass is the axis row the cycle writes just before it.
class PassStamps : public LiveView {
  public:
    void WriteRow(LiveList list, int, const std::string&) override {
        if (list == LiveList::Axes) passStart = Clock::now();
    }
    void SetCaption(const std::string&) override {}
    void ShowCycleError(const std::string& message) override {
        std::fprintf(stderr, "poll cycle failed: %s\n", message.c_str());
    }
    Clock::time_point passStart;
};

// Writes every report to /dev/null; for each report that moves a button, the time since the
// start of the pass that decided it.
class TimedUinput : public UinputIo {
  public:
    TimedUinput(const PassStamps& stamps, std::vector<double>& latenciesMs)
        : stamps_(stamps), latenciesMs_(latenciesMs), fd_(open("/dev/null", O_WRONLY)) {}
    ~TimedUinput() override { close(fd_); }
    int SetBit(unsigned long, int) override { return 0; }
    int Setup(const uinput_setup&) override { return 0; }
    int AbsSetup(const uinput_abs_setup&) override { return 0; }
    int Create() override { return 0; }
    int Destroy() override { return 0; }
    int Write(const void* data, size_t size) override {
        if (write(fd_, data, size) != static_cast<ssize_t>(size)) return EIO;
        const Clock::time_point now = Clock::now();
        const auto* e = static_cast<const input_event*>(data);
        const size_t n = size / sizeof(input_event);
        events += n - 1;  // without the report's SYN
        if (std::any_of(e, e + n, [](const input_event& ev) { return ev.type == EV_KEY; })) {
            latenciesMs_.push_back(
                std::chrono::duration<double, std::milli>(now - stamps_.passStart).count());
        }
        return 0;
    }
    uint64_t events = 0;

  private:
    const PassStamps& stamps_;
    std::vector<double>& latenciesMs_;
    int fd_;
};

int Run() {
    ShiftState state;
    LoadSettings(state, "/nonexistent/vantrel-bench/config.ini");
    state.rangeButton = 2;
    ControllerSlot slot;
    testing::FakeController& scripted = testing::PlugFakeController(slot);

    KeyService keys(std::make_unique<testing::CountingKeyboard>());
    PassStamps display;
    std::vector<double> latencies;
    latencies.reserve(2 * kChangingCycles);
    auto io = std::make_unique<TimedUinput>(display, latencies);
    TimedUinput& written = *io;
    UinputShifter shifter(std::move(io));

    // The stick walks the gate: every cycle lands in another field (gears 1..8, reverse via
    // button 1, the centre), and the range button changes every few cycles.
    struct Position {
        int32_t x, y;
        bool reverse;
    };
    constexpr Position kWalk[] = {{0, 0, false},        {0, 10000, false},   {3000, 0, false},
                                  {3000, 10000, false}, {5000, 5000, false}, {7000, 0, false},
                                  {7000, 10000, false}, {10000, 0, false},   {10000, 10000, false},
                                  {0, 0, true}};
    const auto cycle = [&](const Position& p, bool range) {
        scripted.next = testing::StickAt(p.x, p.y);
        scripted.next.buttons[0] = p.reverse;
        scripted.next.buttons[1] = range;
        RunPollCycle(state, slot, keys, display, &shifter);
    };
    for (int i = 0; i < kChangingCycles; ++i) {
        cycle(kWalk[static_cast<size_t>(i) % std::size(kWalk)], (i / 7) % 2 == 1);
    }

    cycle(kWalk[2], false);
    cycle(kWalk[2], false);
    const uint64_t before = written.events;
    for (int i = 0; i < kUnchangedCycles; ++i) cycle(kWalk[2], false);
    const double perUnchanged =
        static_cast<double>(written.events - before) / static_cast<double>(kUnchangedCycles);

    std::printf(
        "Virtual shifter: scripted controller, 2 axes, 12 buttons; keys and shifter both on; "
        "reports written to /dev/null in place of /dev/uinput\n");
    std::printf("  %-58s %-22s %-12s\n", "figure", "measured", "target");
    Row("shifter events written per unchanged poll cycle", Format("%.3f", perUnchanged), "0",
        perUnchanged == 0);
    const double p99 = Percentile(latencies, 0.99);
    Row("classification pass -> shifter write (in-process), p99", Format("%.4f ms", p99),
        "<= 0.1 ms", p99 >= 0 && p99 <= 0.1);
    std::printf("  details:\n");
    std::printf("    %zu button reports over %d changing cycles; p50 %.4f ms, max %.4f ms\n",
                latencies.size(), kChangingCycles, Percentile(latencies, 0.5),
                Percentile(latencies, 1.0));
    std::printf("    load average during the run: %s\n", LoadAverage().c_str());
    return 0;
}

}  // namespace
}  // namespace vantrel::bench

int main() {
    try {
        return vantrel::bench::Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
