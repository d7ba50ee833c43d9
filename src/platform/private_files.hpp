// Keeping what the program holds to the teacher's own account: the process
// cannot be dumped or read by another process of the same user, every file
// it creates is 0600 and every folder 0700 whatever the umask, and links
// planted where its own files belong are recognised.
#pragma once
#include "platform/text.hpp"

// Called first thing at start: no core file, not dumpable (so the memory with
// keys, names and grades is not handed to a debugger or a crash reporter),
// and a umask of 077 for everything created later, children included.
void GuardProcess();
// True when the process is guarded as GuardProcess leaves it.
bool ProcessGuarded();

// Narrows an existing file to 0600 or a folder to 0700; a symbolic link is
// left alone. True when the path is private afterwards.
bool MakePrivate(const Text& path);
// Every file and folder below a folder (the folder itself included), links
// not followed; the number that could not be narrowed.
int MakePrivateBelow(const Text& folder);
// True when the path is a symbolic link (a dangling one too).
bool IsSymbolicLink(const Text& path);
// The permission bits (0777 at most) of what is there, -1 when nothing is.
int PermissionBits(const Text& path);

// Removes a folder with everything below it (links removed, not followed);
// true when nothing of it is left.
bool DeleteFolderTree(const Text& folder);
// Empties this user's private folders (PrivateFolderName of the name) left
// by earlier runs on this program folder, also killed ones: below
// $XDG_RUNTIME_DIR, and "/tmp/<that>-*" of this user; on Windows those in
// the temporary folder but this run's. Those of other program folders are
// left to their own program; the folder that earlier versions shared is
// emptied too. Folders that are links or another user's are left alone.
void EmptyPrivateFolders(const Text& name);
