// The whole program as main() builds it, with a virtual controller of its own held in gear 3's
// field. SIGUSR1 picks the tray menu's "&Close"; the test's other signals do the rest.
#include <QApplication>
#include <QTimer>
#include <csignal>
#include <cstdlib>

#include "app/real_services.h"
#include "doubles/virtual_pad.h"
#include "settings/config_path.h"
#include "windows/secondary_windows.h"

volatile std::sig_atomic_t closeAsked = 0;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    vantrel::testing::VirtualPad pad("Probe Pad", 2, 4);
    std::signal(SIGUSR1, [](int) { closeAsked = 1; });

    const auto services = vantrel::CreateRealServices();
    vantrel::MainWindow window;
    vantrel::SecondaryWindows windows(window, vantrel::SettingsFilePath(),
                                      [] { std::quick_exit(0); });
    if (const auto status = window.Start(*services)) return *status;
    window.show();
    window.OnControllerLineChosen(0);
    pad.SetAxis(0, -14417);  // the column of gears 3 and 4
    pad.SetAxis(1, -32768);  // the top row
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (closeAsked) windows.tray().menu().CloseProgram();
    });
    poll.start(5);
    return QApplication::exec();
}
