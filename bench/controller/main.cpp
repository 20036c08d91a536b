// Controller pump benchmark: one SDL virtual controller, opened and configured as the controller
// selection does it, its notifications running the real poll cycle on a Qt event loop. Prints each
// figure beside its target. A program that prints numbers, not a test. While moving, changes take
// turns with and without the rumble pulse, so that load on the machine falls on both alike.
#include <SDL.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "backends/sdl/controller_pump.h"
#include "backends/sdl/pump_timer.h"
#include "backends/sdl/sdl_controller_service.h"
#include "bench/bench_report.h"
#include "bench/bench_support.h"
#include "bench/stamping_key_output.h"
#include "controller/controller_layer.h"
#include "controller/identify_axes.h"
#include "engine/gate_feel.h"
#include "engine/poll_cycle.h"
#include "mover.h"
#include "pump_options.h"
#include "settings/load_settings.h"
#include "tests/doubles/live_views.h"
#include "tests/doubles/manual_alarm.h"
#include "tests/doubles/virtual_pad.h"

namespace vantrel::bench {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kMovingChanges = 2000;
constexpr int kStillTrials = 10;
constexpr auto kStillSpell = 2200ms;
constexpr auto kIdleSettle = 2s;
constexpr auto kIdleWindow = 5s;

int Run(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SdlControllerService service;

    testing::VirtualPad pad("Bench Stick", 2, 12, /*motors=*/true);
    if (!pad.ok()) {
        std::fprintf(stderr, "no virtual joystick: %s\n", SDL_GetError());
        return 1;
    }

    // The selection's configuration and the poll cycle's state, with the default settings.
    ShiftState state;
    LoadSettings(state, "/nonexistent/vantrel-bench/config.ini");
    ControllerSlot slot;
    slot.controller = service.Open(service.Attached().at(0).attachmentId);
    Controller& controller = *slot.controller;
    const ControllerTraits traits = controller.Describe();
    slot.buttons = traits.buttons;
    slot.hasAxis = AxisSlotsOf(traits.axes);

    StampingKeyOutput keys;
    // The pulse's stop comes right after the cycle, on the same thread, as the program's timer
    // would bring it later.
    testing::ManualAlarm alarm;
    GateFeel feel(slot, alarm);
    feel.SetStrength(60);
    const PassOutputs plain{.keys = &keys};
    const PassOutputs felt{.keys = &keys, .feel = &feel};
    bool rumbleNext = false;
    testing::NullView display;
    ControllerPump pump(service);
    pump.setTiming(TimingFromArguments(app.arguments()));
    Mover mover(pad);

    std::vector<double> moving;
    std::vector<double> movingFelt;
    std::vector<double> afterStillness;
    std::vector<PumpPace> stillnessPaces;
    std::atomic<bool> stillPhase{false};
    uint64_t cycles = 0;
    const int32_t receiver = service.AddReportReceiver([&] {
        const PumpPace pace = pump.pace();
        // Read before answering: the answer lets the mover go on to the next phase.
        const bool still = stillPhase;
        const bool rumble = rumbleNext && !still;
        keys.NewCycle();
        RunPollCycle(state, slot, rumble ? felt : plain, display);
        ++cycles;
        double latency = 0;
        if (keys.stamped() && mover.Answer(keys.firstSend(), latency)) {
            (still ? afterStillness : rumble ? movingFelt : moving).push_back(latency);
            if (still) stillnessPaces.push_back(pace);
            rumbleNext = !rumbleNext;
        }
        alarm.RingAll();
    });
    controller.Configure(kAxisScaling);
    controller.SendReportsTo(receiver);
    RunPollCycle(state, slot, keys, display);
    pump.start();

    // Moving, then single changes after still spells, all driven from the second thread.
    QEventLoop moveLoop;
    double movingCpu = 0;
    double movingWall = 0;
    std::thread thread([&] {
        std::mt19937 random(12345);
        std::uniform_int_distribution<int> gapUs(1000, 4000);
        std::uniform_int_distribution<int> phaseUs(0, 8000);
        for (int i = 0; i < kMovingChanges; ++i) {
            std::this_thread::sleep_for(std::chrono::microseconds(gapUs(random)));
            mover.Step();
        }
        QMetaObject::invokeMethod(&moveLoop, [&] {
            movingCpu = CpuSeconds(RUSAGE_THREAD) - movingCpu;
            movingWall =
                std::chrono::duration<double>(Clock::now().time_since_epoch()).count() - movingWall;
        });
        stillPhase = true;
        for (int i = 0; i < kStillTrials; ++i) {
            std::this_thread::sleep_for(kStillSpell + std::chrono::microseconds(phaseUs(random)));
            mover.Step();
        }
        QMetaObject::invokeMethod(&moveLoop, "quit", Qt::QueuedConnection);
    });
    movingCpu = CpuSeconds(RUSAGE_THREAD);
    movingWall = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    moveLoop.exec();
    thread.join();

    // Idle: the stick has not moved since the last trial.
    RunLoopFor(kIdleSettle);
    const PumpPace idlePace = pump.pace();
    const uint64_t pumpsBefore = pump.pumpCount();
    const uint64_t cyclesBefore = cycles;
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = Clock::now();
    RunLoopFor(kIdleWindow);
    const double idleWall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    const double idleCpu = CpuSeconds() - cpuBefore;
    const double idlePercent = 100.0 * idleCpu / idleWall;
    const double idlePumpsPerSecond =
        static_cast<double>(pump.pumpCount() - pumpsBefore) / idleWall;
    const uint64_t idleCycles = cycles - cyclesBefore;
    pump.stop();

    // For comparison: the same timer with nothing to do.
    double floorPercent = 0;
    {
        PumpTimer bare([] {});
        bare.start(pump.timing().slow);
        const double cpu0 = CpuSeconds();
        const auto wall0 = Clock::now();
        RunLoopFor(kIdleWindow);
        floorPercent = 100.0 * (CpuSeconds() - cpu0) /
                       std::chrono::duration<double>(Clock::now() - wall0).count();
    }

    // Unchanged cycles on the 2-axis controller: what reaches the backend.
    constexpr int kUnchangedCycles = 1000;
    const uint64_t sendsBefore = keys.sends();
    const uint64_t backendBefore = keys.backendEvents();
    for (int i = 0; i < kUnchangedCycles; ++i) {
        RunPollCycle(state, slot, keys, display);
    }
    const double sendsPerCycle = static_cast<double>(keys.sends() - sendsBefore) / kUnchangedCycles;
    const double backendPerCycle =
        static_cast<double>(keys.backendEvents() - backendBefore) / kUnchangedCycles;

    const PumpTiming& timing = pump.timing();
    std::printf(
        "Controller pump: virtual controller, 2 axes, 12 buttons; pump fast %.1f ms, slow %.1f "
        "ms, fast for %lld ms after the last change\n",
        static_cast<double>(timing.fast.count()) / 1000.0,
        static_cast<double>(timing.slow.count()) / 1000.0,
        static_cast<long long>(timing.fastHold.count()));
    std::printf("  %-58s %-22s %-12s\n", "figure", "measured", "target");
    const double p50 = Percentile(moving, 0.50);
    const double p99 = Percentile(moving, 0.99);
    const double feltP50 = Percentile(movingFelt, 0.50);
    const double feltP99 = Percentile(movingFelt, 0.99);
    const auto ms = [](double value) { return Format("%.3f ms", value); };
    Row("stick change -> key event while moving, p50", ms(p50), "<= 0.5 ms", p50 <= 0.5);
    Row("stick change -> key event while moving, p99", ms(p99), "<= 1.5 ms", p99 <= 1.5);
    Row("stick change -> key event while moving, rumble on, p50", ms(feltP50), "<= 0.5 ms",
        feltP50 <= 0.5);
    Row("stick change -> key event while moving, rumble on, p99", ms(feltP99), "<= 1.5 ms",
        feltP99 <= 1.5);
    Row("rumble on - off, stick->key p99 difference", ms(feltP99 - p99), "<= 0.1 ms",
        feltP99 - p99 <= 0.1);
    const double stillMax = Percentile(afterStillness, 1.0);
    Row("first change after 2 s still, worst of trials",
        ms(stillMax) + " (median " + ms(Percentile(afterStillness, 0.5)) + ")", "<= 10 ms",
        stillMax <= 10.0);
    Row("idle CPU, stick still >= 2 s (5 s window)", Format("%.3f %% of a core", idlePercent),
        "<= 0.3 %", idlePercent <= 0.3);
    Row("key events reaching the backend per unchanged poll cycle", Format("%.3f", backendPerCycle),
        "0", backendPerCycle == 0);

    std::printf("  details:\n");
    std::printf(
        "    moving: %zu changes, max %s, %d without a cycle; GUI thread busy %.1f %% of a core\n",
        moving.size(), ms(Percentile(moving, 1.0)).c_str(), mover.unanswered(),
        movingWall > 0 ? 100.0 * movingCpu / movingWall : 0.0);
    std::printf("    rumble: %zu changes with it, %zu without; %zu requests reached the motors\n",
                movingFelt.size(), moving.size(), pad.rumbles().size());
    int slowTrials = 0;
    for (const PumpPace pace : stillnessPaces) slowTrials += pace == PumpPace::Slow ? 1 : 0;
    std::printf("    after stillness: %zu trials, %d of them met the pump at the slow pace\n",
                afterStillness.size(), slowTrials);
    std::printf("    idle: pace %s, %.1f pumps/s, %.1f us CPU per pump, %llu poll cycles\n",
                PaceName(idlePace), idlePumpsPerSecond,
                idlePumpsPerSecond > 0 ? idleCpu / idleWall / idlePumpsPerSecond * 1e6 : 0.0,
                static_cast<unsigned long long>(idleCycles));
    std::printf("    an empty timer at the slow interval costs %.3f %% of a core on this machine\n",
                floorPercent);
    std::printf("    unchanged cycle: %.0f key-sending calls by the engine, %.3f passed on\n",
                sendsPerCycle, backendPerCycle);
    std::printf("    load average during the run: %s\n", LoadAverage().c_str());

    slot.controller.reset();
    return 0;
}

}  // namespace
}  // namespace vantrel::bench

int main(int argc, char** argv) {
    try {
        return vantrel::bench::Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
