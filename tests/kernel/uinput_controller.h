#pragma once
// Controllers made in the kernel through /dev/uinput, described as their drivers describe the real
// ones (axes with their ranges, fuzz and flat; buttons by code; bus and ids), so that udev, evdev
// and SDL's Linux backend see what they see when a player plugs one in.

#include <linux/input.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::testing {

struct AxisDescription {
    uint16_t code;
    int32_t min;
    int32_t max;
    int32_t fuzz = 0;
    int32_t flat = 0;
    int32_t rest;  // where it sits when untouched
};

struct ControllerDescription {
    std::string name;  // the kernel's name (evdev's EVIOCGNAME)
    uint16_t bus;
    uint16_t vendor;
    uint16_t product;
    uint16_t version;
    std::vector<AxisDescription> axes;
    std::vector<uint16_t> buttons;  // in the order SDL numbers them
};

// xpad's Xbox 360 pad: sticks -32768..32767 (fuzz 16, flat 128), triggers 0..255, hat -1..1.
ControllerDescription Xbox360Pad();
// A USB flight stick as hid-generic describes it: 10-bit X/Y, twist and throttle 0..255, a hat,
// twelve buttons.
ControllerDescription FlightStick10Bit();
// A pad with only a hat and buttons: nothing for the gate.
ControllerDescription HatOnlyPad();

class UinputController {
  public:
    explicit UinputController(ControllerDescription description);
    // Unplugs it, if still plugged in.
    ~UinputController();
    UinputController(const UinputController&) = delete;
    UinputController& operator=(const UinputController&) = delete;

    // Moves the stick to a fraction of each axis's travel (0 = min, 1 = max) in one report.
    void MoveStick(double x, double y);
    void SetButton(int index, bool down);  // index into the description's buttons
    void Unplug();
    bool pluggedIn() const { return fd_ >= 0; }

    // /dev/input/eventN of this controller.
    const std::string& eventNode() const { return eventNode_; }
    const ControllerDescription& description() const { return description_; }

  private:
    void Emit(uint16_t type, uint16_t code, int32_t value);

    ControllerDescription description_;
    int fd_ = -1;
    std::string eventNode_;
};

}  // namespace vantrel::testing
