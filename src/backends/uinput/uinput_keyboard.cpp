#include "backends/uinput/uinput_keyboard.h"

#include <linux/uinput.h>

#include <bitset>
#include <cstring>

#include "output/key_names.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

[[noreturn]] void FailSetup(const char* step, int error) {
    throw ServiceError(kErrorKeySendFailed,
                       std::string("the virtual keyboard could not be set up (") + step + ": " +
                           ErrnoText(error) + "); is this a uinput device?");
}

}  // namespace

UinputBackend::UinputBackend(std::unique_ptr<UinputIo> io) : io_(std::move(io)) {
    if (int e = io_->SetBit(UI_SET_EVBIT, EV_KEY)) FailSetup("enabling key events", e);
    if (int e = io_->SetBit(UI_SET_EVBIT, EV_SYN)) FailSetup("enabling report events", e);

    std::bitset<KEY_CNT> codes;
    for (int code = 1; code <= 31; ++code) codes.set(code);
    for (const KeyName& k : AllKeyNames()) codes.set(k.evdevCode);
    for (size_t code = 0; code < codes.size(); ++code) {
        if (!codes.test(code)) continue;
        if (int e = io_->SetBit(UI_SET_KEYBIT, static_cast<int>(code))) {
            FailSetup("enabling a key", e);
        }
    }

    uinput_setup setup{};
    setup.id.bustype = BUS_VIRTUAL;
    setup.id.vendor = 0x5654;  // "VT"
    setup.id.product = 0x0001;
    setup.id.version = 1;
    std::strncpy(setup.name, kUinputDeviceName, UINPUT_MAX_NAME_SIZE - 1);
    if (int e = io_->Setup(setup)) FailSetup("describing the device", e);
    if (int e = io_->Create()) FailSetup("creating the device", e);
}

UinputBackend::~UinputBackend() { io_->Destroy(); }

void UinputBackend::Emit(const KeyName& key, int value) {
    input_event events[2]{};
    events[0].type = EV_KEY;
    events[0].code = key.evdevCode;
    events[0].value = value;
    events[1].type = EV_SYN;
    events[1].code = SYN_REPORT;
    events[1].value = 0;
    if (int e = io_->Write(events, sizeof events)) {
        throw ServiceError(kErrorKeySendFailed,
                           "writing to /dev/uinput failed (" + ErrnoText(e) +
                               "). Start Vantrel again; if this keeps happening, check that the "
                               "uinput kernel module is loaded (sudo modprobe uinput).");
    }
}

std::unique_ptr<UinputBackend> UinputBackend::Open(const std::string& path) {
    int error = 0;
    std::unique_ptr<UinputIo> io = OpenUinputFile(path, error);
    if (!io) throw ServiceError(kErrorKeySendFailed, UinputOpenFailure(path, error));
    return std::make_unique<UinputBackend>(std::move(io));
}

}  // namespace vantrel
