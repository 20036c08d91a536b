// Vantrel as an ordinary user, with the access the packaged udev rule and logind give the user at
// the seat, and without it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "kernel/machine_rig.h"

namespace vantrel::testing {
namespace {

constexpr uid_t kPlayer = 65534;  // nobody: any account without root's powers
constexpr gid_t kPlayerGroup = 65534;

// What logind does for the user at the seat: read and write on the node, while the test runs.
class SeatAccess {
  public:
    explicit SeatAccess(std::string node) : node_(std::move(node)) {
        // After udev has set up the node, as logind does: udev would overwrite it otherwise.
        EXPECT_EQ(std::system("udevadm settle --timeout=30"), 0);
        struct stat before {};
        ::stat(node_.c_str(), &before);
        mode_ = before.st_mode & 07777;
        group_ = before.st_gid;
        EXPECT_EQ(::chown(node_.c_str(), static_cast<uid_t>(-1), kPlayerGroup), 0);
        EXPECT_EQ(::chmod(node_.c_str(), 0660), 0);
    }
    ~SeatAccess() {
        ::chown(node_.c_str(), static_cast<uid_t>(-1), group_);
        ::chmod(node_.c_str(), mode_);
    }

  private:
    std::string node_;
    mode_t mode_ = 0;
    gid_t group_ = 0;
};

TEST(Access, ThePackagedRuleTagsUinputForTheSeatAndControllersAreJoysticks) {
    const std::string uinput = UdevProperties("/dev/uinput");
    EXPECT_NE(uinput.find(":uaccess:"), std::string::npos) << uinput;
    for (const auto& describe : {Xbox360Pad, FlightStick10Bit}) {
        UinputController controller(describe());
        EXPECT_NE(UdevProperties(controller.eventNode()).find("ID_INPUT_JOYSTICK=1"),
                  std::string::npos)
            << controller.description().name;
    }
}

TEST(Access, AnOrdinaryUserWithSeatAccessGetsKeys) {
    UinputController controller(Xbox360Pad());
    SeatAccess keyboardAccess("/dev/uinput");
    SeatAccess controllerAccess(controller.eventNode());
    VantrelStart start{RememberedSettings("Xbox 360 Controller"), {}, kPlayer};
    VantrelProcess vantrel(start);
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(keyboard) << vantrel.Output();
    controller.MoveStick(GearPosition(3).x, GearPosition(3).y);
    EXPECT_TRUE(keyboard->WaitForKey(KEY_W, true)) << vantrel.Output();
}

TEST(Access, WithoutUinputAccessTheMessageSaysWhatToDoAndNothingElseHappens) {
    UinputController controller(Xbox360Pad());
    SeatAccess controllerAccess(controller.eventNode());
    VantrelStart start{RememberedSettings("Xbox 360 Controller"), {}, kPlayer};
    VantrelProcess vantrel(start);
    const Clock::time_point end = Clock::now() + 60s;
    while (vantrel.Output().find("sudo modprobe uinput") == std::string::npos &&
           Clock::now() < end) {
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_NE(vantrel.Output().find("Vantrel cannot send keys"), std::string::npos)
        << vantrel.Output();
    EXPECT_NE(vantrel.Output().find("sudo modprobe uinput"), std::string::npos) << vantrel.Output();
    EXPECT_FALSE(FindEventNode(kKeyboardName, 0s));
    EXPECT_FALSE(FindEventNode(kShifterName, 0s));
    EXPECT_FALSE(vantrel.HoldsOpen(controller.eventNode(), std::chrono::milliseconds(0)));
}

}  // namespace
}  // namespace vantrel::testing
