#include "backends/x11/watchdog/real_keyboards.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>

#include <string_view>

namespace vantrel {

RealKeyboards::RealKeyboards(Display* display) : display_(display) {
    int opcode = 0, event = 0, error = 0;
    if (!XQueryExtension(display_, "XInputExtension", &opcode, &event, &error)) return;
    int major = 2, minor = 2;
    available_ = XIQueryVersion(display_, &major, &minor) == Success;
    xtestProperty_ = XInternAtom(display_, "XTEST Device", True);
}

bool RealKeyboards::IsXTestDevice(int deviceId, const char* name) {
    // The server marks its XTest devices with this property; older ones only by their name.
    if (xtestProperty_ != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const int status = XIGetProperty(display_, deviceId, xtestProperty_, 0, 1, False,
                                         AnyPropertyType, &type, &format, &count, &after, &data);
        if (data != nullptr) XFree(data);
        if (status == Success && type != None) return true;
    }
    return std::string_view(name).ends_with(" XTEST keyboard");
}

std::bitset<256> RealKeyboards::HeldKeycodes() {
    std::bitset<256> held;
    if (!available_) return held;
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display_, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        // A floating keyboard reaches no client, so only those attached to a master count.
        const XIDeviceInfo& info = devices[i];
        if (info.use != XISlaveKeyboard || IsXTestDevice(info.deviceid, info.name)) continue;
        XDevice* device = XOpenDevice(display_, static_cast<XID>(info.deviceid));
        if (device == nullptr) continue;
        if (XDeviceState* state = XQueryDeviceState(display_, device)) {
            const XInputClass* part = state->data;
            for (int c = 0; c < state->num_classes; ++c) {
                if (part->c_class == KeyClass) {
                    const auto* keys = reinterpret_cast<const XKeyState*>(part);
                    for (int k = 0; k < 256; ++k) {
                        if ((keys->keys[k / 8] >> (k % 8)) & 1) held.set(static_cast<size_t>(k));
                    }
                }
                part = reinterpret_cast<const XInputClass*>(reinterpret_cast<const char*>(part) +
                                                            part->length);
            }
            XFreeDeviceState(state);
        }
        XCloseDevice(display_, device);
    }
    XIFreeDeviceInfo(devices);
    return held;
}

void RealKeyboards::WatchReleases() {
    if (!available_) return;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
}

}  // namespace vantrel
