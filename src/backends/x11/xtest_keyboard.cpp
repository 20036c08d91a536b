#include "backends/x11/xtest_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>

#include "backends/x11/sigpipe_guard.h"
#include "backends/x11/x_error_routing.h"
#include "output/key_names.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

constexpr int kMaxLoggedErrors = 5;

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

XTestBackend::XTestBackend(const char* displayName) {
    if (displayName == nullptr) {
        const char* env = std::getenv("DISPLAY");
        if (env == nullptr || *env == '\0') {
            throw ServiceError(kErrorKeySendFailed,
                               "there is no X display: DISPLAY is not set (Vantrel is not running "
                               "inside an X session)");
        }
        displayName_ = env;
    } else {
        displayName_ = displayName;
    }

    SigpipeGuard sigpipe;
    display_ = XOpenDisplay(displayName_.c_str());
    if (display_ == nullptr) {
        throw ServiceError(kErrorKeySendFailed,
                           "cannot connect to the X display " + Quoted(displayName_));
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
        throw ServiceError(kErrorKeySendFailed, "the X display " + Quoted(displayName_) +
                                                    " does not offer the XTEST extension");
    }
    x_error_routing::Attach(display_, this);
    // Fetch the keymap now, so the first key of the game does not wait for it.
    XKeysymToKeycode(display_, 'a');
    XSync(display_, False);
}

XTestBackend::~XTestBackend() {
    SigpipeGuard sigpipe;
    if (!lost_.load()) {
        // Normally nothing is left: KeyService lets go of its keys first.
        for (size_t code = 0; code < boundByUs_.size(); ++code) {
            if (pressedKeycode_[code] != 0) {
                XTestFakeKeyEvent(display_, pressedKeycode_[code], False, CurrentTime);
            }
            if (boundByUs_.test(code)) UnbindKeycode(pressedKeycode_[code]);
        }
        XSync(display_, False);
        if (watchdog_) watchdog_->SayGoodbye();
    }
    x_error_routing::Detach(display_);
    XCloseDisplay(display_);
}

void XTestBackend::StartWatchdog() {
    std::string why;
    watchdog_ = KeyWatchdog::Start(displayName_, why);
    if (!watchdog_) {
        std::fprintf(
            stderr,
            "Vantrel: its key watchdog could not start: %s. Keys still work, but if "
            "Vantrel crashes or is killed, a gear key it holds stays down until you press that "
            "key; reinstall Vantrel if this message comes back.\n",
            why.c_str());
    }
}

void XTestBackend::OnXError(int errorCode, int requestCode) {
    const int n = ++errorCount_;
    if (n > kMaxLoggedErrors) return;
    char text[128] = "unknown error";
    XGetErrorText(display_, errorCode, text, sizeof text);
    std::fprintf(stderr,
                 "Vantrel: the X server refused a request of the key service: %s (request %d)%s\n",
                 text, requestCode, n == kMaxLoggedErrors ? "; further ones are not shown" : "");
}

void XTestBackend::ThrowIfLost() const {
    if (lost_.load()) {
        throw ServiceError(kErrorKeySendFailed,
                           "the connection to the X display " + Quoted(displayName_) +
                               " was lost (the X session ended or the X server stopped). Start "
                               "Vantrel again inside a running X session.");
    }
}

void XTestBackend::ProcessIncoming() {
    while (!lost_.load() && XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
    }
}

uint8_t XTestBackend::KeycodeOf(const KeyName& key) {
    // X servers that take their keys from evdev number them evdev code + 8. When that keycode
    // carries the keysym, use it: XTest then makes the same physical key as uinput would (a
    // keysym can sit on several keys, NUMPADDOT's KP_Decimal for one).
    int minKeycode = 0, maxKeycode = 0;
    XDisplayKeycodes(display_, &minKeycode, &maxKeycode);
    const int evdevKeycode = key.evdevCode + 8;
    if (evdevKeycode >= minKeycode && evdevKeycode <= maxKeycode) {
        for (int level = 0; level < 4; ++level) {
            if (XkbKeycodeToKeysym(display_, static_cast<KeyCode>(evdevKeycode), 0, level) ==
                key.keysym) {
                return static_cast<uint8_t>(evdevKeycode);
            }
        }
    }
    return static_cast<uint8_t>(XKeysymToKeycode(display_, key.keysym));
}

