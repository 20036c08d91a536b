// Vantrel: a game controller as an H-pattern gear lever.
#include <QApplication>
#include <QMessageBox>
#include <cstdlib>

#include "services/config_path.h"
#include "shell/app_icon.h"
#include "shell/frm_main.h"
#include "shell/real_services.h"
#include "shell/secondary_windows.h"
#include "shell/tray/instance_lock.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(vantrel::ApplicationIcon());
    // Taken now, so that a later Vantrel of this user finds this one at its first "Minimize".
    vantrel::ClaimInstanceLock();

    const std::unique_ptr<vantrel::ServiceFactory> services = vantrel::CreateRealServices();
    vantrel::frmMain frmMain;
    // The tray's "&Close" ends at once, without the main window's shutdown; the key service's
    // exit hook still lets every held key go.
    vantrel::SecondaryWindows windows(frmMain, vantrel::SettingsFilePath(),
                                      [] { std::quick_exit(0); });
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
