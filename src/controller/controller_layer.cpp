#include "controller/controller_layer.h"

#include <algorithm>

#include "controller/identify_axes.h"

namespace vantrel {

ControllerLayer::ControllerLayer(ControllerWindow& window, ShiftState& state, KeyOutput& keys)
    : window_(window), state_(state), outputs_{.keys = &keys} {}

ControllerLayer::~ControllerLayer() {
    StopReports();
    CloseController();
}

bool ControllerLayer::Start(ControllerService& service, bool waitForController) {
    service_ = &service;
    listed_ = service.Attached();
    if (listed_.empty() && !waitForController && !remembered) {
        window_.ShowMessage(kNoJoystickAttached, kNoJoystickAdvice);
        return false;
    }
    for (const AttachedController& controller : listed_) window_.AddController(controller.name);
    receiverId_ = service.AddReportReceiver([this] { OnControllerReport(); });
    service.SetControllersChangedListener([this] { RefreshControllers(); });
    PickRemembered();
    return true;
}

void ControllerLayer::SelectController(int position) {
    if (inCycle_) return;
    window_.ClearLiveLists();
    // Closed before the next one is opened: a controller can be picked again.
    CloseController();
    if (service_ && position >= 0 && position < static_cast<int>(listed_.size())) {
        const std::string& id = listed_[static_cast<size_t>(position)].attachmentId;
        slot_.controller = service_->Open(id);
        if (slot_.controller) inUse_ = id;
    }
    slot_.hasAxis = {};
    if (Controller* controller = slot_.controller.get()) {
        const ControllerTraits traits = controller->Describe();
        slot_.buttons = traits.buttons;
        slot_.hasAxis = AxisSlotsOf(traits.axes);
        controller->Configure(kAxisScaling);
        controller->SendReportsTo(receiverId_);
    }
    window_.SetCaption(kCaptionQuerying);
    OnControllerReport();
}

std::optional<RememberedController> ControllerLayer::ChooseController(int position) {
    if (inCycle_) return std::nullopt;
    std::optional<RememberedController> chosen;
    // Taken before the selection, whose cycle may find the list changed.
    if (position >= 0 && position < static_cast<int>(listed_.size())) {
        chosen = RememberedFrom(listed_[static_cast<size_t>(position)]);
    }
    SelectController(position);
    if (chosen) remembered = chosen;
    return chosen;
}

void ControllerLayer::RefreshControllers() {
    if (!service_ || !polling) return;
    if (inCycle_) {
        refreshPending_ = true;
        return;
    }
    refreshPending_ = false;
    const std::vector<AttachedController> attached = service_->Attached();
    const auto isAttached = [&](const std::string& id) {
        return std::any_of(attached.begin(), attached.end(),
                           [&](const AttachedController& c) { return c.attachmentId == id; });
    };
    if (slot_.controller && !isAttached(inUse_)) ControllerLost();
    // Lines belong to controllers, not positions: the others keep their order.
    for (size_t p = listed_.size(); p-- > 0;) {
        if (isAttached(listed_[p].attachmentId)) continue;
        listed_.erase(listed_.begin() + static_cast<std::ptrdiff_t>(p));
        window_.RemoveController(static_cast<int>(p));
    }
    for (const AttachedController& controller : attached) {
        const bool listed = std::any_of(listed_.begin(), listed_.end(), [&](const auto& c) {
            return c.attachmentId == controller.attachmentId;
        });
        if (listed) continue;
        listed_.push_back(controller);
        window_.AddController(controller.name);
    }
    PickRemembered();
}

void ControllerLayer::PickRemembered() {
    if (slot_.controller || !remembered) return;
    const std::optional<size_t> found = FindRememberedController(listed_, *remembered);
    if (!found) return;
    // Highlighted first: the selection's cycle may change the list.
    window_.SetCurrentController(static_cast<int>(*found));
    SelectController(static_cast<int>(*found));
}

void ControllerLayer::LetGoOfOutputs() { outputs_.ReleaseAll(); }

void ControllerLayer::ControllerLost() {
    // The keys first: nothing the window does may keep a gear held.
    LetGoOfOutputs();
    CloseController();
    window_.ClearLiveLists();
    window_.SetCaption(kCaptionDisconnected);
    if (onNoReading) onNoReading();
}

std::optional<CycleEnd> ControllerLayer::OnControllerReport() {
    if (!polling || inCycle_) return std::nullopt;
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    };
    CycleEnd end;
    {
        Running running(inCycle_);
        end = RunPollCycle(state_, slot_, outputs_, window_);
    }
    if (end == CycleEnd::Completed) {
        if (onCycleCompleted) onCycleCompleted(slot_.report);
    } else if (end == CycleEnd::NoController || end == CycleEnd::Lost) {
        if (onNoReading) onNoReading();
    } else if (end == CycleEnd::Failed) {
        polling = false;
        if (onCycleFailed) onCycleFailed();
    }
    // A lost controller may be gone for good: then the list no longer has it.
    if (end == CycleEnd::Lost || refreshPending_) RefreshControllers();
    return end;
}

void ControllerLayer::StopReports() {
    if (service_) service_->SetControllersChangedListener({});
    if (receiverId_ != 0 && service_) service_->RemoveReportReceiver(receiverId_);
    receiverId_ = 0;
}

void ControllerLayer::CloseController() {
    slot_.controller.reset();
    inUse_.clear();
}

}  // namespace vantrel
