// File handles are the C library's descriptors over wide-character names,
// binary and not inherited by started programs.
#include "platform/native_file.hpp"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <climits>

#include "platform/windows/wide.hpp"

int OpenFileToRead(const Text& path) {
    if (path.empty()) return -1;
    return _wopen(WidePath(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int OpenFileToWrite(const Text& path) {
    if (path.empty()) return -1;
    return _wopen(WidePath(path).c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

bool PlainFileSize(int fd, uint64_t& size) {
    struct _stat64 st {};
    if (_fstat64(fd, &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) return false;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

long ReadFromFile(int fd, void* buffer, size_t size) {
    return _read(fd, buffer, static_cast<unsigned>(size > INT_MAX ? INT_MAX : size));
}

bool WriteToFile(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const int n = _write(fd, p, static_cast<unsigned>(size > INT_MAX ? INT_MAX : size));
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool CloseFile(int fd) { return _close(fd) == 0; }
