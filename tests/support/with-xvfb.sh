#!/usr/bin/env bash
# Runs one test program under its own Xvfb (no key auto-repeat, keymap kept between clients) and
# its own D-Bus session, without a window manager.
set -euo pipefail
exec xvfb-run -a -s "-noreset -r -screen 0 1280x800x24" dbus-run-session -- "$@"
