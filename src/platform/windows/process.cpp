// Child processes through CreateProcessW with a quoted command line, never
// through cmd.exe: class names and subjects end up in the arguments.
#include "platform/process.hpp"

#include <cerrno>

#include "platform/end_signals.hpp"
#include "platform/windows/end_signals.hpp"
#include "platform/windows/process.hpp"
#include "platform/session_time.hpp"
#include "platform/windows/wide.hpp"

std::wstring QuotedArgument(const Text& argument) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        backslashes = 0;
        out += static_cast<wchar_t>(c);
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

std::wstring CommandLine(const std::vector<Text>& argv) {
    std::wstring line;
    for (size_t i = 0; i < argv.size(); ++i) {
        if (i) line += L' ';
        line += QuotedArgument(argv[i]);
    }
    return line;
}

namespace {

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME: return ENOENT;
        case ERROR_ACCESS_DENIED: return EACCES;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        default: return ENOEXEC;
    }
}

// Starts the program; 0 or an errno value. environment is a wide block or null.
int Start(const std::vector<Text>& argv, const std::wstring* environment, HANDLE standardOutput, DWORD flags,
          PROCESS_INFORMATION& process) {
    if (argv.empty() || argv[0].empty()) return EINVAL;
    std::wstring line = CommandLine(argv);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (standardOutput) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = standardOutput;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    // The program itself is named in the line; the system searches it on PATH.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, standardOutput ? TRUE : FALSE,
                        flags | CREATE_UNICODE_ENVIRONMENT,
                        environment ? const_cast<wchar_t*>(environment->c_str()) : nullptr, nullptr, &startup,
                        &process))
        return ErrnoOf(GetLastError());
    CloseHandle(process.hThread);
    return 0;
}

// Nobody answers a requester during a shutdown: once the program is asked to
// end, the child gets a second to end and is then stopped.
int WaitForExitCode(HANDLE process) {
    HANDLE waits[2] = {process, EndSignalEvent()};
    DWORD result = WaitForMultipleObjects(EndSignalled() ? 1 : 2, waits, FALSE, EndSignalled() ? 1000 : INFINITE);
    if (result == WAIT_OBJECT_0 + 1 || result == WAIT_TIMEOUT) {
        if (WaitForSingleObject(process, 1000) == WAIT_TIMEOUT) TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
    }
    DWORD code = 0;
    const int exitCode = GetExitCodeProcess(process, &code) ? static_cast<int>(code) : -1;
    CloseHandle(process);
    NoteExternalWaitEnded();  // the lock counts the time spent in the child
    return exitCode;
}

}  // namespace

int RunAndWait(const std::vector<Text>& argv) {
    PROCESS_INFORMATION process{};
    const int error = Start(argv, nullptr, nullptr, 0, process);
    return error ? error : WaitForExitCode(process.hProcess);
}

int RunAndWaitWithEnvironment(const std::vector<Text>& argv, const std::vector<std::string>& environment) {
    std::wstring block;
    for (const std::string& entry : environment) block += Wide(TextFromUtf8(entry)) + L'\0';
    block += L'\0';
    PROCESS_INFORMATION process{};
    const int error = Start(argv, &block, nullptr, 0, process);
    return error ? error : WaitForExitCode(process.hProcess);
}

int RunAndCapture(const std::vector<Text>& argv, std::string& stdoutBytes) {
    constexpr size_t kCaptureLimit = 16u << 20;
    stdoutBytes.clear();
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return ENOMEM;
    // Only the child's end is inherited.
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    PROCESS_INFORMATION process{};
    const int error = Start(argv, nullptr, writeEnd, CREATE_NO_WINDOW, process);
    CloseHandle(writeEnd);
    if (error) {
        CloseHandle(readEnd);
        return error;
    }
    char buffer[4096];
    bool ending = false;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) break;  // the child closed it
        if (available == 0) {
            if (EndSignalled()) {
                ending = true;
                break;
            }
            HANDLE waits[2] = {process.hProcess, EndSignalEvent()};
            WaitForMultipleObjects(2, waits, FALSE, 20);
            continue;
        }
        DWORD got = 0;
        if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
        // Past the limit the pipe is still drained so that the child can finish.
        const size_t keep = std::min<size_t>(got, kCaptureLimit - std::min(kCaptureLimit, stdoutBytes.size()));
        try {
            stdoutBytes.append(buffer, keep);
        } catch (...) {
        }
    }
    CloseHandle(readEnd);
    if (ending) stdoutBytes.clear();
    return WaitForExitCode(process.hProcess);
}

bool StartDetached(const std::vector<Text>& argv) {
    PROCESS_INFORMATION process{};
    if (Start(argv, nullptr, nullptr, DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, process) != 0) return false;
    CloseHandle(process.hProcess);
    return true;
}
