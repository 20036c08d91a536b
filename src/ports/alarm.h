#pragma once
// A one-shot wake-up on the thread that runs the poll cycle. What must happen later (a tapped
// key let go, a rumble pulse stopped) waits on one, so that nothing waits inside a cycle.

#include <chrono>
#include <functional>

namespace vantrel {

class Alarm {
  public:
    virtual ~Alarm() = default;

    // Calls `ring` once, `delay` from now; a pending call is replaced. `ring` may set the alarm
    // again.
    virtual void Set(std::chrono::milliseconds delay, std::function<void()> ring) = 0;
    // Forgets the pending call, if any.
    virtual void Cancel() = 0;
};

}  // namespace vantrel
