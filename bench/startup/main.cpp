// vantrel-bench-startup: how long Vantrel takes from being started to its main window being on
// the screen, and how much memory it holds with one controller open and moving.
//
// Each run starts this program again as a child that performs the real start-up (key service,
// settings, SDL controller service with a virtual controller attached beforehand) and shows the
// main window; the parent times the child from its start until the window is exposed. The child
// then picks the controller, moves the stick through the gears and reports its resident memory.
// Without a display it runs itself under xvfb-run.
#include <SDL.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/real_services.h"
#include "bench/bench_report.h"
#include "bench/bench_support.h"
#include "engine/poll_cycle.h"
#include "tests/doubles/virtual_pad.h"
#include "windows/app_icon.h"
#include "windows/main_window/main_window.h"

extern char** environ;

namespace {

using vantrel::bench::Format;
using vantrel::bench::Percentile;
using vantrel::bench::Row;

constexpr int kRuns = 10;

// The child: one real start-up, then one controller open and moving.
int Child(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    vantrel::testing::VirtualPad pad("Bench Pad", 2, 12);

    QApplication app(argc, argv);
    QApplication::setWindowIcon(vantrel::ApplicationIcon());
    const auto services = vantrel::CreateRealServices();
    vantrel::MainWindow window;
    window.endProgram = [](int) {};
    if (const auto status = window.Start(*services)) return 10 + *status;
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    QCoreApplication::processEvents();  // the first paint
    std::printf("shown %lld\n", static_cast<long long>(sinceMain.nsecsElapsed() / 1000));
    std::fflush(stdout);

    // Selected as a click would, but not remembered: every run measures a first start.
    window.controllerLayer()->SelectController(0);
    const int16_t positions[][2] = {{-14417, -32768}, {0, 0}, {-32768, 32767},
                                    {32767, -32768},  {0, 0}, {14417, 32767}};
    for (int round = 0; round < 5; ++round) {
        for (const auto& p : positions) {
            pad.SetAxis(0, p[0]);
            pad.SetAxis(1, p[1]);
            vantrel::bench::RunFor(std::chrono::milliseconds(10));
        }
    }
    const bool shifted = window.windowTitle() == vantrel::kCaptionAvailable;
    std::printf("rss %ld hwm %ld shifted %d\n", vantrel::bench::StatusKiB("VmRSS"),
                vantrel::bench::StatusKiB("VmHWM"), shifted ? 1 : 0);
    std::fflush(stdout);
    window.close();
    return 0;
}

struct Run {
    double shownMs = -1;      // spawn to window exposed, seen from the parent
    double inProcessMs = -1;  // child's main() to window exposed
    long rssKb = -1;
    long hwmKb = -1;
    bool shifted = false;
};

Run SpawnChild(const char* self) {
    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char child[] = "--child";
    char* args[] = {const_cast<char*>(self), child, nullptr};
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, args, environ) != 0) return run;
    close(out[1]);
    FILE* in = fdopen(out[0], "r");
    char line[256];
    while (std::fgets(line, sizeof line, in)) {
        long long us = 0;
        int shifted = 0;
        if (std::sscanf(line, "shown %lld", &us) == 1) {
            run.shownMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            run.inProcessMs = us / 1000.0;
        } else if (std::sscanf(line, "rss %ld hwm %ld shifted %d", &run.rssKb, &run.hwmKb,
                               &shifted) == 3) {
            run.shifted = shifted == 1;
        }
    }
    fclose(in);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "child ended with status " << status << "\n";
    }
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return Child(argc, argv);

    vantrel::bench::RunAgainUnderXvfbWithoutDisplay(argv[0]);
    const vantrel::bench::TempHome home("vantrel-bench");  // no settings file: the defaults
    if (!home.ok()) return 1;
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::setenv("VANTREL_KEY_BACKEND", "xtest", 1);  // no /dev/uinput on a bench machine either

    std::vector<double> shown, inProcess;
    long rss = 0, hwm = 0;
    bool allShifted = true;
    SpawnChild(argv[0]);  // warms the page cache; not counted
    for (int i = 0; i < kRuns; ++i) {
        const Run run = SpawnChild(argv[0]);
        if (run.shownMs < 0 || run.rssKb < 0) {
            std::cerr << "run " << i << " did not report; see the messages above\n";
            return 1;
        }
        shown.push_back(run.shownMs);
        inProcess.push_back(run.inProcessMs);
        rss = std::max(rss, run.rssKb);
        hwm = std::max(hwm, run.hwmKb);
        allShifted = allShifted && run.shifted;
    }

    const double shownMax = *std::max_element(shown.begin(), shown.end());
    const double rssMb = rss / 1024.0;
    std::printf("start-up, %d runs (X11 under Xvfb, XTest keys, SDL virtual controller)\n", kRuns);
    std::printf("  spawn to shown   median %.1f ms, max %.1f ms\n", Percentile(shown, 0.5),
                shownMax);
    std::printf("  main() to shown  median %.1f ms, max %.1f ms\n", Percentile(inProcess, 0.5),
                *std::max_element(inProcess.begin(), inProcess.end()));
    std::printf("  VmRSS max %.1f MB, VmHWM max %.1f MB%s\n", rssMb, hwm / 1024.0,
                allShifted ? "" : " (the poll cycle did not run!)");
    Row("start to main window shown, slowest of 10 (startup)", Format("%.1f ms", shownMax),
        "<= 250 ms", shownMax <= 250);
    Row("resident memory, one controller open (startup)", Format("%.1f MB", rssMb), "<= 50 MB",
        rssMb <= 50 && allShifted);
    return 0;
}
