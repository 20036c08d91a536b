#pragma once
// Which of the eight axes a controller has, from the type names of its axis objects.

#include <array>
#include <cstdint>

#include "ports/controller.h"

namespace vantrel {

// Clears `axisFound` (indices 1..8: X, Y, Z, Rx, Ry, Rz, slider 0, slider 1) and sets True (-1)
// for each axis object whose type name matches exactly. Any slider sets both slider flags. With
// no device every flag stays False.
void IdentifyAxes(ControllerDevice* diDev, std::array<int16_t, 9>& axisFound);

}  // namespace vantrel
