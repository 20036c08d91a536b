#pragma once
// The whole program, as main() runs it.

namespace vantrel {

// Reads the command line, then either answers it (help, version, autostart, a mistake) or starts
// Vantrel. Returns the exit status.
int RunVantrel(int argc, char** argv);

}  // namespace vantrel
