#include "settings/load_settings.h"

#include "settings/boundary_value.h"
#include "settings/ini_file.h"

namespace vantrel {
namespace {

std::string& KeyVariable(MainState& s, int index) {
    std::string* keys[9] = {&s.key1, &s.key2, &s.key3, &s.key4, &s.key5,
                            &s.key6, &s.key7, &s.key8, &s.keyr};
    return *keys[index];
}

std::string GearName(int index) {
    return index == 8 ? std::string("reverse") : "gear " + std::to_string(index + 1);
}

}  // namespace

int16_t& BoundaryVariable(MainState& s, std::string_view key) {
    if (key == "g12r") return s.gear12r;
    if (key == "g34l") return s.gear34l;
    if (key == "g34r") return s.gear34r;
    if (key == "g56l") return s.gear56l;
    if (key == "g56r") return s.gear56r;
    if (key == "g78l") return s.gear78l;
    if (key == "gtop") return s.geartop;
    return s.gearbot;
}

std::vector<std::string> LoadSettings(MainState& s, const std::filesystem::path& file,
                                      const KeyNameCheck& isKnownKeyName, OutputMode* mode) {
    std::vector<std::string> report;
    const std::string name = file.filename().string();
    const IniReadResult read = ReadIniFile(file);
    if (!read.error.empty()) {
        report.push_back(name + ": cannot be read (" + read.error + "); using the defaults. " +
                         "Check " + file.string() + ".");
    }
    const IniDocument& doc = read.document;

    for (int i = 0; i < 9; ++i) {
        const SettingDefault& d = kKeyDefaults[i];
        std::string& variable = KeyVariable(s, i);
        variable = doc.Get("keyconfig", d.key).value_or(d.value);
        if (!variable.empty() && isKnownKeyName && !isKnownKeyName(variable)) {
            report.push_back(name + ": [keyconfig] " + d.key + "=" + variable +
                             " is not a key name Vantrel knows; " + GearName(i) +
                             " will send no key. Pick a key in Config.");
        }
    }

    for (const SettingDefault& d : kFieldDefaults) {
        const std::string text = doc.Get("fields", d.key).value_or(d.value);
        int16_t& variable = BoundaryVariable(s, d.key);
        if (const auto value = ParseBoundary(text)) {
            variable = *value;
        } else {
            variable = *ParseBoundary(d.value);
            report.push_back(name + ": [fields] " + d.key + "=" + text +
                             " is not a whole number from -32768 to 32767; using " + d.value);
        }
    }

    if (mode) {
        const std::string text = doc.Get("output", "mode").value_or("");
        const std::optional<OutputMode> value = ParseOutputMode(text);
        *mode = value.value_or(OutputMode::Keys);
        if (!value) {
            report.push_back(name + ": [output] mode=" + text +
                             " is not keys, shifter or both; using keys");
        }
    }
    for (const auto& [key, variable] :
         {std::pair{"range", &s.range}, std::pair{"splitter", &s.splitter}}) {
        const std::string text = doc.Get("output", key).value_or("");
        const std::optional<int16_t> value = ParseButtonNumber(text);
        *variable = value.value_or(0);
        if (!value) {
            report.push_back(name + ": [output] " + key + "=" + text +
                             " is not a controller button from 1 to 32 (0 or empty for none); "
                             "using 0");
        }
    }
    return report;
}

}  // namespace vantrel
