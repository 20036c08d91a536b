#include "settings/output_settings.h"

#include <charconv>

#include "ports/controller.h"
#include "settings/ini_file.h"

namespace vantrel {

std::optional<OutputMode> ParseOutputMode(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || EqualsNoCase(text, "keys")) return OutputMode::Keys;
    if (EqualsNoCase(text, "shifter")) return OutputMode::Shifter;
    if (EqualsNoCase(text, "both")) return OutputMode::Both;
    if (EqualsNoCase(text, "sequential")) return OutputMode::Sequential;
    return std::nullopt;
}

std::optional<int16_t> ParseButtonNumber(std::string_view text) {
    text = TrimBlanks(text);
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
