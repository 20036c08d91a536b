#include "controller/identify_axes.h"

namespace vantrel {

// The six axes have their slot at the same place in both lists.
static_assert(static_cast<int>(AxisKind::RotationZ) == static_cast<int>(AxisSlot::RotationZ));
static_assert(static_cast<int>(AxisKind::X) == static_cast<int>(AxisSlot::X));

std::array<bool, kAxisSlots> AxisSlotsOf(const std::vector<AxisKind>& axes) {
    std::array<bool, kAxisSlots> has{};
    for (const AxisKind kind : axes) {
        if (kind == AxisKind::Slider) {
            has[static_cast<size_t>(AxisSlot::Slider0)] = true;
            has[static_cast<size_t>(AxisSlot::Slider1)] = true;
        } else {
            has[static_cast<size_t>(kind)] = true;
        }
    }
    return has;
}

}  // namespace vantrel
