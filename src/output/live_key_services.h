#pragma once
// The outputs alive in this process that hold something down for other programs (the key
// services, the virtual shifter), so that every way out of it can let go.

#include <chrono>

namespace vantrel {

// An output that holds keys or buttons down in the system while it lives.
class LiveOutput {
  public:
    // For the shutdown paths (termination signals, std::exit): lets go of everything held and
    // ignores every later press. Waits at most `wait` for an operation in progress on another
    // thread; does nothing when called on the thread that is inside one.
    virtual void ReleaseAllForShutdown(std::chrono::milliseconds wait) noexcept = 0;

  protected:
    ~LiveOutput() = default;
};

namespace live_key_services {

// How long a shutdown path waits for an operation in progress on another thread.
inline constexpr std::chrono::milliseconds kShutdownWait{2000};

// Called by each output's constructor and destructor. The first Add registers the std::exit and
// std::quick_exit hook, which lets go of everything held by every output still alive then.
void Add(LiveOutput* output);
void Remove(LiveOutput* output);

// Lets go of everything every live output holds; they press nothing afterwards.
void ReleaseAllForShutdown() noexcept;

}  // namespace live_key_services
}  // namespace vantrel
