#pragma once
// Which of a report's axis slots a controller fills, from the kinds of its axes.

#include <array>
#include <vector>

#include "ports/controller.h"

namespace vantrel {

// A slot per kind; sliders are not told apart, so any slider fills both slider slots.
std::array<bool, kAxisSlots> AxisSlotsOf(const std::vector<AxisKind>& axes);

}  // namespace vantrel
