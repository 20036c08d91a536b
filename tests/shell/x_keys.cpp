// Apart from the tests: Xlib's macros clash with Qt's names.
#include <X11/Xlib.h>

#include "x11_rig.h"

namespace vantrel::testing {

int KeysDown(const char* keysymName) {
    static ::Display* const display = XOpenDisplay(nullptr);
    if (!display) return -1;
    char keys[32];
    XQueryKeymap(display, keys);
    if (keysymName) {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysymName));
        return code != 0 && ((keys[code / 8] >> (code % 8)) & 1);
    }
    int n = 0;
    for (char byte : keys) n += __builtin_popcount(static_cast<unsigned char>(byte));
    return n;
}

}  // namespace vantrel::testing
