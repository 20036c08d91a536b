#pragma once
// Controllers made in the kernel through /dev/uinput, described as their drivers describe the real
// ones (axes with their ranges, fuzz and flat; buttons by code; bus and ids), so that udev, evdev
// and SDL's Linux backend see what they see when a player plugs one in. One with rumble motors
// answers the kernel's force-feedback requests as a driver would and records them.

#include <linux/input.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>
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
    bool motors = false;            // rumble motors (FF_RUMBLE)
};

// One force-feedback request the kernel passed on to a controller with motors.
struct ForceFeedback {
    enum Kind { Upload, Erase, Play };
    Kind kind;
    int16_t effect;       // the effect's id
    uint16_t strong = 0;  // Upload of a rumble: the magnitudes of its motors
    uint16_t weak = 0;
    int32_t value = 0;  // Play: 0 stops the effect, more plays it that many times

    bool operator==(const ForceFeedback&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ForceFeedback& request);

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

    // The force-feedback requests so far, oldest first; uploads other than of a rumble are
    // refused and not recorded.
    std::vector<ForceFeedback> forceFeedback() const;
    // Waits until there are at least `count` requests; false after `wait`.
    bool WaitForForceFeedback(size_t count, std::chrono::milliseconds wait);

  private:
    void Emit(uint16_t type, uint16_t code, int32_t value);
    // Until Unplug: a process uploading or erasing an effect waits for this answer.
    void AnswerForceFeedback();

    ControllerDescription description_;
    int fd_ = -1;
    std::string eventNode_;
    std::thread answerer_;
    std::atomic<bool> unplugging_{false};
    mutable std::mutex mutex_;
    std::condition_variable recorded_;
    std::vector<ForceFeedback> requests_;
};

}  // namespace vantrel::testing
