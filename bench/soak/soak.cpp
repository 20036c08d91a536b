// One million poll cycles through the shift engine with a scripted device and the real key
// service's bookkeeping (on a counting backend): resident memory must not grow.
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include "bench/bench_report.h"
#include "engine/poll_cycle.h"
#include "output/key_service.h"
#include "tests/doubles/default_settings.h"
#include "tests/doubles/fake_controller.h"
#include "tests/doubles/key_outputs.h"
#include "tests/doubles/live_views.h"

int main() {
    using namespace vantrel;
    using bench::ResidentKiB;
    ShiftState s = testing::DefaultSettings();

    ControllerSlot slot;
    testing::FakeController& fake = testing::PlugFakeController(slot);

    auto backend = std::make_unique<testing::CountingKeyboard>();
    testing::CountingKeyboard& counting = *backend;
    KeyService keys(std::move(backend));
    testing::NullView display(false);  // every 997th read fails on purpose

    // A stick walking the gate: every gear, reverse, neutral, and long rests in between.
    const struct {
        int32_t x, y;
        bool button;
    } walk[] = {{5000, 5000, false},   {0, 0, false},    {0, 10000, false},    {3000, 0, false},
                {3000, 10000, false},  {7000, 0, false}, {7000, 10000, false}, {10000, 0, false},
                {10000, 10000, false}, {0, 0, true},     {5000, 5000, false}};
    constexpr int kCycles = 1'000'000;
    constexpr int kWarmup = 200'000;
    long before = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCycles + kWarmup; ++i) {
        if (i == kWarmup) before = ResidentKiB();
        if (i % 250000 == 0)
            std::printf("soak: resident %ld KiB after %d cycles\n", ResidentKiB(), i);
        const auto& p = walk[(i / 50) % std::size(walk)];
        fake.next = testing::StickAt(p.x, p.y);
        fake.next.buttons[0] = p.button;
        if (i % 997 == 0) fake.nextFailure = ReadResult::Lost;
        RunPollCycle(s, slot, keys, display);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long growth = ResidentKiB() - before;

    std::printf(
        "soak: %d poll cycles in %.2f s (%.2f us per cycle), %ld key events at the "
        "backend\n",
        kCycles, seconds, seconds * 1e6 / (kCycles + kWarmup), counting.events);
    bench::Row("resident memory growth over 1M poll cycles (soak)", std::to_string(growth) + " KiB",
               "<= 64 KiB", growth <= 64);
    return 0;
}
