#include "controller/controller_layer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "alloc_counter.h"
#include "fake_controller_service.h"
#include "support/fakes.h"

namespace vantrel {
namespace {

using testing::FakeControllerService;
using testing::RecordingDisplay;
using testing::RecordingKeySender;

// The main window's lists and caption, with the window calls logged in one shared log.
class RecordingWindow : public ControllerWindow {
  public:
    void WriteRow(ListId list, int index, const std::string& text) override {
        rows.WriteRow(list, index, text);
    }
    void SetCaption(const std::string& text) override {
        caption = text;
        log.push_back("caption " + text);
    }
    void ShowCycleError(const std::string& message) override {
        log.push_back("error " + message);
        if (duringError) duringError();
    }
    void AddController(const std::string& name) override { controllers.push_back(name); }
    void CLRLISTS() override {
        rows.axisRows.clear();
        rows.buttonRows.clear();
        rows.gearRows.clear();
        log.push_back("CLRLISTS");
    }
    void ShowMessage(const std::string& text, const std::string& advice) override {
        log.push_back("message " + text + " | " + advice);
    }

    RecordingDisplay rows;
    std::string caption;
    std::vector<std::string> controllers;
    std::vector<std::string> log;
    std::function<void()> duringError;
};

// Counts key texts without keeping them, so a long run holds no growing record.
class CountingKeySender : public KeySender {
  public:
    void Send(std::string_view, int32_t) override { ++sent; }
    void ReleaseAll() noexcept override {}
    int sent = 0;
};

DIJOYSTATE StickAt(int32_t x, int32_t y) {
    DIJOYSTATE j;
    j.x = x;
    j.y = y;
    return j;
}

struct Rig {
    Rig() {
        s.gear12r = 100;
        s.gear34l = 2000;
        s.gear34r = 4000;
        s.gear56l = 6000;
        s.gear56r = 8000;
        s.gear78l = 9900;
        s.geartop = 100;
        s.gearbot = 9800;
        s.key1 = "q";
        s.key2 = "a";
        s.key3 = "w";
        s.key4 = "s";
        s.key5 = "e";
        s.key6 = "d";
        s.key7 = "r";
        s.key8 = "f";
        s.keyr = "z";
        service.attached = {{"Pad", "id-a"}, {"Pad", "id-b"}, {"Wheel", "id-c"}};
        service.log = &window.log;
        layer.pollActive = kTrue;
    }
    bool Init() { return layer.InitDirectInput(service); }

