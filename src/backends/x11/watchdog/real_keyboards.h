#pragma once
// The keyboards of the X server other than its XTest devices: the player's. XTest events all come
// from one XTest keyboard per master keyboard, whoever sends them, so the keys a real keyboard
// holds are the player's own (XInput 2 lists the devices, XInput 1 gives each one's key state).

#include <bitset>

struct _XDisplay;

namespace vantrel {

class RealKeyboards {
  public:
    // Without XInput 2 on the server no keyboard is known and none is ever seen holding a key.
    explicit RealKeyboards(_XDisplay* display);

    // Keycodes that some real keyboard holds down now.
    std::bitset<256> HeldKeycodes();
    // From now on every key let go of on any keyboard sends an event to this connection.
    void WatchReleases();

  private:
    bool IsXTestDevice(int deviceId, const char* name);

    _XDisplay* display_;
    bool available_ = false;
    unsigned long xtestProperty_ = 0;  // the atom "XTEST Device"
};

}  // namespace vantrel
