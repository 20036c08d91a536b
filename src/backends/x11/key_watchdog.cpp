#include "backends/x11/key_watchdog.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>

#include "backends/x11/key_watchdog_messages.h"
#include "backends/x11/key_watchdog_program.h"

extern char** environ;

namespace vantrel {
namespace {

namespace messages = key_watchdog_messages;

// Its own X connection normally takes a few milliseconds; a loaded machine may take longer.
constexpr std::chrono::milliseconds kAnswerWait{5000};
// How long a press or release waits for a watchdog that reads slower than keys change; one that
// has stopped reading altogether is given up after it.
constexpr timeval kSendWait{0, 250000};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Starts `program` with `theirs` as its socket, in a session of its own: a terminal's Ctrl+C or
// hang-up reaches Vantrel's process group, not the watchdog. It gets no other descriptor of ours
// (a held lock file or controller node would outlive Vantrel) and stdout goes nowhere.
pid_t Spawn(const std::string& program, const std::string& displayName, int theirs,
            std::string& why) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, theirs, messages::kWatchdogSocketFd);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t none, ended;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    // Ignored signals stay ignored across exec (nohup ignores SIGHUP): the watchdog ends the
    // normal way when the session is torn down.
    sigemptyset(&ended);
    for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE}) sigaddset(&ended, sig);
    posix_spawnattr_setsigdefault(&attributes, &ended);

    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(displayName.c_str()),
                    nullptr};
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &files, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (error != 0) {
        why = program + " could not be started: " + std::strerror(error);
        return -1;
    }
    return pid;
}

// The watchdog's one byte at start; nullopt when it ended or did not answer in time.
std::optional<char> AwaitAnswer(int ours) {
    const auto deadline = std::chrono::steady_clock::now() + kAnswerWait;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{ours, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char answer = 0;
        const ssize_t n = read(ours, &answer, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n != 1) return std::nullopt;
        return answer;
    }
}

}  // namespace

std::unique_ptr<KeyWatchdog> KeyWatchdog::Start(const std::string& displayName, std::string& why) {
    const std::optional<std::string> program = FindKeyWatchdogProgram(why);
    if (!program) return nullptr;
    // Close-on-exec: no other child of Vantrel may hold the watchdog's socket open, or it would
    // never see Vantrel die.
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        why = std::string("its socket could not be made: ") + std::strerror(errno);
        return nullptr;
    }
    const pid_t pid = Spawn(*program, displayName, ends[1], why);
    close(ends[1]);
    if (pid < 0) {
        close(ends[0]);
        return nullptr;
    }
    // The process started here only puts the watchdog in the background and ends at once, so the
    // watchdog never waits as a zombie on Vantrel.
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    setsockopt(ends[0], SOL_SOCKET, SO_SNDTIMEO, &kSendWait, sizeof kSendWait);
    std::unique_ptr<KeyWatchdog> watchdog(new KeyWatchdog(ends[0]));
    const std::optional<char> answer = AwaitAnswer(ends[0]);
    if (answer == messages::kReady) return watchdog;
    if (answer == messages::kNoDisplay) {
        why = "it could not connect to the X display " + Quoted(displayName);
    } else if (answer == messages::kNoXTest) {
        why = "the X display " + Quoted(displayName) + " does not offer it the XTEST extension";
    } else if (answer) {
        why = std::string("it gave an unknown answer (") + *answer + ")";
    } else {
        why = *program + " ended at start or did not answer within " +
              std::to_string(kAnswerWait.count() / 1000) + " seconds";
    }
    return nullptr;
}

KeyWatchdog::~KeyWatchdog() { Close(); }

void KeyWatchdog::Pressing(uint8_t keycode) noexcept { TellOrGiveUp(messages::kPressing, keycode); }

void KeyWatchdog::Released(uint8_t keycode) noexcept { TellOrGiveUp(messages::kReleased, keycode); }

void KeyWatchdog::SayGoodbye() noexcept {
    if (!silent_) Tell(messages::kGoodbye, 0);
    Close();
}

bool KeyWatchdog::Tell(char what, uint8_t keycode) noexcept {
    if (socket_ < 0) return false;
    const char message[messages::kMessageSize] = {what, static_cast<char>(keycode)};
    size_t sent = 0;
    while (sent < sizeof message) {
        // MSG_NOSIGNAL: a watchdog that died must not take Vantrel with it through SIGPIPE.
        const ssize_t n = send(socket_, message + sent, sizeof message - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            return false;
        }
    }
    return true;
}

void KeyWatchdog::TellOrGiveUp(char what, uint8_t keycode) noexcept {
    if (socket_ < 0 || silent_ || Tell(what, keycode)) return;
    const int error = errno;
    std::fprintf(stderr,
                 "Vantrel: its key watchdog %s. Keys still work, but if Vantrel now crashes or is "
                 "killed, a gear key it holds stays down until you press that key; start Vantrel "
                 "again to have its keys watched.\n",
                 error == EAGAIN ? "stopped reading" : "ended");
    // One that stopped reading keeps its socket open: were it to wake, it would take the closed
    // socket for Vantrel's death and let go of keys Vantrel still holds.
    if (error == EAGAIN) {
        silent_ = true;
    } else {
        Close();
    }
}

void KeyWatchdog::Close() noexcept {
    if (socket_ >= 0) close(socket_);
    socket_ = -1;
}

}  // namespace vantrel
