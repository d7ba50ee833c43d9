// Raw whole-file reading and writing with POSIX calls, retrying interrupted
// and short transfers; the crash-safe replacement of a file.
#include "platform/file_bytes.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.hpp"
#include "platform/paths.hpp"

bool ReadFileBytes(const Text& path, std::string& out, size_t maxBytes) {
    out.clear();
    if (path.empty()) return false;
    // Non-blocking: a FIFO or device under a file name must not stall the
    // program on open; it is refused below as no plain file.
    const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return false;
    }
    out.reserve(static_cast<size_t>(st.st_size));
    char buffer[64 * 1024];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        // The file may have grown since fstat; the limit still holds.
        if (out.size() + static_cast<size_t>(n) > maxBytes) {
            ok = false;
            break;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!ok) out.clear();
    return ok;
}

namespace {
// Writes into a file opened with the flags: private (0600) whatever the umask,
// a file of another mode narrowed, and never through a symbolic link.
bool WriteOpened(const Text& path, std::string_view bytes, int flags) {
    if (path.empty()) return false;
    const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | flags, 0600);
    if (fd < 0) return false;
    // Narrowing is best effort: a stick's FAT file system knows no modes.
    ::fchmod(fd, 0600);
    bool ok = true;
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::close(fd) != 0) ok = false;
    return ok;
}
}  // namespace

bool WriteFileBytes(const Text& path, std::string_view bytes) { return WriteOpened(path, bytes, O_TRUNC); }

bool ReplaceFileBytes(const Text& path, std::string_view bytes, bool durable) {
    if (path.empty()) return false;
    // Only a plain file is replaced: a rename would put a file in the place
    // of a device or a folder.
    struct stat st {};
    if (::stat(NativePath(path).c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return false;
    const Text beside = path + kReplacementSuffix;
    // A leftover of an interrupted save (or a link planted there) goes first:
    // the new bytes must land in a fresh file of our own.
    if (!DeleteFileAt(beside)) return false;
    // Made exclusively: a file or link appearing there meanwhile is not written through.
    if (!WriteOpened(beside, bytes, O_EXCL) || (durable && !FlushFileContent(beside)) || !RenameFileOver(beside, path)) {
        DeleteFileAt(beside);
        return false;
    }
    // The rename itself lives in the folder: until the folder is on the disk,
    // a power cut can bring the old file back.
    return !durable || FlushFolderOf(path);
}
