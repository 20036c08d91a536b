#pragma once
// The field editor's boundary values as 32-bit floats and their text in the settings file.
// '.' is the decimal separator whatever the user's locale, so the file reads the same everywhere.

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::ui {

// A decimal number with an optional sign (and fraction or exponent); nullopt for anything else,
// including empty text, trailing junk and values a float cannot hold.
std::optional<float> ParseFieldNumber(std::string_view text);

// The shortest text of the value with at most 7 significant digits: 2020, -20, 100.5.
std::string FieldNumberText(float value);

}  // namespace vantrel::ui
