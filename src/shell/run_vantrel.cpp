#include "shell/run_vantrel.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "services/config_path.h"
#include "shell/app_icon.h"
#include "shell/autostart.h"
#include "shell/command_line.h"
#include "shell/frm_main.h"
#include "shell/real_services.h"
#include "shell/secondary_windows.h"
#include "shell/tray/instance_lock.h"

namespace vantrel {
namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

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
    // Taken now, so that a later Vantrel of this user finds this one at its first "Minimize".
    ClaimInstanceLock();

    const std::unique_ptr<ServiceFactory> services = CreateRealServices();
    frmMain frmMain;
    // The tray's "&Close" ends at once, without the main window's shutdown; the key service's
    // exit hook still lets every held key go.
    SecondaryWindows windows(frmMain, SettingsFilePath(), [] { std::quick_exit(0); });
    if (const std::optional<int> status = frmMain.Form_Load(*services)) return *status;
    frmMain.show();
    if (const std::string note = services->KeyDeliveryNote(); !note.empty()) {
        // Said once per run, without holding up the engine.
        auto* box = new QMessageBox(QMessageBox::Information, "Vantrel",
                                    QString::fromStdString(note), QMessageBox::Ok, &frmMain);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse);
        box->open();
    }
    return QApplication::exec();
}

}  // namespace vantrel
