#pragma once
// Vantrel's key output: remembers which keys it holds and hands only real changes to its backend,
// so an unchanged poll cycle costs the operating system nothing.

#include <chrono>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "output/live_key_services.h"
#include "output/owned_lock.h"
#include "ports/key_output.h"
#include "ports/keyboard_device.h"

namespace vantrel {

// Every KeyService is known to a process-wide list while it lives: std::exit, a return from main
// and std::quick_exit let go of the keys of every service still alive (an atexit hook registered
// with the first service; a destroyed service leaves the list, so the hook no longer sees it).
// For termination signals see release_on_termination.h.
class KeyService final : public KeyOutput, public LiveOutput {
  public:
    explicit KeyService(std::unique_ptr<KeyBackend> backend);
    // Lets go of every held key.
    ~KeyService() override;
    KeyService(const KeyService&) = delete;
    KeyService& operator=(const KeyService&) = delete;

    // Down presses the key unless this service already holds it; Up lets it go if held. A key
    // that resolved to nothing does nothing. Throws ServiceError when the backend fails. Safe
    // from any thread.
    void Send(const AssignedKey& key, KeyAction action) override;
    void ReleaseAll() noexcept override;

    // "uinput" or "XTest": the GUI tells the user when only XTest works.
    std::string_view BackendName() const { return backend_->Name(); }
    // Whether this service holds the key (aliases such as ESC and ESCAPE are the same key).
    bool IsHeld(std::string_view name) const;
    size_t HeldCount() const;

    // For the shutdown paths (termination signals, std::exit): lets go of every held key and
    // ignores every later press. Waits at most `wait` for a Send in progress on another thread;
    // does nothing when called on the thread that is inside this service's Send.
    void ReleaseAllForShutdown(std::chrono::milliseconds wait) noexcept override;

  private:
    void ReleaseAllLocked() noexcept;
    bool HeldLocked(uint16_t evdevCode) const;

    std::unique_ptr<KeyBackend> backend_;
    // Tells the exit path that it was entered from inside Send on the same thread.
    mutable OwnedLock lock_;
    std::vector<const KeyName*> held_;  // reserved for the whole table: never grows on Send
    bool closed_ = false;
};

}  // namespace vantrel
