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
    explicit ListWindow(Log& log) : log(log) {}
    void WriteRow(ListId, int, const std::string&) override {}
    void SetCaption(const std::string& text) override { log.push_back("caption " + text); }
    void ShowCycleError(const std::string&) override {}
    void AddController(const std::string& name) override { lines.push_back(name); }
    void RemoveController(int position) override {
        lines.erase(lines.begin() + position);
        if (current == position) current = -1;
        if (current > position) --current;
    }
    void SetCurrentController(int position) override { current = position; }
    void CLRLISTS() override { log.push_back("CLRLISTS"); }
    void ShowMessage(const std::string& text, const std::string&) override { log.push_back(text); }

    Log& log;
    Log lines;
    int current = -1;
};

struct LoggingKeys : testing::RecordingKeySender {
    explicit LoggingKeys(Log& log) : log(log) {}
    void ReleaseAll() noexcept override { log.push_back("keys let go"); }
    Log& log;
};

struct Rig {
    Rig() { service.log = &log; }
    Log log;
    ListWindow window{log};
    MainState state;
    testing::FakeControllerService service;
    LoggingKeys keys{log};
    ControllerLayer layer{window, state, keys};
};

TEST(ControllerList, LinesFollowTheirControllersAndTheOneInUseIsLetGoAndPickedAgain) {
    Rig rig;
    rig.service.attached = {{"Pad", "id-a", "g-pad"}, {"Pad", "id-b", "g-pad"}, {"Wheel", "id-c"}};
    rig.layer.pollActive = kTrue;
    ASSERT_TRUE(rig.layer.InitDirectInput(rig.service));
    ASSERT_TRUE(rig.layer.ChooseController(1));  // the second "Pad"

    // Others come and go: the one in use keeps its device and its notifications.
    rig.service.Plug({"Stick", "id-d"});
    rig.service.Unplug("id-a");
    EXPECT_EQ(rig.window.lines, (Log{"Pad", "Wheel", "Stick"}));
    rig.log.clear();
    rig.service.Notify();
    EXPECT_EQ(rig.log.front(), "id-b read");
    for (const int line : {2, 0}) rig.layer.lstJoySticks_Click(line);
    EXPECT_EQ(std::ranges::count(rig.log, "id-d opened"), 1) << "each line opens its own";
    EXPECT_EQ(rig.log.back(), std::string("caption ") + kCaptionAvailable);

    // Unplugged while in use: keys let go before anything else, its line gone, nothing read.
    rig.log.clear();
    rig.service.Unplug("id-b");
    EXPECT_EQ(rig.log, (Log{"keys let go", "id-b Unacquire", "id-b released", "CLRLISTS",
                            std::string("caption ") + kCaptionDisconnected}));
    EXPECT_EQ(rig.window.lines, (Log{"Wheel", "Stick"}));
    rig.service.Notify();
    EXPECT_EQ(rig.service.liveDevices, 0);

    // Back with a new identity: picked by itself, as a click would, and shown as chosen.
    rig.log.clear();
    rig.service.Plug({"Stick", "id-e"});
    rig.service.Plug({"Pad", "id-f", "g-pad"});
    EXPECT_EQ(rig.log, (Log{"CLRLISTS", "id-f opened", std::string("caption ") + kCaptionQuerying,
                            "id-f read", std::string("caption ") + kCaptionAvailable}));
    EXPECT_EQ(rig.window.current, 3);
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
