// The game controller layer on a fake controller service: what a selection does to the devices,
// and which axes a device's object names stand for.
#include "controller/controller_layer.h"

#include <gtest/gtest.h>

#include <map>

#include "controller/identify_axes.h"
#include "fake_controller_service.h"

namespace vantrel {
namespace {

using Log = std::vector<std::string>;
const std::string kQuerying = std::string("caption ") + kCaptionQuerying;
const std::string kAvailable = std::string("caption ") + kCaptionAvailable;

// The fixture is the main window; its log also records the devices' lives.
class SelectionTest : public ::testing::Test, public ControllerWindow {
  protected:
    void SetUp() override {
        service.attached = {{"Pad", "id-a"}, {"Pad", "id-b"}, {"Wheel", "id-c"}};
        service.log = &log;
        layer.pollActive = kTrue;
        ASSERT_TRUE(layer.InitDirectInput(service));
    }
    void WriteRow(ListId, int, const std::string&) override {}
    void SetCaption(const std::string& text) override { log.push_back("caption " + text); }
    void ShowCycleError(const std::string& message) override { log.push_back("error " + message); }
    void AddController(const std::string&) override {}
    void RemoveController(int) override {}
    void SetCurrentController(int) override {}
    void CLRLISTS() override { log.push_back("CLRLISTS"); }
    void ShowMessage(const std::string&, const std::string&) override {}

    Log log;
    MainState state;
    testing::FakeControllerService service;
    testing::RecordingKeySender keys;
    ControllerLayer layer{*this, state, keys};
};

TEST_F(SelectionTest, TheChosenDeviceIsConfiguredForTheGateAcquiredAndReadOnce) {
    layer.lstJoySticks_Click(1);
    ASSERT_NE(service.newest, nullptr);
    const testing::FakeDevice& pad = *service.newest;
    EXPECT_EQ(pad.deadZone, (std::map<int32_t, int32_t>{{DIJOFS_X, 1000}, {DIJOFS_Y, 1000}}));
    EXPECT_EQ(pad.saturation, (std::map<int32_t, int32_t>{{DIJOFS_X, 9500}, {DIJOFS_Y, 9500}}));
    EXPECT_EQ(pad.range.lHow, DIPH_DEVICE) << "every axis reports 0..10000";
    EXPECT_EQ(std::pair(pad.range.lMin, pad.range.lMax), std::pair(0, 10000));
    EXPECT_EQ(pad.eventHandle, service.kHandle);
    EXPECT_TRUE(pad.acquired);
    EXPECT_EQ(pad.reads, 1) << "one cycle runs at once";
    EXPECT_EQ(log.back(), kAvailable);
}

TEST_F(SelectionTest, AVanishedControllerLeavesNoDeviceAndDoesNoHarm) {
    service.gone.insert("id-b");
    layer.lstJoySticks_Click(0);
    log.clear();
    for (const int line : {1, -1, 3}) layer.lstJoySticks_Click(line);
    service.Notify();
    EXPECT_EQ(log, (Log{"CLRLISTS", "id-a Unacquire", "id-a released", kQuerying, "CLRLISTS",
                        kQuerying, "CLRLISTS", kQuerying}));
    EXPECT_EQ(layer.device().axisFound, (std::array<int16_t, 9>{}));
    EXPECT_EQ(service.liveDevices, 0);
    layer.lstJoySticks_Click(2);  // another controller still opens
    EXPECT_EQ(log.back(), kAvailable);
}

TEST_F(SelectionTest, SwitchingReleasesTheFirstAndOnlyTheNewestIsRead) {
    layer.lstJoySticks_Click(0);
    log.clear();
    layer.lstJoySticks_Click(2);
    service.Notify();
    EXPECT_EQ(log, (Log{"CLRLISTS", "id-a Unacquire", "id-a released", "id-c opened", kQuerying,
                        "id-c read", kAvailable, "id-c read", kAvailable}));
    for (const int line : {0, 1, 1}) layer.lstJoySticks_Click(line);  // the same one reopens too
    EXPECT_EQ(service.liveDevices, 1);
}

TEST(IdentifyAxes, EachAxisTypeSetsItsOwnFlagAndOnlyExactNamesCount) {
    testing::FakeDevice device;
    const auto identify = [&](std::vector<std::string> types) {
        device.axisTypes = std::move(types);
        std::array<int16_t, 9> found;
        found.fill(kTrue);  // an earlier device's flags must not survive
        IdentifyAxes(&device, found);
        return found;
    };
    const char* const types[] = {"GUID_XAxis",  "GUID_YAxis",  "GUID_ZAxis",
                                 "GUID_RxAxis", "GUID_RyAxis", "GUID_RzAxis"};
    for (size_t i = 0; i < std::size(types); ++i) {
        std::array<int16_t, 9> alone{};
        alone[i + 1] = kTrue;
        EXPECT_EQ(identify({types[i]}), alone) << types[i];
    }
    constexpr int16_t T = kTrue;
    EXPECT_EQ(identify({"GUID_Slider"}), (std::array<int16_t, 9>{0, 0, 0, 0, 0, 0, 0, T, T}))
        << "one slider sets both slider flags";
    EXPECT_EQ(identify({"guid_xaxis", "GUID_XAXIS", " GUID_YAxis", "GUID_Slider0", "GUID_POV", ""}),
              (std::array<int16_t, 9>{}));
}

}  // namespace
}  // namespace vantrel
