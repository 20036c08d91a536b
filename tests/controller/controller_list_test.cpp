// Controllers plugged in and out under the controller layer, on a fake service: the lines stay
// tied to their controllers, losing the one in use lets go of the keys at once, and the remembered
// controller is found and picked by itself.
#include <gtest/gtest.h>

#include <algorithm>

#include "controller/controller_layer.h"
#include "fake_controller_service.h"

namespace vantrel {
namespace {

using Log = std::vector<std::string>;

class ListWindow : public ControllerWindow {
  public:
    void WriteRow(ListId, int, const std::string&) override {}
    void SetCaption(const std::string& text) override { log.push_back("caption " + text); }
    void ShowCycleError(const std::string&) override {}
    void AddController(const std::string& name) override { lines.push_back(name); }
    void RemoveController(int position) override { lines.erase(lines.begin() + position); }
    void SetCurrentController(int position) override { current = position; }
    void CLRLISTS() override { log.push_back("CLRLISTS"); }
    void ShowMessage(const std::string& text, const std::string&) override { log.push_back(text); }

    Log log, lines;
    int current = -1;
};

struct CountingShifter : ShifterOutput {
    void SetGear(int16_t, int32_t, int32_t) override {}
    void SetKnob(bool, bool) override {}
    void ReleaseAll() noexcept override { ++releases; }
    int releases = 0;
};

struct Rig : ListWindow {
    Rig() {
        service.log = &log;
        layer.SetShifter(&shifter);
    }
    MainState state;
    testing::FakeControllerService service;
    testing::RecordingKeySender keys;
    CountingShifter shifter;
    ControllerLayer layer{*this, state, keys};
};

TEST(ControllerList, LinesFollowTheirControllersAndTheOneInUseIsLetGoAndPickedAgain) {
    Rig rig;
    rig.service.attached = {{"Pad", "id-a", "g-pad"}, {"Pad", "id-b", "g-pad"}, {"Wheel", "id-c"}};
    rig.layer.pollActive = kTrue;
    ASSERT_TRUE(rig.layer.InitDirectInput(rig.service));
    ASSERT_TRUE(rig.layer.ChooseController(1));  // the second "Pad"

    // Others come and go: the one in use keeps its device, each line opens its own.
    rig.service.Plug({"Stick", "id-d"});
    rig.service.Unplug("id-a");
    EXPECT_EQ(rig.lines, (Log{"Pad", "Wheel", "Stick"}));
    for (const int line : {2, 0}) rig.layer.lstJoySticks_Click(line);
    EXPECT_EQ(std::ranges::count(rig.log, "id-d opened"), 1);
    EXPECT_EQ(rig.keys.releaseAllCalls, 0);

    // Unplugged while in use: keys and shifter buttons let go, device closed, its line gone,
    // nothing read.
    rig.log.clear();
    rig.service.Unplug("id-b");
    EXPECT_EQ(rig.keys.releaseAllCalls, 1);
    EXPECT_EQ(rig.shifter.releases, 1);
    EXPECT_EQ(rig.log, (Log{"id-b Unacquire", "id-b released", "CLRLISTS",
                            std::string("caption ") + kCaptionDisconnected}));
    EXPECT_EQ(rig.lines, (Log{"Wheel", "Stick"}));
    rig.service.Notify();
    EXPECT_EQ(rig.service.liveDevices, 0);

    // Back with a new identity: picked by itself, as a click would, and shown as chosen.
    rig.log.clear();
    rig.service.Plug({"Stick", "id-e"});
    rig.service.Plug({"Pad", "id-f", "g-pad"});
    EXPECT_EQ(rig.log, (Log{"CLRLISTS", "id-f opened", std::string("caption ") + kCaptionQuerying,
                            "id-f read", std::string("caption ") + kCaptionAvailable}));
    EXPECT_EQ(rig.current, 3);
}

TEST(ControllerList, StartWithNoControllerEndsOnlyWhenNothingIsAwaited) {
    for (const bool wait : {false, true}) {
        for (const bool remembered : {false, true}) {
            Rig rig;
            if (remembered) rig.layer.remembered = RememberedController{"Pad", "g-pad", ""};
            EXPECT_EQ(rig.layer.InitDirectInput(rig.service, wait), wait || remembered);
            EXPECT_EQ(rig.log.size(), wait || remembered ? 0u : 1u);  // "No joystick attached."
        }
    }
}

TEST(RememberedController, TheOneAtItsNodeElseTheFirstOfItsNameAndModel) {
    const std::vector<DeviceInstance> attached = {{"Pad", "1", "g1", "/dev/input/event3"},
                                                  {"Wheel", "2", "g2", "/dev/input/event4"},
                                                  {"Pad", "3", "g1", "/dev/input/event9"},
                                                  {"Pad", "4", "g3", "/dev/input/event5"}};
    const struct {
        RememberedController wanted;
        std::optional<size_t> found;
    } cases[] = {
        {{"Pad", "g1", "/dev/input/event9"}, 2},
        {{"Pad", "g1", "/dev/input/event7"}, 0},  // another node: the first of its kind
        {{"Pad", "g1", ""}, 0},
        {{"Pad", "g2", ""}, std::nullopt},  // name and model must both match
        {{"Pad", "", ""}, 0},               // written by hand: the name alone
        {{"", "g3", ""}, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindRememberedController(attached, c.wanted), c.found)
            << c.wanted.name << " " << c.wanted.guid << " " << c.wanted.path;
    }
}

}  // namespace
}  // namespace vantrel
