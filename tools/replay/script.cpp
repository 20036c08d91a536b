#include "tools/replay/script.h"

#include <charconv>
#include <vector>

namespace vantrel::replay {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

template <typename T>
std::optional<T> Number(std::string_view word) {
    T value{};
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

ParsedLine Error(std::string message) { return {NoCommand{}, std::move(message)}; }

ParsedLine ParseState(const std::vector<std::string_view>& words) {
    StateCommand cmd;
    size_t count = 0;
    for (size_t w = 1; w < words.size(); ++w) {
        const std::string_view word = words[w];
        if (word.starts_with("b=")) {
            if (w + 1 != words.size()) return Error("b=LIST must come last");
            std::string_view list = word.substr(2);
            while (!list.empty()) {
                const size_t comma = list.find(',');
                const std::string_view item = list.substr(0, comma);
                const auto button = Number<int>(item);
                if (!button || *button < 1 || *button > kButtonSlots) {
                    return Error("button '" + std::string(item) + "' is not a number from 1 to 32");
                }
                cmd.report.buttons[static_cast<size_t>(*button - 1)] = true;
                list =
                    comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
            }
            break;
        }
        if (count == 8) return Error("state takes at most 8 axis values");
        const auto value = Number<int32_t>(word);
        if (!value) {
            return Error("axis value '" + std::string(word) + "' is not a whole number");
        }
        cmd.report.axes[count++] = *value;
    }
    if (count < 2) return Error("state needs at least the X and Y values");
    return {cmd, {}};
}

}  // namespace

ParsedLine ParseScriptLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty() || words[0].starts_with('#')) return {NoCommand{}, {}};

    const std::string_view verb = words[0];
    if (verb == "state") return ParseState(words);
    if (verb == "fail") {
        if (words.size() == 2) {
            if (words[1] == "inputlost") return {FailCommand{ReadResult::Lost}, {}};
            if (words[1] == "notacquired") return {FailCommand{ReadResult::Lost}, {}};
            if (words[1] == "other") return {FailCommand{ReadResult::Failed}, {}};
        }
        return Error("fail takes one of inputlost, notacquired, other");
    }
    if (verb == "failsend") {
        const auto n = words.size() == 2 ? Number<int>(words[1]) : std::nullopt;
        if (!n || *n < 1) return Error("failsend takes a whole number from 1 up");
        return {FailSendCommand{*n}, {}};
    }
    if (verb == "reload") {
        if (words.size() != 1) return Error("reload takes no arguments");
        return {ReloadCommand{}, {}};
    }
    return Error("unknown command '" + std::string(verb) +
                 "' (expected state, fail, failsend or reload)");
}

}  // namespace vantrel::replay
