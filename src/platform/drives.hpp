// Mounted file systems standing in for drive letters: the drive list and the
// test whether a folder's drive (an external backup folder) is present.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include "platform/text.hpp"

inline constexpr int kDriveRemovable = 2;
inline constexpr int kDriveFixed = 3;

struct MountEntry {
    std::string device, mountPoint, fsType;
};

// Lines of /proc/self/mounts ("device mountpoint type options ..."), with the
// kernel's octal escapes (\040 for a blank) decoded. Malformed lines are skipped.
std::vector<MountEntry> ParseMounts(std::string_view content);

// 0 for pseudo, network, optical and FUSE file systems (not a place for
// files of the user); kDriveRemovable for mounts below /media/, /run/media/
// or /mnt/ or on a device that deviceRemovable reports; else kDriveFixed.
int DriveTypeOfMount(const MountEntry& mount, const std::function<bool(const std::string&)>& deviceRemovable);

// (mount point with a trailing "/", type) for every mount of type 2 or 3, in
// table order; a mount point mounted over counts once, with its last type.
std::vector<std::pair<Text, int>> DrivesFromMounts(std::string_view mountsContent,
                                                   const std::function<bool(const std::string&)>& deviceRemovable);

// The drives of this machine from /proc/self/mounts, leaving out mount
// points that are not folders (containers bind single files).
std::vector<std::pair<Text, int>> LogicalDrives();

// Whether an external backup folder is reachable. A folder counts as present
// when it exists and, if it lies below /media/, /run/media/ or /mnt/ (where
// removable drives are mounted), the deepest mounted file system containing
// it is itself mounted below that place. So a folder on a stick that is not
// plugged in is absent even when an empty mount-point folder was left behind
// on the root file system, and nothing is written there by mistake.
bool DriveOfPathPresent(const Text& folder);

// The rule above on a given mount table: absolutePath is normalised without a
// trailing "/" (except "/" itself); pathExists tells whether it exists.
bool PathPresentOnMounts(const std::string& absolutePath, bool pathExists, const std::vector<MountEntry>& mounts);
