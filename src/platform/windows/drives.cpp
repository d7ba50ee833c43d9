// The drive letters of this machine, as the system lists them.
#include "platform/drives.hpp"

#include "platform/files.hpp"
#include "platform/windows/wide.hpp"

std::vector<std::pair<Text, int>> LogicalDrives() {
    // 1024 bytes: NUL-separated roots such as "C:\", closed by an empty one.
    wchar_t buffer[512] = {};
    const DWORD length = GetLogicalDriveStringsW(511, buffer);
    std::vector<std::pair<Text, int>> drives;
    if (length == 0 || length > 511) return drives;
    Text piece;
    for (DWORD i = 0; i <= length && i < 512; ++i) {
        if (buffer[i] != L'\0') {
            piece += static_cast<char16_t>(buffer[i]);
            continue;
        }
        size_t begin = 0, end = piece.size();
        while (begin < end && piece[begin] <= u' ') ++begin;
        while (end > begin && piece[end - 1] <= u' ') --end;
        if (begin < end) {
            const Text root = piece.substr(begin, end - begin);
            const int type = static_cast<int>(GetDriveTypeW(Wide(root).c_str()));
            if (type == kDriveRemovable || type == kDriveFixed) drives.emplace_back(root, type);
        }
        if (piece.empty()) break;
        piece.clear();
    }
    return drives;
}

// A folder on a drive letter is there when its drive is and the folder exists.
bool DriveOfPathPresent(const Text& folder) {
    if (folder.size() < 2 || folder[1] != u':') return PathKind(folder) == 2;
    const Text root = folder.substr(0, 2) + u"\\";
    const UINT type = GetDriveTypeW(Wide(root).c_str());
    return type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN && PathKind(folder) == 2;
}
