// The game controller layer on a fake controller service: choosing a line, controllers plugged in
// and out, and the remembered controller.
#include "controller/controller_layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "doubles/fake_controller.h"
#include "doubles/key_outputs.h"

namespace vantrel {
namespace {

using Log = std::vector<std::string>;
const std::string kQuerying = std::string("caption ") + kCaptionQuerying;
const std::string kAvailable = std::string("caption ") + kCaptionAvailable;

struct CountingShifter : ShifterOutput {
    void SetGear(int, int32_t, int32_t) override {}
    void SetKnob(bool, bool) override {}
    void ReleaseAll() noexcept override { ++releases; }
    int releases = 0;
};

// The main window as the layer sees it; its log also records the controllers' lives.
struct Rig : ControllerWindow {
    Rig() {
        service.log = &log;
        layer.SetShifter(&shifter);
        layer.polling = true;
    }
    bool Start(std::vector<AttachedController> attached, bool wait = false) {
        service.attached = std::move(attached);
        return layer.Start(service, wait);
    }
    void WriteRow(LiveList, int, const std::string&) override {}
    void SetCaption(const std::string& text) override { log.push_back("caption " + text); }
    void ShowCycleError(const std::string&) override {}
    void AddController(const std::string& name) override { lines.push_back(name); }
    void RemoveController(int position) override { lines.erase(lines.begin() + position); }
    void SetCurrentController(int position) override { current = position; }
    void ClearLiveLists() override { log.push_back("ClearLiveLists"); }
    void ShowMessage(const std::string& text, const std::string&) override { log.push_back(text); }

