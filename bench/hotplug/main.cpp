// Hot-plug benchmark: the main window on the real SDL controller service with its pump and
// hot-plug watch, and the real key service on a backend that only notes which keys are held. SDL
// virtual controllers are plugged in and out at run time. Prints each figure beside its target. A
// program that prints numbers, not a test.
#include <QApplication>
#include <QListWidget>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "backends/sdl/controller_pump.h"
#include "backends/sdl/sdl_controller_service.h"
#include "bench/bench_report.h"
#include "bench/bench_support.h"
#include "output/key_service.h"
#include "tests/doubles/virtual_pad.h"
#include "windows/main_window/main_window.h"

namespace vantrel::bench {
namespace {

using Clock = std::chrono::steady_clock;
using testing::VirtualPad;
using namespace std::chrono_literals;

constexpr int kLossTrials = 20;
constexpr int kPlugTrials = 10;
constexpr int kSoakCycles = 1000;
constexpr int kSoakWarmup = 100;
constexpr auto kIdleSettle = 2s;
constexpr auto kIdleWindow = 10s;
constexpr const char* kPadName = "Bench Hotplug Pad";
// Raw axis values of gear 3's field.
constexpr int kGear3X = -14417, kGear3Y = -32768;

// Notes how many keys are held and when the last one went up.
class HeldKeysBackend : public KeyBackend {
  public:
    std::string_view Name() const override { return "held keys"; }
    void Press(const KeyName&) override { ++held; }
    void Release(const KeyName&) override {
        if (--held == 0) allUpAt = Clock::now();
    }
    int held = 0;
    Clock::time_point allUpAt{};
};

class BenchServices : public ServiceFactory {
  public:
    std::unique_ptr<KeyOutput> CreateKeyService(std::string&) override {
        auto backend = std::make_unique<HeldKeysBackend>();
        keys = backend.get();
        return std::make_unique<KeyService>(std::move(backend));
    }
    std::unique_ptr<ControllerService> CreateControllerService() override {
        auto service = std::make_unique<SdlControllerService>();
        sdl = service.get();
        return service;
    }
    std::unique_ptr<QObject> StartNotifications(ControllerService&) override {
        auto pump = std::make_unique<ControllerPump>(*sdl);
        pump->start();
        return pump;
    }
    HeldKeysBackend* keys = nullptr;
    SdlControllerService* sdl = nullptr;
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int Run(int argc, char** argv) {
    TempHome home("vantrel-bench-hotplug");  // nothing remembered yet
    if (!home.ok()) return 1;
    QApplication app(argc, argv);
    BenchServices services;
    MainWindow window;
    window.endProgram = [](int) {};
    window.waitForController = true;
    if (window.Start(services)) {
        std::fprintf(stderr, "the start-up failed\n");
        return 1;
    }
    HeldKeysBackend& keys = *services.keys;
    ControllerLayer& layer = *window.controllerLayer();
    QListWidget* lines = window.controls().controllerList;
    const auto selected = [&] { return layer.slot().controller != nullptr; };
    std::mt19937 random(4711);

    // Idle: one controller attached, none selected.
    double idlePercent = -1;
    {
        VirtualPad pad("Bench Idle Pad", 2, 4);
        if (!RunUntil([&] { return lines->count() == 1; })) {
            std::fprintf(stderr, "the controller was never listed\n");
            return 1;
        }
        RunFor(std::chrono::duration_cast<std::chrono::milliseconds>(kIdleSettle));
        const double cpu0 = CpuSeconds();
        const auto wall0 = Clock::now();
        RunLoopFor(kIdleWindow);
        idlePercent = 100.0 * (CpuSeconds() - cpu0) / (Ms(Clock::now() - wall0) / 1000.0);
    }
    RunUntil([&] { return lines->count() == 0; });

    // The user picks the controller once; from then on it is remembered.
    auto pad = std::make_unique<VirtualPad>(kPadName, 2, 4);
    RunUntil([&] { return lines->count() == 1; });
    window.OnControllerLineChosen(0);

    std::vector<double> lossMs, listedMs, selectedMs;
    int stuck = 0;
    for (int trial = 0; trial < kLossTrials; ++trial) {
        if (!pad) {
            // Plugged in at a random moment of the hot-plug watch's rhythm.
            RunFor(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 300)(random)));
            const auto plugged = Clock::now();
            pad = std::make_unique<VirtualPad>(kPadName, 2, 4);
            const bool listed = RunUntil([&] { return lines->count() == 1; }, 5000ms);
            const auto listedAt = Clock::now();
            const bool picked = RunUntil(selected, 5000ms);
            if (trial <= kPlugTrials) {
                listedMs.push_back(listed ? Ms(listedAt - plugged) : 1e9);
                selectedMs.push_back(picked ? Ms(Clock::now() - plugged) : 1e9);
            }
        }
        pad->SetAxis(0, kGear3X);
        pad->SetAxis(1, kGear3Y);
        RunUntil([&] { return keys.held == 1; });
        // Held for a while, so that the pump has slowed down, then unplugged at a random moment.
        RunFor(std::chrono::milliseconds(std::uniform_int_distribution<int>(300, 400)(random)));
        const auto unplugged = Clock::now();
        pad.reset();
        if (RunUntil([&] { return keys.held == 0; })) {
            lossMs.push_back(Ms(keys.allUpAt - unplugged));
        } else {
            ++stuck;
        }
    }

