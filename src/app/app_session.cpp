#include "app/app_session.h"

#include "settings/config_path.h"
#include "windows/main_window/key_delivery_note.h"

namespace vantrel {

AppSession::AppSession(ServiceFactory& services, bool minimized, std::function<void()> endAtOnce)
    : services_(services),
      minimized_(minimized),
      windows_(mainWindow_, SettingsFilePath(), std::move(endAtOnce)) {}

std::optional<int> AppSession::Start() {
    // Started for the day (at login, say): the controller may be plugged in later.
    mainWindow_.waitForController = minimized_;
    if (const std::optional<int> status = mainWindow_.Start(services_)) return status;
    if (minimized_) {
        windows_.tray().StartHidden();
    } else {
        mainWindow_.show();
    }
    if (WaylandSession()) {
        ShowKeyDeliveryNote(&mainWindow_, services_.KeyDeliveryNote(), SettingsFilePath());
    }
    return std::nullopt;
}

// The tray menu's "&Normal View" does exactly this.
void AppSession::ShowMainWindow() { windows_.tray().menu().ShowNormalView(); }

}  // namespace vantrel
