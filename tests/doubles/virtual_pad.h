#pragma once
// An SDL virtual joystick for tests: attached on construction (SDL's joystick subsystem must be
// running, e.g. through an SdlControllerService), values set here show up after the next pump.

#include <SDL.h>

#include <string>

namespace vantrel::testing {

class VirtualPad {
  public:
    VirtualPad(const char* name, int axes, int buttons) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;  // no game-controller axes resting at minimum
        desc.naxes = static_cast<Uint16>(axes);
        desc.nbuttons = static_cast<Uint16>(buttons);
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        id_ = SDL_JoystickGetDeviceInstanceID(index);
        joystick_ = SDL_JoystickOpen(index);
    }
    ~VirtualPad() { Detach(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool ok() const { return joystick_ != nullptr; }
    std::string id() const { return std::to_string(id_); }
    void SetAxis(int axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
    }
    void SetButton(int button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    void Detach() {
        if (!joystick_) return;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id_) SDL_JoystickDetachVirtual(i);
        }
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
    }

  private:
    SDL_JoystickID id_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

}  // namespace vantrel::testing
