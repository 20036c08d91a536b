#include "controller/controller_layer.h"

#include "controller/identify_axes.h"

namespace vantrel {

ControllerLayer::ControllerLayer(ControllerWindow& window, MainState& state, KeySender& autoIt)
    : window_(window), state_(state), autoIt_(autoIt) {}

ControllerLayer::~ControllerLayer() {
    DestroyEvent();
    ReleaseDevice();
}

bool ControllerLayer::InitDirectInput(ControllerService& diRoot) {
    diRoot_ = &diRoot;
    diDevList_ = diRoot.GetDIDevices();
    if (diDevList_.empty()) {
        window_.ShowMessage(kNoJoystickAttached, kNoJoystickAdvice);
        return false;
    }
    for (const DeviceInstance& instance : diDevList_) window_.AddController(instance.instanceName);
    notifyEvent_ =
        diRoot.CreateEvent([this](int32_t eventid) { DirectXEvent8_DXCallback(eventid); });
    return true;
}

void ControllerLayer::lstJoySticks_Click(int position) {
    if (inCycle_) return;
    window_.CLRLISTS();
    if (device_.diDev) device_.diDev->Unacquire();
    // Released before the next one is opened: a controller can be picked again.
    device_.diDev.reset();
    if (diRoot_ && position >= 0 && position < static_cast<int>(diDevList_.size())) {
        device_.diDev =
            diRoot_->CreateDevice(diDevList_[static_cast<size_t>(position)].guidInstance);
    }
    // The joystick data format and shared background access are how the service always opens a
    // device; there is nothing to set for them.
    ControllerDevice* dev = device_.diDev.get();
    if (dev) dev->GetCapabilities(device_.deviceCaps);
    IdentifyAxes(dev, device_.axisFound);
    if (dev) {
        dev->SetEventNotification(notifyEvent_);

        deadZoneProp_.lData = kDeadZone;
        deadZoneProp_.lHow = DIPH_BYOFFSET;
        for (int32_t offset : {DIJOFS_X, DIJOFS_Y}) {
            deadZoneProp_.lObj = offset;
            dev->SetProperty(DiLongProperty::DIPROP_DEADZONE, deadZoneProp_);
        }
        saturationProp_.lData = kSaturation;
        saturationProp_.lHow = DIPH_BYOFFSET;
        for (int32_t offset : {DIJOFS_X, DIJOFS_Y}) {
            saturationProp_.lObj = offset;
            dev->SetProperty(DiLongProperty::DIPROP_SATURATION, saturationProp_);
        }
        SetPropRange();
        dev->Acquire();
    }
    window_.SetCaption(kCaptionQuerying);
    DirectXEvent8_DXCallback(0);
}

void ControllerLayer::SetPropRange() {
    if (!device_.diDev) return;
    rangeProp_.lHow = DIPH_DEVICE;
    rangeProp_.lMin = kRangeMin;
    rangeProp_.lMax = kRangeMax;
    device_.diDev->SetRangeProperty(rangeProp_);
}

std::optional<CycleEnd> ControllerLayer::DirectXEvent8_DXCallback(int32_t eventid) {
    if (pollActive == kFalse || inCycle_) return std::nullopt;
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    };
    CycleEnd end;
    {
        Running running(inCycle_);
        end =
            vantrel::DirectXEvent8_DXCallback(state_, device_, autoIt_, window_, eventid, shifter_);
    }
    if (end == CycleEnd::Completed) {
        if (onCycleCompleted) onCycleCompleted(device_.joyState);
    } else if (end == CycleEnd::NoDevice || end == CycleEnd::Recovered) {
        if (onNoReading) onNoReading();
    } else if (end == CycleEnd::Failed) {
        pollActive = kFalse;
        if (onCycleFailed) onCycleFailed();
    }
    return end;
}

void ControllerLayer::DestroyEvent() {
    if (notifyEvent_ != 0 && diRoot_) diRoot_->DestroyEvent(notifyEvent_);
    notifyEvent_ = 0;
}

void ControllerLayer::ReleaseDevice() {
    if (device_.diDev) device_.diDev->Unacquire();
    device_.diDev.reset();
}

}  // namespace vantrel
