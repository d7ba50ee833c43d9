// Raw whole-file reading and writing, retrying interrupted and short
// transfers; the crash-safe replacement of a file.
#include "platform/file_bytes.hpp"

#include <filesystem>
#include <system_error>

#include "platform/files.hpp"
#include "platform/native_file.hpp"
#include "platform/paths.hpp"

bool ReadFileBytes(const Text& path, std::string& out, size_t maxBytes) {
    out.clear();
    if (path.empty()) return false;
    // A FIFO or device under a file name must not stall the program on open;
    // it is refused as no plain file.
    const int fd = OpenFileToRead(path);
    if (fd < 0) return false;
    uint64_t size = 0;
    if (!PlainFileSize(fd, size) || size > maxBytes) {
        CloseFile(fd);
        return false;
    }
    out.reserve(static_cast<size_t>(size));
    char buffer[64 * 1024];
    bool ok = true;
    for (;;) {
        const long n = ReadFromFile(fd, buffer, sizeof buffer);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        // The file may have grown since it was measured; the limit still holds.
        if (out.size() + static_cast<size_t>(n) > maxBytes) {
            ok = false;
            break;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
    CloseFile(fd);
    if (!ok) out.clear();
    return ok;
}

bool WriteFileBytes(const Text& path, std::string_view bytes) {
    const int fd = OpenFileToWrite(path);
    if (fd < 0) return false;
    bool ok = WriteToFile(fd, bytes.data(), bytes.size());
    if (!CloseFile(fd)) ok = false;
    return ok;
}

bool ReplaceFileBytes(const Text& path, std::string_view bytes, bool durable) {
    if (path.empty()) return false;
    // Only a plain file is replaced: a rename would put a file in the place
    // of a device or a folder.
    std::error_code error;
    const auto status = std::filesystem::status(NativePath(path), error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) return false;
    const Text beside = path + kReplacementSuffix;
    // A leftover of an interrupted save (or a link planted there) goes first:
    // the new bytes must land in a fresh file of our own.
    if (!DeleteFileAt(beside)) return false;
    if (!WriteFileBytes(beside, bytes) || (durable && !FlushFileContent(beside)) || !RenameFileOver(beside, path)) {
        DeleteFileAt(beside);
        return false;
    }
    // The rename itself lives in the folder: until the folder is on the disk,
    // a power cut can bring the old file back.
    return !durable || FlushFolderOf(path);
}
