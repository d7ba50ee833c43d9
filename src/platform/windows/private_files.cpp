// Privacy on Windows: the user's own folders (the profile, its temporary
// folder) already admit only this account and the administrators through
// their ACLs, and files created there inherit that; what is left is to keep
// crash reports from carrying the process's memory away and to find links.
#include "platform/private_files.hpp"

#include <filesystem>
#include <system_error>

#include "platform/files.hpp"
#include "platform/windows/wide.hpp"

namespace {
bool Guarded = false;

DWORD Attributes(const Text& path) { return GetFileAttributesW(WidePath(path).c_str()); }
}  // namespace

void GuardProcess() {
    // No crash dialog and no report with a memory dump handed to the system.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    Guarded = true;
}

bool ProcessGuarded() { return Guarded; }

bool MakePrivate(const Text& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

int MakePrivateBelow(const Text&) { return 0; }

bool IsSymbolicLink(const Text& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

int PermissionBits(const Text& path) {
    const DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES) return -1;
    return (a & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0700 : 0600;
}

bool DeleteFolderTree(const Text& folder) {
    std::error_code e;
    std::filesystem::remove_all(std::filesystem::path(WidePath(folder)), e);
    return Attributes(folder) == INVALID_FILE_ATTRIBUTES;
}

namespace {
// "<process>-<n>" after the name: a folder of an earlier version, which
// named no program folder.
bool FolderOfAnEarlierVersion(const std::wstring& rest) {
    const size_t strich = rest.find(L'-');
    if (strich == 0 || strich == std::wstring::npos || strich + 1 == rest.size()) return false;
    for (size_t i = 0; i < rest.size(); ++i)
        if (i != strich && (rest[i] < L'0' || rest[i] > L'9')) return false;
    return true;
}
}  // namespace

void EmptyPrivateFolders(const Text& name) {
    // "<temp>\<name>-<folder>-<process>-<n>" of earlier runs on this program
    // folder, killed ones too; the folder of this run stays.
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return;
    const std::wstring prefix = Wide(PrivateFolderName(name)) + L"-";
    const std::wstring mine = prefix + std::to_wstring(GetCurrentProcessId()) + L"-";
    const std::wstring earlier = Wide(name) + L"-";
    std::error_code e;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(temp), e)) {
        const std::wstring leaf = entry.path().filename().wstring();
        const bool ours = leaf.rfind(prefix, 0) == 0 && leaf.rfind(mine, 0) != 0;
        if (!ours && !(leaf.rfind(earlier, 0) == 0 && FolderOfAnEarlierVersion(leaf.substr(earlier.size())))) continue;
        if (!entry.is_directory(e) || entry.is_symlink(e)) continue;
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
}
