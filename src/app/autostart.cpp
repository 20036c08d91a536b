#include "app/autostart.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "settings/config_path.h"

namespace vantrel {
namespace {

// Characters that make an Exec argument need quotes, and those escaped inside the quotes.
constexpr std::string_view kReserved = " \t\n\r\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

bool Writable(std::ofstream& out, const std::string& text) {
    out << text;
    out.close();
    return !out.fail();
}

AutostartOutcome Failed(const std::string& what, const std::filesystem::path& file,
                        const std::error_code& ec) {
    return {1,
            {},
            "vantrel: could not " + what + " " + file.string() +
                (ec ? " (" + ec.message() + ")" : std::string()) + ". Check that the folder " +
                file.parent_path().string() + " is yours and can be written, then try again.\n"};
}

std::string Entry(const std::string& program, const std::filesystem::path& configFile) {
    std::string exec = ExecArgument(program) + " --minimized";
    if (!configFile.empty()) exec += " --config " + ExecArgument(configFile.string());
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Vantrel\n"
           "Comment=Starts Vantrel hidden in the tray at login\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=vantrel\n"
           "Terminal=false\n";
}

}  // namespace

std::filesystem::path AutostartEntryFile() {
    return UserConfigFolder() / "autostart" / "vantrel.desktop";
}

std::string ExecArgument(std::string_view argument) {
    std::string arg;
    for (const char c : argument) arg += c == '%' ? std::string("%%") : std::string(1, c);
    if (!arg.empty() && arg.find_first_of(kReserved) == std::string::npos) {
        return arg;  // no reserved character: no quotes, and nothing to escape
    }
    std::string quoted = "\"";
    for (const char c : arg) {
        if (kEscapedInQuotes.find(c) != std::string_view::npos) quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // The key is a string value: its own escapes are undone before the quoting is.
    std::string value;
    for (const char c : quoted) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string ProgramForAutostart() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "vantrel";
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (folder.empty() || folder[0] != '/') continue;  // a login session has another cwd
        const std::filesystem::path candidate = std::filesystem::path(folder) / "vantrel";
        if (::access(candidate.c_str(), X_OK) != 0) continue;
        // The first one on PATH is the one a login would start.
        if (std::filesystem::equivalent(candidate, self, ec)) return "vantrel";
        break;
    }
    return self.string();
}

AutostartOutcome SetAutostart(bool on, const std::string& program,
                              const std::filesystem::path& configFile) {
    const std::filesystem::path file = AutostartEntryFile();
    std::error_code ec;
    if (!on) {
        if (!std::filesystem::remove(file, ec)) {
            if (ec) return Failed("remove", file, ec);
            return {0,
                    "Vantrel was not set to start at login (" + file.string() +
                        " does not exist): nothing to remove.\n",
                    {}};
        }
        return {0, "Vantrel no longer starts at login: removed " + file.string() + ".\n", {}};
    }
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) return Failed("create the folder of", file, ec);
    // Written beside it and renamed: a login never finds half an entry.
    const std::filesystem::path temporary = file.string() + ".new";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out || !Writable(out, Entry(program, configFile))) {
        std::filesystem::remove(temporary, ec);
        return Failed("write", file, {});
    }
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return Failed("write", file, ec);
    }
    std::string said = "Vantrel will start hidden in the tray at every login";
    if (!configFile.empty()) said += ", with the settings file " + configFile.string();
    return {0, said + ": wrote " + file.string() + ".\n", {}};
}

}  // namespace vantrel
