#pragma once
// The replay script: one command a line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "ports/controller.h"

namespace vantrel::replay {

struct StateCommand {
    ControllerReport report;
};
// A read that fails: "fail inputlost" and "fail notacquired" as a controller gone away,
// "fail other" as any other failure.
struct FailCommand {
    ReadResult result;
};
struct FailSendCommand {
    int n;  // the n-th Send from now on fails
};
struct ReloadCommand {};
struct NoCommand {};  // blank line or comment

using Command = std::variant<NoCommand, StateCommand, FailCommand, FailSendCommand, ReloadCommand>;

struct ParsedLine {
    Command command;
    std::string error;  // what is wrong with the line; empty when it parsed
};

ParsedLine ParseScriptLine(std::string_view line);

}  // namespace vantrel::replay
