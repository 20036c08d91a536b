#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

// A gate boundary from its settings text: blanks, an optional sign, digits and an optional
// fraction; the fraction rounds to the nearest integer, a half to the even one. nullopt when the
// text is no such number or the result lies outside -32768..32767.
std::optional<int16_t> ParseBoundary(std::string_view text);

}  // namespace vantrel
