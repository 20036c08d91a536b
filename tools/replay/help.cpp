#include "tools/replay/replay.h"

namespace vantrel::replay {

const char* const kHelp = R"(Usage: vantrel-replay [options] < SCRIPT
Runs Vantrel's settings loader and shift engine against a controller scripted on standard input and prints what Vantrel would do: every key event, list row and caption, or with --summary one line per gear change.

Options:
  --config FILE      Read the settings from FILE instead of
                     $XDG_CONFIG_HOME/vantrel/config.ini.
  --axes LIST        The scripted controller's axes: X, Y, Z, RX, RY, RZ and
                     SLIDER separated by commas, or none (default X,Y).
  --buttons N        The scripted controller's number of buttons (default 12).
  --summary          Print only the gear changes, one line each; warnings and
                     errors go to standard error.
  --output MODE      Where the gear goes, instead of the settings file's
                     [output] mode: keys, shifter (a line "shifter N down|up"
                     per change of the virtual shifter's buttons, no key sent),
                     both, or sequential (the up and down keys of [sequential]
                     tapped at the pass that decides the gear: the replay has no
                     clock).
  -h, --help         Print this help and end.
  --version          Print the version and end.

Script:
  One command a line; blank lines and lines starting with # are skipped.

  state X Y [Z RX RY RZ S0 S1] [b=LIST]
                     A controller state: the X and Y axis values (0 to 10000;
                     x grows to the right, y downwards), then optionally the
                     other axes, then the buttons held (numbers 1 to 32
                     separated by commas). Runs one poll cycle.
  fail inputlost|notacquired|other
                     The next read of the controller fails: the first two as a
                     controller gone away (a line "acquire"), other as any
                     other failure. Runs one poll cycle.
  failsend N         The N-th key event from now on fails, as a key that
                     cannot be sent would.
  reload             Loads the settings file again, as the Reload INI button
                     does.
)";

}  // namespace vantrel::replay
