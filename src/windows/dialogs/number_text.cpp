#include "windows/dialogs/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace vantrel::ui {

std::optional<float> ParseFieldNumber(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    // from_chars takes a minus sign but no plus sign.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;

    float value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string FieldNumberText(float value) {
    if (value == 0) value = 0;  // no "-0"
    char buffer[32];
    // %g style with 7 digits drops trailing zeros and the point of whole numbers.
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

}  // namespace vantrel::ui
