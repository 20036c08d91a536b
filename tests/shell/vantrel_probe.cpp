// The whole program, as main() builds it, with an SDL virtual controller of its own whose stick is
// put into gear 3's field. Prints "ready" once gear 3 is engaged; then ends when told: a line
// "close" on stdin picks the tray menu's "&Close", a signal from the test does the rest.
#include <SDL.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "services/config_path.h"
#include "shell/frm_main.h"
#include "shell/real_services.h"
#include "shell/secondary_windows.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = 2;
    desc.nbuttons = 4;
    desc.name = "Probe Pad";
    SDL_Joystick* pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));

    const auto services = vantrel::CreateRealServices();
    vantrel::frmMain frm;
    vantrel::SecondaryWindows windows(frm, vantrel::SettingsFilePath(), [] { std::quick_exit(0); });
    if (const auto status = frm.Form_Load(*services)) return *status;
    frm.show();
    frm.lstJoySticks_Click(0);
    SDL_JoystickSetVirtualAxis(pad, 0, -14417);  // column 3/4
    SDL_JoystickSetVirtualAxis(pad, 1, -32768);  // top row

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const auto* gear3 = frm.controls().lstGear->item(2);
        if (gear3 && gear3->text() == "gear 3: 3") {
            watch.stop();
            std::printf("ready\n");
            std::fflush(stdout);
        }
    });
    watch.start(5);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64] = {};
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (n > 0 && std::string_view(line).starts_with("close")) {
            windows.tray().form2().Close_Click();
        }
    });
    return QApplication::exec();
}
