// Locating LibreOffice or OpenOffice.org and running its spreadsheet program
// with a Latin-1 character type.
#include "platform/office.hpp"

#include <algorithm>
#include <cctype>

#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/requesters.hpp"
#include "platform/system_services.hpp"

extern char** environ;

namespace {

// Installation folders below optFolder whose name starts with prefix (any
// case), the last in name order first, that hold an executable program/soffice.
Text InstallationIn(const Text& optFolder, const Text& prefix) {
    std::vector<Text> names;
    for (const Text& name : ListFolder(optFolder, true))
        if (LowerCase(name.substr(0, prefix.size())) == prefix) names.push_back(name);
    std::sort(names.begin(), names.end());
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        const Text found = FindProgramInPath(u"soffice", optFolder + u"/" + *it + u"/program");
        if (!found.empty()) return found;
    }
    return u"";
}

bool Named(const std::string& entry, const std::string& name) {
    return entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 && entry[name.size()] == '=';
}

}  // namespace

Text FindSpreadsheetProgramIn(const Text& pathList, const Text& optFolder, const Text& suiteProgramFolder) {
    for (const Text& name : {Text(u"libreoffice"), Text(u"soffice")}) {
        const Text found = FindProgramInPath(name, pathList);
        if (!found.empty()) return found;
    }
    Text found = InstallationIn(optFolder, u"libreoffice");
    if (found.empty()) found = FindProgramInPath(u"soffice", suiteProgramFolder);
    if (found.empty()) found = InstallationIn(optFolder, u"openoffice");
    return found;
}

Text FindSpreadsheetProgram() {
    Text pathList = EnvironmentVariable(u"PATH");
    if (pathList.empty()) pathList = u"/usr/local/bin:/usr/bin:/bin";
    return FindSpreadsheetProgramIn(pathList, u"/opt", u"/usr/lib/libreoffice/program");
}

std::vector<std::string> SpreadsheetEnvironment(const std::vector<std::string>& environment) {
    std::vector<std::string> out;
    std::string all;
    bool messages = false;
    for (const std::string& entry : environment) {
        if (Named(entry, "LC_ALL")) {
            all = entry.substr(7);
            continue;
        }
        if (Named(entry, "LC_CTYPE")) continue;
        if (Named(entry, "LC_MESSAGES")) messages = true;
        out.push_back(entry);
    }
    if (!all.empty() && !messages) out.push_back("LC_MESSAGES=" + all);
    out.push_back("LC_CTYPE=C");
    return out;
}

int RunSpreadsheetAndWait(const Text& program, const Text& file, const Text& profileFolder) {
    std::vector<std::string> own;
    for (char** e = environ; e && *e; ++e) own.emplace_back(*e);
    if (profileFolder.empty()) return RunAndWaitWithEnvironment({program, file}, SpreadsheetEnvironment(own));
    return RunAndWaitWithEnvironment({program, ProfileArgument(profileFolder), file}, SpreadsheetEnvironment(own));
}
