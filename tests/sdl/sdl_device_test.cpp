// The SDL controller service and its devices on SDL virtual joysticks: enumeration, opening by
// identity, axis objects, configuration, state reads and loss of the device.
#include <gtest/gtest.h>

#include <memory>

#include "sdl/virtual_pad.h"
#include "services/sdl/sdl_controller_service.h"
#include "services/sdl/sdl_errors.h"

namespace vantrel {
namespace {

using testing::VirtualPad;

// The configuration the controller selection makes.
void ConfigureLikeSelection(ControllerDevice& device) {
    for (const int32_t offset : {DIJOFS_X, DIJOFS_Y}) {
        device.SetProperty(DiLongProperty::DIPROP_DEADZONE, {DIPH_BYOFFSET, offset, 1000});
    }
    for (const int32_t offset : {DIJOFS_X, DIJOFS_Y}) {
        device.SetProperty(DiLongProperty::DIPROP_SATURATION, {DIPH_BYOFFSET, offset, 9500});
    }
    device.SetRangeProperty({DIPH_DEVICE, 0, 0, 10000});
}

DIJOYSTATE Read(ControllerService& service, ControllerDevice& device) {
    static_cast<SdlControllerService&>(service).PumpOnce();
    DIJOYSTATE state;
    EXPECT_EQ(device.GetDeviceStateJoystick(state), DI_OK);
    return state;
}

class SdlDeviceTest : public ::testing::Test {
  protected:
    SdlControllerService service;
};

TEST_F(SdlDeviceTest, SameNamedControllersAreSeparateEntriesThatOpenTheirOwnDevice) {
    VirtualPad first("Gear Stick", 2, 4);
    VirtualPad other("Wheel", 2, 4);
    VirtualPad second("Gear Stick", 2, 4);
    ASSERT_TRUE(first.ok() && other.ok() && second.ok());

    const std::vector<DeviceInstance> list = service.GetDIDevices();
    ASSERT_EQ(list.size(), 3U);
    EXPECT_EQ(list[0].instanceName, "Gear Stick");
    EXPECT_EQ(list[1].instanceName, "Wheel");
    EXPECT_EQ(list[2].instanceName, "Gear Stick");
    EXPECT_EQ(list[0].guidInstance, first.id());
    EXPECT_EQ(list[2].guidInstance, second.id());
    EXPECT_NE(list[0].guidInstance, list[2].guidInstance);

    auto deviceA = service.CreateDevice(list[0].guidInstance);
    auto deviceB = service.CreateDevice(list[2].guidInstance);
    ASSERT_TRUE(deviceA && deviceB);
    for (auto* device : {deviceA.get(), deviceB.get()}) {
        ConfigureLikeSelection(*device);
        ASSERT_EQ(device->Acquire(), DI_OK);
    }
    second.SetAxis(0, 32767);
    EXPECT_EQ(Read(service, *deviceA).x, 5000);
    EXPECT_EQ(Read(service, *deviceB).x, 10000);
}

TEST_F(SdlDeviceTest, OpeningAnUnknownOrRemovedIdentityGivesNothing) {
    VirtualPad pad("Gear Stick", 2, 4);
    const std::string id = pad.id();
    EXPECT_EQ(service.CreateDevice(""), nullptr);
    EXPECT_EQ(service.CreateDevice("abc"), nullptr);
    EXPECT_EQ(service.CreateDevice(id + "0"), nullptr);
    EXPECT_EQ(service.CreateDevice(" " + id), nullptr);
    pad.Detach();
    EXPECT_TRUE(service.GetDIDevices().empty());
    EXPECT_EQ(service.CreateDevice(id), nullptr);
}

TEST_F(SdlDeviceTest, AxisObjectsFollowSdlAxisOrder) {
    const std::vector<std::string> all = {"GUID_XAxis",  "GUID_YAxis",  "GUID_ZAxis",
                                          "GUID_RxAxis", "GUID_RyAxis", "GUID_RzAxis",
                                          "GUID_Slider", "GUID_Slider"};
    for (const int axes : {2, 4, 8, 10}) {
        VirtualPad pad("Pad", axes, 2);
        auto device = service.CreateDevice(pad.id());
        ASSERT_TRUE(device);
        const size_t expected = std::min<size_t>(static_cast<size_t>(axes), 8);
        EXPECT_EQ(device->GetAxisObjectTypes(),
                  std::vector<std::string>(all.begin(), all.begin() + expected))
            << axes << " axes";
        DIDEVCAPS caps;
        EXPECT_EQ(device->GetCapabilities(caps), DI_OK);
        EXPECT_EQ(caps.lAxes, static_cast<int32_t>(expected));
    }
}

TEST_F(SdlDeviceTest, ConfiguredStickScalesBothAxesAndLeavesTheOthersLinear) {
    VirtualPad pad("Pad", 3, 2);
    auto device = service.CreateDevice(pad.id());
    ASSERT_TRUE(device);
    ConfigureLikeSelection(*device);
    ASSERT_EQ(device->Acquire(), DI_OK);

    struct Case {
        int raw;
        int32_t stick;   // x and y: dead zone 1000, saturation 9500
        int32_t linear;  // z: range only
    };
    const Case cases[] = {
        {0, 5000, 5000},  {3276, 5000, 5500},    {-3280, 4999, 4499}, {16384, 7353, 7500},
        {-31129, 0, 250}, {32767, 10000, 10000}, {-32768, 0, 0},
    };
    for (const Case& c : cases) {
        pad.SetAxis(0, c.raw);
        pad.SetAxis(1, c.raw);
        pad.SetAxis(2, c.raw);
        const DIJOYSTATE state = Read(service, *device);
        EXPECT_EQ(state.x, c.stick) << "raw " << c.raw;
        EXPECT_EQ(state.y, c.stick) << "raw " << c.raw;
        EXPECT_EQ(state.z, c.linear) << "raw " << c.raw;
    }
}

TEST_F(SdlDeviceTest, BeforeTheRangeIsSetAxesReportTheDefaultRange) {
    VirtualPad pad("Pad", 2, 2);
    auto device = service.CreateDevice(pad.id());
    ASSERT_TRUE(device);
    ASSERT_EQ(device->Acquire(), DI_OK);
    pad.SetAxis(0, -32768);
    pad.SetAxis(1, 32767);
    DIJOYSTATE state = Read(service, *device);
    EXPECT_EQ(state.x, 0);
    EXPECT_EQ(state.y, 65535);
    pad.SetAxis(0, 0);
    EXPECT_EQ(Read(service, *device).x, 32768);
}

TEST_F(SdlDeviceTest, PropertiesTheDeviceCannotTakeFailAndChangeNothing) {
    VirtualPad pad("Pad", 2, 2);
    auto device = service.CreateDevice(pad.id());
    ASSERT_TRUE(device);
    const int32_t offsetZ = 8;
    EXPECT_EQ(device->SetProperty(DiLongProperty::DIPROP_DEADZONE, {DIPH_BYOFFSET, offsetZ, 1000}),
              DIERR_OBJECTNOTFOUND);
    EXPECT_EQ(device->SetProperty(DiLongProperty::DIPROP_DEADZONE, {DIPH_BYOFFSET, 2, 1000}),
              DIERR_OBJECTNOTFOUND);
    EXPECT_EQ(device->SetProperty(DiLongProperty::DIPROP_SATURATION, {DIPH_BYOFFSET, 0, 10001}),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(device->SetRangeProperty({DIPH_DEVICE, 0, 100, 100}), DIERR_INVALIDPARAM);
    EXPECT_EQ(device->SetRangeProperty({DIPH_BYOFFSET, offsetZ, 0, 100}), DIERR_OBJECTNOTFOUND);
    EXPECT_EQ(device->SetRangeProperty({2, 0, 0, 100}), DIERR_OBJECTNOTFOUND);

    // The failed calls left x at its default; the next good one still applies.
    ASSERT_EQ(device->Acquire(), DI_OK);
    pad.SetAxis(0, 32767);
    EXPECT_EQ(Read(service, *device).x, 65535);
    EXPECT_EQ(device->SetRangeProperty({DIPH_BYOFFSET, DIJOFS_X, -10, 10}), DI_OK);
    EXPECT_EQ(Read(service, *device).x, 10);
}

TEST_F(SdlDeviceTest, ButtonsFillTheRecordUpToItsThirtyTwoSlots) {
    VirtualPad pad("Pad", 2, 12);
    auto device = service.CreateDevice(pad.id());
    ASSERT_TRUE(device);
    DIDEVCAPS caps;
    ASSERT_EQ(device->GetCapabilities(caps), DI_OK);
    EXPECT_EQ(caps.lButtons, 12);
    ASSERT_EQ(device->Acquire(), DI_OK);
    pad.SetButton(0, true);
    pad.SetButton(11, true);
    DIJOYSTATE state = Read(service, *device);
    for (int i = 0; i < kButtonSlots; ++i) {
        EXPECT_EQ(state.buttons[static_cast<size_t>(i)] != 0, i == 0 || i == 11) << i;
    }

    VirtualPad big("Big", 2, 40);
    auto bigDevice = service.CreateDevice(big.id());
    ASSERT_TRUE(bigDevice);
    ASSERT_EQ(bigDevice->GetCapabilities(caps), DI_OK);
    EXPECT_EQ(caps.lButtons, 40);
    ASSERT_EQ(bigDevice->Acquire(), DI_OK);
    big.SetButton(31, true);
    big.SetButton(35, true);
    // The record sits between guards; a write past its 32 button bytes would show there (and
    // AddressSanitizer would stop the test).
    struct Guarded {
        DIJOYSTATE state;
        std::array<uint8_t, 64> guard{};
    } guarded;
    static_cast<SdlControllerService&>(service).PumpOnce();
    ASSERT_EQ(bigDevice->GetDeviceStateJoystick(guarded.state), DI_OK);
    EXPECT_NE(guarded.state.buttons[31], 0);
    EXPECT_EQ(guarded.state.buttons[30], 0);
    EXPECT_EQ(guarded.guard, (std::array<uint8_t, 64>{}));
}

TEST_F(SdlDeviceTest, HatsReadAsPovInHundredthsOfADegree) {
    VirtualPad pad("Pad", 2, 2, 2);
    auto device = service.CreateDevice(pad.id());
    ASSERT_TRUE(device);
    ASSERT_EQ(device->Acquire(), DI_OK);
    pad.SetHat(0, SDL_HAT_RIGHTDOWN);
    const DIJOYSTATE state = Read(service, *device);
    EXPECT_EQ(state.POV[0], 13500U);
    EXPECT_EQ(state.POV[1], 0xFFFFFFFFU);  // centred
    EXPECT_EQ(state.POV[2], 0xFFFFFFFFU);  // no such hat
}

TEST_F(SdlDeviceTest, ReadsNeedAnAcquiredAttachedDevice) {
    VirtualPad pad("Pad", 2, 2);
    auto device = service.CreateDevice(pad.id());
    ASSERT_TRUE(device);
    DIJOYSTATE state;
    state.x = 1234;
    EXPECT_EQ(device->GetDeviceStateJoystick(state), DIERR_NOTACQUIRED);
    EXPECT_EQ(device->Poll(), DIERR_NOTACQUIRED);
    ASSERT_EQ(device->Acquire(), DI_OK);
    EXPECT_EQ(device->Poll(), DI_OK);
    EXPECT_EQ(device->GetDeviceStateJoystick(state), DI_OK);
    ASSERT_EQ(device->Unacquire(), DI_OK);
    EXPECT_EQ(device->GetDeviceStateJoystick(state), DIERR_NOTACQUIRED);

    ASSERT_EQ(device->Acquire(), DI_OK);
    pad.Detach();
    state.x = 1234;
    EXPECT_EQ(device->GetDeviceStateJoystick(state), DIERR_INPUTLOST);
    EXPECT_EQ(state.x, 1234);  // left as it was
    EXPECT_EQ(device->Poll(), DIERR_INPUTLOST);
    // Re-acquiring a removed device fails quietly, again and again.
    EXPECT_EQ(device->Acquire(), DIERR_INPUTLOST);
    EXPECT_EQ(device->Acquire(), DIERR_INPUTLOST);
    EXPECT_EQ(device->GetDeviceStateJoystick(state), DIERR_INPUTLOST);
    // Configuration calls still answer; nothing crashes on the dead handle.
    DIDEVCAPS caps;
    device->GetCapabilities(caps);
    ConfigureLikeSelection(*device);
}

TEST(SdlServiceLifetime, DevicesMayOutliveTheService) {
    auto service = std::make_unique<SdlControllerService>();
    VirtualPad pad("Pad", 2, 2);
    std::unique_ptr<ControllerDevice> device = service->CreateDevice(pad.id());
    ASSERT_TRUE(device);
    ASSERT_EQ(device->Acquire(), DI_OK);
    pad.SetAxis(0, 32767);
    service->PumpOnce();
    service.reset();

    DIJOYSTATE state;
    EXPECT_EQ(device->GetDeviceStateJoystick(state), DI_OK);
    EXPECT_EQ(state.x, 65535);
    pad.Detach();
    EXPECT_EQ(device->GetDeviceStateJoystick(state), DIERR_INPUTLOST);
    device.reset();
}

}  // namespace
}  // namespace vantrel
