// vantrel-bench-drawing: what drawing costs while a stick reports 500 times a second.
//
// The whole main window (and the field editor) runs in this process on the offscreen platform,
// which paints into memory like a real one. An SDL virtual controller stands in for the device; a
// second thread moves its stick against the edge of gear 3's field (its scaled x keeps changing,
// the gear stays), 500 times a second, and after each move writes a byte into a FIFO. The FIFO is
// the device node: the pump's node watch wakes on it and runs one pump, as a real evdev node
// wakes Vantrel. Keys go to the real key service on a backend that only counts.
//
// Each situation (main window shown, field editor open, both hidden) is measured twice in one
// run: with every change drawn at once (drawing before it was paced) and paced to the screen's
// frames. A program that prints numbers, not a test.
#include <SDL.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "backends/sdl/axis_scaling.h"
#include "backends/sdl/node_watch.h"
#include "backends/sdl/sdl_controller_service.h"
#include "bench/bench_report.h"
#include "bench/controller/stamping_key_sender.h"
#include "settings/config_path.h"
#include "tests/doubles/virtual_pad.h"
#include "windows/frame_pacer.h"
#include "windows/main_window/main_window.h"
#include "windows/secondary_windows.h"

namespace vantrel::bench {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kReportInterval = 2ms;  // 500 reports a second
// Both ways of drawing take turns in short windows, so that the machine's other work weighs on
// both alike; each figure is the median of its windows.
constexpr int kRounds = 4;
constexpr auto kSettle = 300ms;
constexpr auto kWindow = 1500ms;
constexpr int kEdgeValues = 10;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double ProcessCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ThreadCpu(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void RunLoopFor(Clock::duration duration) {
    QEventLoop loop;
    QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(duration), &loop,
                       &QEventLoop::quit);
    loop.exec();
}

// Raw SDL values whose scaled x lies just inside gear 3's right edge (g34r = 4000): 3900 to
// 3999, each one different from the one before.
std::vector<int16_t> EdgeOfGear3() {
    const AxisScale scale{0, 10000, 1000, 9500};  // as the controller selection configures it
    int lowest = 0, highest = 0;
    for (int raw = -32768; raw <= 32767; ++raw) {
        const int32_t x = ScaleAxis(static_cast<int16_t>(raw), scale);
        if (x >= 3900 && x <= 3999) {
            if (lowest == 0) lowest = raw;
            highest = raw;
        }
    }
    std::vector<int16_t> values;
    for (int i = 0; i < kEdgeValues; ++i) {
        values.push_back(static_cast<int16_t>(lowest + (highest - lowest) * i / (kEdgeValues - 1)));
    }
    return values;
}

// Counts the paints of the widgets it watches.
class PaintCounter : public QObject {
  public:
    void Watch(QWidget* widget) {
        widget->installEventFilter(this);
        counts_[widget] = 0;
    }
    uint64_t Count(QWidget* widget) const { return counts_.at(widget); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (auto it = counts_.find(watched); it != counts_.end()) ++it->second;
        }
        return false;
    }

  private:
    std::map<QObject*, uint64_t> counts_;
};

// The stick at gear 3's edge, moved from a thread of its own; each move is one write into the
// node. Remembers when each move was made until a poll cycle has read it.
class Stick {
  public:
    Stick(testing::VirtualPad& pad, int node) : pad_(pad), node_(node) {}

    void Start() {
        thread_ = std::thread([this] { Run(); });
        pthread_getcpuclockid(thread_.native_handle(), &cpuClock_);
    }
    void Stop() {
        running_ = false;
        thread_.join();
    }
    // CPU time of the moving thread, to be left out of Vantrel's.
    double Cpu() const { return ThreadCpu(cpuClock_); }
    uint64_t moves() const { return moves_; }

    // After a poll cycle that read `x` and sent its first key at `firstSend`: the moves up to the
    // one it read are answered, and their latencies go to `latencies` when given.
    void Answered(int32_t x, Clock::time_point firstSend, std::vector<double>* latencies) {
        std::lock_guard<std::mutex> lock(mutex_);
        // The newest outstanding move with this value is the one read (values repeat only
        // every ten moves, far more than are ever outstanding).
        auto it = std::find_if(pending_.rbegin(), pending_.rend(),
                               [&](const Move& m) { return m.x == x; });
        if (it == pending_.rend()) return;
        const auto end = it.base();
        for (auto m = pending_.begin(); m != end && latencies; ++m) {
            latencies->push_back(
                std::chrono::duration<double, std::milli>(firstSend - m->at).count());
        }
        pending_.erase(pending_.begin(), end);
    }

  private:
    struct Move {
        int32_t x;
        Clock::time_point at;
    };

    void Run() {
        const std::vector<int16_t> values = EdgeOfGear3();
        const AxisScale scale{0, 10000, 1000, 9500};
        pad_.SetAxis(1, -32768);  // top row
        auto next = Clock::now();
        for (uint64_t i = 0; running_; ++i) {
            next += kReportInterval;
            std::this_thread::sleep_until(next);
            const int16_t raw = values[i % values.size()];
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (pending_.size() > 1000) pending_.clear();  // nobody reads: do not grow
                pending_.push_back({ScaleAxis(raw, scale), Clock::now()});
                pad_.SetAxis(0, raw);
            }
            const char wake = 1;
            if (::write(node_, &wake, 1) != 1) {
                // A full pipe: the pump is behind and will read this move anyway.
            }
            ++moves_;
        }
    }

    testing::VirtualPad& pad_;
    int node_;
    std::thread thread_;
    clockid_t cpuClock_{};
    std::atomic<bool> running_{true};
    std::atomic<uint64_t> moves_{0};
    std::mutex mutex_;
    std::deque<Move> pending_;
};

