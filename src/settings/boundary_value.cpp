#include "settings/boundary_value.h"

#include <cstdint>

namespace vantrel {

std::optional<int16_t> ParseBoundary(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };

    int64_t whole = 0;
    size_t digits = 0;
    size_t i = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > 100000) return std::nullopt;  // far outside the range; stop before overflow
    }
    std::string_view fraction;
    if (i < text.size() && text[i] == '.') {
        fraction = text.substr(i + 1);
        for (char c : fraction) {
            if (!isDigit(c)) return std::nullopt;
        }
        digits += fraction.size();
        i = text.size();
    }
    if (i != text.size() || digits == 0) return std::nullopt;

    if (!fraction.empty()) {
        const char first = fraction.front();
        const bool restNonZero =
            fraction.substr(1).find_first_not_of('0') != std::string_view::npos;
        const bool up = first > '5' || (first == '5' && (restNonZero || whole % 2 == 1));
        if (up) ++whole;
    }
    const int64_t value = negative ? -whole : whole;
    if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
    return static_cast<int16_t>(value);
}

}  // namespace vantrel
