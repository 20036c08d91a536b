#include "app/app_session.h"

#include "settings/config_path.h"
#include "windows/main_window/key_delivery_note.h"

namespace vantrel {

AppSession::AppSession(ServiceFactory& services, bool minimized, std::function<void()> endAtOnce)
    : services_(services),
      minimized_(minimized),
      windows_(frmMain_, SettingsFilePath(), std::move(endAtOnce)) {}

std::optional<int> AppSession::Start() {
    // Started for the day (at login, say): the controller may be plugged in later.
    frmMain_.waitForController = minimized_;
    if (const std::optional<int> status = frmMain_.Form_Load(services_)) return status;
    if (minimized_) {
        windows_.tray().StartHidden();
    } else {
        frmMain_.show();
    }
    if (WaylandSession()) {
        ShowKeyDeliveryNote(&frmMain_, services_.KeyDeliveryNote(), SettingsFilePath());
    }
    return std::nullopt;
}

// The tray menu's "&Normal View" does exactly this.
void AppSession::ShowMainWindow() { windows_.tray().form2().Max_Click(); }

}  // namespace vantrel
