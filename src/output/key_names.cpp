#include "output/key_names.h"

#include <algorithm>
#include <array>

namespace vantrel {
namespace {

// Codes are spelled as numbers so this table needs no platform header; the tests compare them
// with <linux/input-event-codes.h> and the X11 keysym headers. Each keysym is the one the
// standard X keymap (xkeyboard-config, evdev rules) gives the evdev code, so both backends make
// the same key: BROWSER_REFRESH is XF86Reload and BROWSER_STOP is Cancel there.
constexpr KeyName kKeys[] = {
    // Letters and digits.
    {"a", 30, 'a'},
    {"b", 48, 'b'},
    {"c", 46, 'c'},
    {"d", 32, 'd'},
    {"e", 18, 'e'},
    {"f", 33, 'f'},
    {"g", 34, 'g'},
    {"h", 35, 'h'},
    {"i", 23, 'i'},
    {"j", 36, 'j'},
    {"k", 37, 'k'},
    {"l", 38, 'l'},
    {"m", 50, 'm'},
    {"n", 49, 'n'},
    {"o", 24, 'o'},
    {"p", 25, 'p'},
    {"q", 16, 'q'},
    {"r", 19, 'r'},
    {"s", 31, 's'},
    {"t", 20, 't'},
    {"u", 22, 'u'},
    {"v", 47, 'v'},
    {"w", 17, 'w'},
    {"x", 45, 'x'},
    {"y", 21, 'y'},
    {"z", 44, 'z'},
    {"1", 2, '1'},
    {"2", 3, '2'},
    {"3", 4, '3'},
    {"4", 5, '4'},
    {"5", 6, '5'},
    {"6", 7, '6'},
    {"7", 8, '7'},
    {"8", 9, '8'},
    {"9", 10, '9'},
    {"0", 11, '0'},
    // Punctuation keys of a US layout, unshifted.
    {"-", 12, '-'},
    {"=", 13, '='},
    {"[", 26, '['},
    {"]", 27, ']'},
    {";", 39, ';'},
    {"'", 40, '\''},
    {"`", 41, '`'},
    {"\\", 43, '\\'},
    {",", 51, ','},
    {".", 52, '.'},
    {"/", 53, '/'},
    // Editing and movement.
    {"SPACE", 57, 0x0020},
    {"ENTER", 28, 0xff0d},
    {"TAB", 15, 0xff09},
    {"ESC", 1, 0xff1b},
    {"ESCAPE", 1, 0xff1b},
    {"BACKSPACE", 14, 0xff08},
    {"BS", 14, 0xff08},
    {"DELETE", 111, 0xffff},
    {"DEL", 111, 0xffff},
    {"INSERT", 110, 0xff63},
    {"INS", 110, 0xff63},
    {"HOME", 102, 0xff50},
    {"END", 107, 0xff57},
    {"PGUP", 104, 0xff55},
    {"PGDN", 109, 0xff56},
    {"UP", 103, 0xff52},
    {"DOWN", 108, 0xff54},
    {"LEFT", 105, 0xff51},
    {"RIGHT", 106, 0xff53},
    // Function keys.
    {"F1", 59, 0xffbe},
    {"F2", 60, 0xffbf},
    {"F3", 61, 0xffc0},
    {"F4", 62, 0xffc1},
    {"F5", 63, 0xffc2},
    {"F6", 64, 0xffc3},
    {"F7", 65, 0xffc4},
    {"F8", 66, 0xffc5},
    {"F9", 67, 0xffc6},
    {"F10", 68, 0xffc7},
    {"F11", 87, 0xffc8},
    {"F12", 88, 0xffc9},
    {"F13", 183, 0xffca},
    {"F14", 184, 0xffcb},
    {"F15", 185, 0xffcc},
    {"F16", 186, 0xffcd},
    {"F17", 187, 0xffce},
    {"F18", 188, 0xffcf},
    {"F19", 189, 0xffd0},
    {"F20", 190, 0xffd1},
    {"F21", 191, 0xffd2},
    {"F22", 192, 0xffd3},
    {"F23", 193, 0xffd4},
    {"F24", 194, 0xffd5},
    // Numeric keypad.
    {"NUMPAD0", 82, 0xffb0},
    {"NUMPAD1", 79, 0xffb1},
    {"NUMPAD2", 80, 0xffb2},
    {"NUMPAD3", 81, 0xffb3},
    {"NUMPAD4", 75, 0xffb4},
    {"NUMPAD5", 76, 0xffb5},
    {"NUMPAD6", 77, 0xffb6},
    {"NUMPAD7", 71, 0xffb7},
    {"NUMPAD8", 72, 0xffb8},
    {"NUMPAD9", 73, 0xffb9},
    {"NUMPADMULT", 55, 0xffaa},
    {"NUMPADADD", 78, 0xffab},
    {"NUMPADSUB", 74, 0xffad},
    {"NUMPADDIV", 98, 0xffaf},
    {"NUMPADDOT", 83, 0xffae},
    {"NUMPADENTER", 96, 0xff8d},
    // Modifiers, locks and system keys.
    {"LSHIFT", 42, 0xffe1},
    {"RSHIFT", 54, 0xffe2},
    {"LCTRL", 29, 0xffe3},
    {"RCTRL", 97, 0xffe4},
    {"LALT", 56, 0xffe9},
    {"RALT", 100, 0xffea},
    {"LWIN", 125, 0xffeb},
    {"RWIN", 126, 0xffec},
    {"APPSKEY", 127, 0xff67},
    {"CAPSLOCK", 58, 0xffe5},
    {"NUMLOCK", 69, 0xff7f},
    {"SCROLLLOCK", 70, 0xff14},
    {"PAUSE", 119, 0xff13},
    {"PRINTSCREEN", 99, 0xff61},
    // Media, volume, browser and launch keys.
    {"VOLUME_MUTE", 113, 0x1008ff12},
    {"VOLUME_DOWN", 114, 0x1008ff11},
    {"VOLUME_UP", 115, 0x1008ff13},
    {"MEDIA_NEXT", 163, 0x1008ff17},
    {"MEDIA_PREV", 165, 0x1008ff16},
    {"MEDIA_STOP", 166, 0x1008ff15},
    {"MEDIA_PLAY_PAUSE", 164, 0x1008ff14},
    {"BROWSER_BACK", 158, 0x1008ff26},
    {"BROWSER_FORWARD", 159, 0x1008ff27},
    {"BROWSER_REFRESH", 173, 0x1008ff73},
    {"BROWSER_STOP", 128, 0xff69},
    {"BROWSER_SEARCH", 217, 0x1008ff1b},
    {"BROWSER_FAVORITES", 156, 0x1008ff30},
    {"BROWSER_HOME", 172, 0x1008ff18},
    {"LAUNCH_MAIL", 155, 0x1008ff19},
    {"LAUNCH_MEDIA", 226, 0x1008ff32},
    {"LAUNCH_APP1", 157, 0x1008ff33},
    {"LAUNCH_APP2", 140, 0x1008ff1d},
};
constexpr size_t kKeyCount = std::size(kKeys);

constexpr char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Three-way comparison of two names without regard to ASCII letter case.
constexpr int CompareNoCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char x = Lower(a[i]);
        const char y = Lower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Indexes of kKeys sorted by case-folded name, built at compile time: a lookup is a binary
// search (about eight comparisons) with no allocation.
constexpr std::array<uint8_t, kKeyCount> BuildSortedIndex() {
    std::array<uint8_t, kKeyCount> index{};
    for (size_t i = 0; i < kKeyCount; ++i) index[i] = static_cast<uint8_t>(i);
    std::sort(index.begin(), index.end(),
              [](uint8_t a, uint8_t b) { return CompareNoCase(kKeys[a].name, kKeys[b].name) < 0; });
    return index;
}
constexpr std::array<uint8_t, kKeyCount> kSorted = BuildSortedIndex();
static_assert(kKeyCount <= 256, "the sorted index holds 8-bit positions");

constexpr bool NamesAreUnique() {
    for (size_t i = 1; i < kKeyCount; ++i) {
        if (CompareNoCase(kKeys[kSorted[i - 1]].name, kKeys[kSorted[i]].name) == 0) return false;
    }
    return true;
}
static_assert(NamesAreUnique(), "two table entries have the same name");

}  // namespace

const KeyName* FindKeyName(std::string_view name) {
    if (name.empty()) return nullptr;
    size_t lo = 0;
    size_t hi = kKeyCount;
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        const KeyName& entry = kKeys[kSorted[mid]];
        const int c = CompareNoCase(entry.name, name);
        if (c == 0) return &entry;
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return nullptr;
}

std::span<const KeyName> AllKeyNames() { return kKeys; }

}  // namespace vantrel
