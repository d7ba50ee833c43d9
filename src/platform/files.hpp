// Files and folders: kind of a path, creating folders, deleting, copying and
// renaming files, flushing them to disk, and listing folders.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>
#include "platform/text.hpp"

// 0 nothing there, 1 a file, 2 a folder (links are followed).
int PathKind(const Text& path);

// Creates the folder, with recursive also its missing parents. True when the
// folder exists afterwards, also when it existed before.
bool CreateFolder(const Text& path, bool recursive);

// Deletes a file; true when nothing of that name is left (also when there was
// none). A folder is not deleted and gives false.
bool DeleteFileAt(const Text& path);

// Creates a new, empty file in the folder under a name no entry there has
// (an exclusive create, so no file of the user is ever opened) and returns
// its path; "" when the folder takes no new file. The caller deletes it.
Text CreateProbeFile(const Text& folder);

// Copies the bytes of src (a file or an "incbin::" resource) to dst, replacing
// an existing dst; false when either cannot be opened or a write fails.
bool CopyFileTo(const Text& src, const Text& dst);

// Moves from over to in one step, replacing an existing file to, so that a
// reader sees either the old or the new file, never a part.
bool RenameFileOver(const Text& from, const Text& to);

// Forces the file's bytes and its folder entry onto the disk.
bool FlushFileToDisk(const Text& path);
// Forces only the file's bytes onto the disk.
bool FlushFileContent(const Text& path);
// Forces the folder that holds path onto the disk: its entries as they are now
// (a rename, a new or a removed file) survive a power cut.
bool FlushFolderOf(const Text& path);

// Time of the file's last change, as the platform's date and time texts
// ("06 Dec 2026", "14:05:09", local time); false when there is no such file.
bool FileModifiedTime(const Text& path, Text& date, Text& time);

// What tells one state of a file from the next without reading it: its
// size, the time of its last change (to the nanosecond, on Windows to 100 ns)
// and its file number where the system gives one cheaply (a file renamed over
// it has another). A cache of what was read from a file keeps it while the
// stamp stays the same.
struct FileStamp {
    uint64_t size = 0;
    int64_t modified = 0;
    uint64_t number = 0;
    bool operator==(const FileStamp&) const = default;
};
// False when there is no file (a folder, nothing) at the path.
bool FileStampOf(const Text& path, FileStamp& stamp);

// The absolute path with "." and ".." resolved and every symbolic link
// followed; "" when the path does not exist.
Text CanonicalPath(const Text& path);

// Names of all entries of the folder in the system's order; without "." and
// ".." when skipDots. False (names empty) when the folder cannot be opened or
// its listing breaks off with an error.
bool ListFolderInto(const Text& path, bool skipDots, std::vector<Text>& names);
// The same; empty when the folder cannot be read.
std::vector<Text> ListFolder(const Text& path, bool skipDots);

// Step-by-step listing of a folder; "." and ".." are included.
struct FolderListing;
using TFolderListing = std::shared_ptr<FolderListing>;

// Null when the folder cannot be opened.
TFolderListing OpenFolderListing(const Text& path);
// The next entry name, "" at the end, after closing or for a null handle.
Text NextFolderEntry(const TFolderListing& listing);
// Releases the enumeration early; the handle then reports its end.
void CloseFolderListing(const TFolderListing& listing);

// A folder only this user can enter (mode 0700) for plain copies that must
// not lie in the program folder, named by PrivateFolderName:
// $XDG_RUNTIME_DIR/<that>, else a new folder made with mkdtemp under /tmp
// (on Windows one of this run in the user's temporary folder). The same
// folder for the whole run; "" when none can be made.
Text PrivateFolder(const Text& name);
// "<name>-<16 hex digits>", the digits from the working folder (the program
// folder): each program folder has its own private folders, so a second
// program on another folder never empties the first one's.
Text PrivateFolderName(const Text& name);
// Files deleted when the program ends (and by DeleteMarkedFiles, which
// then also removes the private folder when it is empty).
void DeleteAtExit(const Text& path);
void DeleteMarkedFiles();
