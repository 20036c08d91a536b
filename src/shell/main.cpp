// Vantrel: a game controller as an H-pattern gear lever.
#include <QApplication>

#include "shell/app_icon.h"
#include "shell/frm_main.h"
#include "shell/real_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(vantrel::ApplicationIcon());

    const std::unique_ptr<vantrel::ServiceFactory> services = vantrel::CreateRealServices();
    vantrel::frmMain frmMain;
    if (const std::optional<int> status = frmMain.Form_Load(*services)) return *status;
    frmMain.show();
    return QApplication::exec();
}
