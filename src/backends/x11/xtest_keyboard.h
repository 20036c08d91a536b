#pragma once
// Keys through the X server's XTEST extension: works for X11 sessions (and for X clients under
// XWayland) without any permission, but only reaches X clients.

#include <atomic>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

#include "backends/x11/key_watchdog.h"
#include "ports/keyboard_device.h"

struct _XDisplay;  // Xlib's Display, kept out of this header (Xlib.h defines many macros)

namespace vantrel {

class XTestBackend final : public KeyBackend {
  public:
    // Opens its own connection to `displayName` (nullptr: $DISPLAY) and checks for XTEST.
    // Throws ServiceError saying what is missing.
    explicit XTestBackend(const char* displayName = nullptr);
    ~XTestBackend() override;
    XTestBackend(const XTestBackend&) = delete;
    XTestBackend& operator=(const XTestBackend&) = delete;

    std::string_view Name() const override { return "XTest"; }
    // A key whose keysym has no keycode in the current keymap is given a free keycode for as
    // long as it is held (and the keycode is freed again when it is let go). When no keycode is
    // free the key is skipped with one warning on stderr.
    void Press(const KeyName& key) override;
    void Release(const KeyName& key) override;
    void WaitUntilDelivered() noexcept override;
    void OnCleanShutdown() noexcept override;

    // Starts the key watchdog (key_watchdog.h), which from now on is told of every key pressed and
    // let go of, and lets go of what is still held should this process die without doing so.
    // When it cannot start, keys still go out and one line on stderr says what is at stake.
    void StartWatchdog();

    // The connection, for tests: a refused request on it must not end the process.
    _XDisplay* display() const { return display_; }
    // X errors the server reported on this connection so far (each one is also logged).
    int errorCount() const { return errorCount_.load(); }

    // Called by the process-wide Xlib handlers for this connection.
    void OnXError(int errorCode, int requestCode);
    void OnConnectionLost() { lost_.store(true); }

  private:
    void ThrowIfLost() const;
    // The keycode that makes `key` in the current keymap; 0 when the keymap lacks its keysym.
    uint8_t KeycodeOf(const KeyName& key);
    // Reads what the server sent; keeps Xlib's keymap current after MappingNotify.
    void ProcessIncoming();
    // A keycode without any keysym, bound to `keysym`; 0 when none is free or binding failed.
    uint8_t BindFreeKeycode(uint32_t keysym);
    void UnbindKeycode(uint8_t keycode);

    _XDisplay* display_ = nullptr;
    std::string displayName_;
    std::atomic<bool> lost_{false};
    std::atomic<int> errorCount_{0};
    uint8_t pressedKeycode_[768] = {};  // by evdev code: the keycode pressed, 0 when none
    std::bitset<768> boundByUs_;        // by evdev code: its keycode was bound by BindFreeKeycode
    std::bitset<768> warnedUnmapped_;   // by evdev code: the one warning was given
    std::unique_ptr<KeyWatchdog> watchdog_;  // none when it could not start
};

}  // namespace vantrel
