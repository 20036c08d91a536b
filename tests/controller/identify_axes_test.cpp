#include "controller/identify_axes.h"

#include <gtest/gtest.h>

#include "engine/device_slot.h"
#include "support/fakes.h"

namespace vantrel {
namespace {

std::array<int16_t, 9> Identify(std::vector<std::string> types) {
    testing::FakeDevice device;
    device.axisTypes = std::move(types);
    std::array<int16_t, 9> found;
    found.fill(kTrue);  // stale flags from an earlier device must not survive
    IdentifyAxes(&device, found);
    return found;
}

std::array<int16_t, 9> Flags(std::initializer_list<int> set) {
    std::array<int16_t, 9> flags{};
    for (int i : set) flags[i] = kTrue;
    return flags;
}

TEST(IdentifyAxes, SetsOnlyTheAxesTheDeviceHas) {
    EXPECT_EQ(Identify({"GUID_XAxis", "GUID_YAxis"}), Flags({1, 2}));
    EXPECT_EQ(Identify({"GUID_RzAxis", "GUID_ZAxis", "GUID_XAxis", "GUID_YAxis"}),
              Flags({1, 2, 3, 6}));
    EXPECT_EQ(Identify({"GUID_XAxis", "GUID_YAxis", "GUID_ZAxis", "GUID_RxAxis", "GUID_RyAxis",
                        "GUID_RzAxis", "GUID_Slider", "GUID_Slider"}),
              Flags({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Identify({}), Flags({}));
}

TEST(IdentifyAxes, OneSliderMarksBothSliderRows) {
    EXPECT_EQ(Identify({"GUID_XAxis", "GUID_YAxis", "GUID_Slider"}), Flags({1, 2, 7, 8}));
}

TEST(IdentifyAxes, TypeNamesMatchExactlyOrNotAtAll) {
    EXPECT_EQ(Identify({"guid_xaxis", "GUID_XAXIS", " GUID_YAxis", "GUID_YAxis ", "GUID_POV",
                        "GUID_Button", "GUID_Unknown", "", "GUID_Slider0"}),
              Flags({}));
}

TEST(IdentifyAxes, NoDeviceLeavesEveryAxisAbsent) {
    std::array<int16_t, 9> found;
    found.fill(kTrue);
    IdentifyAxes(nullptr, found);
    EXPECT_EQ(found, Flags({}));
}

}  // namespace
}  // namespace vantrel
