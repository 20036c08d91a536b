#pragma once
// The controller in use as the poll cycle sees it: the open controller, its last report, its
// button count and which of the report's axis slots it has.

#include <array>
#include <memory>

#include "ports/controller.h"

namespace vantrel {

struct ControllerSlot {
    std::unique_ptr<Controller> controller;  // empty until a controller is chosen
    ControllerReport report;
    int buttons = 0;
    std::array<bool, kAxisSlots> hasAxis{};
};

}  // namespace vantrel
