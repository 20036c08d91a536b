#include "windows/main_window/key_delivery_note.h"

#include <QCheckBox>
#include <QMessageBox>
#include <cstdlib>
#include <cstring>

#include "settings/ini_file.h"

namespace vantrel {
namespace {

// config.ini: [notes] show_xtest_note=0 once the user asked not to see the note again.
constexpr const char* kSection = "notes";
constexpr const char* kKey = "show_xtest_note";

}  // namespace

std::string KeyDeliveryNote(std::string_view backendName, bool chosenByUser,
                            bool udevRuleInstalled) {
    if (backendName != "XTest" || chosenByUser) return {};
    return "Vantrel sends its gear keys through the X server (XTest), because it may not use "
           "/dev/uinput. Only X11 programs receive them; games running natively on Wayland do "
           "not.\n\nTo let Vantrel use its virtual keyboard, which every program receives, run "
           "this once in a terminal and start Vantrel again:\n\n    " +
           UinputFixCommand(udevRuleInstalled);
}

std::string UinputFixCommand(bool udevRuleInstalled) {
    // With the rule installed, loading the module is enough; without it, an access entry for
    // this user does the same until the next reboot.
    return udevRuleInstalled ? "sudo modprobe uinput && sudo udevadm trigger --name-match=uinput"
                             : "sudo modprobe uinput && sudo setfacl -m u:$USER:rw /dev/uinput";
}

bool UinputRuleInstalled() {
    std::error_code ec;
    for (const char* dir : {"/usr/lib/udev/rules.d", "/lib/udev/rules.d", "/etc/udev/rules.d",
                            "/usr/local/lib/udev/rules.d"}) {
        if (std::filesystem::exists(std::filesystem::path(dir) / "70-vantrel-uinput.rules", ec)) {
            return true;
        }
    }
    return false;
}

bool WaylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return (type != nullptr && std::strcmp(type, "wayland") == 0) ||
           (display != nullptr && *display != '\0');
}

QMessageBox* ShowKeyDeliveryNote(QWidget* parent, const std::string& note,
                                 const std::filesystem::path& settingsFile) {
    if (note.empty() || IniRead(settingsFile, kSection, kKey, "1") == "0") return nullptr;
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Vantrel"),
                                QString::fromStdString(note), QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("keyDeliveryNote"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setCheckBox(new QCheckBox(QStringLiteral("Do not show this again"), box));
    // The main window stays usable while the note is open.
    box->setWindowModality(Qt::NonModal);
    QObject::connect(box, &QMessageBox::finished, box, [box, settingsFile] {
        if (!box->checkBox()->isChecked()) return;
        const IniWriteResult written = IniWrite(settingsFile, kSection, kKey, "0");
        if (written.ok) return;
        auto* failed = new QMessageBox(QMessageBox::Warning, QStringLiteral("Vantrel"),
                                       QString::fromStdString(written.error), QMessageBox::Ok);
        failed->setAttribute(Qt::WA_DeleteOnClose);
        failed->setWindowModality(Qt::NonModal);
        failed->show();
    });
    box->show();
    return box;
}

}  // namespace vantrel
