#include "kernel/uinput_controller.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/uinput.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <ostream>
#include <stdexcept>

namespace vantrel::testing {
namespace {

void Check(int result, const char* what) {
    if (result < 0) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

ControllerDescription Xbox360Pad() {
    ControllerDescription d{"Microsoft X-Box 360 pad", BUS_USB, 0x045e, 0x028e, 0x0114, {}, {}};
    for (uint16_t stick : {ABS_X, ABS_Y, ABS_RX, ABS_RY})
        d.axes.push_back({stick, -32768, 32767, 16, 128, 0});
    for (uint16_t trigger : {ABS_Z, ABS_RZ}) d.axes.push_back({trigger, 0, 255, 0, 0, 0});
    for (uint16_t hat : {ABS_HAT0X, ABS_HAT0Y}) d.axes.push_back({hat, -1, 1, 0, 0, 0});
    d.buttons = {BTN_A,      BTN_B,     BTN_X,    BTN_Y,      BTN_TL,    BTN_TR,
                 BTN_SELECT, BTN_START, BTN_MODE, BTN_THUMBL, BTN_THUMBR};
    return d;
}

ControllerDescription FlightStick10Bit() {
    ControllerDescription d{
        "Logitech Logitech Extreme 3D", BUS_USB, 0x046d, 0xc215, 0x0110, {}, {}};
    // hid-input: fuzz (max - min) >> 8 and flat (max - min) >> 4.
    for (uint16_t stick : {ABS_X, ABS_Y}) d.axes.push_back({stick, 0, 1023, 3, 63, 512});
    d.axes.push_back({ABS_RZ, 0, 255, 0, 15, 128});
    d.axes.push_back({ABS_THROTTLE, 0, 255, 0, 15, 255});
    for (uint16_t hat : {ABS_HAT0X, ABS_HAT0Y}) d.axes.push_back({hat, -1, 1, 0, 0, 0});
    for (uint16_t b = BTN_TRIGGER; b <= BTN_BASE6; ++b) d.buttons.push_back(b);
    return d;
}

ControllerDescription HatOnlyPad() {
    ControllerDescription d{"Retro Hat Pad", BUS_USB, 0x1234, 0x5678, 0x0100, {}, {}};
    for (uint16_t hat : {ABS_HAT0X, ABS_HAT0Y}) d.axes.push_back({hat, -1, 1, 0, 0, 0});
    d.buttons = {BTN_A, BTN_B, BTN_X, BTN_Y, BTN_TL, BTN_TR, BTN_SELECT, BTN_START};
    return d;
}

UinputController::UinputController(ControllerDescription description)
    : description_(std::move(description)) {
    fd_ = ::open("/dev/uinput", O_RDWR | O_NONBLOCK | O_CLOEXEC);
    Check(fd_, "open /dev/uinput");
    Check(::ioctl(fd_, UI_SET_EVBIT, EV_KEY), "UI_SET_EVBIT EV_KEY");
    Check(::ioctl(fd_, UI_SET_EVBIT, EV_ABS), "UI_SET_EVBIT EV_ABS");
    if (description_.motors) {
        Check(::ioctl(fd_, UI_SET_EVBIT, EV_FF), "UI_SET_EVBIT EV_FF");
        Check(::ioctl(fd_, UI_SET_FFBIT, FF_RUMBLE), "UI_SET_FFBIT FF_RUMBLE");
    }
    for (uint16_t button : description_.buttons)
        Check(::ioctl(fd_, UI_SET_KEYBIT, button), "UI_SET_KEYBIT");
    for (const AxisDescription& axis : description_.axes) {
        Check(::ioctl(fd_, UI_SET_ABSBIT, axis.code), "UI_SET_ABSBIT");
        uinput_abs_setup setup{};
        setup.code = axis.code;
        setup.absinfo.minimum = axis.min;
        setup.absinfo.maximum = axis.max;
        setup.absinfo.fuzz = axis.fuzz;
        setup.absinfo.flat = axis.flat;
        setup.absinfo.value = axis.rest;
        Check(::ioctl(fd_, UI_ABS_SETUP, &setup), "UI_ABS_SETUP");
    }
    uinput_setup setup{};
    setup.id = {description_.bus, description_.vendor, description_.product, description_.version};
    std::strncpy(setup.name, description_.name.c_str(), UINPUT_MAX_NAME_SIZE - 1);
    setup.ff_effects_max = description_.motors ? 16 : 0;  // xpad's own limit
    Check(::ioctl(fd_, UI_DEV_SETUP, &setup), "UI_DEV_SETUP");
    Check(::ioctl(fd_, UI_DEV_CREATE), "UI_DEV_CREATE");

    char sysname[64] = {};
    Check(::ioctl(fd_, UI_GET_SYSNAME(sizeof sysname), sysname), "UI_GET_SYSNAME");
    const std::string folder = std::string("/sys/devices/virtual/input/") + sysname;
    // The event node's class device appears right after the input device.
    for (int tries = 0; tries < 500 && eventNode_.empty(); ++tries) {
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                if (std::strncmp(entry->d_name, "event", 5) == 0)
                    eventNode_ = std::string("/dev/input/") + entry->d_name;
            }
            ::closedir(dir);
        }
        if (eventNode_.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (eventNode_.empty()) throw std::runtime_error("no event node for " + description_.name);
    // The untouched position, as a real pad reports it once plugged in.
    for (const AxisDescription& axis : description_.axes) Emit(EV_ABS, axis.code, axis.rest);
    Emit(EV_SYN, SYN_REPORT, 0);
    if (description_.motors) answerer_ = std::thread([this] { AnswerForceFeedback(); });
}

UinputController::~UinputController() { Unplug(); }

void UinputController::Unplug() {
    if (fd_ < 0) return;
    unplugging_ = true;
    if (answerer_.joinable()) answerer_.join();
    ::ioctl(fd_, UI_DEV_DESTROY);
    ::close(fd_);
    fd_ = -1;
}

void UinputController::AnswerForceFeedback() {
    while (!unplugging_) {
        pollfd ready{fd_, POLLIN, 0};
        if (::poll(&ready, 1, 20) <= 0) continue;
        input_event event{};
        while (::read(fd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event)) {
            std::optional<ForceFeedback> request;
            if (event.type == EV_UINPUT && event.code == UI_FF_UPLOAD) {
                uinput_ff_upload upload{};
                upload.request_id = static_cast<uint32_t>(event.value);
                // A request no longer there (its process gave up waiting) is not answered.
                if (::ioctl(fd_, UI_BEGIN_FF_UPLOAD, &upload) < 0) continue;
                const ff_effect& effect = upload.effect;
                if (effect.type == FF_RUMBLE) {
                    request = ForceFeedback{ForceFeedback::Upload, effect.id,
                                            effect.u.rumble.strong_magnitude,
                                            effect.u.rumble.weak_magnitude};
                } else {
                    upload.retval = -EINVAL;
                }
                ::ioctl(fd_, UI_END_FF_UPLOAD, &upload);
            } else if (event.type == EV_UINPUT && event.code == UI_FF_ERASE) {
                uinput_ff_erase erase{};
                erase.request_id = static_cast<uint32_t>(event.value);
                if (::ioctl(fd_, UI_BEGIN_FF_ERASE, &erase) < 0) continue;
                ::ioctl(fd_, UI_END_FF_ERASE, &erase);
                request =
                    ForceFeedback{ForceFeedback::Erase, static_cast<int16_t>(erase.effect_id)};
            } else if (event.type == EV_FF) {
                request = ForceFeedback{ForceFeedback::Play, static_cast<int16_t>(event.code), 0, 0,
                                        event.value};
            }
            if (!request) continue;
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(*request);
            recorded_.notify_all();
        }
    }
}

std::vector<ForceFeedback> UinputController::forceFeedback() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

bool UinputController::WaitForForceFeedback(size_t count, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    return recorded_.wait_for(lock, wait, [&] { return requests_.size() >= count; });
}

std::ostream& operator<<(std::ostream& out, const ForceFeedback& request) {
    static constexpr const char* kinds[] = {"upload", "erase", "play"};
    out << kinds[request.kind] << " #" << request.effect;
    if (request.kind == ForceFeedback::Upload)
        out << " rumble " << request.strong << "/" << request.weak;
    if (request.kind == ForceFeedback::Play) out << " value " << request.value;
    return out;
}

void UinputController::Emit(uint16_t type, uint16_t code, int32_t value) {
    input_event event{};
    event.type = type;
    event.code = code;
    event.value = value;
    Check(static_cast<int>(::write(fd_, &event, sizeof event)), "write to uinput");
}

void UinputController::MoveStick(double x, double y) {
    const auto position = [this](uint16_t code, double fraction) {
        for (const AxisDescription& axis : description_.axes) {
            if (axis.code != code) continue;
            Emit(EV_ABS, code,
                 static_cast<int32_t>(std::lround(axis.min + fraction * (axis.max - axis.min))));
        }
    };
    position(ABS_X, x);
    position(ABS_Y, y);
    Emit(EV_SYN, SYN_REPORT, 0);
}

void UinputController::SetButton(int index, bool down) {
    Emit(EV_KEY, description_.buttons.at(static_cast<size_t>(index)), down ? 1 : 0);
    Emit(EV_SYN, SYN_REPORT, 0);
}

}  // namespace vantrel::testing
