#pragma once
// A controller whose reads return whatever the test put in `next`, and a controller service whose
// attached controllers the test lists, plugs in and out and whose reports it fires by hand.
// Neither keeps a history, so a benchmark may run a million cycles on them.

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/controller_slot.h"
#include "ports/controller_service.h"

namespace vantrel::testing {

// A report of the stick at x, y with the given buttons (1..32) down.
inline ControllerReport StickAt(int32_t x, int32_t y, std::initializer_list<int> buttonsDown = {}) {
    ControllerReport report;
    report.axis(AxisSlot::X) = x;
    report.axis(AxisSlot::Y) = y;
    for (const int b : buttonsDown) report.buttons[static_cast<size_t>(b - 1)] = true;
    return report;
}

class FakeController : public Controller {
  public:
    ControllerTraits Describe() override { return traits; }
    void Configure(const AxisScaling& s) override { scaling = s; }
    void SendReportsTo(int32_t id) override { receiverId = id; }
    ReadResult Read(ControllerReport& report) override {
        ++reads;
        if (nextFailure) return *std::exchange(nextFailure, std::nullopt);
        report = next;
        return ReadResult::Ok;
    }
    bool Rumble(uint16_t strength, uint32_t milliseconds) override {
        if (canRumble) rumbles.emplace_back(strength, milliseconds);
        return canRumble;
    }

    ControllerReport next;
    std::optional<ReadResult> nextFailure;  // consumed by one read
    ControllerTraits traits{12, {AxisKind::X, AxisKind::Y}};
    std::optional<AxisScaling> scaling;
    int32_t receiverId = 0;
    int reads = 0;
    bool canRumble = true;
    std::vector<std::pair<uint16_t, uint32_t>> rumbles;  // strength, milliseconds
};

// Puts a new FakeController into `slot` as a selection of it would: 12 buttons, X and Y.
inline FakeController& PlugFakeController(ControllerSlot& slot) {
    auto controller = std::make_unique<FakeController>();
    FakeController& fake = *controller;
    slot.controller = std::move(controller);
    slot.buttons = fake.traits.buttons;
    slot.hasAxis = {true, true};
    return fake;
}

class FakeControllerService : public ControllerService {
  public:
    // Logs "<attachment> opened", "... read" and "... closed".
    class Opened : public FakeController {
      public:
        Opened(FakeControllerService& service, std::string id) : s_(service), id_(std::move(id)) {
            ++s_.openControllers;
            Log("opened");
        }
        ~Opened() override {
            --s_.openControllers;
            if (s_.newest == this) s_.newest = nullptr;
            Log("closed");
        }
        ReadResult Read(ControllerReport& report) override {
            Log("read");
            return FakeController::Read(report);
        }

      private:
        void Log(const char* what) {
            if (s_.log) s_.log->push_back(id_ + " " + what);
        }
        FakeControllerService& s_;
        std::string id_;
    };

    std::vector<AttachedController> Attached() override { return attached; }
    std::unique_ptr<Controller> Open(const std::string& id) override {
        if (gone.count(id) != 0) return nullptr;
        auto controller = std::make_unique<Opened>(*this, id);
        controller->next = reports[id];
        controller->traits.axes = axes;
        newest = controller.get();
        return controller;
    }
    int32_t AddReportReceiver(ReportReceiver r) override {
        receiver = std::move(r);
        return kReceiverId;
    }
    void RemoveReportReceiver(int32_t) override { receiver = nullptr; }
    void SetControllersChangedListener(std::function<void()> listener) override {
        controllersChanged = std::move(listener);
    }
    // Delivers one report, as the pump would.
    void Notify() {
        if (receiver) receiver();
    }
    // A controller plugged in (at the end of the list) or out, as the pump would report it.
    void Plug(const AttachedController& controller) {
        attached.push_back(controller);
        if (controllersChanged) controllersChanged();
    }
    void Unplug(const std::string& id) {
        std::erase_if(attached, [&](const AttachedController& c) { return c.attachmentId == id; });
        gone.insert(id);
        if (controllersChanged) controllersChanged();
    }

    static constexpr int32_t kReceiverId = 77;
    std::vector<AttachedController> attached;
    std::set<std::string> gone;                            // unplugged since start-up
    std::map<std::string, ControllerReport> reports;       // what a newly opened one reads
    std::vector<AxisKind> axes{AxisKind::X, AxisKind::Y};  // of every controller
    ReportReceiver receiver;
    std::function<void()> controllersChanged;
    int openControllers = 0;
    Opened* newest = nullptr;  // the last one opened, until it is closed
    std::vector<std::string>* log = nullptr;
};

}  // namespace vantrel::testing
