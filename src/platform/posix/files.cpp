// Files and folders on the file system: kinds, creation, deletion, copying,
// renaming, flushing, change times and folder listings.
#include "platform/files.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "platform/datetime.hpp"
#include "platform/paths.hpp"
#include "platform/resources.hpp"

namespace fs = std::filesystem;

struct FolderListing {
    DIR* dir = nullptr;
    ~FolderListing() { Close(); }
    void Close() {
        if (dir) ::closedir(dir);
        dir = nullptr;
    }
};

namespace {

// Removes trailing separators (not a lone root "/"), because some file-system
// calls treat "a/b/" differently from "a/b".
Text WithoutTrailingSeparators(const Text& path) {
    Text out = NormalisePath(path);
    while (out.size() > 1 && out.back() == u'/') out.pop_back();
    return out;
}

bool WriteAll(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool FsyncPath(const std::string& native, int flags) {
    int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    // Some file systems cannot sync a folder; that is no reason to fail a save.
    if (!ok && (flags & O_DIRECTORY) && (errno == EINVAL || errno == EROFS)) ok = true;
    ::close(fd);
    return ok;
}

}  // namespace

int PathKind(const Text& path) {
    if (path.empty()) return 0;
    std::error_code ec;
    fs::file_status status = fs::status(NativePath(WithoutTrailingSeparators(path)), ec);
    if (ec || !fs::exists(status)) return 0;
    return fs::is_directory(status) ? 2 : 1;
}

bool CreateFolder(const Text& path, bool recursive) {
    if (path.empty()) return false;
    fs::path native = NativePath(WithoutTrailingSeparators(path));
    std::error_code ec;
    // Made 0700 whatever the umask; folders that exist keep their mode.
    if (recursive && native.has_parent_path() && !fs::is_directory(native.parent_path(), ec))
        CreateFolder(TextFromUtf8(native.parent_path().string()), true);
    ::mkdir(native.c_str(), 0700);
    ec.clear();
    return fs::is_directory(native, ec);
}

bool DeleteFileAt(const Text& path) {
    if (path.empty()) return true;
    fs::path native = NativePath(path);
    std::error_code ec;
    fs::file_status status = fs::symlink_status(native, ec);
    if (ec || !fs::exists(status)) return true;
    if (fs::is_directory(status)) return false;
    fs::remove(native, ec);
    ec.clear();
    return !fs::exists(fs::symlink_status(native, ec));
}

Text CreateProbeFile(const Text& folder) {
    const Text base = JoinPath(folder, u".Kladdorix-Schreibprobe-");
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const Text path = base + TextFromUtf8(std::to_string(::getpid()) + "-" + std::to_string(now) + "-" +
                                              std::to_string(attempt));
        const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) return u"";
    }
    return u"";
}

bool CopyFileTo(const Text& src, const Text& dst) {
    if (dst.empty()) return false;
    fs::path target = NativePath(dst);
    std::vector<unsigned char> bytes;
    if (!IsEmbeddedSource(src)) {
        // Copying a file onto itself would truncate it before reading.
        std::error_code ec;
        if (fs::equivalent(NativePath(src), target, ec)) return true;
    }
    if (!ReadSourceBytes(src, bytes)) return false;
    int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    ::fchmod(fd, 0600);  // best effort: FAT knows no modes
    bool ok = WriteAll(fd, bytes.data(), bytes.size());
    if (::close(fd) != 0) ok = false;
    return ok;
}

bool RenameFileOver(const Text& from, const Text& to) {
    if (from.empty() || to.empty()) return false;
    std::error_code ec;
    fs::rename(NativePath(from), NativePath(to), ec);
    return !ec;
}

bool FlushFileToDisk(const Text& path) { return FlushFileContent(path) && FlushFolderOf(path); }

bool FlushFileContent(const Text& path) { return !path.empty() && FsyncPath(NativePath(path).string(), 0); }

bool FlushFolderOf(const Text& path) {
    if (path.empty()) return false;
    Text folder = ExtractFolder(NormalisePath(path));
    return FsyncPath(folder.empty() ? std::string(".") : NativePath(folder).string(), O_DIRECTORY);
}

