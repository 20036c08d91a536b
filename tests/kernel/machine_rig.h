#pragma once
// What the kernel tests share: settings that remember a controller, the virtual keyboard as a
// game sees it, and the walk through the gate.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <string>

#include "kernel/evdev_watch.h"
#include "kernel/gate.h"
#include "kernel/uinput_controller.h"
#include "kernel/vantrel_process.h"

namespace vantrel::testing {

inline constexpr char kKeyboardName[] = "Vantrel virtual keyboard";
inline constexpr char kShifterName[] = "Vantrel H-Shifter";

// config.ini remembering the controller SDL lists as `name`, plus `more` lines.
inline std::string RememberedSettings(const std::string& name, const std::string& more = "") {
    return "[controller]\nname=" + name + "\n" + more;
}

// Vantrel's keyboard as a game reads it, once Vantrel has made it.
inline std::unique_ptr<EvdevWatch> WatchDevice(const std::string& name,
                                               Clock::duration wait = 60s) {
    const std::optional<std::string> node = FindEventNode(name, wait);
    if (!node) return nullptr;
    return std::make_unique<EvdevWatch>(*node);
}

// The nine codes an output holds for gears 1..8 and reverse: keys, or the shifter's buttons.
using GearCodes = std::array<uint16_t, 9>;
inline constexpr GearCodes kKeyCodes{KEY_Q, KEY_A, KEY_W, KEY_S, KEY_E, KEY_D, KEY_R, KEY_F, KEY_Z};
inline constexpr GearCodes kShifterCodes{BTN_TRIGGER,     BTN_TRIGGER + 1, BTN_TRIGGER + 2,
                                         BTN_TRIGGER + 3, BTN_TRIGGER + 4, BTN_TRIGGER + 5,
                                         BTN_TRIGGER + 6, BTN_TRIGGER + 7, BTN_TRIGGER + 8};

// Checks that exactly `code` (0: none) of the nine is held.
inline void ExpectOnlyHeld(EvdevWatch& output, uint16_t code, const GearCodes& codes = kKeyCodes) {
    if (code != 0) {
        EXPECT_TRUE(output.WaitForKey(code, true)) << "code " << code << " not pressed";
    }
    for (uint16_t other : codes) {
        if (other != code) {
            EXPECT_TRUE(output.WaitForKey(other, false)) << "code " << other << " still held";
        }
    }
}

// The most of the nine held at the same moment in everything read so far.
inline size_t MostHeldAtOnce(const EvdevWatch& output, const GearCodes& codes) {
    std::set<uint16_t> held;
    size_t most = 0;
    for (const EvdevWatch::KeyChange& change : output.changes()) {
        if (std::find(codes.begin(), codes.end(), change.code) == codes.end()) continue;
        if (change.down) {
            held.insert(change.code);
        } else {
            held.erase(change.code);
        }
        most = std::max(most, held.size());
    }
    return most;
}

// Gears 1..8 and reverse, through neutral each time: each gear's code alone while in its field.
inline void WalkTheGate(UinputController& controller, EvdevWatch& output,
                        const GearCodes& codes = kKeyCodes) {
    for (int gear = 1; gear <= 8; ++gear) {
        SCOPED_TRACE("gear " + std::to_string(gear));
        const StickPosition column = ColumnPosition(gear);
        const StickPosition field = GearPosition(gear);
        controller.MoveStick(column.x, column.y);
        controller.MoveStick(field.x, field.y);
        ExpectOnlyHeld(output, codes[gear - 1], codes);
        controller.MoveStick(column.x, column.y);
        ExpectOnlyHeld(output, 0, codes);
    }
    SCOPED_TRACE("reverse");
    controller.MoveStick(kNeutral.x, kNeutral.y);
    controller.SetButton(0, true);
    controller.MoveStick(GearPosition(1).x, 0.5);
    controller.MoveStick(GearPosition(1).x, GearPosition(1).y);
    ExpectOnlyHeld(output, codes[8], codes);
    controller.SetButton(0, false);
    ExpectOnlyHeld(output, codes[0], codes);
    controller.MoveStick(kNeutral.x, kNeutral.y);
    ExpectOnlyHeld(output, 0, codes);
}

}  // namespace vantrel::testing
