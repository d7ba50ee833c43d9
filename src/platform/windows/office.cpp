// The spreadsheet program of an installed LibreOffice or OpenOffice.org
// below the system drive's program folder, started with a quoted command
// line and waited for.
#include "platform/office.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>
#include <utility>

#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/system_services.hpp"
#include "platform/windows/process.hpp"
#include "platform/windows/wide.hpp"

namespace {

// The entries from the last to the first; the first whose name starts with
// prefix (any case) and holds "\program\scalc.exe".
Text InstallationIn(const Text& programFolder, const std::vector<Text>& entries, const Text& prefix) {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (LowerCase(it->substr(0, prefix.size())) != prefix) continue;
        const Text program = programFolder + u"\\" + *it + u"\\program\\scalc.exe";
        if (PathKind(program) == 1) return program;
    }
    return u"";
}

}  // namespace

Text FindSpreadsheetProgram() {
    // The system drive: the first three characters of windir ("C:\").
    const Text drive = EnvironmentVariable(u"windir").substr(0, 3);
    if (drive.empty()) return u"";
    // "Program Files (x86)" first, then "Program Files": every 64-bit Windows
    // has both, and a 64-bit LibreOffice lies in the second one.
    std::vector<std::pair<Text, std::vector<Text>>> folders;
    for (const char16_t* name : {u"Program Files (x86)", u"Program Files"}) {
        const Text programFolder = drive + name;
        if (PathKind(programFolder) != 2) continue;
        // In name order as NTFS lists them, whatever the file system below.
        std::vector<Text> entries = ListFolder(programFolder, true);
        std::sort(entries.begin(), entries.end(),
                  [](const Text& a, const Text& b) { return LowerCase(a) < LowerCase(b); });
        folders.push_back({programFolder, entries});
    }
    // Any LibreOffice before any OpenOffice.org.
    for (const char16_t* suite : {u"libreoffice", u"openoffice.org"})
        for (const auto& [programFolder, entries] : folders) {
            const Text found = InstallationIn(programFolder, entries, suite);
            if (!found.empty()) return found;
        }
    return u"";
}

// The spreadsheet program reads the class file's bytes as Latin-1 on
// Windows anyway; the program's own environment goes on unchanged.
int RunSpreadsheetAndWait(const Text& program, const Text& file, const Text& profileFolder) {
    const int code = profileFolder.empty() ? RunAndWait({program, file})
                                           : RunAndWait({program, ProfileArgument(profileFolder), file});
    // Not startable after all: the default handler gets the file.
    if (code == ENOENT || code == EACCES || code == ENOEXEC) OpenURL(file);
    return code;
}
