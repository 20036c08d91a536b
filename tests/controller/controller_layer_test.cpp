// The game controller layer on a fake controller service: what a selection does to the devices
// and in which order, and which axes a device's object names stand for.
#include "controller/controller_layer.h"

#include <gtest/gtest.h>
#include <malloc.h>

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

TEST_F(SelectionTest, ConfiguresTheChosenDeviceInOrderThenRunsOneCycle) {
    layer.lstJoySticks_Click(1);
    ASSERT_NE(service.newest, nullptr);
    EXPECT_EQ(
        service.newest->calls,
        (Log{"GetCapabilities", "SetEventNotification 77", "deadzone 1 0 1000", "deadzone 1 4 1000",
             "saturation 1 0 9500", "saturation 1 4 9500", "range 0 10000", "Acquire"}));
    EXPECT_EQ(service.newest->lastRange.lHow, DIPH_DEVICE);
    EXPECT_EQ(log, (Log{"CLRLISTS", "id-b opened", "caption Joystick Sample: Querying Properties",
                        "id-b read", kAvailable}));
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

TEST_F(SelectionTest, SwitchingReleasesTheFirstAndOnlyTheNewestIsReadWithoutGrowingTheHeap) {
    layer.lstJoySticks_Click(0);
    log.clear();
    layer.lstJoySticks_Click(2);
    service.Notify();
    EXPECT_EQ(log, (Log{"CLRLISTS", "id-a Unacquire", "id-a released", "id-c opened", kQuerying,
                        "id-c read", kAvailable, "id-c read", kAvailable}));

    const auto select = [&](int i) {
        layer.lstJoySticks_Click(i % 2);
        service.Notify();
        log.clear();
        keys.sent.clear();
    };
    for (int i = 0; i < 4; ++i) select(i);  // every container at its working size
    const auto heapBefore = static_cast<int64_t>(mallinfo2().uordblks);
    for (int i = 0; i < 10000; ++i) select(i);
    EXPECT_LE(static_cast<int64_t>(mallinfo2().uordblks) - heapBefore, 1024);
    EXPECT_EQ(service.liveDevices, 1);
}

TEST(IdentifyAxes, SetsTheFlagsOfExactlyNamedAxesOnly) {
    testing::FakeDevice device;
    const auto identify = [&](std::vector<std::string> types) {
        device.axisTypes = std::move(types);
        std::array<int16_t, 9> found;
        found.fill(kTrue);  // an earlier device's flags must not survive
        IdentifyAxes(&device, found);
        return found;
    };
    constexpr int16_t T = kTrue;
    EXPECT_EQ(identify({"GUID_XAxis", "GUID_YAxis"}), (std::array<int16_t, 9>{0, T, T}));
    // One slider sets both slider flags.
    EXPECT_EQ(identify({"GUID_XAxis", "GUID_YAxis", "GUID_Slider"}),
              (std::array<int16_t, 9>{0, T, T, 0, 0, 0, 0, T, T}));
    EXPECT_EQ(identify({"guid_xaxis", "GUID_XAXIS", " GUID_YAxis", "GUID_Slider0", "GUID_POV", ""}),
              (std::array<int16_t, 9>{}));
}

}  // namespace
}  // namespace vantrel