    // Soak: unplugged and plugged in again, held in gear each time. The look for new controllers
    // is asked for at once instead of waiting for the watch's next tick.
    long before = 0;
    int leftDown = 0;
    const auto soakStart = Clock::now();
    for (int cycle = 0; cycle < kSoakCycles + kSoakWarmup; ++cycle) {
        if (cycle == kSoakWarmup) before = ResidentKiB();
        VirtualPad soakPad(kPadName, 2, 4);
        services.sdl->CheckDevices();
        soakPad.SetAxis(0, kGear3X);
        soakPad.SetAxis(1, kGear3Y);
        const bool held = RunUntil([&] { return keys.held == 1; });
        soakPad.Detach();
        const bool letGo = RunUntil([&] { return keys.held == 0 && !selected(); });
        if (!held || !letGo) ++leftDown;
    }
    const double soakSeconds = Ms(Clock::now() - soakStart) / 1000.0;
    const long growth = ResidentKiB() - before;

    std::printf("Hot-plug: SDL virtual controllers (2 axes, 4 buttons) plugged in and out\n");
    std::printf("  %-58s %-22s %-12s\n", "figure", "measured", "target");
    const double p50 = Percentile(lossMs, 0.5);
    const double worst = Percentile(lossMs, 1.0);
    const bool allLetGo = stuck == 0 && lossMs.size() == kLossTrials;
    Row("controller removed with a key held -> every key up, p50", Format("%.3f ms", p50),
        "<= 50 ms", allLetGo && p50 <= 50);
    Row("controller removed with a key held -> every key up, worst", Format("%.3f ms", worst),
        "<= 50 ms", allLetGo && worst <= 50);
    const double pluggedWorst = Percentile(selectedMs, 1.0);
    Row("controller plugged in -> listed and selected, worst of 10",
        Format("%.0f ms", pluggedWorst), "<= 1000 ms",
        selectedMs.size() == kPlugTrials && pluggedWorst <= 1000);
    Row("idle CPU, controller attached, none selected (10 s)",
        Format("%.3f %% of a core", idlePercent), "<= 0.1 %",
        idlePercent >= 0 && idlePercent <= 0.1);
    Row("soak: 1000 unplug/plug cycles in gear, keys left down", std::to_string(leftDown), "0",
        leftDown == 0);
    Row("soak: resident memory growth over 1000 unplug/plug cycles",
        std::to_string(growth) + " KiB", "<= 64 KiB", growth <= 64);
    std::printf("  details:\n");
    std::printf("    loss: %zu trials, %d with a key left held\n", lossMs.size(), stuck);
    std::printf("    plugged in: listed median %.0f ms, worst %.0f ms; selected median %.0f ms\n",
                Percentile(listedMs, 0.5), Percentile(listedMs, 1.0), Percentile(selectedMs, 0.5));
    std::printf("    soak: %.1f s for %d cycles after %d to warm up\n", soakSeconds, kSoakCycles,
                kSoakWarmup);
    std::printf("    load average during the run: %s\n", LoadAverage().c_str());
    window.close();
    return 0;
}

}  // namespace
}  // namespace vantrel::bench

int main(int argc, char** argv) { return vantrel::bench::Run(argc, argv); }
