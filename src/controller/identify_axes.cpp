#include "controller/identify_axes.h"

namespace vantrel {

std::array<bool, kAxisSlots> AxisSlotsOf(const std::vector<AxisKind>& axes) {
    std::array<bool, kAxisSlots> has{};
    const auto mark = [&](AxisSlot slot) { has[static_cast<size_t>(slot)] = true; };
    for (const AxisKind kind : axes) {
        switch (kind) {
            case AxisKind::X:
                mark(AxisSlot::X);
                break;
            case AxisKind::Y:
                mark(AxisSlot::Y);
                break;
            case AxisKind::Z:
                mark(AxisSlot::Z);
                break;
            case AxisKind::RotationX:
                mark(AxisSlot::RotationX);
                break;
            case AxisKind::RotationY:
                mark(AxisSlot::RotationY);
                break;
            case AxisKind::RotationZ:
                mark(AxisSlot::RotationZ);
                break;
            case AxisKind::Slider:
                mark(AxisSlot::Slider0);
                mark(AxisSlot::Slider1);
                break;
        }
    }
    return has;
}

}  // namespace vantrel
