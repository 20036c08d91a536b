#include "tools/replay/replay.h"

#include <cctype>
#include <charconv>
#include <istream>
#include <ostream>

#include "engine/poll_cycle.h"
#include "engine/sequential_taps.h"
#include "output/silent_key_output.h"
#include "settings/config_path.h"
#include "settings/load_settings.h"
#include "tools/replay/gear_summary.h"
#include "tools/replay/replay_services.h"
#include "tools/replay/script.h"

namespace vantrel::replay {
namespace {

std::string ParseAxes(std::string_view list, std::array<bool, kAxisSlots>& found) {
    found = {};
    if (list == "none") return {};
    while (!list.empty()) {
        const size_t comma = list.find(',');
        std::string axis(list.substr(0, comma));
        for (char& c : axis) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        static const char* kNames[] = {"X", "Y", "Z", "RX", "RY", "RZ"};
        bool known = false;
        for (int i = 0; i < 6; ++i) {
            if (axis == kNames[i]) {
                found[static_cast<size_t>(i)] = true;
                known = true;
            }
        }
        if (axis == "SLIDER") {  // one slider fills both slots, as a controller's slider does
            found[static_cast<size_t>(AxisSlot::Slider0)] = true;
            found[static_cast<size_t>(AxisSlot::Slider1)] = true;
            known = true;
        }
        if (!known) {
            return "--axes: unknown axis '" + axis +
                   "' (use X,Y,Z,RX,RY,RZ,SLIDER separated by commas, or none)";
        }
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return {};
}

}  // namespace

std::string ParseOptions(int argc, char** argv, Options& options, bool& wantsHelp) {
    options.config = SettingsFilePath();
    ParseAxes("X,Y", options.hasAxis);
    wantsHelp = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        const bool takesValue =
            arg == "--config" || arg == "--axes" || arg == "--buttons" || arg == "--output";
        if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        } else if (takesValue) {
            if (i + 1 >= argc) return arg + " needs a value";
            value = argv[++i];
        }
        if (arg == "--config") {
            options.config = value;
        } else if (arg == "--axes") {
            if (std::string e = ParseAxes(value, options.hasAxis); !e.empty()) return e;
        } else if (arg == "--buttons") {
            int32_t n = -1;
            const auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (ec != std::errc() || p != value.data() + value.size() || n < 0) {
                return "--buttons needs a whole number from 0 up, not '" + value + "'";
            }
            options.buttons = n;
        } else if (arg == "--output") {
            options.output = ParseOutputMode(value);
            if (!options.output || value.empty()) {
                return "--output takes keys, shifter, both or sequential, not '" + value + "'";
            }
        } else if (arg == "--summary") {
            options.summary = true;
        } else if (arg == "--help" || arg == "-h") {
            wantsHelp = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            return "unknown option '" + std::string(argv[i]) + "'";
        }
    }
    return {};
}

int RunReplay(const Options& options, std::istream& script, std::ostream& out, std::ostream& err) {
    std::optional<GearSummary> summary;
    // In summary mode stdout carries only the gear changes; the settings report and the error
    // still reach the user, on stderr.
    const EffectSink effect = [&](const std::string& line) {
        if (!options.summary) {
            out << line << '\n';
        } else if (line.starts_with("send ")) {
            summary->OnSend(std::string_view(line).substr(5));
        } else if (line.starts_with("shifter ")) {
            summary->OnShifter(std::string_view(line).substr(8));
        } else if (line.starts_with("error ") || line.starts_with("warning ")) {
            err << line << '\n';
        }
    };

    ShiftState s;
    ControllerSlot slot;
    auto controller = std::make_unique<ScriptedController>(effect);
    ScriptedController& scripted = *controller;
    scripted.buttons = options.buttons;
    slot.controller = std::move(controller);
    slot.buttons = options.buttons;
    slot.hasAxis = options.hasAxis;
    ReplayView view(effect);

    // The mode is read at start only, as the program does: it decides which outputs exist.
    OutputMode fileMode = OutputMode::Keys;
    const auto load = [&](OutputMode* mode) {
        for (const std::string& line : LoadSettings(s, options.config, mode)) {
            effect("warning " + line);
        }
    };
    load(&fileMode);
    const OutputMode mode = options.output.value_or(fileMode);
    const bool gearKeys = mode == OutputMode::Keys || mode == OutputMode::Both;
    const bool withShifter = mode == OutputMode::Shifter || mode == OutputMode::Both;
    ReplayKeyOutput replayKeys(effect);
    SilentKeyOutput noKeys;
    ReplayShifter replayShifter(effect);
    ImmediateAlarm alarm;
    SequentialTaps taps(replayKeys, alarm);
    PassOutputs outputs{.keys = gearKeys ? static_cast<KeyOutput*>(&replayKeys) : &noKeys,
                        .shifter = withShifter ? &replayShifter : nullptr};
    if (mode == OutputMode::Sequential) {
        outputs.taps = &taps;
        taps.Reset(s.taps);
        summary.emplace(GearSummary::ForTaps(s.taps.up.name, s.taps.down.name));
    } else {
        summary.emplace(gearKeys, withShifter);
    }

    std::string line;
    int lineNumber = 0;
    int cycle = 0;
    while (std::getline(script, line)) {
        ++lineNumber;
        const ParsedLine parsed = ParseScriptLine(line);
        if (!parsed.error.empty()) {
            out.flush();
            err << "vantrel-replay: line " << lineNumber << ": " << parsed.error << '\n';
            return 2;
        }
        bool runsCycle = false;
        if (const auto* st = std::get_if<StateCommand>(&parsed.command)) {
            scripted.SetNextReport(st->report);
            runsCycle = true;
        } else if (const auto* f = std::get_if<FailCommand>(&parsed.command)) {
            scripted.FailNextRead(f->result);
            runsCycle = true;
        } else if (const auto* fs = std::get_if<FailSendCommand>(&parsed.command)) {
            replayKeys.FailOnCall(fs->n);
        } else if (std::holds_alternative<ReloadCommand>(parsed.command)) {
            load(nullptr);
            // The game's gear counts from neutral again, as in the program.
            if (outputs.taps) taps.Reset(s.taps);
        }
        if (!runsCycle) continue;

        ++cycle;
        const CycleEnd end = RunPollCycle(s, slot, outputs, view);
        if (end == CycleEnd::Failed) return 1;
        if (options.summary) {
            if (auto change = summary->EndCycle(cycle)) out << *change << '\n';
        }
    }
    return 0;
}

}  // namespace vantrel::replay
