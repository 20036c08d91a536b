#include "backends/uinput/uinput_shifter.h"

#include <linux/uinput.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "ports/service_error.h"

namespace vantrel {
namespace {

[[noreturn]] void FailSetup(const char* step, int error) {
    throw ServiceError(kErrorShifterFailed,
                       std::string("the virtual shifter could not be set up (") + step + ": " +
                           std::strerror(error) + "); is this a uinput device?");
}

// Gear 1 is the first button of the joystick range, so that every joystick interface numbers
// the buttons 1..11 in gear order.
uint16_t ButtonCode(int button) { return static_cast<uint16_t>(BTN_TRIGGER + button - 1); }

int32_t OnAxis(int32_t value) { return std::clamp(value, kShifterAxisMin, kShifterAxisMax); }

}  // namespace

UinputShifter::UinputShifter(std::unique_ptr<UinputIo> io)
    : io_(std::move(io)), x_(kShifterAxisRest), y_(kShifterAxisRest) {
    for (int type : {EV_KEY, EV_ABS, EV_SYN}) {
        if (int e = io_->SetBit(UI_SET_EVBIT, type)) FailSetup("enabling an event type", e);
    }
    for (int button = 1; button <= kShifterButtons; ++button) {
        if (int e = io_->SetBit(UI_SET_KEYBIT, ButtonCode(button))) {
            FailSetup("enabling a button", e);
        }
    }
    for (int axis : {ABS_X, ABS_Y}) {
        if (int e = io_->SetBit(UI_SET_ABSBIT, axis)) FailSetup("enabling an axis", e);
    }

    uinput_setup setup{};
    setup.id.bustype = kShifterBus;
    setup.id.vendor = kShifterVendor;
    setup.id.product = kShifterProduct;
    setup.id.version = kShifterVersion;
    std::strncpy(setup.name, kShifterName, UINPUT_MAX_NAME_SIZE - 1);
    if (int e = io_->Setup(setup)) FailSetup("describing the device", e);

    for (uint16_t axis : {ABS_X, ABS_Y}) {
        uinput_abs_setup abs{};
        abs.code = axis;
        abs.absinfo.minimum = kShifterAxisMin;
        abs.absinfo.maximum = kShifterAxisMax;
        abs.absinfo.value = kShifterAxisRest;
        if (int e = io_->AbsSetup(abs)) FailSetup("describing an axis", e);
    }
    if (int e = io_->Create()) FailSetup("creating the device", e);
    live_key_services::Add(this);
}

UinputShifter::~UinputShifter() {
    // Leave the registry first so no shutdown path reaches a half-destroyed device.
    live_key_services::Remove(this);
    ReleaseAll();
    io_->Destroy();
}

std::unique_ptr<UinputShifter> UinputShifter::Open(const std::string& path) {
    int error = 0;
    std::unique_ptr<UinputIo> io = OpenUinputFile(path, error);
    if (!io) throw ServiceError(kErrorShifterFailed, UinputOpenFailure(path, error));
    return std::make_unique<UinputShifter>(std::move(io));
}

void UinputShifter::Report(const ShifterButtons& next, const ButtonChanges& changes, int32_t x,
                           int32_t y) {
    // Every button, two axes and the report: the largest report there is.
    std::array<input_event, kShifterButtons + 3> events{};
    size_t n = 0;
    for (const ButtonChange& c : changes) {
        events[n].type = EV_KEY;
        events[n].code = ButtonCode(c.button);
        events[n++].value = c.down ? 1 : 0;
    }
    for (const auto& [code, value, last] : {std::tuple{ABS_X, x, x_}, std::tuple{ABS_Y, y, y_}}) {
        if (value == last) continue;
        events[n].type = EV_ABS;
        events[n].code = static_cast<uint16_t>(code);
        events[n++].value = value;
    }
    if (n == 0) return;  // nothing changed: nothing for the games to read
    events[n].type = EV_SYN;
    events[n++].code = SYN_REPORT;
    if (int e = io_->Write(events.data(), n * sizeof(input_event))) {
        throw ServiceError(kErrorShifterFailed,
                           std::string("writing to the virtual shifter failed (") +
                               std::strerror(e) +
                               "). Start Vantrel again; if this keeps happening, check that the "
                               "uinput kernel module is loaded (sudo modprobe uinput).");
    }
    buttons_ = next;
    x_ = x;
    y_ = y;
}

void UinputShifter::SetGear(int gear, int32_t x, int32_t y) {
    std::lock_guard guard(lock_);
    if (closed_) return;
    ShifterButtons next = buttons_;
    const ButtonChanges changes = next.SetGear(gear);
    Report(next, changes, OnAxis(x), OnAxis(y));
}

void UinputShifter::SetKnob(bool range, bool splitter) {
    std::lock_guard guard(lock_);
    if (closed_) return;
    ShifterButtons next = buttons_;
    const ButtonChanges changes = next.SetKnob(range, splitter);
    Report(next, changes, x_, y_);
}

void UinputShifter::ReleaseAllLocked() noexcept {
    ShifterButtons next = buttons_;
    const ButtonChanges changes = next.ReleaseAll();
    try {
        Report(next, changes, x_, y_);
    } catch (...) {
        // Still down as far as we know; the next attempt tries again.
    }
}

void UinputShifter::ReleaseAll() noexcept {
    std::lock_guard guard(lock_);
    ReleaseAllLocked();
}

void UinputShifter::ReleaseAllForShutdown(std::chrono::milliseconds wait) noexcept {
    // Entered from inside our own write on this thread (std::exit from within it): the device is
    // mid-call and must not be re-entered.
    const std::unique_lock guard(lock_, wait);
    if (!guard.owns_lock()) return;
    ReleaseAllLocked();
    closed_ = true;
}

}  // namespace vantrel
