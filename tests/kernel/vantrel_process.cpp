#include "kernel/vantrel_process.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace vantrel::testing {
namespace fs = std::filesystem;

namespace {

int runs = 0;

void ChownTree(const fs::path& top, uid_t uid, gid_t gid) {
    if (::chown(top.c_str(), uid, gid) != 0) throw std::runtime_error("chown " + top.string());
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        if (::chown(entry.path().c_str(), uid, gid) != 0)
            throw std::runtime_error("chown " + entry.path().string());
    }
}

}  // namespace

VantrelProcess::VantrelProcess(const VantrelStart& start) {
    // A home of its own for every run: settings, runtime folder (its one-instance lock) and caches.
    home_ = fs::path("/run/vantrel-home") / std::to_string(++runs);
    fs::remove_all(home_);
    fs::create_directories(home_ / "runtime");
    fs::permissions(home_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    settingsFile_ = home_ / "config.ini";
    std::ofstream(settingsFile_) << start.settings;
    outputFile_ = home_ / "output.txt";
    gid_t gid = 0;
    if (start.user) {
        const passwd* account = ::getpwuid(*start.user);
        if (account == nullptr) throw std::runtime_error("no such user");
        gid = account->pw_gid;
        ChownTree(home_, *start.user, gid);
    }

    std::vector<std::string> argv{VANTREL_PROGRAM, "--config", settingsFile_.string()};
    argv.insert(argv.end(), start.arguments.begin(), start.arguments.end());
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        const int out = ::open(outputFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(out, 2);
        if (start.user) {
            if (::setgroups(1, &gid) != 0 || ::setgid(gid) != 0 || ::setuid(*start.user) != 0)
                ::_exit(126);
        }
        ::setenv("HOME", home_.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (home_ / "runtime").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (home_ / "cache").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
}

VantrelProcess::~VantrelProcess() {
    if (!running()) return;
    Signal(SIGTERM);
    if (!WaitForEnd(std::chrono::seconds(10))) {
        Signal(SIGKILL);
        WaitForEnd(std::chrono::seconds(10));
    }
}

void VantrelProcess::Signal(int signal) {
    if (pid_ > 0 && !status_) ::kill(pid_, signal);
}

bool VantrelProcess::running() { return !WaitForEnd(std::chrono::milliseconds(0)); }

std::optional<int> VantrelProcess::WaitForEnd(std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    while (!status_) {
        int raw = 0;
        const pid_t got = ::waitpid(pid_, &raw, WNOHANG);
        if (got == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            break;
        }
        if (std::chrono::steady_clock::now() >= end) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_;
}

bool VantrelProcess::ListensForHotplug(std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    const fs::path fds = fs::path("/proc") / std::to_string(pid_) / "fd";
    do {
        // Kernel device events arrive on NETLINK_KOBJECT_UEVENT (15) sockets.
        std::set<std::string> uevents;
        std::ifstream netlink("/proc/net/netlink");
        std::string line;
        std::getline(netlink, line);
        while (std::getline(netlink, line)) {
            std::istringstream fields(line);
            std::string column[10];
            for (std::string& c : column) fields >> c;
            if (column[1] == "15") uevents.insert("socket:[" + column[9] + "]");
        }
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fds, ec)) {
            if (uevents.count(fs::read_symlink(entry.path(), ec).string()) != 0) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

bool VantrelProcess::HoldsOpen(const std::string& node, std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    const fs::path fds = fs::path("/proc") / std::to_string(pid_) / "fd";
    do {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fds, ec)) {
            if (fs::read_symlink(entry.path(), ec) == node) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

std::string VantrelProcess::Output() const {
    std::ifstream in(outputFile_);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace vantrel::testing
