#pragma once
// The outside world of the whole program under Xvfb: SDL virtual controllers (SDL's joystick
// subsystem must be running) and the keys the X server holds down.
#include <SDL.h>

namespace vantrel::testing {

// Keys the X server of $DISPLAY holds down, seen through a connection of our own: whether the key
// of this keysym name ("w") is down (1 or 0), or with none how many are; -1 without a display.
int KeysDown(const char* keysymName = nullptr);

// Raw SDL axis values: kGear34 scales to about 3000 with the stick's dead zone and saturation, the
// ends to 0 and 10000, 0 to the centre.
constexpr int kGear34 = -14417, kLow = -32768, kHigh = 32767;

class VirtualPad {
  public:
    explicit VirtualPad(const char* name) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = 2;
        desc.nbuttons = 4;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        id_ = SDL_JoystickGetDeviceInstanceID(index);
        joystick_ = SDL_JoystickOpen(index);
    }
    ~VirtualPad() { Detach(); }
    bool ok() const { return joystick_ != nullptr; }
    void Stick(int x, int y) {
        SDL_JoystickSetVirtualAxis(joystick_, 0, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(joystick_, 1, static_cast<Sint16>(y));
    }
    void Detach() {  // as when it is unplugged
        for (int i = 0; joystick_ && i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id_) SDL_JoystickDetachVirtual(i);
        }
        if (joystick_) SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
    }

  private:
    SDL_JoystickID id_;
    SDL_Joystick* joystick_;
};

}  // namespace vantrel::testing
