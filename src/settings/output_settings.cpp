#include "settings/output_settings.h"

#include <charconv>

#include "services/device_types.h"

namespace vantrel {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char c = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
        if (c != b[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<OutputMode> ParseOutputMode(std::string_view text) {
    text = Trimmed(text);
    if (text.empty() || SameLetters(text, "keys")) return OutputMode::Keys;
    if (SameLetters(text, "shifter")) return OutputMode::Shifter;
    if (SameLetters(text, "both")) return OutputMode::Both;
    return std::nullopt;
}

std::optional<int16_t> ParseButtonNumber(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) return int16_t{0};
    int value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kButtonSlots) {
        return std::nullopt;
    }
    return static_cast<int16_t>(value);
}

}  // namespace vantrel
