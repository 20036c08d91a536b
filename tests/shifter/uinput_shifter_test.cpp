// The virtual shifter through a recording stand-in for /dev/uinput (these machines have none):
// what it asks the kernel for, what games read from it during a gear walk of the real poll cycle,
// and that every way out lets its buttons go.

#include "services/shifter/uinput_shifter.h"

#include <gtest/gtest.h>
#include <linux/uinput.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <map>
#include <set>

#include "engine/poll_cycle.h"
#include "services/keys/release_on_termination.h"
#include "services/service_error.h"
#include "settings/load_settings.h"
#include "support/fakes.h"

namespace vantrel {
namespace {

// Each report the device wrote, as games decode it: "b2- b1+" (button 2 let go, button 1
// pressed), "x=0 y=10000".
std::vector<std::string> Reports(const std::vector<input_event>& events) {
    std::vector<std::string> reports;
    std::string report;
    for (const input_event& e : events) {
        if (e.type == EV_SYN) {
            reports.push_back(report);
            report.clear();
            continue;
        }
        if (!report.empty()) report += ' ';
        if (e.type == EV_KEY) {
            report += "b" + std::to_string(e.code - BTN_TRIGGER + 1) + (e.value ? "+" : "-");
        } else {
            report += (e.code == ABS_X ? "x=" : "y=") + std::to_string(e.value);
        }
    }
    return reports;
}

struct Kernel {
    std::map<unsigned long, std::set<int>> bits;  // UI_SET_EVBIT, UI_SET_KEYBIT, UI_SET_ABSBIT
    uinput_setup setup{};
    std::vector<uinput_abs_setup> axes;
    std::vector<std::string> steps;
    std::vector<input_event> events;
    int failWrites = 0;  // the next n writes fail with ENODEV
};

class RecordingUinput final : public UinputIo {
  public:
    explicit RecordingUinput(Kernel& k) : k_(k) {}
    int SetBit(unsigned long request, int value) override {
        k_.bits[request].insert(value);
        return Step("bit");
    }
    int Setup(const uinput_setup& setup) override { return k_.setup = setup, Step("setup"); }
    int AbsSetup(const uinput_abs_setup& setup) override {
        k_.axes.push_back(setup);
        return Step("axis");
    }
    int Create() override { return Step("create"); }
    int Destroy() override { return Step("destroy"); }
    int Write(const void* data, size_t size) override {
        if (k_.failWrites > 0) return --k_.failWrites, ENODEV;
        const auto* e = static_cast<const input_event*>(data);
        k_.events.insert(k_.events.end(), e, e + size / sizeof(input_event));
        return 0;
    }

