#pragma once
// Xlib's error handlers are process-wide and by default end the process (an X error such as
// BadValue, or a lost connection). These route the errors of our own connections to their
// XTestBackend and pass every other connection's errors on to the handlers installed before.

struct _XDisplay;

namespace vantrel {

class XTestBackend;

namespace x_error_routing {

// Routes the errors of `display` to `owner` and makes a lost connection set a flag in the owner
// instead of calling exit().
void Attach(_XDisplay* display, XTestBackend* owner);
void Detach(_XDisplay* display);
// Puts our handlers back in front when another library (a toolkit opening its own connection
// later) has replaced them; the replaced ones keep handling their own connections.
void Reassert();

}  // namespace x_error_routing
}  // namespace vantrel
