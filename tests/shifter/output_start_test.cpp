// The start-up's outputs as [output] mode asks for them, on fake services and the offscreen
// platform: which are made, what the user is told when the shifter cannot be, and that closing
// the window lets the shifter's buttons go before it is destroyed. And Vantrel's own shifter is
// not offered as a controller.
#include <gtest/gtest.h>

#include "sdl/virtual_pad.h"
#include "services/sdl/sdl_controller_service.h"
#include "services/shifter/shifter_identity.h"
#include "shell/shell_rig.h"
#include "support/qt_wait.h"

namespace vantrel::testing {
namespace {

using Log = std::vector<std::string>;

struct ShifterServices : FakeServices {
    struct Shifter : ShifterOutput {
        explicit Shifter(Log& log) : log(log) {}
        ~Shifter() override { log.push_back("shifter destroyed"); }
        void SetGear(int16_t currentgear, int32_t, int32_t) override {
            log.push_back("gear " + std::to_string(currentgear));
        }
        void SetKnob(bool, bool) override {}
        void ReleaseAll() noexcept override { log.push_back("shifter let go"); }
        Log& log;
    };
    std::unique_ptr<ShifterOutput> CreateShifter(std::string& failure) override {
        log.push_back("shifter");
        failure = shifterFailure;
        if (!failure.empty()) return nullptr;
        return std::make_unique<Shifter>(log);
    }
    std::string shifterFailure;
};

struct Rig : SettingsHome {
    explicit Rig(const char* mode, std::string shifterFailure = {}) {
        Write(std::string("[output]\nmode=") + mode + "\n");
        services.shifterFailure = std::move(shifterFailure);
        services.controllers.attached = {{"Pad", "id-a"}};
        frm.endProgram = [this](int status) { ended.push_back(status); };
    }
    ShifterServices services;
    frmMain frm;
    std::vector<int> ended;
};

constexpr char kNoAccess[] = "cannot open /dev/uinput for writing (Permission denied)";

TEST(Outputs, ShifterModeMakesNoKeysDrivesTheShifterAndLetsItGoOnClose) {
    Rig rig("shifter");
    ASSERT_EQ(rig.frm.Form_Load(rig.services), std::nullopt);
    rig.frm.show();
    rig.frm.lstJoySticks_Click(0);  // the stick rests in gear 1's corner (0, 0)
    rig.frm.close();
    EXPECT_EQ(rig.services.log,
              (Log{"shifter", "controllers", "notifications", "id-a opened", "id-a read", "gear 0",
                   "gear 1", "pump stopped", "shifter let go", "id-a Unacquire", "id-a released",
                   "controllers destroyed", "shifter destroyed"}));
    EXPECT_EQ(rig.ended, std::vector<int>{0});
}

TEST(Outputs, WithoutAccessShifterModeEndsWithTheFixAndBothModeGoesOnWithKeys) {
    {
        Rig rig("shifter", kNoAccess);
        MessageBoxWatch boxes;
        EXPECT_EQ(rig.frm.Form_Load(rig.services), kExitStartUpFailed);
        ASSERT_EQ(boxes.seen.size(), 1);
        EXPECT_TRUE(boxes.seen[0].startsWith(
            "Vantrel|Vantrel cannot make its virtual shifter: cannot open /dev/uinput for "
            "writing (Permission denied).\n\n"))
            << boxes.seen[0].toStdString();
        EXPECT_TRUE(boxes.seen[0].contains("\n\n    sudo modprobe uinput && sudo "));
        EXPECT_TRUE(boxes.seen[0].endsWith("|1|modal"));
        EXPECT_EQ(rig.services.log, Log{"shifter"});
    }
    Rig rig("both", kNoAccess);
    ASSERT_EQ(rig.frm.Form_Load(rig.services), std::nullopt);
    rig.frm.show();
    const auto notes = [&] {
        QStringList texts;
        for (auto* box : rig.frm.findChildren<QMessageBox*>("note")) {
            if (box->isVisible()) texts << box->text();
        }
        return texts;
    };
    ASSERT_TRUE(WaitUntil([&] { return !notes().isEmpty(); }));
    QTest::qWait(50);
    ASSERT_EQ(notes().size(), 1) << "said once";
    EXPECT_TRUE(
        notes()[0].startsWith("Vantrel's virtual shifter is off for this run: cannot "
                              "open /dev/uinput for writing (Permission denied). Your "
                              "gear keys work as usual."));
    EXPECT_FALSE(notes()[0].contains("ends"));
    rig.frm.lstJoySticks_Click(0);
    EXPECT_EQ(rig.services.keys->sent.size(), 18u);
    EXPECT_EQ(Log(rig.services.log.begin(), rig.services.log.begin() + 4),
              (Log{"keys", "shifter", "controllers", "notifications"}));
}

TEST(Outputs, VantrelsOwnShifterIsNoControllerToPick) {
    SdlControllerService service;
    VirtualPad pad("Pad", 2, 4);
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.naxes = 2;
    desc.nbuttons = kShifterButtons;
    desc.vendor_id = kShifterVendor;
    desc.product_id = kShifterProduct;
    desc.name = kShifterName;
    ASSERT_GE(SDL_JoystickAttachVirtualEx(&desc), 0);
    std::vector<std::string> listed;
    for (const DeviceInstance& d : service.GetDIDevices()) listed.push_back(d.instanceName);
    EXPECT_EQ(listed, std::vector<std::string>{"Pad"});
    for (int i = SDL_NumJoysticks() - 1; i >= 0; --i) {
        if (SDL_JoystickGetDeviceProduct(i) == kShifterProduct) SDL_JoystickDetachVirtual(i);
    }
}

}  // namespace
}  // namespace vantrel::testing
