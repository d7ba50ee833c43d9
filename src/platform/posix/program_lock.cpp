// The run-long lock with flock: it belongs to the open file, so another
// process (or another open of the file) is refused, and closing or the end of
// the process frees it. The descriptor is closed on exec, so a spreadsheet
// program started from here never inherits the lock. The file is private
// (0600) and never opened through a link: another user who could open it
// could hold the lock and keep the program from starting.
#include "platform/program_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>

#include "platform/paths.hpp"

namespace {
int OpenOwnLockFile(const std::string& native) {
    int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
        ::fchmod(fd, 0600);
        return fd;
    }
    // Someone else's file (or a link) under the name: ours replaces it where
    // the folder lets us.
    if (fd >= 0) ::close(fd);
    if (::lstat(native.c_str(), &st) != 0 || (S_ISREG(st.st_mode) && st.st_uid == ::geteuid())) return -1;
    if (::unlink(native.c_str()) != 0) return -1;
    return ::open(native.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
}
}  // namespace

LockResult LockFileForRun(const Text& path) {
    static std::map<std::string, int> held;
    const std::string native = NativePath(path).string();
    if (held.count(native)) return LockResult::Held;
    int fd = OpenOwnLockFile(native);
    // A folder one may read but not write still shares an existing lock file.
    if (fd < 0) fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return LockResult::Unavailable;
    int r;
    do r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? LockResult::HeldByOther : LockResult::Unavailable;
    }
    held[native] = fd;  // kept open until the process ends
    return LockResult::Held;
}
