// The run-long lock with flock: it belongs to the open file, so another
// process (or another open of the file) is refused, and closing or the end of
// the process frees it. The descriptor is closed on exec, so a spreadsheet
// program started from here never inherits the lock.
#include "platform/program_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>

#include "platform/paths.hpp"

LockResult LockFileForRun(const Text& path) {
    static std::map<std::string, int> held;
    const std::string native = NativePath(path).string();
    if (held.count(native)) return LockResult::Held;
    int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A folder one may read but not write still shares an existing lock file.
    if (fd < 0) fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
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
