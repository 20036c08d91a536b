#pragma once
// One open game controller. Every operation reports DI_OK or a failure code; callers that ignore
// failures (the selection, the shutdown) simply drop the code.

#include <string>
#include <vector>

#include "ports/controller_report.h"

namespace vantrel {

class ControllerDevice {
  public:
    virtual ~ControllerDevice() = default;

    virtual int32_t GetCapabilities(DIDEVCAPS& caps) = 0;
    // Type names of the device's axis objects ("GUID_XAxis", "GUID_Slider", ...), in object order.
    virtual std::vector<std::string> GetAxisObjectTypes() = 0;
    // Ties the device to a notification event from ControllerService::CreateEvent (0 unbinds).
    virtual int32_t SetEventNotification(int32_t eventHandle) = 0;
    virtual int32_t SetProperty(DiLongProperty which, const DIPROPLONG& prop) = 0;
    virtual int32_t SetRangeProperty(const DIPROPRANGE& prop) = 0;
    virtual int32_t Acquire() = 0;
    virtual int32_t Unacquire() = 0;
    virtual int32_t Poll() = 0;
    // Fills the record; on failure returns the code and leaves the record as it was.
    virtual int32_t GetDeviceStateJoystick(DIJOYSTATE& state) = 0;
};

}  // namespace vantrel