// The real services but for two: keys go to a counting backend, and the controller's node is the
// FIFO that the moving thread writes.
class BenchServices : public ServiceFactory {
  public:
    explicit BenchServices(std::string node) : node_(std::move(node)) {}

    std::unique_ptr<KeyOutput> CreateKeyService(std::string&) override {
        auto keys = std::make_unique<StampingKeyOutput>();
        keys_ = keys.get();
        return keys;
    }
    std::unique_ptr<ControllerService> CreateControllerService() override {
        auto service = std::make_unique<SdlControllerService>();
        sdl_ = service.get();
        return service;
    }
    std::unique_ptr<QObject> StartNotifications(ControllerService&) override {
        auto pump = std::make_unique<QObject>();
        new NodeWatch(
            node_,
            [this] {
                keys_->NewCycle();
                sdl_->PumpOnce();
                ++pumps;
                if (keys_->stamped() && afterCycle) afterCycle(keys_->firstSend());
            },
            pump.get());
        return pump;
    }

    std::function<void(Clock::time_point firstSend)> afterCycle;
    uint64_t pumps = 0;

  private:
    std::string node_;
    StampingKeyOutput* keys_ = nullptr;
    SdlControllerService* sdl_ = nullptr;
};

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

int Run(int argc, char** argv) {
    char home[] = "/tmp/vantrel-bench-drawing-XXXXXX";
    if (!mkdtemp(home)) return 1;
    ::setenv("XDG_CONFIG_HOME", home, 1);  // no settings file: the defaults
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string node = std::string(home) + "/js0";
    if (mkfifo(node.c_str(), 0600) != 0) return 1;
    // Read and write, so that the node never reads as closed and a write never blocks.
    const int writer = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);

    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    testing::VirtualPad pad("Bench Stick", 2, 12);
    if (!pad.ok() || writer < 0) {
        std::fprintf(stderr, "no virtual joystick or node: %s\n", SDL_GetError());
        return 1;
    }

    QApplication app(argc, argv);
    BenchServices services(node);
    MainWindow window;
    window.endProgram = [](int) {};
    SecondaryWindows windows(window, SettingsFilePath(), [] {});
    if (window.Start(services)) {
        std::fprintf(stderr, "the start-up failed; see the messages above\n");
        return 1;
    }
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    window.OnControllerLineChosen(0);
    window.ShowGateEditor();
    GateEditor* editor = windows.gateEditor();
    const MainWindowControls& c = window.controls();

    PaintCounter paints;
    QWidget* lists[] = {c.axisList->viewport(), c.buttonList->viewport(), c.gearList->viewport()};
    for (QWidget* list : lists) paints.Watch(list);
    paints.Watch(editor);

    std::vector<double>* latencies = nullptr;  // of the phase being measured
    Stick stick(pad, writer);
    services.afterCycle = [&](Clock::time_point firstSend) {
        // The state the cycle just read tells which moves it answered.
        const int32_t x = window.controllerLayer()->slot().report.axis(AxisSlot::X);
        stick.Answered(x, firstSend, latencies);
    };
    stick.Start();

    const double refreshRate = window.screen() ? window.screen()->refreshRate() : 60;
    struct Situation {
        const char* name;
        bool main;
        bool editor;
    };
    const Situation situations[] = {{"main window shown", true, false},
                                    {"field editor open", true, true},
                                    {"hidden", false, false}};
    std::vector<Figures> figures;
    for (const Situation& s : situations) {
        window.setVisible(s.main);
        editor->setVisible(s.editor);
        Figures every, paced;
        every.situation = paced.situation = s.name;
        paced.paced = true;
        for (int round = 0; round < kRounds; ++round) {
            for (Figures* f : {&every, &paced}) {
                ui::FramePacer::SetPacing(f->paced);
                RunLoopFor(kSettle);
                uint64_t listsBefore[3];
                for (int i = 0; i < 3; ++i) listsBefore[i] = paints.Count(lists[i]);
                const uint64_t editorBefore = paints.Count(editor);
                const uint64_t movesBefore = stick.moves();
                const uint64_t pumpsBefore = services.pumps;
                const double cpuBefore = ProcessCpu() - stick.Cpu();
                const auto wallBefore = Clock::now();
                latencies = &f->latencies;
                RunLoopFor(kWindow);
                latencies = nullptr;
                const double wall = Seconds(Clock::now() - wallBefore);
                f->cpuPercents.push_back(100.0 * (ProcessCpu() - stick.Cpu() - cpuBefore) / wall);
                f->seconds += wall;
                f->moves += stick.moves() - movesBefore;
                f->pumps += services.pumps - pumpsBefore;
                for (int i = 0; i < 3; ++i)
                    f->listPaints[i] += paints.Count(lists[i]) - listsBefore[i];
                f->editorPaints += paints.Count(editor) - editorBefore;
            }
        }
        figures.push_back(std::move(every));
        figures.push_back(std::move(paced));
    }
    stick.Stop();
    ui::FramePacer::SetPacing(true);

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
        kRounds, Seconds(kWindow), Seconds(kSettle));
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
    std::printf(
        "    axis row shown at the end: %s; load average: %s\n",
        c.axisList->count() > 0 ? c.axisList->item(0)->text().toUtf8().constData() : "(none)",
        LoadAverage().c_str());

    window.close();
    pad.Detach();
    ::close(writer);
    std::filesystem::remove_all(home);
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
