#include "tools/replay/replay_services.h"

#include "ports/service_error.h"

namespace vantrel::replay {

ReadResult ScriptedController::Read(ControllerReport& report) {
    if (failure_) {
        const ReadResult result = *failure_;
        failure_.reset();
        if (result == ReadResult::Lost) sink_("acquire");
        return result;
    }
    report = next_;
    return ReadResult::Ok;
}

void ReplayKeyOutput::Send(const AssignedKey& key, KeyAction action) {
    const std::string text = "{" + key.name + (action == KeyAction::Down ? " down}" : " up}");
    if (failCountdown_ && --*failCountdown_ == 0) {
        failCountdown_.reset();
        throw ServiceError(kErrorKeySendFailed,
                           "The key " + text + " could not be sent (failsend)");
    }
    sink_("send " + text);
}

void ReplayShifter::Report(const ButtonChanges& changes) {
    for (const ButtonChange& c : changes) {
        sink_("shifter " + std::to_string(c.button) + (c.down ? " down" : " up"));
    }
}

void ReplayShifter::SetGear(int gear, int32_t /*x*/, int32_t /*y*/) {
    Report(buttons_.SetGear(gear));
}

void ReplayShifter::SetKnob(bool range, bool splitter) {
    Report(buttons_.SetKnob(range, splitter));
}

void ReplayShifter::ReleaseAll() noexcept { Report(buttons_.ReleaseAll()); }

void ReplayView::WriteRow(LiveList list, int index, const std::string& text) {
    const char* name = list == LiveList::Axes      ? "axis"
                       : list == LiveList::Buttons ? "button"
                                                   : "gear";
    sink_(std::string("row ") + name + " " + std::to_string(index) + " " + text);
}

void ReplayView::SetCaption(const std::string& text) { sink_("caption " + text); }

void ReplayView::ShowCycleError(const std::string& message) { sink_("error " + message); }

void ImmediateAlarm::Set(std::chrono::milliseconds, std::function<void()> ring) {
    pending_ = std::move(ring);
    if (ringing_) return;
    struct Ringing {
        bool& flag;
        explicit Ringing(bool& f) : flag(f) { flag = true; }
        ~Ringing() { flag = false; }
    } ringing(ringing_);
    while (pending_) {
        const std::function<void()> now = std::move(pending_);
        pending_ = nullptr;
        now();
    }
}

}  // namespace vantrel::replay
