#pragma once
// The virtual H-shifter: a joystick device made through the kernel's uinput module, with one
// button per gear (held while the lever is in that gear), range and splitter buttons and the
// stick position, as games expect of the shifters sold with racing wheels.

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "backends/uinput/uinput_io.h"
#include "output/live_key_services.h"
#include "output/owned_lock.h"
#include "output/shifter_buttons.h"
#include "ports/shifter_output.h"

namespace vantrel {

// Every UinputShifter is a live output while it lives: std::exit, std::quick_exit and the
// termination signals (release_on_termination.h) let go of its buttons like of held keys.
class UinputShifter final : public ShifterOutput, public LiveOutput {
  public:
    // Creates the device "Vantrel H-Shifter" (ids in shifter_identity.h): buttons BTN_TRIGGER
    // upward, ABS_X and ABS_Y from 0 to 10000. Throws ServiceError saying which step failed.
    explicit UinputShifter(std::unique_ptr<UinputIo> io);
    // Lets go of every button, then removes the device.
    ~UinputShifter() override;
    UinputShifter(const UinputShifter&) = delete;
    UinputShifter& operator=(const UinputShifter&) = delete;

    // Opens `path` and creates the device; the error text says what failed.
    static std::unique_ptr<UinputShifter> Open(const std::string& path);

    // Each writes the changes it makes, if any, as one report: the button releases, the press,
    // then the axes whose value changed, then SYN_REPORT. Safe from any thread.
    void SetGear(int gear, int32_t x, int32_t y) override;
    void SetKnob(bool range, bool splitter) override;
    void ReleaseAll() noexcept override;
    void ReleaseAllForShutdown(std::chrono::milliseconds wait) noexcept override;

  private:
    // Writes the changes of `next` over the current state and takes it on; throws when the
    // write fails, keeping the old state so that a later call tries again.
    void Report(const ShifterButtons& next, const ButtonChanges& changes, int32_t x, int32_t y);
    void ReleaseAllLocked() noexcept;

    std::unique_ptr<UinputIo> io_;
    OwnedLock lock_;
    ShifterButtons buttons_;
    int32_t x_;
    int32_t y_;
    bool closed_ = false;
};

}  // namespace vantrel
