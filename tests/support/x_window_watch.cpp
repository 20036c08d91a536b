#include "support/x_window_watch.h"

#include <X11/Xatom.h>
#include <X11/Xlibint.h>
#include <X11/Xutil.h>

namespace vantrel::testing {
namespace {

// Asked of a window that may go away at any moment.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

XWindowWatch::XWindowWatch() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) return;
    XSetErrorHandler(IgnoreErrors);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
}

XWindowWatch::~XWindowWatch() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

void XWindowWatch::ReadEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        // Only the root's own children: a map inside a tray is the tray's business.
        if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display_)) {
            mapped_.push_back({event.xmap.window, PidOf(event.xmap.window)});
        }
    }
}

unsigned long XWindowWatch::FirstOf(Window window, const char* property, Atom type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    unsigned long first = 0;
    if (XGetWindowProperty(display_, window, XInternAtom(display_, property, False), 0, 1, False,
                           type, &actual, &format, &count, &after, &data) == Success &&
        data != nullptr && count >= 1 && format == 32) {
        first = *reinterpret_cast<unsigned long*>(data);
    }
    if (data != nullptr) XFree(data);
    return first;
}

long XWindowWatch::PidOf(Window window) {
    const unsigned long pid = FirstOf(window, "_NET_WM_PID", XA_CARDINAL);
    if (pid == 0) return -1;
    clientPids_[ClientOf(window)] = static_cast<long>(pid);
    return static_cast<long>(pid);
}

unsigned long XWindowWatch::ClientOf(Window window) const {
    // Every client's ids share the bits outside the server's resource mask.
    return window & ~display_->resource_mask;
}

std::vector<Window> XWindowWatch::MappedBy(long pid) {
    ReadEvents();
    std::vector<Window> windows;
    for (const Mapped& m : mapped_) {
        // A window gone before its owner could be read may have been this program's, unless
        // another process's client made it (a tray that restarts, say).
        const auto client = clientPids_.find(ClientOf(m.window));
        const bool someoneElses = client != clientPids_.end() && client->second != pid;
        if (m.pid == pid || (m.pid == -1 && !someoneElses)) windows.push_back(m.window);
    }
    return windows;
}

std::vector<Window> XWindowWatch::DockedBy(long pid) {
    ReadEvents();
    std::vector<Window> docked;
    AddDocked(DefaultRootWindow(display_), pid, true, docked);
    return docked;
}

void XWindowWatch::AddDocked(Window parent, long pid, bool topLevel, std::vector<Window>& docked) {
    Window root = None, up = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, parent, &root, &up, &children, &count) == 0) return;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!topLevel && PidOf(children[i]) == pid &&
            XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable) {
            docked.push_back(children[i]);
        }
        AddDocked(children[i], pid, false, docked);
    }
    if (children != nullptr) XFree(children);
}

bool XWindowWatch::Iconic(Window window) {
    XWMHints* hints = XGetWMHints(display_, window);
    const bool iconic =
        hints != nullptr && (hints->flags & StateHint) && hints->initial_state == IconicState;
    if (hints != nullptr) XFree(hints);
    return iconic;
}

bool XWindowWatch::Dialog(Window window) {
    return FirstOf(window, "_NET_WM_WINDOW_TYPE", XA_ATOM) ==
           XInternAtom(display_, "_NET_WM_WINDOW_TYPE_DIALOG", False);
}

}  // namespace vantrel::testing
