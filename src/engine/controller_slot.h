#pragma once
// The controller in use as the poll cycle sees it: the open device, the last state read, its
// button count and which of the eight axes it has.

#include <array>
#include <cstdint>
#include <memory>

#include "ports/controller.h"

namespace vantrel {

inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

struct DeviceSlot {
    std::unique_ptr<ControllerDevice> diDev;  // empty until a controller is chosen
    DIJOYSTATE joyState;
    DIDEVCAPS deviceCaps;
    // Indices 1..8: X, Y, Z, Rx, Ry, Rz, slider 0, slider 1 (True = -1).
    std::array<int16_t, 9> axisFound{};
};

}  // namespace vantrel
