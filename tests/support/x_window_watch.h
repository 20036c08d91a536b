#pragma once
// A second X connection that sees Vantrel's windows as the desktop would: every window mapped at
// the top of the screen (where a window manager would show it) from the start of the watch, and
// windows docked in a tray.

#include <X11/Xlib.h>

#include <map>
#include <vector>

namespace vantrel::testing {

class XWindowWatch {
  public:
    XWindowWatch();  // the display of $DISPLAY; check ok() before use
    ~XWindowWatch();
    XWindowWatch(const XWindowWatch&) = delete;
    XWindowWatch& operator=(const XWindowWatch&) = delete;

    bool ok() const { return display_ != nullptr; }

    // The top-level windows of process `pid` mapped so far, in order (one entry per map). A
    // window gone before its owner was read counts as the process's unless its id shows another
    // X client made it: ask often (both calls read).
    std::vector<Window> MappedBy(long pid);
    // Viewable windows of process `pid` that sit inside another program's window: tray icons.
    std::vector<Window> DockedBy(long pid);

    // Whether the window asks to start iconic (minimized).
    bool Iconic(Window window);
    // Whether the window says it is a dialog (a message box).
    bool Dialog(Window window);

  private:
    struct Mapped {
        Window window;
        long pid;  // -1 when it could not be read (the window was gone already, say)
    };
    void ReadEvents();
    // The first value of a 32-bit property, 0 when there is none.
    unsigned long FirstOf(Window window, const char* property, Atom type);
    // Also learns which X client (id range) the process's windows come from.
    long PidOf(Window window);
    // The part of a window id that tells which X client made it.
    unsigned long ClientOf(Window window) const;
    void AddDocked(Window parent, long pid, bool topLevel, std::vector<Window>& docked);

    Display* display_;
    std::vector<Mapped> mapped_;
    std::map<unsigned long, long> clientPids_;  // ClientOf(window) -> pid, as read so far
};

}  // namespace vantrel::testing
