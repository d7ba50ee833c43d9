// Program folder from the module's own file name; the working folder is set
// to it at start so that relative paths such as "Noten/" lie beside the program.
#include "platform/program_folder.hpp"

#include <vector>

#include "platform/paths.hpp"
#include "platform/windows/wide.hpp"

Text ExecutableFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return Text();
        if (n < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    return ExtractFolder(NormalisePath(FromWide(buffer.data())));
}

bool ChangeWorkingFolder(const Text& folder) { return SetCurrentDirectoryW(WidePath(folder).c_str()) != 0; }
