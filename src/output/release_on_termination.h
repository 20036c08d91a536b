#pragma once
// Keys must not stay down when Vantrel is asked to end: an X server keeps a key down forever when
// the client that pressed it goes away without letting go.

namespace vantrel {

class KeyService;

// From now on SIGINT, SIGTERM and SIGHUP let go of every key held by `service` (and by any other
// live key service) and then end the process with that signal's default action, so the exit
// status still says which signal ended it. A signal the process was started with ignored (for
// example SIGHUP under nohup) stays ignored. Call once the service exists; calling it again is
// harmless.
//
// How: the handler only writes the signal number into a pipe (async-signal-safe); a watcher
// thread reads it, takes each service's lock (waiting for a Send in progress on the GUI thread),
// lets go of the keys, restores the default action and raises the signal again.
//
// The other ways out are covered by KeyService itself: its destructor lets go of its keys, and
// std::exit, a return from main and std::quick_exit run a hook that does the same for every
// service still alive. Not covered: _exit, SIGKILL and crashes. With the uinput backend the kernel
// lets go of the keys when the process ends in any way; with XTest they stay down.
void ReleaseKeysOnTerminationSignals(KeyService& service);

// The same for every live output (live_key_services.h), for a run that has no key service.
void ReleaseOutputsOnTerminationSignals();

}  // namespace vantrel
