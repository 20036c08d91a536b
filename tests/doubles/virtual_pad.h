#pragma once
// An SDL virtual joystick for tests: attached on construction (SDL's joystick subsystem must be
// running, e.g. through an SdlControllerService), values set here show up after the next pump.
// One made with motors records each rumble request SDL passes on.

#include <SDL.h>

#include <string>
#include <utility>
#include <vector>

namespace vantrel::testing {

class VirtualPad {
  public:
    // SDL's two motors: low and high frequency.
    using Motors = std::pair<Uint16, Uint16>;

    VirtualPad(const char* name, int axes, int buttons, bool motors = false) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;  // no game-controller axes resting at minimum
        desc.naxes = static_cast<Uint16>(axes);
        desc.nbuttons = static_cast<Uint16>(buttons);
        desc.name = name;
        if (motors) {
            desc.userdata = this;
            desc.Rumble = [](void* pad, Uint16 low, Uint16 high) {
                static_cast<VirtualPad*>(pad)->rumbles_.emplace_back(low, high);
                return 0;
            };
        }
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
    // Every request that reached the motors, oldest first; SDL passes on only changes.
    const std::vector<Motors>& rumbles() const { return rumbles_; }
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
    std::vector<Motors> rumbles_;
};

}  // namespace vantrel::testing
