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
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "bench/bench_report.h"
#include "bench/bench_support.h"
#include "figures.h"
#include "moving_stick.h"
#include "node_services.h"
#include "paint_counter.h"
#include "settings/config_path.h"
#include "tests/doubles/virtual_pad.h"
#include "windows/frame_pacer.h"
#include "windows/main_window/main_window.h"
#include "windows/secondary_windows.h"

namespace vantrel::bench {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Both ways of drawing take turns in short windows, so that the machine's other work weighs on
// both alike; each figure is the median of its windows.
constexpr int kRounds = 4;
constexpr auto kSettle = 300ms;
constexpr auto kWindow = 1500ms;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

int Run(int argc, char** argv) {
    TempHome home("vantrel-bench-drawing");
    if (!home.ok()) return 1;
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string node = home.path() + "/js0";
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
    NodeServices services(node);
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
    MovingStick stick(pad, writer);
    services.afterCycle = [&](Clock::time_point firstSend) {
        // The state the cycle just read tells which moves it answered.
        const int32_t x = window.controllerLayer()->slot().report.axis(AxisSlot::X);
        stick.Answered(x, firstSend, latencies);
    };
    stick.Start();

    // One window of one way of drawing, added to its figures.
    const auto measure = [&](Figures& f) {
        ui::FramePacer::SetPacing(f.paced);
        RunLoopFor(kSettle);
        uint64_t listsBefore[3];
        for (int i = 0; i < 3; ++i) listsBefore[i] = paints.Count(lists[i]);
        const uint64_t editorBefore = paints.Count(editor);
        const uint64_t movesBefore = stick.moves();
        const uint64_t pumpsBefore = services.pumps;
        const double cpuBefore = CpuSecondsOf(CLOCK_PROCESS_CPUTIME_ID) - stick.Cpu();
        const auto wallBefore = Clock::now();
        latencies = &f.latencies;
        RunLoopFor(kWindow);
        latencies = nullptr;
        const double wall = Seconds(Clock::now() - wallBefore);
        f.cpuPercents.push_back(
            100.0 * (CpuSecondsOf(CLOCK_PROCESS_CPUTIME_ID) - stick.Cpu() - cpuBefore) / wall);
        f.seconds += wall;
        f.moves += stick.moves() - movesBefore;
        f.pumps += services.pumps - pumpsBefore;
        for (int i = 0; i < 3; ++i) f.listPaints[i] += paints.Count(lists[i]) - listsBefore[i];
        f.editorPaints += paints.Count(editor) - editorBefore;
    };

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
            measure(every);
            measure(paced);
        }
        figures.push_back(std::move(every));
        figures.push_back(std::move(paced));
    }
    stick.Stop();
    ui::FramePacer::SetPacing(true);

    const std::string axisRow =
        c.axisList->count() > 0 ? c.axisList->item(0)->text().toStdString() : "(none)";
    PrintDrawingReport(figures, refreshRate, {kRounds, Seconds(kWindow), Seconds(kSettle)},
                       axisRow);

    window.close();
    pad.Detach();
    ::close(writer);
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