    Log log, lines;
    int current = -1;
    ShiftState state;
    testing::FakeControllerService service;
    testing::RecordingKeyOutput keys;
    CountingShifter shifter;
    ControllerLayer layer{*this, state, keys};
};

TEST(ControllerSelection, TheOldOneGoesTheNewOneIsSetUpForTheGateAndVanishedOnesDoNoHarm) {
    Rig rig;
    ASSERT_TRUE(rig.Start({{"Pad", "id-a"}, {"Pad", "id-b"}, {"Wheel", "id-c"}}));
    using enum AxisKind;
    rig.service.axes = {X, Y, Z, RotationX, RotationY, RotationZ, Slider};
    rig.layer.SelectController(1);
    ASSERT_NE(rig.service.newest, nullptr);
    std::array<bool, kAxisSlots> all;
    all.fill(true);
    EXPECT_EQ(rig.layer.slot().hasAxis, all) << "each axis kind fills its slot; one slider both";
    const testing::FakeController& pad = *rig.service.newest;
    ASSERT_TRUE(pad.scaling);
    EXPECT_EQ(std::tuple(pad.scaling->min, pad.scaling->max, pad.scaling->deadZone,
                         pad.scaling->saturation),
              std::tuple(0, 10000, 1000, 9500));
    EXPECT_EQ(pad.receiverId, rig.service.kReceiverId);
    EXPECT_EQ(pad.reads, 1) << "one cycle runs at once";

    // Released before the next one opens (the same controller can be picked again); only the
    // newest is read.
    rig.log.clear();
    rig.layer.SelectController(2);
    rig.service.Notify();
    EXPECT_EQ(rig.log, (Log{"ClearLiveLists", "id-b closed", "id-c opened", kQuerying, "id-c read",
                            kAvailable, "id-c read", kAvailable}));

    // A controller unplugged a moment ago, or no line at all: nothing stays open or is read.
    rig.service.gone.insert("id-a");
    for (const int line : {0, -1, 3}) rig.layer.SelectController(line);
    rig.service.Notify();
    EXPECT_EQ(rig.service.openControllers, 0);
    EXPECT_EQ(rig.layer.slot().hasAxis, (std::array<bool, kAxisSlots>{}));
    EXPECT_EQ(rig.log.back(), kQuerying);
}

TEST(ControllerList, LinesFollowTheirControllersAndTheOneInUseIsLetGoAndPickedAgain) {
    Rig rig;
    ASSERT_TRUE(rig.Start({{"Pad", "id-a", "g-pad", "/dev/input/event3"},
                           {"Pad", "id-b", "g-pad", "/dev/input/event4"},
                           {"Wheel", "id-c"}}));
    ASSERT_TRUE(rig.layer.ChooseController(1));  // the second "Pad"

    // Others come and go: the one in use stays open, each line opens its own controller.
    rig.log.clear();
    rig.service.Plug({"Stick", "id-d"});
    rig.service.Unplug("id-a");
    EXPECT_EQ(rig.log, Log{});
    EXPECT_EQ(rig.lines, (Log{"Pad", "Wheel", "Stick"}));
    for (const int line : {2, 0}) rig.layer.SelectController(line);
    EXPECT_EQ(std::ranges::count(rig.log, "id-d opened"), 1);
    EXPECT_EQ(rig.keys.releaseAllCalls, 0);

    // Unplugged while in use: keys and shifter buttons let go, controller closed, its line gone,
    // nothing read.
    rig.log.clear();
    rig.service.Unplug("id-b");
    EXPECT_EQ(rig.keys.releaseAllCalls, 1);
    EXPECT_EQ(rig.shifter.releases, 1);
    EXPECT_EQ(rig.log, (Log{"id-b closed", "ClearLiveLists",
                            std::string("caption ") + kCaptionDisconnected}));
    EXPECT_EQ(rig.lines, (Log{"Wheel", "Stick"}));
    rig.service.Notify();
    EXPECT_EQ(rig.service.openControllers, 0);

    // Back with a new identity, beside an identical pad at another node: the one at its own node
    // is picked by itself, as a click would, and shown as chosen.
    rig.log.clear();
    rig.service.attached.push_back({"Pad", "id-e", "g-pad", "/dev/input/event5"});
    rig.service.Plug({"Pad", "id-f", "g-pad", "/dev/input/event4"});
    EXPECT_EQ(rig.log, (Log{"ClearLiveLists", "id-f opened", kQuerying, "id-f read", kAvailable}));
    EXPECT_EQ(rig.current, 3);
}

TEST(ControllerList, OneControllerSwappedForAnotherIsALossThoughTheCountStaysTheSame) {
    Rig rig;
    ASSERT_TRUE(rig.Start({{"Pad", "id-a"}}));
    rig.layer.SelectController(0);
    rig.log.clear();
    rig.service.gone.insert("id-a");
    rig.service.attached = {{"Wheel", "id-b"}};
    rig.service.controllersChanged();
    EXPECT_EQ(rig.keys.releaseAllCalls, 1);
    EXPECT_EQ(rig.log, (Log{"id-a closed", "ClearLiveLists",
                            std::string("caption ") + kCaptionDisconnected}));
    EXPECT_EQ(rig.lines, Log{"Wheel"});
}

TEST(ControllerList, StartWithNoControllerEndsOnlyWhenNothingIsAwaited) {
    for (const bool wait : {false, true}) {
        for (const bool remembered : {false, true}) {
            Rig rig;
            if (remembered) rig.layer.remembered = RememberedController{"Pad", "g-pad", ""};
            EXPECT_EQ(rig.Start({}, wait), wait || remembered);
            EXPECT_EQ(rig.log, wait || remembered ? Log{} : Log{kNoJoystickAttached});
        }
    }
}

TEST(RememberedController, TheOneAtItsNodeElseTheFirstOfItsNameAndModel) {
    const std::vector<AttachedController> attached = {{"Pad", "1", "g1", "/dev/input/event3"},
                                                      {"Wheel", "2", "g2", "/dev/input/event4"},
                                                      {"Pad", "3", "g1", "/dev/input/event9"},
                                                      {"Pad", "4", "g3", "/dev/input/event5"}};
    const struct {
        RememberedController wanted;
        std::optional<size_t> found;
    } cases[] = {
        {{"Pad", "g1", "/dev/input/event9"}, 2},
        {{"Pad", "g1", "/dev/input/event7"}, 0},  // another node: the first of its kind
        {{"Pad", "g2", ""}, std::nullopt},        // name and model must both match
        {{"Pad", "", ""}, 0},                     // written by hand: the name alone
        {{"", "g3", ""}, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindRememberedController(attached, c.wanted), c.found)
            << c.wanted.name << " " << c.wanted.guid << " " << c.wanted.path;
    }
}

}  // namespace
}  // namespace vantrel
