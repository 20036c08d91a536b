#pragma once
// What Vantrel and its key watchdog (vantrel-key-watchdog) say to each other over their socket.
// Vantrel sends two bytes per message, what happened and the X keycode; the watchdog answers once,
// at start, with one byte.

#include <cstdint>

namespace vantrel::key_watchdog_messages {

// Vantrel to the watchdog.
inline constexpr char kPressing = 'P';  // about to press the keycode
inline constexpr char kReleased = 'R';  // has let go of the keycode
inline constexpr char kGoodbye = 'G';   // has let go of every key itself and is ending (keycode 0)
inline constexpr int kMessageSize = 2;

// The watchdog's answer at start.
inline constexpr char kReady = 'Y';
inline constexpr char kNoDisplay = 'D';  // could not connect to the X display
inline constexpr char kNoXTest = 'T';    // the display lacks the XTEST extension

// The descriptor on which the watchdog finds its end of the socket.
inline constexpr int kWatchdogSocketFd = 0;

}  // namespace vantrel::key_watchdog_messages
