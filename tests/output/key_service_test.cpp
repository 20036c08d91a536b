// The key service over its uinput backend, through a stand-in for /dev/uinput, the name table,
// and the factory's message when nothing works.

#include "output/key_service.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "app/key_service_factory.h"
#include "backends/uinput/uinput_keyboard.h"
#include "doubles/key_outputs.h"
#include "doubles/uinput_recorder.h"
#include "engine/gear_key_output.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

TEST(KeyNames, LookupIgnoresCaseAndAgreesWithTheSystemHeaders) {
    const std::tuple<const char*, int, unsigned long> spotChecks[] = {
        {"A", KEY_A, XK_a},
        {"NumPadEnter", KEY_KPENTER, XK_KP_Enter},
        {"esc", KEY_ESC, XK_Escape},
        {"lctrl", KEY_LEFTCTRL, XK_Control_L},
        {"VOLUME_MUTE", KEY_MUTE, XF86XK_AudioMute}};
    for (const auto& [spelling, evdev, keysym] : spotChecks) {
        const KeyName* k = FindKeyName(spelling);
        EXPECT_TRUE(k != nullptr && k->evdevCode == evdev && k->keysym == keysym) << spelling;
    }
    for (const char* name : {"", " ", "F25", "NUMPAD10", "SHIFT", " a", "aa", "{a}", "\xc3"}) {
        EXPECT_FALSE(IsKnownKeyName(name)) << '"' << name << '"';
    }
    // Every entry is found in lower case too, and different keys never share a code.
    std::set<int> codes;
    for (const KeyName& k : AllKeyNames()) {
        std::string lower(k.name);
        for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        EXPECT_TRUE(FindKeyName(k.name) == &k && FindKeyName(lower) == &k) << k.name;
        EXPECT_TRUE(k.evdevCode > 0 && k.evdevCode < KEY_CNT && k.keysym != 0) << k.name;
        codes.insert(k.evdevCode);
    }
    EXPECT_EQ(codes.size(), AllKeyNames().size() - 4) << "only ESC, BS, DEL, INS have aliases";
}

struct KeyServiceTest : ::testing::Test {
    // What the device wrote (see EventText): " w+;" is w pressed and its report.
    std::string Written() const {
        return testing::EventText(device.events, [](int code) {
            const auto key = std::ranges::find(AllKeyNames(), code, &KeyName::evdevCode);
            return key == AllKeyNames().end() ? "#" + std::to_string(code) : std::string(key->name);
        });
    }

    testing::UinputRecord device;
    std::unique_ptr<KeyService> service = std::make_unique<KeyService>(
        std::make_unique<UinputBackend>(std::make_unique<testing::RecordingUinput>(device)));
};

TEST_F(KeyServiceTest, AKeyboardThatWritesOnlyRealChangesAndLetsGoOfEverythingAtTheEnd) {
    EXPECT_STREQ(device.setup.name, "Vantrel virtual keyboard");
    EXPECT_EQ(device.bits[UI_SET_EVBIT], (std::set<int>{EV_KEY, EV_SYN}));
    // udev takes a device with the codes 1..31 (ESC to S) for a full keyboard.
    for (int code = 1; code <= 31; ++code) EXPECT_TRUE(device.bits[UI_SET_KEYBIT].count(code));
    for (const KeyName& k : AllKeyNames()) {
        EXPECT_TRUE(device.bits[UI_SET_KEYBIT].count(k.evdevCode)) << k.name;
    }

    ShiftState s;
    s.gearKeys[0] = AssignKey("q"), s.gearKeys[1] = AssignKey("a"), s.gearKeys[2] = AssignKey("w"),
    s.gearKeys[8] = AssignKey("z");
    // One poll cycle: two passes of nine Send calls each.
    const auto cycle = [&](int gear) {
        for (int pass = 0; pass < 2; ++pass) s.currentGear = gear, SendGearKeys(s, *service);
    };
    cycle(0);
    EXPECT_EQ(Written(), "") << "letting go of keys that are not held costs nothing";
    for (int i = 0; i < 3; ++i) cycle(3);
    EXPECT_EQ(Written(), " w+;") << "an unchanged cycle of 18 calls writes nothing";
    cycle(2);  // the new key goes down before the old one is let go (key order)
    EXPECT_EQ(Written(), " w+; a+; w-;");

    // Case and aliases name the same held key; an unknown or empty name does nothing.
    device.events.clear();
    testing::KeyDown(*service, "ESC");
    testing::KeyDown(*service, "escape");
    testing::KeyDown(*service, "nosuchkey");
    testing::KeyDown(*service, "");
    testing::KeyUp(*service, "Escape");
    testing::KeyDown(*service, "F5");
    service->ReleaseAll();
    testing::KeyDown(*service, "q");
    service.reset();
    EXPECT_EQ(Written(), " ESC+; ESC-; F5+; a-; F5-; q+; q-;");
    EXPECT_EQ(device.steps, (std::vector<std::string>{"describe", "create", "destroy"}));
}

TEST_F(KeyServiceTest, AFailedWriteSaysWhichKeyAndAFailedReleaseIsTriedAgain) {
    device.failWrites = 1;
    try {
        testing::KeyDown(*service, "q");
        ADD_FAILURE() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with(
            "Vantrel could not press the key q: writing to /dev/uinput failed"))
            << e.what();
    }
    EXPECT_FALSE(service->IsHeld("q"));
    testing::KeyDown(*service, "q");
    device.failWrites = 2;
    EXPECT_THROW(testing::KeyUp(*service, "q"), ServiceError);
    service->ReleaseAll();
    EXPECT_TRUE(service->IsHeld("q")) << "still down as far as anyone knows";
    service->ReleaseAll();
    EXPECT_EQ(Written(), " q+; q-;");
}

TEST(KeyServiceFactory, SaysWhatFailedAndWhatToDoWhenNothingWorks) {
    std::string message;
    const KeyServiceOptions options{
        .backend = "", .uinputPath = "/nonexistent/uinput", .displayName = ":987"};
    EXPECT_EQ(CreateKeyService(options, message), nullptr);
    EXPECT_EQ(message.rfind("Vantrel cannot send keys:\n", 0), 0u) << message;
    for (const char* part : {"- uinput virtual keyboard: cannot open", "modprobe uinput",
                             "- XTest: cannot connect to the X display \":987\"", "usermod -aG"}) {
        EXPECT_NE(message.find(part), std::string::npos) << part << " in " << message;
    }
}

}  // namespace
}  // namespace vantrel
