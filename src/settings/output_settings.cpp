#include "settings/output_settings.h"

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
    if (TrimBlanks(text).empty()) return int16_t{0};
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value || *value < 0 || *value > kButtonSlots) return std::nullopt;
    return static_cast<int16_t>(*value);
}

}  // namespace vantrel
