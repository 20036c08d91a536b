#include "output/live_key_services.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace vantrel::live_key_services {
namespace {

struct Registry {
    std::mutex mutex;
    std::vector<LiveOutput*> services;
    bool exitHookRegistered = false;
};

// Never destroyed: the exit hook and the signal watcher may use it while static objects are
// being torn down.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

void ReleaseAtExit() { ReleaseAllForShutdown(); }

}  // namespace

void Add(LiveOutput* service) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    if (!r.exitHookRegistered) {
        // atexit cannot be undone; the hook looks at the registry, which the destructor leaves.
        std::atexit(ReleaseAtExit);
        std::at_quick_exit(ReleaseAtExit);
        r.exitHookRegistered = true;
    }
    r.services.push_back(service);
}

void Remove(LiveOutput* service) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    std::erase(r.services, service);
}

void ReleaseAllForShutdown() noexcept {
    Registry& r = TheRegistry();
    // The registry lock is only held briefly by Add/Remove, never across a Send.
    std::lock_guard lock(r.mutex);
    for (LiveOutput* service : r.services) service->ReleaseAllForShutdown(kShutdownWait);
}

}  // namespace vantrel::live_key_services
