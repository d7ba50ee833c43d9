// Drives from the mount table and the reachability rule for the external
// backup folder, on made-up mount tables.
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "platform/drives.hpp"

namespace {

const char* const kMounts =
    "overlay / overlay rw,relatime,lowerdir=/a:/b 0 0\n"
    "proc /proc proc rw,nosuid 0 0\n"
    "tmpfs /dev tmpfs rw,nosuid 0 0\n"
    "sysfs /sys sysfs ro 0 0\n"
    "cgroup /sys/fs/cgroup cgroup2 ro 0 0\n"
    "/dev/nvme0n1p2 /home ext4 rw,relatime 0 0\n"
    "/dev/nvme0n1p1 /boot/efi vfat rw 0 0\n"
    "/dev/sdb1 /media/lehrer/MEIN\\040STICK vfat rw,nosuid,nodev 0 0\n"
    "/dev/sdc1 /run/media/anna/BACKUP exfat rw 0 0\n"
    "/dev/sdd1 /srv/karte ext4 rw 0 0\n"
    "server:/export /net/schule nfs4 rw 0 0\n"
    "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
    "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
    "malformed-line-without-fields\n"
    "\n"
    "/dev/sde1 relative/path ext4 rw 0 0\n"
    "/dev/nvme0n1p3 /home btrfs rw 0 0\n";

bool FakeRemovable(const std::string& device) { return device == "/dev/sdd1"; }

TEST(Mounts, ParsesFieldsAndEscapes) {
    const std::vector<MountEntry> mounts = ParseMounts("/dev/sdb1 /media/a\\040b\\011c\\134d vfat rw 0 0\n"
                                                       "x /only-two-fields\n"
                                                       "  tmpfs   /tmp\ttmpfs rw 0 0");
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].device, "/dev/sdb1");
    EXPECT_EQ(mounts[0].mountPoint, "/media/a b\tc\\d");
    EXPECT_EQ(mounts[0].fsType, "vfat");
    EXPECT_EQ(mounts[1].mountPoint, "/tmp");
    EXPECT_EQ(mounts[1].fsType, "tmpfs");
}

TEST(Mounts, DriveListKeepsDiskFileSystems) {
    const std::vector<std::pair<Text, int>> expected = {
        {u"/", kDriveFixed},
        {u"/boot/efi/", kDriveFixed},
        {u"/media/lehrer/MEIN STICK/", kDriveRemovable},
        {u"/run/media/anna/BACKUP/", kDriveRemovable},
        {u"/srv/karte/", kDriveRemovable},  // the device says so
        {u"/home/", kDriveFixed},           // mounted over: counted once, at its last place
    };
    EXPECT_EQ(DrivesFromMounts(kMounts, FakeRemovable), expected);
}

TEST(Mounts, DriveTypes) {
    struct Case { MountEntry mount; int type; };
    const Case cases[] = {
        {{"/dev/sda1", "/", "ext4"}, kDriveFixed},
        {{"overlay", "/", "overlay"}, kDriveFixed},
        {{"/dev/sdb1", "/mnt/usb", "ext4"}, kDriveRemovable},
        {{"/dev/sdb1", "/mnt", "ext4"}, kDriveFixed},
        {{"/dev/sdb1", "/mediathek", "ext4"}, kDriveFixed},
        {{"/dev/sdd1", "/daten", "ntfs3"}, kDriveRemovable},
        {{"/dev/sdb1", "/media/x/NTFS", "fuseblk"}, kDriveRemovable},
        {{"tmpfs", "/tmp", "tmpfs"}, 0},
        {{"//nas/share", "/mnt/nas", "cifs"}, 0},
        {{"sshfs", "/home/a/remote", "fuse.sshfs"}, 0},
        {{"devpts", "/dev/pts", "devpts"}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DriveTypeOfMount(c.mount, FakeRemovable), c.type) << c.mount.mountPoint << " " << c.mount.fsType;
    EXPECT_EQ(DriveTypeOfMount({"/dev/sdd1", "/x", "ext4"}, nullptr), kDriveFixed);
}

TEST(Mounts, BackupFolderReachability) {
    const std::vector<MountEntry> stickIn = ParseMounts(kMounts);
    const std::vector<MountEntry> stickOut = ParseMounts("/dev/sda2 / ext4 rw 0 0\n"
                                                         "/dev/sda3 /home ext4 rw 0 0\n"
                                                         "tmpfs /run tmpfs rw 0 0\n"
                                                         "/dev/sdf1 /mnt/daten ext4 rw 0 0\n");
    struct Case { const char* name; std::string path; bool exists; const std::vector<MountEntry>* mounts; bool present; };
    const Case cases[] = {
        {"home folder", "/home/lehrer/Backup", true, &stickOut, true},
        {"missing home folder", "/home/lehrer/Backup", false, &stickOut, false},
        {"stick plugged in", "/media/lehrer/MEIN STICK/Noten-Backup", true, &stickIn, true},
        {"stick root itself", "/media/lehrer/MEIN STICK", true, &stickIn, true},
        {"stick pulled, folder gone", "/media/lehrer/MEIN STICK/Noten-Backup", false, &stickOut, false},
        {"stick pulled, mount point left behind", "/media/lehrer/MEIN STICK", true, &stickOut, false},
        {"stick pulled, under /run", "/run/media/anna/BACKUP/x", true, &stickOut, false},
        {"other stick's name is a prefix", "/media/lehrer/MEIN STICK2/x", true, &stickIn, false},
        {"permanent disk below /mnt", "/mnt/daten/Backup", true, &stickOut, true},
        {"plain folder below /mnt", "/mnt/backup", true, &stickOut, false},
        {"/media itself", "/media", true, &stickOut, true},
        {"no mount table", "/media/x/y", true, nullptr, false},
    };
    const std::vector<MountEntry> none;
    for (const Case& c : cases)
        EXPECT_EQ(PathPresentOnMounts(c.path, c.exists, c.mounts ? *c.mounts : none), c.present) << c.name;
}

TEST(Mounts, ThisMachine) {
    const auto drives = LogicalDrives();
    ASSERT_FALSE(drives.empty());
    bool root = false;
    for (const auto& [path, type] : drives) {
        EXPECT_EQ(path.back(), u'/') << Utf8FromText(path);
        EXPECT_TRUE(type == kDriveFixed || type == kDriveRemovable);
        root |= path == u"/";
    }
    EXPECT_TRUE(root);
    EXPECT_TRUE(DriveOfPathPresent(TextFromUtf8(::testing::TempDir())));
    EXPECT_TRUE(DriveOfPathPresent(u"/"));
    EXPECT_FALSE(DriveOfPathPresent(u"/media/rk-no-such-user/STICK/Noten"));
    EXPECT_FALSE(DriveOfPathPresent(u"/rk-no-such-folder"));
    EXPECT_FALSE(DriveOfPathPresent(u""));
}

}  // namespace
