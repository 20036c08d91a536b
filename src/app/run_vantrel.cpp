#include "app/run_vantrel.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/app_session.h"
#include "app/autostart.h"
#include "app/command_line.h"
#include "app/instance_lock.h"
#include "app/real_services.h"
#include "app/single_instance.h"
#include "settings/config_path.h"
#include "windows/app_icon.h"
#include "windows/main_window/messages.h"

namespace vantrel {
namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

const char* const kOtherSilent =
    "Another Vantrel is running for this user, but it did not answer the request to show its "
    "window. Use its tray icon or its window; if it does not respond, end it (for example from "
    "the system monitor) and start Vantrel again.";

}  // namespace

int RunVantrel(int argc, char** argv) {
    // Before the application object: answering the command line needs no display.
    const CommandLine commandLine = ParseCommandLine(Arguments(argc, argv));
    std::fputs(commandLine.out.c_str(), stdout);
    std::fputs(commandLine.err.c_str(), stderr);
    if (commandLine.exitNow) return *commandLine.exitNow;
    if (!commandLine.configFile.empty()) UseSettingsFile(commandLine.configFile);
    if (commandLine.autostart) {
        const AutostartOutcome outcome =
            SetAutostart(*commandLine.autostart, ProgramForAutostart(), commandLine.configFile);
        std::fputs(outcome.out.c_str(), stdout);
        std::fputs(outcome.err.c_str(), stderr);
        return outcome.exitStatus;
    }

    QApplication app(argc, argv);
    QApplication::setWindowIcon(ApplicationIcon());
    // Before any key or controller is touched: the running Vantrel shows itself instead.
    SingleInstance instance(InstanceLockFile());
    switch (instance.Claim(!commandLine.minimized)) {
        case SingleInstance::Outcome::First:
            break;
        case SingleInstance::Outcome::OtherRunning:
            return 0;
        case SingleInstance::Outcome::OtherSilent:
            ShowStartUpFailure(kOtherSilent);
            return 1;
    }

    const std::unique_ptr<ServiceFactory> services = CreateRealServices();
    // The tray's "&Close" ends at once, without the main window's shutdown; the key service's
    // exit hook still lets every held key go.
    AppSession session(*services, commandLine.minimized, [] { std::quick_exit(0); });
    if (const std::optional<int> status = session.Start()) return *status;
    instance.OnShowAsked([&session] { session.ShowMainWindow(); });
    return QApplication::exec();
}

}  // namespace vantrel