  private:
    int Step(const char* name) {
        if (k_.steps.empty() || k_.steps.back() != name) k_.steps.emplace_back(name);
        return 0;
    }
    Kernel& k_;
};

// How systemd's input_id builtin classes a device with keys, in the two forms its rules have had
// in the releases distributions ship: the earlier one (ABS_X/ABS_Y plus BTN_TRIGGER, BTN_A, BTN_1
// or a joystick-only axis, once no tablet, touchpad, mouse or touchscreen matched) and today's,
// which counts the joystick button ranges, takes anything from BTN_MOUSE to just below
// BTN_JOYSTICK as a mouse button and un-detects joysticks that look like keyboards.
struct Caps {
    std::set<int> key, abs;
    bool Key(int code) const { return key.count(code) != 0; }
    bool Abs(int code) const { return abs.count(code) != 0; }
};

std::set<std::string> UdevClasses(const Caps& c, bool today) {
    int joystickParts = 0;
    bool mouseButton = c.Key(BTN_LEFT);
    if (!today) {
        joystickParts = c.Key(BTN_TRIGGER) || c.Key(BTN_A) || c.Key(BTN_1);
        for (int a : {ABS_RX, ABS_RY, ABS_RZ, ABS_THROTTLE, ABS_RUDDER, ABS_WHEEL}) {
            joystickParts += c.Abs(a);
        }
    } else {
        for (int b = BTN_MOUSE; b < BTN_JOYSTICK; ++b) mouseButton |= c.Key(b);
        if (!c.Key(BTN_JOYSTICK - 1)) {
            for (int b = BTN_JOYSTICK; b < BTN_DIGI; ++b) joystickParts += c.Key(b);
            for (int b = BTN_TRIGGER_HAPPY1; b <= BTN_TRIGGER_HAPPY40; ++b) {
                joystickParts += c.Key(b);
            }
        }
        for (int a = ABS_RX; a < ABS_PRESSURE; ++a) joystickParts += c.Abs(a);
    }
    std::set<std::string> classes;
    if (!c.Abs(ABS_X) || !c.Abs(ABS_Y)) {
        if (today && joystickParts > 0) classes.insert("JOYSTICK");
    } else if (c.Key(BTN_STYLUS) || c.Key(BTN_TOOL_PEN)) {
        classes.insert("TABLET");
    } else if (c.Key(BTN_TOOL_FINGER)) {
        classes.insert("TOUCHPAD");
    } else if (mouseButton) {
        classes.insert("MOUSE");
    } else if (c.Key(BTN_TOUCH)) {
        classes.insert("TOUCHSCREEN");
    } else if (joystickParts > 0) {
        classes.insert("JOYSTICK");
    }
    int keyboardKeys = 0;
    for (int k : {KEY_LEFTCTRL, KEY_CAPSLOCK, KEY_NUMLOCK, KEY_INSERT, KEY_MUTE, KEY_CALC, KEY_FILE,
                  KEY_MAIL, KEY_PLAYPAUSE, KEY_BRIGHTNESSDOWN}) {
        keyboardKeys += c.Key(k);
    }
    if (today && (keyboardKeys >= 4 || joystickParts < 2)) classes.erase("JOYSTICK");
    // Keys proper: anything below BTN_MISC, or from KEY_OK up to the joystick's extra buttons.
    for (int k : c.key) {
        if (k < BTN_MISC || (k >= KEY_OK && k < BTN_TRIGGER_HAPPY)) classes.insert("KEY");
    }
    return classes;
}

TEST(UinputShifter, AJoystickNamedAndNumberedAsGamesExpect) {
    Kernel k;
    { UinputShifter shifter(std::make_unique<RecordingUinput>(k)); }

    ASSERT_EQ(k.steps.size(), 5u);
    EXPECT_EQ(std::set(k.steps.begin(), k.steps.begin() + 3),
              (std::set<std::string>{"bit", "setup", "axis"}));
    EXPECT_EQ(std::vector(k.steps.begin() + 3, k.steps.end()),
              (std::vector<std::string>{"create", "destroy"}))
        << "the device is created once it is fully described";
    EXPECT_STREQ(k.setup.name, "Vantrel H-Shifter");
    EXPECT_EQ(
        (std::array{k.setup.id.bustype, k.setup.id.vendor, k.setup.id.product, k.setup.id.version}),
        (std::array<uint16_t, 4>{BUS_VIRTUAL, 0x5654, 0x0002, 0x0001}));
    EXPECT_EQ(k.bits[UI_SET_ABSBIT], (std::set<int>{ABS_X, ABS_Y}));
    ASSERT_EQ(k.axes.size(), 2u);
    for (const uinput_abs_setup& a : k.axes) {
        EXPECT_EQ(std::tuple(a.absinfo.minimum, a.absinfo.maximum, a.absinfo.value),
                  std::tuple(0, 10000, 5000));
    }
    // Joystick interfaces (SDL, Wine, the kernel's js devices) number the buttons by code from
    // BTN_JOYSTICK upward: eleven codes in a row from there are buttons 1..11.
    std::set<int> buttons;
    for (int b = BTN_TRIGGER; b < BTN_TRIGGER + 11; ++b) buttons.insert(b);
    EXPECT_EQ(k.bits[UI_SET_KEYBIT], buttons);

    EXPECT_EQ(k.bits[UI_SET_EVBIT], (std::set<int>{EV_SYN, EV_KEY, EV_ABS}));
    Caps caps{k.bits[UI_SET_KEYBIT], k.bits[UI_SET_ABSBIT]};
    Caps mouseRange = caps;  // the same buttons in the range below the joystick's
    mouseRange.key.clear();
    for (int b = BTN_LEFT; b < BTN_LEFT + 11; ++b) mouseRange.key.insert(b);
    for (bool today : {false, true}) {
        EXPECT_EQ(UdevClasses(caps, today), std::set<std::string>{"JOYSTICK"}) << today;
        EXPECT_EQ(UdevClasses(mouseRange, today), std::set<std::string>{"MOUSE"}) << today;
    }
}

// The real poll cycle on a two-axis controller with 12 buttons: range is button 5, splitter
// button 13, which the controller does not have.
struct CycleRig {
    CycleRig() {
        LoadSettings(s, "/nonexistent/vantrel-shifter/config.ini");
        s.range = 5;
        s.splitter = 13;
        auto device = std::make_unique<testing::FakeDevice>();
        pad = device.get();
        slot.diDev = std::move(device);
        slot.diDev->GetCapabilities(slot.deviceCaps);
        slot.axisFound[1] = slot.axisFound[2] = kTrue;
    }
    CycleEnd Cycle(int32_t x, int32_t y, std::set<int> buttonsDown = {}) {
        pad->next = DIJOYSTATE{};
        pad->next.x = x;
        pad->next.y = y;
        for (int b : buttonsDown) pad->next.buttons[static_cast<size_t>(b - 1)] = 0x80;
        return DirectXEvent8_DXCallback(s, slot, keys, display, 0, &shifter);
    }

