// The POSIX side of private files and a guarded process: prctl where Linux
// has it, setrlimit and umask everywhere.
#include "platform/private_files.hpp"

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/files.hpp"
#include "platform/paths.hpp"

void GuardProcess() {
    const struct rlimit none {0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#if defined(__linux__)
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
    ::umask(077);
}

bool ProcessGuarded() {
    struct rlimit core {};
    if (::getrlimit(RLIMIT_CORE, &core) != 0 || core.rlim_cur != 0 || core.rlim_max != 0) return false;
#if defined(__linux__)
    if (::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) != 0) return false;
#endif
    const mode_t was = ::umask(077);
    ::umask(was);
    return was == 077;
}

namespace {
bool NarrowNative(const std::string& native, const struct stat& st) {
    if (S_ISLNK(st.st_mode)) return true;
    const mode_t want = S_ISDIR(st.st_mode) ? 0700 : 0600;
    if ((st.st_mode & 0777 & ~want) == 0) return true;
    return ::chmod(native.c_str(), st.st_mode & want) == 0;
}

int NarrowBelow(const std::string& native, int depth) {
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0) return 0;
    int failed = NarrowNative(native, st) ? 0 : 1;
    if (!S_ISDIR(st.st_mode) || depth > 32) return failed;
    DIR* dir = ::opendir(native.c_str());
    if (!dir) return failed + 1;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        failed += NarrowBelow(native + "/" + e->d_name, depth + 1);
    }
    ::closedir(dir);
    return failed;
}
}  // namespace

bool MakePrivate(const Text& path) {
    const std::string native = NativePath(path).string();
    struct stat st {};
    return !path.empty() && ::lstat(native.c_str(), &st) == 0 && NarrowNative(native, st);
}

int MakePrivateBelow(const Text& folder) { return folder.empty() ? 0 : NarrowBelow(NativePath(folder).string(), 0); }

bool IsSymbolicLink(const Text& path) {
    struct stat st {};
    return !path.empty() && ::lstat(NativePath(path).c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

int PermissionBits(const Text& path) {
    struct stat st {};
    if (path.empty() || ::lstat(NativePath(path).c_str(), &st) != 0) return -1;
    return static_cast<int>(st.st_mode & 0777);
}

namespace {
bool RemoveTree(const std::string& native) {
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0) return true;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* dir = ::opendir(native.c_str())) {
            while (const dirent* e = ::readdir(dir)) {
                if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
                RemoveTree(native + "/" + e->d_name);
            }
            ::closedir(dir);
        }
        return ::rmdir(native.c_str()) == 0;
    }
    return ::unlink(native.c_str()) == 0;
}

// The contents of a folder of ours that is no link; the folder stays.
void EmptyOwnFolder(const std::string& native) {
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return;
    DIR* dir = ::opendir(native.c_str());
    if (!dir) return;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        RemoveTree(native + "/" + e->d_name);
    }
    ::closedir(dir);
}
}  // namespace

bool DeleteFolderTree(const Text& folder) { return folder.empty() || RemoveTree(NativePath(folder).string()); }

void EmptyPrivateFolders(const Text& name) {
    const std::string own = NativePath(PrivateFolderName(name)).string();
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
        EmptyOwnFolder(std::string(runtime) + "/" + own);
        // The one folder that earlier versions shared between program folders.
        EmptyOwnFolder(std::string(runtime) + "/" + NativePath(name).string());
    }
    DIR* tmp = ::opendir("/tmp");
    if (!tmp) return;
    const std::string prefix = own + "-";
    while (const dirent* e = ::readdir(tmp)) {
        if (std::strncmp(e->d_name, prefix.c_str(), prefix.size()) != 0) continue;
        const std::string path = std::string("/tmp/") + e->d_name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) continue;
        EmptyOwnFolder(path);
        ::rmdir(path.c_str());
    }
    ::closedir(tmp);
}
