#include "controller/identify_axes.h"

#include <string_view>

#include "engine/controller_slot.h"

namespace vantrel {
namespace {

struct AxisType {
    std::string_view guidType;
    int flag;
};

// Slider objects are not told apart: one slider marks both slider rows.
constexpr AxisType kAxisTypes[] = {{"GUID_XAxis", 1},  {"GUID_YAxis", 2},  {"GUID_ZAxis", 3},
                                   {"GUID_RxAxis", 4}, {"GUID_RyAxis", 5}, {"GUID_RzAxis", 6},
                                   {"GUID_Slider", 8}, {"GUID_Slider", 7}};

}  // namespace

void IdentifyAxes(ControllerDevice* diDev, std::array<int16_t, 9>& axisFound) {
    axisFound.fill(kFalse);
    if (!diDev) return;
    for (const std::string& type : diDev->GetAxisObjectTypes()) {
        for (const AxisType& known : kAxisTypes) {
            if (type == known.guidType) axisFound[known.flag] = kTrue;
        }
    }
}

}  // namespace vantrel
