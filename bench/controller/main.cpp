// Controller pump benchmark: one SDL virtual controller, opened and configured as the controller
// selection does it, its notifications running the real poll cycle on a Qt event loop. Prints each
// figure beside its target. A program that prints numbers, not a test.
#include <SDL.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "backends/sdl/controller_pump.h"
#include "backends/sdl/pump_timer.h"
#include "backends/sdl/sdl_controller_service.h"
#include "bench/bench_report.h"
#include "controller/controller_layer.h"
#include "controller/identify_axes.h"
#include "engine/poll_cycle.h"
#include "settings/load_settings.h"
#include "stamping_key_sender.h"
#include "tests/doubles/live_views.h"

namespace vantrel::bench {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kMovingChanges = 2000;
constexpr int kStillTrials = 10;
constexpr auto kStillSpell = 2200ms;
constexpr auto kIdleSettle = 2s;
constexpr auto kIdleWindow = 5s;

int64_t Nanos(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void RunLoopFor(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

const char* PaceName(PumpPace pace) {
    switch (pace) {
        case PumpPace::Stopped:
            return "stopped";
        case PumpPace::Dormant:
            return "dormant";
        case PumpPace::Fast:
            return "fast";
        case PumpPace::Slow:
            return "slow";
        default:
            return "node-driven";
    }
}

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f ms", ms);
    return text;
}

// Moves the virtual stick from a second thread, like a device that changes on its own time, and
// waits for each change's poll cycle before making the next.
class Mover {
  public:
    explicit Mover(SDL_Joystick* joystick) : joystick_(joystick) {}

    // Called by the receiver after a cycle: the latency of the outstanding change, if this
    // cycle answered it.
    bool Answer(Clock::time_point firstSend, double& latencyMs) {
        const int64_t changedAt = pending_.load();
        if (changedAt == 0 || Nanos(firstSend) < changedAt) return false;
        latencyMs = static_cast<double>(Nanos(firstSend) - changedAt) / 1e6;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_.store(0);
        }
        answered_.notify_one();
        return true;
    }

    void Step() {
        // Each step moves one axis to a new field, so each is exactly one change.
        static constexpr int xs[4] = {-30000, -15073, 8000, 30000};
        static constexpr int ys[2] = {-32768, 32767};
        const int axis = step_ % 2;
        const int value = axis == 0 ? xs[(step_ / 2) % 4] : ys[(step_ / 2) % 2];
        ++step_;
        std::unique_lock<std::mutex> lock(mutex_);
        pending_.store(Nanos(Clock::now()));
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
        if (!answered_.wait_for(lock, 500ms, [&] { return pending_.load() == 0; })) {
            pending_.store(0);
            ++unanswered_;
        }
    }
    int unanswered() const { return unanswered_; }

  private:
    SDL_Joystick* joystick_;
    std::atomic<int64_t> pending_{0};
    std::mutex mutex_;
    std::condition_variable answered_;
    int step_ = 0;
    int unanswered_ = 0;
};

// Options to try other pump timings: --fast-us N, --slow-us N, --hold-ms N.
PumpTiming TimingFromArguments(const QStringList& arguments) {
    PumpTiming timing;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        const long long value = arguments[i + 1].toLongLong();
        if (arguments[i] == "--fast-us") timing.fast = std::chrono::microseconds(value);
        if (arguments[i] == "--slow-us") timing.slow = std::chrono::microseconds(value);
        if (arguments[i] == "--hold-ms") timing.fastHold = std::chrono::milliseconds(value);
    }
    return timing;
}

int Run(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SdlControllerService service;

    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = 2;
    desc.nbuttons = 12;
    desc.name = "Bench Stick";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    if (!stick) {
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
    testing::NullView display;
    ControllerPump pump(service);
    pump.setTiming(TimingFromArguments(app.arguments()));
    Mover mover(stick);

    std::vector<double> moving;
    std::vector<double> afterStillness;
    std::vector<PumpPace> stillnessPaces;
    std::atomic<bool> stillPhase{false};
    uint64_t cycles = 0;
    const int32_t receiver = service.AddReportReceiver([&] {
        const PumpPace pace = pump.pace();
        keys.NewCycle();
        RunPollCycle(state, slot, keys, display);
        ++cycles;
        // Read before answering: the answer lets the mover go on to the next phase.
        const bool still = stillPhase;
        double latency = 0;
        if (keys.stamped() && mover.Answer(keys.firstSend(), latency)) {
            (still ? afterStillness : moving).push_back(latency);
            if (still) stillnessPaces.push_back(pace);
        }
    });
    controller.SendReportsTo(receiver);
    controller.Configure(kAxisScaling);
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
    Row("stick change -> key event while moving, p50", Ms(p50), "<= 0.5 ms", p50 <= 0.5);
    Row("stick change -> key event while moving, p99", Ms(p99), "<= 1.5 ms", p99 <= 1.5);
    const double stillMax = Percentile(afterStillness, 1.0);
    Row("first change after 2 s still, worst of trials",
        Ms(stillMax) + " (median " + Ms(Percentile(afterStillness, 0.5)) + ")", "<= 10 ms",
        stillMax <= 10.0);
    char idleText[64];
    std::snprintf(idleText, sizeof idleText, "%.3f %% of a core", idlePercent);
    Row("idle CPU, stick still >= 2 s (5 s window)", idleText, "<= 0.3 %", idlePercent <= 0.3);
    char backendText[64];
    std::snprintf(backendText, sizeof backendText, "%.3f", backendPerCycle);
    Row("key events reaching the backend per unchanged poll cycle", backendText, "0",
        backendPerCycle == 0);

    std::printf("  details:\n");
    std::printf(
        "    moving: %zu changes, max %s, %d without a cycle; GUI thread busy %.1f %% of a core\n",
        moving.size(), Ms(Percentile(moving, 1.0)).c_str(), mover.unanswered(),
        movingWall > 0 ? 100.0 * movingCpu / movingWall : 0.0);
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
    SDL_JoystickClose(stick);
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
