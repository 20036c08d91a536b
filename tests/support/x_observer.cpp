#include "support/x_observer.h"

#include <chrono>
#include <thread>

namespace vantrel::testing {

// From a fresh keymap: Xlib's cached one misses the changes other clients make.
KeyCode XObserver::KeycodeOf(KeySym keysym) {
    int minKeycode = 0, maxKeycode = 0, per = 0;
    XDisplayKeycodes(display_, &minKeycode, &maxKeycode);
    KeySym* map =
        XGetKeyboardMapping(display_, KeyCode(minKeycode), maxKeycode - minKeycode + 1, &per);
    KeyCode found = 0;
    for (int k = minKeycode; k <= maxKeycode && found == 0; ++k) {
        for (int i = 0; i < per; ++i) {
            if (map[(k - minKeycode) * per + i] == keysym) found = KeyCode(k);
        }
    }
    XFree(map);
    return found;
}

bool XObserver::IsDown(KeyCode keycode) {
    char keys[32];
    XQueryKeymap(display_, keys);
    return (keys[keycode / 8] >> (keycode % 8)) & 1;
}

std::vector<KeyCode> XObserver::DownKeycodes() {
    std::vector<KeyCode> down;
    for (int k = 8; k < 256; ++k) {
        if (IsDown(KeyCode(k))) down.push_back(KeyCode(k));
    }
    return down;
}

bool XObserver::WaitFor(KeyCode keycode, bool down) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (IsDown(keycode) != down) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace vantrel::testing
