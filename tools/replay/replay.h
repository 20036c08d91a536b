#pragma once
// Runs the real settings loader, shift engine and poll cycle against a scripted controller and
// reports what the cycle did.

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "ports/controller.h"
#include "settings/output_settings.h"

namespace vantrel::replay {

struct Options {
    std::filesystem::path config;
    std::array<bool, kAxisSlots> hasAxis{};
    int buttons = 12;
    bool summary = false;
    std::optional<OutputMode> output;  // empty: the settings file's [output] mode
    bool version = false;              // --version: print the program's version and end
};

inline constexpr const char* kUsage =
    "usage: vantrel-replay [--config FILE] [--axes LIST] [--buttons N] [--summary] "
    "[--output keys|shifter|both|sequential]   (script on stdin)\n";

// --help: the options and the script language; the man page is made from it.
extern const char* const kHelp;

// Parses the command line into `options`; returns an error message, empty on success.
std::string ParseOptions(int argc, char** argv, Options& options, bool& wantsHelp);

// Runs the script; returns the exit status (0 end of input, 1 the cycle failed, 2 a bad line).
int RunReplay(const Options& options, std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace vantrel::replay
