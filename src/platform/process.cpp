// Child processes through posix_spawnp: arguments go to the program exactly
// as given, since class names and subjects end up in them.
#include "platform/process.hpp"
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

extern char** environ;

namespace {

constexpr size_t kCaptureLimit = 16u << 20;

// UTF-8 copies of the arguments and the NULL-terminated pointer array that
// posix_spawn wants; the strings must outlive the pointers.
struct ArgumentVector {
    std::vector<std::string> strings;
    std::vector<char*> pointers;
    explicit ArgumentVector(const std::vector<Text>& argv) {
        for (const Text& a : argv) strings.push_back(Utf8FromText(a));
        for (std::string& s : strings) pointers.push_back(s.data());
        pointers.push_back(nullptr);
    }
};

// Children of StartDetached not yet reaped.
std::vector<pid_t>& DetachedChildren() {
    static std::vector<pid_t> children;
    return children;
}

void ReapDetached() {
    auto& children = DetachedChildren();
    std::erase_if(children, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

int WaitForExitCode(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Spawns with the given file actions (may be null), spawn flags and
// environment; the errno value on failure. The child gets the default action
// for SIGXFSZ back, which the program itself ignores (an ignored signal
// survives exec).
int Spawn(const std::vector<Text>& argv, const posix_spawn_file_actions_t* actions, short flags, pid_t& pid,
          char* const* environment = environ) {
    if (argv.empty() || argv[0].empty()) return EINVAL;
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return ENOMEM;
    sigset_t standard;
    sigemptyset(&standard);
    sigaddset(&standard, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes, &standard);
    posix_spawnattr_setflags(&attributes, static_cast<short>(flags | POSIX_SPAWN_SETSIGDEF));
    int error;
    try {
        ArgumentVector args(argv);
        error = posix_spawnp(&pid, args.pointers[0], actions, &attributes, args.pointers.data(), environment);
    } catch (...) {
        error = ENOMEM;
    }
    posix_spawnattr_destroy(&attributes);
    return error;
}

}  // namespace

int RunAndWait(const std::vector<Text>& argv) {
    ReapDetached();
    pid_t pid = 0;
    int error = Spawn(argv, nullptr, 0, pid);
    return error ? error : WaitForExitCode(pid);
}

int RunAndWaitWithEnvironment(const std::vector<Text>& argv, const std::vector<std::string>& environment) {
    ReapDetached();
    std::vector<std::string> copies(environment);
    std::vector<char*> pointers;
    for (std::string& entry : copies) pointers.push_back(entry.data());
    pointers.push_back(nullptr);
    pid_t pid = 0;
    int error = Spawn(argv, nullptr, 0, pid, pointers.data());
    return error ? error : WaitForExitCode(pid);
}

int RunAndCapture(const std::vector<Text>& argv, std::string& stdoutBytes) {
    stdoutBytes.clear();
    ReapDetached();
    int fds[2];
    // Close-on-exec keeps the read end out of the child; dup2 clears the flag on its stdout.
    if (pipe2(fds, O_CLOEXEC) != 0) return errno;
    posix_spawn_file_actions_t actions;
    int error = posix_spawn_file_actions_init(&actions);
    if (!error) error = posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    pid_t pid = 0;
    if (!error) error = Spawn(argv, &actions, 0, pid);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (error) {
        close(fds[0]);
        return error;
    }
    char buffer[4096];
    for (;;) {
        ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        // Past the limit the pipe is still drained so that the child can finish.
        size_t keep = std::min(static_cast<size_t>(got), kCaptureLimit - std::min(kCaptureLimit, stdoutBytes.size()));
        try {
            stdoutBytes.append(buffer, keep);
        } catch (...) {
        }
    }
    close(fds[0]);
    return WaitForExitCode(pid);
}

bool StartDetached(const std::vector<Text>& argv) {
    ReapDetached();
    // A session of its own: a Ctrl+C in the program's terminal does not reach it.
    pid_t pid = 0;
    if (Spawn(argv, nullptr, POSIX_SPAWN_SETSID, pid) != 0) return false;
    try {
        DetachedChildren().push_back(pid);
    } catch (...) {
    }
    return true;
}
