#pragma once
// One open SDL joystick behind the classic device interface. Opened for its whole life; Acquire
// and Unacquire only allow and stop reads and notifications.

#include <SDL.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "backends/sdl/axis_scaling.h"
#include "ports/controller.h"

namespace vantrel {

class SdlSession;

// The state record has eight axis slots: X, Y, Z, Rx, Ry, Rz, slider 0, slider 1.
inline constexpr int kAxisSlots = 8;

class SdlControllerDevice : public ControllerDevice {
  public:
    // Takes over one reference of `joystick`.
    SdlControllerDevice(std::shared_ptr<SdlSession> session, SDL_Joystick* joystick);
    ~SdlControllerDevice() override;
    SdlControllerDevice(const SdlControllerDevice&) = delete;
    SdlControllerDevice& operator=(const SdlControllerDevice&) = delete;

    int32_t GetCapabilities(DIDEVCAPS& caps) override;
    std::vector<std::string> GetAxisObjectTypes() override;
    int32_t SetEventNotification(int32_t eventHandle) override;
    int32_t SetProperty(DiLongProperty which, const DIPROPLONG& prop) override;
    int32_t SetRangeProperty(const DIPROPRANGE& prop) override;
    int32_t Acquire() override;
    int32_t Unacquire() override;
    int32_t Poll() override;
    int32_t GetDeviceStateJoystick(DIJOYSTATE& state) override;

    // For the session's pump.
    bool Watched() const { return acquired_ && eventHandle_ != 0 && !lossReported_; }
    int32_t EventHandle() const { return eventHandle_; }
    const std::string& NodePath() const { return nodePath_; }
    // True once per change of what a read would report, and once when the device is detached.
    bool TakeChange();

  private:
    int AxisCount() const;
    // The axes a property addresses: all of them, or the one at a data offset; empty when none.
    std::vector<int> AddressedAxes(int32_t how, int32_t offset) const;
    DIJOYSTATE Snapshot() const;

    std::shared_ptr<SdlSession> session_;
    SDL_Joystick* joystick_;
    std::string nodePath_;
    std::array<AxisScale, kAxisSlots> scales_{};
    int32_t eventHandle_ = 0;
    bool acquired_ = false;
    bool lossReported_ = false;
    DIJOYSTATE seen_{};
};

}  // namespace vantrel
