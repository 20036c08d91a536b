#include "backends/x11/x_error_routing.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "backends/x11/xtest_keyboard.h"

namespace vantrel::x_error_routing {
namespace {

struct Routes {
    std::mutex mutex;
    std::vector<std::pair<Display*, XTestBackend*>> owners;
    XErrorHandler previousError = nullptr;
    XIOErrorHandler previousIo = nullptr;
};

Routes& TheRoutes() {
    static Routes* routes = new Routes;  // never destroyed: handlers may run during exit
    return *routes;
}

XTestBackend* OwnerOf(Display* display) {
    Routes& r = TheRoutes();
    std::lock_guard lock(r.mutex);
    for (const auto& [d, owner] : r.owners) {
        if (d == display) return owner;
    }
    return nullptr;
}

// Guards against a loop when another library chains to us and we chain back to it.
thread_local int g_forwarding = 0;

int OnError(Display* display, XErrorEvent* event) {
    if (XTestBackend* owner = OwnerOf(display)) {
        owner->OnXError(event->error_code, event->request_code);
        return 0;
    }
    XErrorHandler previous;
    {
        std::lock_guard lock(TheRoutes().mutex);
        previous = TheRoutes().previousError;
    }
    if (previous == nullptr || g_forwarding > 0) return 0;
    ++g_forwarding;
    const int result = previous(display, event);
    --g_forwarding;
    return result;
}

int OnIoError(Display* display) {
    if (OwnerOf(display) != nullptr) return 0;  // the connection's exit handler takes over
    XIOErrorHandler previous;
    {
        std::lock_guard lock(TheRoutes().mutex);
        previous = TheRoutes().previousIo;
    }
    if (previous == nullptr || g_forwarding > 0) return 0;
    ++g_forwarding;
    const int result = previous(display);
    --g_forwarding;
    return result;
}

// Xlib calls this after the IO error handler; the default one calls exit(). Returning leaves
// the connection marked broken, and Xlib calls on it return without doing anything.
void OnIoErrorExit(Display* /*display*/, void* owner) {
    static_cast<XTestBackend*>(owner)->OnConnectionLost();
}

void InstallLocked(Routes& r) {
    XErrorHandler oldError = XSetErrorHandler(OnError);
    if (oldError != OnError) r.previousError = oldError;
    XIOErrorHandler oldIo = XSetIOErrorHandler(OnIoError);
    if (oldIo != OnIoError) r.previousIo = oldIo;
}

}  // namespace

void Attach(Display* display, XTestBackend* owner) {
    XSetIOErrorExitHandler(display, OnIoErrorExit, owner);
    Routes& r = TheRoutes();
    std::lock_guard lock(r.mutex);
    r.owners.emplace_back(display, owner);
    InstallLocked(r);
}

void Detach(Display* display) {
    Routes& r = TheRoutes();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.owners, [&](const auto& entry) { return entry.first == display; });
}

void Reassert() {
    Routes& r = TheRoutes();
    std::lock_guard lock(r.mutex);
    InstallLocked(r);
}

}  // namespace vantrel::x_error_routing
