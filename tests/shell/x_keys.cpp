#include "x_keys.h"

#include <X11/Xlib.h>

namespace vantrel::testing {
namespace {
::Display* Dpy(void* d) { return static_cast<::Display*>(d); }
}  // namespace

XKeys::XKeys() : display_(XOpenDisplay(nullptr)) {}

XKeys::~XKeys() {
    if (display_) XCloseDisplay(Dpy(display_));
}

bool XKeys::IsDown(const char* keysymName) {
    const KeyCode code = XKeysymToKeycode(Dpy(display_), XStringToKeysym(keysymName));
    char keys[32];
    XQueryKeymap(Dpy(display_), keys);
    return code != 0 && ((keys[code / 8] >> (code % 8)) & 1);
}

int XKeys::DownCount() {
    char keys[32];
    XQueryKeymap(Dpy(display_), keys);
    int n = 0;
    for (char byte : keys) n += __builtin_popcount(static_cast<unsigned char>(byte));
    return n;
}

}  // namespace vantrel::testing
