#pragma once
// A second X connection that watches what the key service does: which keys are down now and which
// keycode carries a keysym, read fresh from the server each time.

#include <X11/Xlib.h>

#include <vector>

namespace vantrel::testing {

class XObserver {
  public:
    XObserver() : display_(XOpenDisplay(nullptr)) {}  // of $DISPLAY; check ok() before use
    ~XObserver() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    XObserver(const XObserver&) = delete;
    XObserver& operator=(const XObserver&) = delete;

    bool ok() const { return display_ != nullptr; }
    Display* display() const { return display_; }

    KeyCode KeycodeOf(KeySym keysym);  // 0 when none
    bool IsDown(KeyCode keycode);
    std::vector<KeyCode> DownKeycodes();
    // Waits up to five seconds for the key to reach the state; true when it did.
    bool WaitFor(KeyCode keycode, bool down);

  private:
    Display* display_;
};

}  // namespace vantrel::testing
