#pragma once
// What the tray needs from the main window.

#include <QPointer>
#include <QWidget>
#include <chrono>
#include <functional>

#include "windows/tray/tray_wait.h"

namespace vantrel {

struct TrayHooks {
    // Hidden by "Minimize", shown again by "&Normal View".
    QPointer<QWidget> mainWindow;
    // The seventeen settings reads into the main window's variables (its LoadSettings).
    std::function<void()> reloadSettings;
    // Ends the process at once with every held key let go; not expected to return.
    std::function<void()> endProgram;
    // Whether the desktop shows tray icons at all; null asks Qt. Tests replace it.
    std::function<bool()> trayAvailable;
    // How long a start hidden in the tray waits for a tray that is not there yet. Tests shorten it.
    std::chrono::milliseconds trayWaitLimit = kTrayWaitLimit;
};

}  // namespace vantrel
