#include "settings/load_settings.h"

#include "output/key_names.h"
#include "settings/boundary_value.h"
#include "settings/gearbox_settings.h"
#include "settings/ini_file.h"

namespace vantrel {
namespace {

std::string GearName(int index) {
    return index == 8 ? std::string("reverse") : "gear " + std::to_string(index + 1);
}

}  // namespace

int16_t& BoundaryVariable(GateBoundaries& gate, std::string_view key) {
    if (key == "g12r") return gate.leftColumnRight;
    if (key == "g34l") return gate.column34Left;
    if (key == "g34r") return gate.column34Right;
    if (key == "g56l") return gate.column56Left;
    if (key == "g56r") return gate.column56Right;
    if (key == "g78l") return gate.rightColumnLeft;
    if (key == "gtop") return gate.topRowBottom;
    return gate.bottomRowTop;
}

std::vector<std::string> LoadSettings(ShiftState& s, const std::filesystem::path& file,
                                      OutputMode* mode) {
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
        AssignedKey& key = s.gearKeys[static_cast<size_t>(i)];
        key = AssignKey(doc.Get("keyconfig", d.key).value_or(d.value));
        if (!key.name.empty() && key.key == nullptr) {
            report.push_back(name + ": [keyconfig] " + d.key + "=" + key.name +
                             " is not a key name Vantrel knows; " + GearName(i) +
                             " will send no key. Pick a key in Config.");
        }
    }

    for (const SettingDefault& d : kFieldDefaults) {
        const std::string text = doc.Get("fields", d.key).value_or(d.value);
        int16_t& variable = BoundaryVariable(s.gate, d.key);
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
                             " is not keys, shifter, both or sequential; using keys");
        }
    }
    for (const auto& [key, variable] :
         {std::pair{"range", &s.rangeButton}, std::pair{"splitter", &s.splitterButton}}) {
        const std::string text = doc.Get("output", key).value_or("");
        const std::optional<int16_t> value = ParseButtonNumber(text);
        *variable = value.value_or(0);
        if (!value) {
            report.push_back(name + ": [output] " + key + "=" + text +
                             " is not a controller button from 1 to 32 (0 or empty for none); "
                             "using 0");
        }
    }
    LoadGearboxSettings(s, doc, name, report);
    return report;
}

}  // namespace vantrel
