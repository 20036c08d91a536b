// One million poll cycles through the shift engine with a scripted device and the real key
// service's bookkeeping (on a counting backend): resident memory must not grow.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>

#include "bench/bench_report.h"
#include "engine/poll_cycle.h"
#include "output/key_service.h"
#include "tests/doubles/counting_keyboard.h"
#include "tests/doubles/null_display.h"
#include "tests/doubles/scripted_device.h"

namespace {

using namespace vantrel;
using bench::CountingBackend;
using bench::ResidentKiB;

}  // namespace

int main() {
    MainState s;
    s.gear12r = 100, s.gear34l = 2000, s.gear34r = 4000, s.gear56l = 6000;
    s.gear56r = 8000, s.gear78l = 9900, s.geartop = 100, s.gearbot = 9800;
    s.key1 = "q", s.key2 = "a", s.key3 = "w", s.key4 = "s", s.key5 = "e";
    s.key6 = "d", s.key7 = "r", s.key8 = "f", s.keyr = "z";

    DeviceSlot slot;
    bench::ScriptedDevice& fake = bench::PlugScriptedDevice(slot);

    auto backend = std::make_unique<CountingBackend>();
    CountingBackend& counting = *backend;
    KeyService keys(std::move(backend));
    bench::NullDisplay display(false);  // every 997th read fails on purpose

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
        fake.next.x = p.x;
        fake.next.y = p.y;
        fake.next.buttons[0] = p.button ? 1 : 0;
        if (i % 997 == 0) fake.nextError = DIERR_INPUTLOST;
        DirectXEvent8_DXCallback(s, slot, keys, display, 1);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long after = ResidentKiB();

    std::printf(
        "soak: %d poll cycles in %.2f s (%.2f us per cycle), %ld key events at the "
        "backend\n",
        kCycles, seconds, seconds * 1e6 / (kCycles + kWarmup), counting.events);
    const long growth = after - before;
    std::printf("  %-58s %-22s %-12s %s\n", "resident memory growth over 1M poll cycles (soak)",
                (std::to_string(growth) + " KiB").c_str(), "<= 64 KiB",
                growth <= 64 ? "met" : "MISSED");
    return 0;
}