Text CanonicalPath(const Text& path) {
    if (path.empty()) return u"";
    std::error_code ec;
    const fs::path canonical = fs::canonical(NativePath(path), ec);
    return ec ? Text() : TextFromUtf8(canonical.string());
}

bool FileModifiedTime(const Text& path, Text& date, Text& time) {
    struct stat st {};
    if (path.empty() || ::stat(NativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::tm t{};
    const std::time_t when = st.st_mtime;
    if (!localtime_r(&when, &t)) return false;
    date = FormatDateText(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    time = FormatTimeText(t.tm_hour, t.tm_min, t.tm_sec);
    return true;
}

bool FileStampOf(const Text& path, FileStamp& stamp) {
    struct stat st {};
    if (path.empty() || ::stat(NativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    stamp.size = static_cast<uint64_t>(st.st_size);
    stamp.modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.number = static_cast<uint64_t>(st.st_ino);
    return true;
}

bool ListFolderInto(const Text& path, bool skipDots, std::vector<Text>& names) {
    names.clear();
    TFolderListing listing = OpenFolderListing(path);
    if (!listing) return false;
    for (Text name = NextFolderEntry(listing); !name.empty(); name = NextFolderEntry(listing)) {
        if (skipDots && (name == u"." || name == u"..")) continue;
        names.push_back(std::move(name));
    }
    // readdir returns null with errno set when the listing failed midway.
    if (errno != 0) {
        names.clear();
        return false;
    }
    return true;
}

std::vector<Text> ListFolder(const Text& path, bool skipDots) {
    std::vector<Text> names;
    ListFolderInto(path, skipDots, names);
    return names;
}

TFolderListing OpenFolderListing(const Text& path) {
    if (path.empty()) return nullptr;
    DIR* dir = ::opendir(NativePath(path).c_str());
    if (!dir) return nullptr;
    auto listing = std::make_shared<FolderListing>();
    listing->dir = dir;
    return listing;
}

Text NextFolderEntry(const TFolderListing& listing) {
    if (!listing || !listing->dir) return Text();
    errno = 0;
    const dirent* entry = ::readdir(listing->dir);
    if (!entry) return Text();
    return TextFromUtf8(entry->d_name);
}

void CloseFolderListing(const TFolderListing& listing) {
    if (listing) listing->Close();
}

namespace {
bool OwnPrivateFolder(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (::mkdir(path.c_str(), 0700) != 0 || ::lstat(path.c_str(), &st) != 0) return false;
    }
    // Not a link and ours; a wider mode is narrowed.
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return false;
    return (st.st_mode & 0777) == 0700 || ::chmod(path.c_str(), 0700) == 0;
}

struct MarkedFiles {
    std::vector<Text> paths;
    Text privateFolder;  // of this run, once made
    ~MarkedFiles() { DeleteMarkedFiles(); }
};
MarkedFiles& Marked() {
    static MarkedFiles marked;
    return marked;
}
}  // namespace

Text PrivateFolder(const Text& name) {
    Text& folder = Marked().privateFolder;
    if (!folder.empty() && PathKind(folder) == 2) return folder;
    folder.clear();
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        const std::string path = std::string(runtime) + "/" + NativePath(PrivateFolderName(name)).string();
        if (OwnPrivateFolder(path)) return folder = TextFromUtf8(path);
    }
    std::string pattern = "/tmp/" + NativePath(PrivateFolderName(name)).string() + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) return Text();
    return folder = TextFromUtf8(pattern);
}

void DeleteAtExit(const Text& path) { Marked().paths.push_back(path); }

void DeleteMarkedFiles() {
    for (const Text& p : Marked().paths) DeleteFileAt(p);
    Marked().paths.clear();
    // Emptied, the private folder goes too (a mkdtemp one would pile up in
    // /tmp); one still holding files of another run stays.
    if (!Marked().privateFolder.empty()) ::rmdir(NativePath(Marked().privateFolder).c_str());
}
