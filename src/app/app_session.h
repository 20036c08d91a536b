#pragma once
// One run of Vantrel once its command line is read: the main window on the given services, the
// windows behind its buttons and the tray, shown as the command line asks.

#include <functional>
#include <optional>

#include "windows/main_window/main_window.h"
#include "windows/main_window/service_factory.h"
#include "windows/secondary_windows.h"

namespace vantrel {

class AppSession {
  public:
    // `minimized`: start hidden in the tray and wait for the controller (`--minimized`).
    // `endAtOnce` ends the process from the tray's "&Close".
    AppSession(ServiceFactory& services, bool minimized, std::function<void()> endAtOnce);

    // The start-up; then the main window is shown, or put away in the tray (which may still be
    // to come), and the XTest note given where it matters. Returns the exit status when the
    // program must end instead.
    std::optional<int> Start();

    // A later start of Vantrel asked for this one: the main window is shown and raised, also
    // from the tray or when minimized.
    void ShowMainWindow();

    MainWindow& mainWindow() { return mainWindow_; }
    SecondaryWindows& windows() { return windows_; }

  private:
    ServiceFactory& services_;
    const bool minimized_;
    MainWindow mainWindow_;
    SecondaryWindows windows_;
};

}  // namespace vantrel
