#pragma once
// The key services alive in this process, so that every way out of it can let go of their keys.

#include <chrono>

namespace vantrel {

class KeyService;

namespace live_key_services {

// How long a shutdown path waits for a Send in progress on another thread.
inline constexpr std::chrono::milliseconds kShutdownWait{2000};

// Called by KeyService's constructor and destructor. The first Add registers the std::exit and
// std::quick_exit hook, which lets go of the keys of every service still alive at that moment.
void Add(KeyService* service);
void Remove(KeyService* service);

// Lets go of every key of every live service; they press nothing afterwards.
void ReleaseAllForShutdown() noexcept;

}  // namespace live_key_services
}  // namespace vantrel