void XTestBackend::Press(const KeyName& key) {
    SigpipeGuard sigpipe;
    ThrowIfLost();
    x_error_routing::Reassert();
    ProcessIncoming();

    uint8_t keycode = KeycodeOf(key);
    bool bound = false;
    if (keycode == 0 && !lost_.load()) {
        keycode = BindFreeKeycode(key.keysym);
        bound = keycode != 0;
    }
    ThrowIfLost();
    if (keycode == 0) {
        if (!warnedUnmapped_.test(key.evdevCode)) {
            warnedUnmapped_.set(key.evdevCode);
            std::fprintf(stderr,
                         "Vantrel: the key %.*s is not on the current X keyboard map and no free "
                         "key code is left to put it there, so it is not sent. Choose another key "
                         "for this gear.\n",
                         static_cast<int>(key.name.size()), key.name.data());
        }
        return;
    }
    if (watchdog_) watchdog_->Pressing(keycode);
    XTestFakeKeyEvent(display_, keycode, True, CurrentTime);
    XFlush(display_);
    pressedKeycode_[key.evdevCode] = keycode;
    boundByUs_.set(key.evdevCode, bound);
    ThrowIfLost();
}

void XTestBackend::Release(const KeyName& key) {
    SigpipeGuard sigpipe;
    ThrowIfLost();
    x_error_routing::Reassert();
    ProcessIncoming();

    // Let go of the keycode that was pressed, even if the keymap has changed since.
    uint8_t keycode = pressedKeycode_[key.evdevCode];
    if (keycode == 0) keycode = KeycodeOf(key);
    if (keycode == 0) return;  // never pressed: it had no keycode
    XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    XFlush(display_);
    ThrowIfLost();
    if (boundByUs_.test(key.evdevCode)) {
        // After the release, so a client translates the release with the binding still there.
        UnbindKeycode(keycode);
        boundByUs_.reset(key.evdevCode);
    }
    pressedKeycode_[key.evdevCode] = 0;
    if (watchdog_) {
        // Told only once the server has run the release: it drops the requests a client sent just
        // before dying, and a release lost that way must stay the watchdog's to do.
        XSync(display_, False);
        if (!lost_.load()) watchdog_->Released(keycode);
    }
}

void XTestBackend::WaitUntilDelivered() noexcept {
    SigpipeGuard sigpipe;
    if (!lost_.load()) XSync(display_, False);
}

void XTestBackend::OnCleanShutdown() noexcept {
    if (watchdog_) watchdog_->SayGoodbye();
}

uint8_t XTestBackend::BindFreeKeycode(uint32_t keysym) {
    int minKeycode = 0, maxKeycode = 0;
    XDisplayKeycodes(display_, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(minKeycode),
                                      maxKeycode - minKeycode + 1, &perKeycode);
    if (map == nullptr) return 0;
    int chosen = 0;
    // From the top: the highest keycodes are the least likely to belong to a real key.
    for (int keycode = maxKeycode; keycode >= minKeycode && chosen == 0; --keycode) {
        const KeySym* syms = map + (keycode - minKeycode) * perKeycode;
        bool empty = true;
        for (int i = 0; i < perKeycode; ++i) empty = empty && syms[i] == NoSymbol;
        bool inUse = false;
        for (uint8_t pressed : pressedKeycode_) inUse = inUse || pressed == keycode;
        if (empty && !inUse) chosen = keycode;
    }
    XFree(map);
    if (chosen == 0) return 0;

    KeySym syms[2] = {keysym, keysym};
    const int errorsBefore = errorCount_.load();
    XChangeKeyboardMapping(display_, chosen, 2, syms, 1);
    XSync(display_, False);
    if (lost_.load() || errorCount_.load() != errorsBefore) return 0;
    return static_cast<uint8_t>(chosen);
}

void XTestBackend::UnbindKeycode(uint8_t keycode) {
    if (keycode == 0) return;
    KeySym none = NoSymbol;
    XChangeKeyboardMapping(display_, keycode, 1, &none, 1);
    XFlush(display_);
}

}  // namespace vantrel