    Kernel k;
    UinputShifter shifter{std::make_unique<RecordingUinput>(k)};
    MainState s;
    DeviceSlot slot;
    testing::FakeDevice* pad = nullptr;
    testing::RecordingKeySender keys;
    testing::RecordingDisplay display;
};

TEST(UinputShifter, GearWalkReportsOnlyChangesReleasesFirst) {
    CycleRig rig;
    rig.Cycle(5000, 5000);
    rig.Cycle(-300, 10000);  // gear 2; a position off the scale reads as its end
    rig.Cycle(0, 0, {5, 13});
    rig.Cycle(0, 0, {1, 5});
    rig.Cycle(0, 0, {1, 5});
    rig.Cycle(5000, 5000);
    rig.Cycle(5000, 5000);
    // Each cycle's first pass still decides on the previous position; the second one on the new.
    EXPECT_EQ(Reports(rig.k.events),
              (std::vector<std::string>{"x=0 y=10000", "b2+",      // neutral -> gear 2
                                        "y=0", "b2- b1+", "b10+",  // gear 1, range held
                                        "b1- b9+",                 // button 1: reverse
                                        "x=5000 y=5000", "b9-", "b10-"}));
    EXPECT_EQ(rig.keys.sent.size(), 7u * 2u * 9u) << "the keys go on beside the shifter";
}

TEST(UinputShifter, FailedWriteEndsTheCycleAndTheButtonsAreLetGoBeforeTheMessage) {
    CycleRig rig;
    rig.Cycle(0, 0);
    rig.Cycle(0, 0);  // gear 1 held
    struct Display : testing::RecordingDisplay {
        void ShowCycleError(const std::string& message) override {
            errors.push_back(message + " | reports " + std::to_string(Reports(k->events).size()));
        }
        Kernel* k = nullptr;
    } display;
    display.k = &rig.k;
    rig.k.failWrites = 1;
    rig.pad->next.y = 10000;
    EXPECT_EQ(DirectXEvent8_DXCallback(rig.s, rig.slot, rig.keys, display, 0, &rig.shifter),
              CycleEnd::Failed);
    ASSERT_EQ(display.errors.size(), 1u);
    EXPECT_TRUE(display.errors[0].starts_with("writing to the virtual shifter failed"));
    EXPECT_TRUE(display.errors[0].ends_with(" : 1002 | reports 3")) << display.errors[0];
    EXPECT_EQ(Reports(rig.k.events).back(), "b1-") << "the write that failed changed nothing";
}

// A child process holds gear 3 on a shifter that writes into a pipe, then ends in one of the
// ways below without destroying it; the parent reads what games would have read.
TEST(UinputShifter, EveryWayOutOfTheProcessLetsTheButtonsGo) {
    struct PipeUinput final : UinputIo {
        explicit PipeUinput(int fd) : fd(fd) {}
        int SetBit(unsigned long, int) override { return 0; }
        int Setup(const uinput_setup&) override { return 0; }
        int AbsSetup(const uinput_abs_setup&) override { return 0; }
        int Create() override { return 0; }
        int Destroy() override { return 0; }
        int Write(const void* data, size_t size) override {
            return ::write(fd, data, size) == static_cast<ssize_t>(size) ? 0 : errno;
        }
        int fd;
    };
    enum Way { kSignal, kExit, kQuickExit };
    const std::pair<Way, int> kWays[] = {
        {kSignal, SIGINT}, {kSignal, SIGTERM}, {kSignal, SIGHUP}, {kExit, 0}, {kQuickExit, 0}};
    for (const auto& [way, sig] : kWays) {
        SCOPED_TRACE(::testing::Message() << "way " << way << ", signal " << sig);
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            auto* shifter = new UinputShifter(std::make_unique<PipeUinput>(fds[1]));
            ReleaseOutputsOnTerminationSignals();
            shifter->SetGear(3, 5000, 5000);
            if (way == kExit) std::exit(0);
            if (way == kQuickExit) std::quick_exit(0);  // the tray's "&Close"
            for (;;) ::pause();
        }
        ::close(fds[1]);
        std::vector<input_event> events;
        input_event e;
        while (::read(fds[0], &e, sizeof e) == sizeof e) {
            events.push_back(e);
            if (way == kSignal && events.size() == 2) ::kill(child, sig);  // b3+ and its report
        }
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(Reports(events), (std::vector<std::string>{"b3+", "b3-"}));
        if (way == kSignal) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        } else {
            EXPECT_TRUE(WIFEXITED(status)) << status;
        }
    }
}

}  // namespace
}  // namespace vantrel
