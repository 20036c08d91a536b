#pragma once
// The vantrel program built on the host, started inside the test machine as a player would start
// it: its own settings file, no display (Qt's offscreen platform), optionally as an ordinary user.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::testing {

struct VantrelStart {
    std::string settings;  // the text of its config.ini
    std::vector<std::string> arguments;
    std::optional<uid_t> user;  // run as this user (with its primary group), else as root
};

class VantrelProcess {
  public:
    explicit VantrelProcess(const VantrelStart& start);
    // As root, with no more arguments than its settings file.
    explicit VantrelProcess(const std::string& settings)
        : VantrelProcess(VantrelStart{settings, {}, {}}) {}
    // Ends it (SIGTERM, then SIGKILL) if it still runs.
    ~VantrelProcess();
    VantrelProcess(const VantrelProcess&) = delete;
    VantrelProcess& operator=(const VantrelProcess&) = delete;

    void Signal(int signal);
    // Its exit status (or 128 + the signal that ended it); nothing if it still runs after `wait`.
    std::optional<int> WaitForEnd(std::chrono::milliseconds wait);
    bool running();
    // What it printed so far (stdout and stderr together).
    std::string Output() const;
    const std::filesystem::path& settingsFile() const { return settingsFile_; }
    pid_t pid() const { return pid_; }
    // Whether it listens for devices coming and going (a udev monitor socket), within `wait`.
    bool ListensForHotplug(std::chrono::milliseconds wait);
    // Whether it has `node` open (a controller in use is held open), within `wait`.
    bool HoldsOpen(const std::string& node, std::chrono::milliseconds wait);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::filesystem::path home_;
    std::filesystem::path settingsFile_;
    std::filesystem::path outputFile_;
};

}  // namespace vantrel::testing
