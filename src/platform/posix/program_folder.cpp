// Program folder from /proc/self/exe; the working folder is set to it at start
// so that relative paths such as "Noten/" lie beside the program.
#include "platform/program_folder.hpp"

#include <unistd.h>

#include <climits>

Text ExecutableFolder() {
    char buf[PATH_MAX + 1];
    const ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0) return Text();
    std::string path(buf, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return Text();
    return TextFromUtf8(path.substr(0, slash == 0 ? 1 : slash));
}

bool ChangeWorkingFolder(const Text& folder) { return chdir(Utf8FromText(folder).c_str()) == 0; }
