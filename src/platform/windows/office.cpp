// The spreadsheet program of an installed LibreOffice or OpenOffice.org
// below the system drive's program folder, started with a quoted command
// line and waited for.
#include "platform/office.hpp"

#include <algorithm>
#include <cerrno>

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
    Text programFolder = drive + u"Program Files (x86)";
    if (PathKind(programFolder) != 2) programFolder = drive + u"Program Files";
    if (drive.empty() || PathKind(programFolder) != 2) return u"";
    // In name order as NTFS lists them, whatever the file system below.
    std::vector<Text> entries = ListFolder(programFolder, true);
    std::sort(entries.begin(), entries.end(),
              [](const Text& a, const Text& b) { return LowerCase(a) < LowerCase(b); });
    Text found = InstallationIn(programFolder, entries, u"libreoffice");
    if (found.empty()) found = InstallationIn(programFolder, entries, u"openoffice.org");
    return found;
}

// The spreadsheet program reads the class file's bytes as Latin-1 on
// Windows anyway; the program's own environment goes on unchanged.
int RunSpreadsheetAndWait(const Text& program, const Text& file) {
    const int code = RunAndWait({program, file});
    // Not startable after all: the default handler gets the file.
    if (code == ENOENT || code == EACCES || code == ENOEXEC) OpenURL(file);
    return code;
}
