#include "services/keys/key_names.h"

#include <array>

namespace vantrel {
namespace {

// Letters and digits for now; the named keys follow.
constexpr std::array<KeyName, 36> kKeys{{
    {"a", 30, 'a'}, {"b", 48, 'b'}, {"c", 46, 'c'}, {"d", 32, 'd'}, {"e", 18, 'e'}, {"f", 33, 'f'},
    {"g", 34, 'g'}, {"h", 35, 'h'}, {"i", 23, 'i'}, {"j", 36, 'j'}, {"k", 37, 'k'}, {"l", 38, 'l'},
    {"m", 50, 'm'}, {"n", 49, 'n'}, {"o", 24, 'o'}, {"p", 25, 'p'}, {"q", 16, 'q'}, {"r", 19, 'r'},
    {"s", 31, 's'}, {"t", 20, 't'}, {"u", 22, 'u'}, {"v", 47, 'v'}, {"w", 17, 'w'}, {"x", 45, 'x'},
    {"y", 21, 'y'}, {"z", 44, 'z'}, {"1", 2, '1'},  {"2", 3, '2'},  {"3", 4, '3'},  {"4", 5, '4'},
    {"5", 6, '5'},  {"6", 7, '6'},  {"7", 8, '7'},  {"8", 9, '8'},  {"9", 10, '9'}, {"0", 11, '0'},
}};

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

const KeyName* FindKeyName(std::string_view name) {
    for (const KeyName& k : kKeys) {
        if (SameNoCase(k.name, name)) return &k;
    }
    return nullptr;
}

}  // namespace vantrel
