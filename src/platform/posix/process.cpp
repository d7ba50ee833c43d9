// Child processes through posix_spawnp: arguments go to the program exactly
// as given, since class names and subjects end up in them.
#include "platform/process.hpp"
#include "platform/posix/process.hpp"
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include "platform/session_time.hpp"
#include "platform/end_signals.hpp"

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

// Nobody answers a requester during a shutdown: once the program is asked
// to end, the child it waits for is asked to end too.
void EndChildWhenEnding(pid_t pid, bool& sent) {
    if (sent || !EndSignalled()) return;
    kill(pid, SIGTERM);
    sent = true;
}

// Sleeps until the child may have ended or, before it was asked to end, an
// end signal came; 50 ms at most where there is no process descriptor, and
// after the request to end. Returns how long it may have slept.
int AwaitChildOrEndSignal(int pidDescriptor, bool sent) {
    pollfd watched[2] = {{pidDescriptor, POLLIN, 0}, {sent ? -1 : EndSignalDescriptor(), POLLIN, 0}};
    const int timeout = pidDescriptor >= 0 && !sent ? -1 : 50;
    return poll(watched, 2, timeout) == 0 ? timeout : 0;
}

int WaitForExitCode(pid_t pid) {
    // Readable once the child has ended; -1 on kernels without it.
    const int pidDescriptor = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    int status = 0;
    bool sent = false;
    int waitedAfterRequest = 0;
    int code = -1;
    for (;;) {
        EndChildWhenEnding(pid, sent);
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (ended < 0 && errno != EINTR) break;
        const int slept = AwaitChildOrEndSignal(pidDescriptor, sent);
        // A child that ignores the request for a second is not waited for longer.
        if (sent && (waitedAfterRequest += std::max(slept, 1)) >= 1000) kill(pid, SIGKILL);
    }
    if (pidDescriptor >= 0) close(pidDescriptor);
    NoteExternalWaitEnded();  // the lock counts the time spent in the child
    return code;
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

namespace {

// Starts argv with its standard output into a new pipe (standard error to
// /dev/null when `quiet`); on success `readEnd` is the pipe's end to read.
int SpawnIntoPipe(const std::vector<Text>& argv, bool quiet, pid_t& pid, int& readEnd) {
    int fds[2];
    // Close-on-exec keeps the read end out of the child; dup2 clears the flag on its stdout.
    if (pipe2(fds, O_CLOEXEC) != 0) return errno;
    posix_spawn_file_actions_t actions;
    int error = posix_spawn_file_actions_init(&actions);
    if (!error) error = posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (!error && quiet) error = posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (!error) error = Spawn(argv, &actions, 0, pid);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (error) {
        close(fds[0]);
        return error;
    }
    readEnd = fds[0];
    return 0;
}

}  // namespace

int RunAndCapture(const std::vector<Text>& argv, std::string& stdoutBytes) {
    stdoutBytes.clear();
    ReapDetached();
    pid_t pid = 0;
    int readEnd = -1;
    if (const int error = SpawnIntoPipe(argv, false, pid, readEnd)) return error;
    char buffer[4096];
    bool sent = false;
    for (;;) {
        // Ending: the answer is not wanted any more.
        EndChildWhenEnding(pid, sent);
        if (sent) break;
        pollfd watched[2] = {{readEnd, POLLIN, 0}, {EndSignalDescriptor(), POLLIN, 0}};
        if (poll(watched, 2, -1) < 0 && errno != EINTR) break;
        if (!(watched[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        ssize_t got = read(readEnd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        // Past the limit the pipe is still drained so that the child can finish.
        size_t keep = std::min(static_cast<size_t>(got), kCaptureLimit - std::min(kCaptureLimit, stdoutBytes.size()));
        try {
            stdoutBytes.append(buffer, keep);
        } catch (...) {
        }
    }
    close(readEnd);
    if (sent) stdoutBytes.clear();
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

ChildWithOutput StartWithOutput(const std::vector<Text>& argv) {
    ChildWithOutput child;
    pid_t pid = 0;
    int readEnd = -1;
    if (SpawnIntoPipe(argv, true, pid, readEnd) != 0) return child;
    // Only the reading end: the child writes as usual.
    fcntl(readEnd, F_SETFL, O_NONBLOCK);
    child.pid = pid;
    child.output = readEnd;
    return child;
}
