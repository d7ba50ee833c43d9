// Drive list and backup-folder reachability from the kernel's mount table.
#include "platform/drives.hpp"
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>
#include "platform/files.hpp"
#include "platform/paths.hpp"

namespace {

// Where desktops and administrators mount removable drives.
const char* const kRemovableRoots[] = {"/media/", "/run/media/", "/mnt/"};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool BelowRemovableRoot(std::string_view path) {
    for (const char* root : kRemovableRoots)
        if (StartsWith(path, root) && path.size() > std::string_view(root).size()) return true;
    return false;
}

// No user files live on these: kernel interfaces, memory, packed images,
// optical discs, network shares and FUSE helpers (fuseblk is a real disk).
bool IsUnusableFileSystem(std::string_view type) {
    static const std::set<std::string_view> kinds = {
        "proc",      "sysfs",     "tmpfs",       "devtmpfs", "devpts",   "cgroup",     "cgroup2", "securityfs",
        "pstore",    "bpf",       "debugfs",     "tracefs",  "configfs", "fusectl",    "mqueue",  "hugetlbfs",
        "autofs",    "binfmt_misc", "rpc_pipefs", "nsfs",    "efivarfs", "ramfs",      "squashfs", "selinuxfs",
        "iso9660",   "udf",       "nfs",         "nfs4",     "cifs",     "smb3",       "9p",      "nfsd",
        "rootfs",    "none"};
    return kinds.count(type) != 0 || (StartsWith(type, "fuse.") && type != "fuse.ntfs-3g");
}

// True when the mount at mountPoint contains path.
bool MountContains(std::string_view mountPoint, std::string_view path) {
    if (mountPoint == "/") return StartsWith(path, "/");
    return StartsWith(path, mountPoint) && (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

std::string FirstLineOf(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// The kernel marks USB sticks and card readers removable on the disk, not on
// its partitions, so a partition asks its parent.
bool BlockDeviceRemovable(const std::string& device) {
    if (!StartsWith(device, "/dev/")) return false;
    char resolved[PATH_MAX];
    if (!realpath(device.c_str(), resolved)) return false;
    std::string name = std::filesystem::path(resolved).filename().string();
    if (name.empty()) return false;
    const std::string base = "/sys/class/block/" + name;
    std::string flag = FirstLineOf(base + "/removable");
    if (flag.empty()) flag = FirstLineOf(base + "/../removable");
    return flag == "1";
}

std::string MountsTable() {
    std::ifstream in("/proc/self/mounts");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<MountEntry> ParseMounts(std::string_view content) {
    std::vector<MountEntry> mounts;
    while (!content.empty()) {
        size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
        std::string fields[3];
        size_t at = 0;
        for (std::string& field : fields) {
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
            while (at < line.size() && line[at] != ' ' && line[at] != '\t') {
                // The kernel writes blanks, tabs, line breaks and "\" as "\ooo".
                if (line[at] == '\\' && at + 3 < line.size() && line[at + 1] >= '0' && line[at + 1] <= '3' &&
                    line[at + 2] >= '0' && line[at + 2] <= '7' && line[at + 3] >= '0' && line[at + 3] <= '7') {
                    field += static_cast<char>((line[at + 1] - '0') * 64 + (line[at + 2] - '0') * 8 + (line[at + 3] - '0'));
                    at += 4;
                } else {
                    field += line[at++];
                }
            }
        }
        if (fields[2].empty() || fields[1].empty() || fields[1][0] != '/') continue;
        mounts.push_back({fields[0], fields[1], fields[2]});
    }
    return mounts;
}

int DriveTypeOfMount(const MountEntry& mount, const std::function<bool(const std::string&)>& deviceRemovable) {
    if (IsUnusableFileSystem(mount.fsType)) return 0;
    if (BelowRemovableRoot(mount.mountPoint) || (deviceRemovable && deviceRemovable(mount.device)))
        return kDriveRemovable;
    return kDriveFixed;
}

std::vector<std::pair<Text, int>> DrivesFromMounts(std::string_view mountsContent,
                                                   const std::function<bool(const std::string&)>& deviceRemovable) {
    std::vector<std::pair<Text, int>> drives;
    for (const MountEntry& mount : ParseMounts(mountsContent)) {
        Text root = TextFromUtf8(mount.mountPoint);
        if (root.back() != u'/') root += u'/';
        std::erase_if(drives, [&](const auto& drive) { return drive.first == root; });
        int type = DriveTypeOfMount(mount, deviceRemovable);
        if (type) drives.emplace_back(root, type);
    }
    return drives;
}

std::vector<std::pair<Text, int>> LogicalDrives() {
    std::vector<std::pair<Text, int>> drives;
    try {
        drives = DrivesFromMounts(MountsTable(), BlockDeviceRemovable);
        std::erase_if(drives, [](const auto& drive) { return PathKind(drive.first) != 2; });
    } catch (...) {
        drives.clear();
    }
    return drives;
}

bool PathPresentOnMounts(const std::string& absolutePath, bool pathExists, const std::vector<MountEntry>& mounts) {
    if (!pathExists) return false;
    if (!BelowRemovableRoot(absolutePath + "/")) return true;
    const MountEntry* deepest = nullptr;
    for (const MountEntry& mount : mounts)
        if (MountContains(mount.mountPoint, absolutePath) &&
            (!deepest || mount.mountPoint.size() >= deepest->mountPoint.size()))
            deepest = &mount;
    return deepest && BelowRemovableRoot(deepest->mountPoint);
}

bool DriveOfPathPresent(const Text& folder) {
    if (folder.empty()) return false;
    try {
        std::error_code error;
        std::filesystem::path path = std::filesystem::absolute(NativePath(folder), error);
        if (error) return false;
        // Links are followed so that the mount table sees the real place.
        std::filesystem::path real = std::filesystem::weakly_canonical(path, error);
        if (!error) path = real;
        std::string text = path.lexically_normal().string();
        while (text.size() > 1 && text.back() == '/') text.pop_back();
        return PathPresentOnMounts(text, PathKind(folder) != 0, ParseMounts(MountsTable()));
    } catch (...) {
        return false;
    }
}
