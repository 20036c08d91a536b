#pragma once
// The keycodes Vantrel holds on the X server, as its messages tell (key_watchdog_messages.h).

#include <bitset>
#include <cstddef>

namespace vantrel {

class VantrelHeldKeys {
  public:
    // Takes what was read from the socket; a message may arrive split over two reads.
    void Take(const char* bytes, size_t count);

    const std::bitset<256>& held() const { return held_; }
    // Vantrel let go of every key itself and is ending.
    bool saidGoodbye() const { return saidGoodbye_; }

  private:
    void Apply(char what, unsigned char keycode);

    std::bitset<256> held_;
    bool saidGoodbye_ = false;
    char pending_[2] = {};
    size_t pendingCount_ = 0;
};

}  // namespace vantrel