    MainState s;
    FakeControllerService service;
    RecordingWindow window;
    RecordingKeySender keys;
    ControllerLayer layer{window, s, keys};
};

TEST(InitDirectInput, ListsEveryControllerInOrderAndCreatesOneEvent) {
    Rig rig;
    ASSERT_TRUE(rig.Init());
    EXPECT_EQ(rig.window.controllers, (std::vector<std::string>{"Pad", "Pad", "Wheel"}));
    EXPECT_EQ(rig.service.eventsCreated, 1);
    EXPECT_EQ(rig.layer.notifyEvent(), FakeControllerService::kHandle);
    // Nothing is opened or read until the user picks a line.
    EXPECT_EQ(rig.service.liveDevices, 0);
    rig.service.Notify();
    EXPECT_TRUE(rig.keys.sent.empty());
    EXPECT_TRUE(rig.window.caption.empty());
}

TEST(InitDirectInput, NoControllerTellsTheUserAndCreatesNothing) {
    Rig rig;
    rig.service.attached.clear();
    EXPECT_FALSE(rig.Init());
    EXPECT_EQ(rig.window.log, (std::vector<std::string>{
                                  "message No joystick attached. | Connect a game controller, "
                                  "then start Vantrel again."}));
    EXPECT_TRUE(rig.window.controllers.empty());
    EXPECT_EQ(rig.service.eventsCreated, 0);
    EXPECT_EQ(rig.layer.notifyEvent(), 0);
}

TEST(Selection, ConfiguresTheDeviceInOrderThenReadsItOnce) {
    Rig rig;
    rig.service.setups["id-b"].next = StickAt(3000, 0);
    ASSERT_TRUE(rig.Init());
    rig.window.rows.axisRows = {"lstJoyAxis"};

    rig.layer.lstJoySticks_Click(1);

    ASSERT_NE(rig.service.newest, nullptr);
    EXPECT_EQ(
        rig.service.newest->calls,
        (std::vector<std::string>{"GetCapabilities", "SetEventNotification 77", "deadzone 1 0 1000",
                                  "deadzone 1 4 1000", "saturation 1 0 9500", "saturation 1 4 9500",
                                  "range 0 10000", "Acquire"}));
    EXPECT_EQ(rig.service.newest->lastRange.lHow, DIPH_DEVICE);
    EXPECT_EQ(rig.service.newest->lastRange.lObj, 0);
    EXPECT_EQ(rig.window.log,
              (std::vector<std::string>{"CLRLISTS", "id-b opened",
                                        "caption Joystick Sample: Querying Properties", "id-b read",
                                        "caption Joystick Sample: Available"}));
    EXPECT_EQ(rig.layer.device().axisFound[1], kTrue);
    EXPECT_EQ(rig.layer.device().axisFound[3], kFalse);
    EXPECT_EQ(rig.layer.device().deviceCaps.lButtons, 12);
    // The one cycle ran on the chosen device: two passes, gear 3 engaged on the second.
    EXPECT_EQ(rig.window.rows.axisRows, (std::vector<std::string>{"X: 3000", "Y: 0"}));
    EXPECT_EQ(rig.window.rows.gearRows.at(2), "gear 3: 3");
    ASSERT_EQ(rig.keys.sent.size(), 18u);
    EXPECT_EQ(rig.keys.sent[11], "{w down}");
}

TEST(Selection, SwitchingReleasesTheFirstAndOnlyTheNewestDrivesTheGears) {
    Rig rig;
    rig.service.setups["id-a"].next = StickAt(3000, 0);     // gear 3
    rig.service.setups["id-c"].next = StickAt(7000, 9900);  // gear 6
    ASSERT_TRUE(rig.Init());
    rig.layer.lstJoySticks_Click(0);
    rig.window.log.clear();

    rig.layer.lstJoySticks_Click(2);
    EXPECT_EQ(rig.window.log, (std::vector<std::string>{
                                  "CLRLISTS", "id-a Unacquire", "id-a released", "id-c opened",
                                  "caption Joystick Sample: Querying Properties", "id-c read",
                                  "caption Joystick Sample: Available"}));
    EXPECT_EQ(rig.service.liveDevices, 1);

    rig.window.log.clear();
    rig.keys.sent.clear();
    rig.service.Notify();
    EXPECT_EQ(rig.window.log,
              (std::vector<std::string>{"id-c read", "caption Joystick Sample: Available"}));
    ASSERT_EQ(rig.keys.sent.size(), 18u);
    EXPECT_EQ(std::count(rig.keys.sent.begin(), rig.keys.sent.end(), "{d down}"), 2);
    EXPECT_EQ(std::count(rig.keys.sent.begin(), rig.keys.sent.end(), "{w down}"), 0);
}

TEST(Selection, SameLineTwiceReopensTheDevice) {
    Rig rig;
    ASSERT_TRUE(rig.Init());
    rig.layer.lstJoySticks_Click(0);
    rig.window.log.clear();
    rig.layer.lstJoySticks_Click(0);
    EXPECT_EQ(rig.window.log, (std::vector<std::string>{
                                  "CLRLISTS", "id-a Unacquire", "id-a released", "id-a opened",
                                  "caption Joystick Sample: Querying Properties", "id-a read",
                                  "caption Joystick Sample: Available"}));
    EXPECT_EQ(rig.window.rows.gearRows.size(), 9u);
}

TEST(Selection, UnpluggedControllerLeavesNoDeviceAndTheWindowUsable) {
    Rig rig;
    rig.service.gone.insert("id-b");
    ASSERT_TRUE(rig.Init());
    rig.layer.lstJoySticks_Click(0);
    rig.window.log.clear();
    rig.keys.sent.clear();

    rig.layer.lstJoySticks_Click(1);
    EXPECT_EQ(rig.window.log,
              (std::vector<std::string>{"CLRLISTS", "id-a Unacquire", "id-a released",
                                        "caption Joystick Sample: Querying Properties"}));
    EXPECT_FALSE(rig.layer.device().diDev);
    EXPECT_EQ(rig.layer.device().axisFound, (std::array<int16_t, 9>{}));
    EXPECT_EQ(rig.service.liveDevices, 0);

    // Notifications find no device: nothing read, shown or sent.
    int noReading = 0;
    rig.layer.onNoReading = [&] { ++noReading; };
    rig.layer.DirectXEvent8_DXCallback(0);
    EXPECT_EQ(noReading, 1);
    rig.service.Notify();
    EXPECT_TRUE(rig.keys.sent.empty());
    EXPECT_TRUE(rig.window.rows.axisRows.empty());
    EXPECT_EQ(rig.window.caption, kCaptionQuerying);

    // Lines that were never there are as harmless; another controller still opens.
    rig.layer.lstJoySticks_Click(-1);
    rig.layer.lstJoySticks_Click(3);
    rig.layer.lstJoySticks_Click(2);
    EXPECT_EQ(rig.window.caption, kCaptionAvailable);
    EXPECT_EQ(rig.keys.sent.size(), 18u);
}

TEST(PollCycleGuard, RunsOnlyWhilePollingAndNeverInsideAnotherCycle) {
    Rig rig;
    ASSERT_TRUE(rig.Init());
    int completed = 0;
    rig.layer.onCycleCompleted = [&](const DIJOYSTATE& j) {
        ++completed;
        EXPECT_EQ(j.x, 4321);
    };
    int failed = 0;
    rig.layer.onCycleFailed = [&] { ++failed; };
    rig.service.setups["id-a"].next = StickAt(4321, 5000);
    rig.layer.lstJoySticks_Click(0);
    EXPECT_EQ(completed, 1);

    // A notification that arrives while the failed cycle's message waits for the user is dropped.
    int readsDuringError = -1;
    rig.window.duringError = [&] {
        const int before = rig.service.newest->reads;
        rig.service.Notify();
        rig.layer.lstJoySticks_Click(1);  // nor may the device change under the running cycle
        readsDuringError = rig.service.newest->reads - before;
    };
    rig.keys.FailOnCall(3);
    rig.service.Notify();
    EXPECT_EQ(readsDuringError, 0);
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(rig.layer.pollActive, kFalse);
    EXPECT_EQ(rig.keys.releaseAllCalls, 1);

    // Once polling has stopped, no cycle runs at all.
    const int reads = rig.service.newest->reads;
    rig.service.Notify();
    EXPECT_FALSE(rig.layer.DirectXEvent8_DXCallback(0).has_value());
    EXPECT_EQ(rig.service.newest->reads, reads);
    EXPECT_EQ(completed, 1);
}

TEST(Shutdown, DestroyedEventAndLayerLeaveNothingBehind) {
    Rig rig;
    ASSERT_TRUE(rig.Init());
    rig.layer.lstJoySticks_Click(0);
    rig.layer.DestroyEvent();
    EXPECT_FALSE(rig.service.receiver);
    rig.layer.ReleaseDevice();
    EXPECT_EQ(rig.window.log.back(), "id-a released");
    EXPECT_EQ(rig.service.liveDevices, 0);
    {
        ControllerLayer other(rig.window, rig.s, rig.keys);
        other.InitDirectInput(rig.service);
        other.lstJoySticks_Click(1);
        EXPECT_EQ(rig.service.liveDevices, 1);
    }
    EXPECT_EQ(rig.service.liveDevices, 0);
    EXPECT_EQ(rig.service.eventsDestroyed, 2);
}

TEST(Selection, TenThousandSelectionsGrowNeitherStackNorHeap) {
    MainState s;
    FakeControllerService service;
    service.attached = {{"Pad", "id-a"}, {"Wheel", "id-b"}};
    service.setups["id-b"].next = StickAt(3000, 0);
    RecordingWindow window;
    CountingKeySender keys;
    ControllerLayer layer(window, s, keys);
    layer.pollActive = kTrue;
    ASSERT_TRUE(layer.InitDirectInput(service));

    auto select = [&](int i) {
        layer.lstJoySticks_Click(i % 2);
        service.Notify();
        window.log.clear();
    };
    for (int i = 0; i < 4; ++i) select(i);  // every container at its working size
    const int64_t heapBefore = testing::LiveAllocations();
    uintptr_t lowestFrame = UINTPTR_MAX;
    uintptr_t highestFrame = 0;
    for (int i = 0; i < 10000; ++i) {
        select(i);
        lowestFrame = std::min(lowestFrame, service.newest->lastReadFrame);
        highestFrame = std::max(highestFrame, service.newest->lastReadFrame);
    }
    EXPECT_LE(testing::LiveAllocations() - heapBefore, 8);
    EXPECT_EQ(lowestFrame, highestFrame);
    EXPECT_EQ(service.liveDevices, 1);
    EXPECT_EQ(service.eventsCreated, 1);
    EXPECT_EQ(window.rows.gearRows.size(), 9u);
    EXPECT_EQ(keys.sent, (10004 * 2) * 18);
}

}  // namespace
}  // namespace vantrel
