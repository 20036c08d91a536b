#include "backends/x11/watchdog/vantrel_held_keys.h"

#include "backends/x11/key_watchdog_messages.h"

namespace vantrel {

namespace messages = key_watchdog_messages;
static_assert(messages::kMessageSize == 2);

void VantrelHeldKeys::Take(const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        pending_[pendingCount_++] = bytes[i];
        if (pendingCount_ < 2) continue;
        pendingCount_ = 0;
        Apply(pending_[0], static_cast<unsigned char>(pending_[1]));
    }
}

void VantrelHeldKeys::Apply(char what, unsigned char keycode) {
    if (what == messages::kPressing) held_.set(keycode);
    if (what == messages::kReleased) held_.reset(keycode);
    if (what == messages::kGoodbye) saidGoodbye_ = true;
}

}  // namespace vantrel
