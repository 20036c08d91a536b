#include "controller/controller_layer.h"

#include <algorithm>

#include "controller/identify_axes.h"

namespace vantrel {

ControllerLayer::ControllerLayer(ControllerWindow& window, MainState& state, KeySender& autoIt)
    : window_(window), state_(state), autoIt_(autoIt) {}

ControllerLayer::~ControllerLayer() {
    DestroyEvent();
    ReleaseDevice();
}

bool ControllerLayer::InitDirectInput(ControllerService& diRoot, bool waitForController) {
    diRoot_ = &diRoot;
    diDevList_ = diRoot.GetDIDevices();
    if (diDevList_.empty() && !waitForController && !remembered) {
        window_.ShowMessage(kNoJoystickAttached, kNoJoystickAdvice);
        return false;
    }
    for (const DeviceInstance& instance : diDevList_) window_.AddController(instance.instanceName);
    notifyEvent_ =
        diRoot.CreateEvent([this](int32_t eventid) { DirectXEvent8_DXCallback(eventid); });
    diRoot.SetDevicesChangedListener([this] { RefreshControllers(); });
    PickRemembered();
    return true;
}

void ControllerLayer::lstJoySticks_Click(int position) {
    if (inCycle_) return;
    window_.CLRLISTS();
    if (device_.diDev) device_.diDev->Unacquire();
    // Released before the next one is opened: a controller can be picked again.
    device_.diDev.reset();
    inUse_.clear();
    if (diRoot_ && position >= 0 && position < static_cast<int>(diDevList_.size())) {
        const std::string& id = diDevList_[static_cast<size_t>(position)].guidInstance;
        device_.diDev = diRoot_->CreateDevice(id);
        if (device_.diDev) inUse_ = id;
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

std::optional<RememberedController> ControllerLayer::ChooseController(int position) {
    if (inCycle_) return std::nullopt;
    std::optional<RememberedController> chosen;
    // Taken before the selection, whose cycle may find the list changed.
    if (position >= 0 && position < static_cast<int>(diDevList_.size())) {
        chosen = RememberedFrom(diDevList_[static_cast<size_t>(position)]);
    }
    lstJoySticks_Click(position);
    if (chosen) remembered = chosen;
    return chosen;
}

void ControllerLayer::RefreshControllers() {
    if (!diRoot_ || pollActive == kFalse) return;
    if (inCycle_) {
        refreshPending_ = true;
        return;
    }
    refreshPending_ = false;
    const std::vector<DeviceInstance> attached = diRoot_->GetDIDevices();
    const auto isAttached = [&](const std::string& id) {
        return std::any_of(attached.begin(), attached.end(),
                           [&](const DeviceInstance& d) { return d.guidInstance == id; });
    };
    if (device_.diDev && !isAttached(inUse_)) ControllerLost();
    // Lines belong to controllers, not positions: the others keep their order.
    for (size_t p = diDevList_.size(); p-- > 0;) {
        if (isAttached(diDevList_[p].guidInstance)) continue;
        diDevList_.erase(diDevList_.begin() + static_cast<std::ptrdiff_t>(p));
        window_.RemoveController(static_cast<int>(p));
    }
    for (const DeviceInstance& instance : attached) {
        const bool listed = std::any_of(
            diDevList_.begin(), diDevList_.end(),
            [&](const DeviceInstance& d) { return d.guidInstance == instance.guidInstance; });
        if (listed) continue;
        diDevList_.push_back(instance);
        window_.AddController(instance.instanceName);
    }
    PickRemembered();
}

void ControllerLayer::PickRemembered() {
    if (device_.diDev || !remembered) return;
    const std::optional<size_t> found = FindRememberedController(diDevList_, *remembered);
    if (!found) return;
    // Highlighted first: the selection's cycle may change the list.
    window_.SetCurrentController(static_cast<int>(*found));
    lstJoySticks_Click(static_cast<int>(*found));
}

void ControllerLayer::LetGoOfOutputs() {
    autoIt_.ReleaseAll();
    if (shifter_) shifter_->ReleaseAll();
}

void ControllerLayer::ControllerLost() {
    // The keys first: nothing the window does may keep a gear held.
    LetGoOfOutputs();
    ReleaseDevice();
    window_.CLRLISTS();
    window_.SetCaption(kCaptionDisconnected);
    if (onNoReading) onNoReading();
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
    // A lost device may be gone for good: then the list no longer has it.
    if (end == CycleEnd::Recovered || refreshPending_) RefreshControllers();
    return end;
}

void ControllerLayer::DestroyEvent() {
    if (diRoot_) diRoot_->SetDevicesChangedListener({});
    if (notifyEvent_ != 0 && diRoot_) diRoot_->DestroyEvent(notifyEvent_);
    notifyEvent_ = 0;
}

void ControllerLayer::ReleaseDevice() {
    if (device_.diDev) device_.diDev->Unacquire();
    device_.diDev.reset();
    inUse_.clear();
}

}  // namespace vantrel
