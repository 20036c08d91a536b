#pragma once
// An X server keeps a key down for good when the client that pressed it dies without letting go
// (a crash, SIGKILL): in a game the car stays in gear. So the XTest backend has a key watchdog,
// a small process of its own (vantrel-key-watchdog) with its own X connection and one end of a
// socket from Vantrel. It is told of every key Vantrel presses and lets go of; when the socket
// closes without a goodbye it lets go of the keys Vantrel still held, then ends.

#include <cstdint>
#include <memory>
#include <string>

namespace vantrel {

class KeyWatchdog {
  public:
    // Starts the watchdog for the X display `displayName` and waits until it is connected to
    // it. Returns nullptr and sets `why` (plain words, no full stop) when it cannot.
    static std::unique_ptr<KeyWatchdog> Start(const std::string& displayName, std::string& why);
    // Without a goodbye first, the watchdog takes this for Vantrel's death.
    ~KeyWatchdog();
    KeyWatchdog(const KeyWatchdog&) = delete;
    KeyWatchdog& operator=(const KeyWatchdog&) = delete;

    // Before the press goes to the X server, and after the release has: whenever Vantrel dies,
    // the watchdog knows of every key the server may still hold for it. A watchdog that has
    // stopped is reported once on stderr and told nothing more.
    void Pressing(uint8_t keycode) noexcept;
    void Released(uint8_t keycode) noexcept;
    // Vantrel has let go of every key itself and presses none again: the watchdog ends without
    // touching anything.
    void SayGoodbye() noexcept;

  private:
    explicit KeyWatchdog(int socket) : socket_(socket) {}
    // False when the watchdog is gone or no longer reads.
    bool Tell(char what, uint8_t keycode) noexcept;
    void TellOrGiveUp(char what, uint8_t keycode) noexcept;
    void Close() noexcept;

    int socket_;           // -1 once closed
    bool silent_ = false;  // it stopped reading: nothing more is sent
};

}  // namespace vantrel
