// The run-long lock with LockFileEx: another process (or another handle on
// the file) is refused with ERROR_LOCK_VIOLATION, and the system frees it when
// the process ends. The handle is not inherited, so a spreadsheet program
// started from here never holds the lock.
#include "platform/program_lock.hpp"

#include <map>

#include "platform/windows/wide.hpp"

LockResult LockFileForRun(const Text& path) {
    static std::map<std::wstring, HANDLE> held;
    const std::wstring native = WidePath(path);
    if (held.count(native)) return LockResult::Held;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileW(native.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    // A folder one may read but not write still shares an existing lock file.
    if (file == INVALID_HANDLE_VALUE)
        file = CreateFileW(native.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LockResult::Unavailable;
    OVERLAPPED at{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        return error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION ? LockResult::HeldByOther
                                                                                  : LockResult::Unavailable;
    }
    held[native] = file;  // kept open until the process ends
    return LockResult::Held;
}
