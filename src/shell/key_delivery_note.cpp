#include "shell/key_delivery_note.h"

#include <filesystem>

namespace vantrel {

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

}  // namespace vantrel
