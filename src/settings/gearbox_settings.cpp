#include "settings/gearbox_settings.h"

#include "output/key_names.h"

namespace vantrel {
namespace {

// A whole number in [low, high], or the default with a report line.
int NumberSetting(const IniDocument& doc, const char* section, const char* key, int low, int high,
                  int fallback, const std::string& fileName, std::vector<std::string>& report) {
    const std::optional<std::string> text = doc.Get(section, key);
    if (!text || TrimBlanks(*text).empty()) return fallback;
    const std::optional<int> value = ParseWholeNumber(*text);
    if (value && *value >= low && *value <= high) return *value;
    report.push_back(fileName + ": [" + section + "] " + key + "=" + *text +
                     " is not a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + "; using " + std::to_string(fallback));
    return fallback;
}

AssignedKey TapKey(const IniDocument& doc, const char* key, const char* fallback,
                   const char* direction, const std::string& fileName,
                   std::vector<std::string>& report) {
    std::string name = doc.Get("sequential", key).value_or("");
    if (TrimBlanks(name).empty()) name = fallback;
    AssignedKey assigned = AssignKey(name);
    if (assigned.key == nullptr) {
        report.push_back(fileName + ": [sequential] " + key + "=" + name +
                         " is not a key name Vantrel knows; shifting " + direction +
                         " will send no key. Write a key name as in [keyconfig].");
    }
    return assigned;
}

}  // namespace

std::optional<FieldMap> ParseFieldMap(std::string_view text) {
    FieldMap map{};
    size_t count = 0;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view entry = TrimBlanks(text.substr(0, comma));
        if (count == map.size()) return std::nullopt;
        int& gear = map[count++];
        if (entry.size() != 1) return std::nullopt;
        if (entry[0] >= '1' && entry[0] <= '8') {
            gear = entry[0] - '0';
        } else if (entry[0] == 'R' || entry[0] == 'r') {
            gear = kReverse;
        } else if (entry[0] == '-') {
            gear = kNeutral;
        } else {
            return std::nullopt;
        }
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (count != map.size()) return std::nullopt;
    return map;
}

std::string FieldMapEntryText(int gear) {
    if (gear == kReverse) return "R";
    if (gear >= 1 && gear <= 8) return std::to_string(gear);
    return "-";
}

std::string FieldMapText(const FieldMap& map) {
    std::string text;
    for (const int gear : map) text += (text.empty() ? "" : ",") + FieldMapEntryText(gear);
    return text;
}

void LoadGearboxSettings(ShiftState& s, const IniDocument& doc, const std::string& fileName,
                         std::vector<std::string>& report) {
    s.fieldMap = kStraightFieldMap;
    if (const std::optional<std::string> text = doc.Get("gate", "map");
        text && !TrimBlanks(*text).empty()) {
        if (const std::optional<FieldMap> map = ParseFieldMap(*text)) {
            s.fieldMap = *map;
        } else {
            report.push_back(fileName + ": [gate] map=" + *text +
                             " is not eight entries separated by commas, each 1 to 8, R or -; "
                             "using " +
                             FieldMapText(kStraightFieldMap));
        }
    }

    s.taps.up = TapKey(doc, "up", "PGUP", "up", fileName, report);
    s.taps.down = TapKey(doc, "down", "PGDN", "down", fileName, report);
    s.taps.press = std::chrono::milliseconds(
        NumberSetting(doc, "sequential", "tap", 10, 500, 40, fileName, report));
    s.taps.gap = std::chrono::milliseconds(
        NumberSetting(doc, "sequential", "gap", 10, 1000, 60, fileName, report));

    const std::string rumble = std::string(TrimBlanks(doc.Get("feel", "rumble").value_or("")));
    const bool on = EqualsNoCase(rumble, "on");
    if (!on && !rumble.empty() && !EqualsNoCase(rumble, "off")) {
        report.push_back(fileName + ": [feel] rumble=" + rumble + " is not on or off; using off");
    }
    const int strength = NumberSetting(doc, "feel", "strength", 1, 100, 60, fileName, report);
    s.rumbleStrength = on ? strength : 0;
}

}  // namespace vantrel
