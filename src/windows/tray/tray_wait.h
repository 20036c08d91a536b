#pragma once
// Waits a while for a system tray that is not there yet, without holding anything up: at login
// the panel with the tray often starts a moment after Vantrel.

#include <QTimer>
#include <chrono>
#include <functional>

namespace vantrel {

// How long a start hidden in the tray waits for a tray before it gives up on one.
inline constexpr std::chrono::milliseconds kTrayWaitLimit = std::chrono::seconds(30);
// How often it looks meanwhile: nothing needs a quicker answer, the icon docks by itself.
inline constexpr std::chrono::milliseconds kTrayCheckInterval{500};

class TrayWait {
  public:
    // `trayAvailable` tells whether the desktop shows tray icons now.
    explicit TrayWait(std::function<bool()> trayAvailable);
    TrayWait(const TrayWait&) = delete;
    TrayWait& operator=(const TrayWait&) = delete;

    // Looks for the tray every kTrayCheckInterval: runs `found` (may be null) and stops once it is
    // there, or runs `gaveUp` if it is not there when `limit` has passed. A wait already running
    // is replaced.
    void Start(std::chrono::milliseconds limit, std::function<void()> found,
               std::function<void()> gaveUp);
    bool running() const { return deadline_.isActive(); }

  private:
    void Stop();
    void Found();

    std::function<bool()> trayAvailable_;
    QTimer checks_;
    QTimer deadline_;
    std::function<void()> found_;
    std::function<void()> gaveUp_;
};

}  // namespace vantrel
