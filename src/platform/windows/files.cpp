// Files and folders through the wide-character API, so that class names
// with umlauts and "ß" reach the disk as they are.
#include "platform/files.hpp"

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/datetime.hpp"
#include "platform/native_file.hpp"
#include "platform/paths.hpp"
#include "platform/resources.hpp"
#include "platform/windows/wide.hpp"

namespace fs = std::filesystem;

struct FolderListing {
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data{};
    bool first = true;
    bool failed = false;  // the listing broke off with an error
    ~FolderListing() { Close(); }
    void Close() {
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        find = INVALID_HANDLE_VALUE;
    }
};

namespace {

// Without trailing separators, except a root such as "C:\".
std::wstring Trimmed(const Text& path) {
    std::wstring out = WidePath(path);
    while (out.size() > 1 && out.back() == L'\\' && !(out.size() == 3 && out[1] == L':')) out.pop_back();
    return out;
}

Text FromFsPath(const fs::path& path) {
    Text out = FromWide(path.wstring());
    return NormalisePath(out);
}

bool FlushHandleOf(const std::wstring& path) {
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && FlushFileBuffers(file.handle);
}

}  // namespace

int PathKind(const Text& path) {
    if (path.empty()) return 0;
    const DWORD attributes = GetFileAttributesW(Trimmed(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 2 : 1;
}

bool CreateFolder(const Text& path, bool recursive) {
    if (path.empty()) return false;
    const fs::path native(Trimmed(path));
    std::error_code ec;
    if (recursive)
        fs::create_directories(native, ec);
    else
        fs::create_directory(native, ec);
    return PathKind(path) == 2;
}

bool DeleteFileAt(const Text& path) {
    if (path.empty()) return true;
    const std::wstring native = WidePath(path);
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    // A read-only file is still the program's own copy.
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(native.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    DeleteFileW(native.c_str());
    return GetFileAttributesW(native.c_str()) == INVALID_FILE_ATTRIBUTES;
}

Text CreateProbeFile(const Text& folder) {
    const Text base = JoinPath(folder, u".Kladdorix-Schreibprobe-");
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const Text path = base + TextFromUtf8(std::to_string(GetCurrentProcessId()) + "-" + std::to_string(now) +
                                              "-" + std::to_string(attempt));
        HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return path;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return u"";
    }
    return u"";
}

bool CopyFileTo(const Text& src, const Text& dst) {
    if (dst.empty()) return false;
    std::vector<unsigned char> bytes;
    if (!IsEmbeddedSource(src)) {
        // Copying a file onto itself would truncate it before reading.
        std::error_code ec;
        if (fs::equivalent(fs::path(WidePath(src)), fs::path(WidePath(dst)), ec)) return true;
    }
    if (!ReadSourceBytes(src, bytes)) return false;
    const int fd = OpenFileToWrite(dst);
    if (fd < 0) return false;
    bool ok = WriteToFile(fd, bytes.data(), bytes.size());
    if (!CloseFile(fd)) ok = false;
    return ok;
}

bool RenameFileOver(const Text& from, const Text& to) {
    if (from.empty() || to.empty()) return false;
    // Write-through: the call returns only when the new folder entry is on the disk.
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FlushFileToDisk(const Text& path) { return FlushFileContent(path) && FlushFolderOf(path); }

bool FlushFileContent(const Text& path) { return !path.empty() && FlushHandleOf(WidePath(path)); }

// Windows has no flush of a folder; the renames that must survive a power cut
// go through MoveFileExW with MOVEFILE_WRITE_THROUGH instead.
bool FlushFolderOf(const Text& path) { return !path.empty(); }

Text CanonicalPath(const Text& path) {
    if (path.empty()) return u"";
    std::error_code ec;
    const fs::path canonical = fs::canonical(fs::path(WidePath(path)), ec);
    return ec ? Text() : FromFsPath(canonical);
}

bool FileModifiedTime(const Text& path, Text& date, Text& time) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    FILETIME local{};
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t)) return false;
    date = FormatDateText(t.wYear, t.wMonth, t.wDay);
    time = FormatTimeText(t.wHour, t.wMinute, t.wSecond);
    return true;
}

bool FileStampOf(const Text& path, FileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    stamp.size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.modified = int64_t((uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime);
    // The file number needs the file opened; size and 100 ns times tell enough.
    stamp.number = 0;
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
    if (listing->failed) {
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
    if (path.empty() || PathKind(path) != 2) return nullptr;
    std::wstring pattern = Trimmed(path);
    if (pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    auto listing = std::make_shared<FolderListing>();
    listing->find = FindFirstFileW(pattern.c_str(), &listing->data);
    if (listing->find == INVALID_HANDLE_VALUE) return nullptr;
    return listing;
}

Text NextFolderEntry(const TFolderListing& listing) {
    if (!listing || listing->find == INVALID_HANDLE_VALUE) return Text();
    if (listing->first) {
        listing->first = false;
    } else if (!FindNextFileW(listing->find, &listing->data)) {
        listing->failed = GetLastError() != ERROR_NO_MORE_FILES;
        listing->Close();
        return Text();
    }
    return FromWide(listing->data.cFileName);
}

void CloseFolderListing(const TFolderListing& listing) {
    if (listing) listing->Close();
}

namespace {
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

// The user's own temporary folder is closed to other users already; a new
// folder of this run below it.
Text PrivateFolder(const Text& name) {
    Text& folder = Marked().privateFolder;
    if (!folder.empty() && PathKind(folder) == 2) return folder;
    folder.clear();
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return Text();
    const Text base = NormalisePath(FromWide(temp)) + PrivateFolderName(name) + u"-";
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const Text path = base + TextFromUtf8(std::to_string(GetCurrentProcessId()) + "-" +
                                              std::to_string((now >> 8) + attempt));
        if (CreateDirectoryW(WidePath(path).c_str(), nullptr)) return folder = path;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return Text();
    }
    return Text();
}

void DeleteAtExit(const Text& path) { Marked().paths.push_back(path); }

void DeleteMarkedFiles() {
    for (const Text& p : Marked().paths) DeleteFileAt(p);
    Marked().paths.clear();
    if (!Marked().privateFolder.empty()) RemoveDirectoryW(WidePath(Marked().privateFolder).c_str());
}
