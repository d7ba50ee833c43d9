// File and folder requesters through zenity or kdialog, whichever is
// installed (kdialog first on a KDE desktop).
#include "platform/requesters.hpp"
#include <sys/stat.h>
#include <unistd.h>
#include "platform/input.hpp"
#include "platform/notify.hpp"
#include "platform/paths.hpp"
#include "platform/process.hpp"
#include "platform/system_services.hpp"

namespace {

// kdialog reads an argument beginning with "-" as an option.
Text PositionalPath(const Text& path) {
    if (path.empty()) return u".";
    return path[0] == u'-' ? u"./" + path : path;
}

const Text kNoRequesterMessage =
    u"Für die Dateiauswahl wird das Programm zenity oder kdialog benötigt.\n"
    u"Bitte das Paket zenity installieren (sudo apt-get install zenity).";

// Runs the requester; its standard output is the chosen path and a line break.
Text RunRequester(std::vector<Text> args, const Text& program) {
    args[0] = program;
    std::string chosen;
    const int code = RunAndCapture(args, chosen);
    // Escape or a close request while the requester was open is its own.
    DiscardPendingInput();
    if (code != 0) return u"";
    size_t end = chosen.find('\n');
    if (end != std::string::npos) chosen.resize(end);
    if (!chosen.empty() && chosen.back() == '\r') chosen.pop_back();
    return TextFromUtf8(chosen);
}

enum class Requester { None, Zenity, Kdialog };

Requester FindRequester(Text& program) {
    Text pathList = EnvironmentVariable(u"PATH");
    if (pathList.empty()) pathList = u"/usr/local/bin:/usr/bin:/bin";
    Text zenity = FindProgramInPath(u"zenity", pathList);
    Text kdialog = FindProgramInPath(u"kdialog", pathList);
    bool kde = EnvironmentVariable(u"XDG_CURRENT_DESKTOP").find(u"KDE") != Text::npos;
    if (!kdialog.empty() && (kde || zenity.empty())) {
        program = kdialog;
        return Requester::Kdialog;
    }
    if (!zenity.empty()) {
        program = zenity;
        return Requester::Zenity;
    }
    Notify(kNoRequesterMessage, 0);
    return Requester::None;
}

}  // namespace

std::vector<Text> ZenityFileArgs(const Text& title, const Text& filter, int saveFlag, const Text& initialPath) {
    std::vector<Text> args = {u"zenity", u"--file-selection", u"--title=" + title};
    if (saveFlag) args.push_back(u"--save");
    if (!initialPath.empty()) args.push_back(u"--filename=" + NormalisePath(initialPath));
    for (const auto& [description, patterns] : ParseFileFilter(filter))
        args.push_back(u"--file-filter=" + description + u" | " + Joined(patterns, u" "));
    return args;
}

std::vector<Text> ZenityDirArgs(const Text& title, const Text& initialPath) {
    std::vector<Text> args = {u"zenity", u"--file-selection", u"--directory", u"--title=" + title};
    if (!initialPath.empty()) {
        Text start = NormalisePath(initialPath);
        // zenity opens a folder only when the name ends in "/"; else it selects it in its parent.
        if (start.back() != u'/') start += u'/';
        args.push_back(u"--filename=" + start);
    }
    return args;
}

std::vector<Text> KdialogFileArgs(const Text& title, const Text& filter, int saveFlag, const Text& initialPath) {
    std::vector<Text> groups;
    for (const auto& [description, patterns] : ParseFileFilter(filter))
        groups.push_back(Joined(patterns, u" ") + u"|" + description);
    std::vector<Text> args = {u"kdialog", u"--title", title, saveFlag ? u"--getsavefilename" : u"--getopenfilename",
                              PositionalPath(NormalisePath(initialPath))};
    if (!groups.empty()) args.push_back(Joined(groups, u"\n"));
    return args;
}

std::vector<Text> KdialogDirArgs(const Text& title, const Text& initialPath) {
    return {u"kdialog", u"--title", title, u"--getexistingdirectory", PositionalPath(NormalisePath(initialPath))};
}

Text FindProgramInPath(const Text& name, const Text& pathList) {
    if (name.empty() || name.find(u'/') != Text::npos) return u"";
    for (Text folder : Split(pathList, u':')) {
        if (folder.empty()) folder = u".";
        Text candidate = folder + (folder.back() == u'/' ? u"" : u"/") + name;
        std::string native = Utf8FromText(candidate);
        struct stat info;
        if (stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(native.c_str(), X_OK) == 0)
            return candidate;
    }
    return u"";
}

Text RequestFile(const Text& title, const Text& filter, int saveFlag, const Text& initialPath) {
    Text program;
    switch (FindRequester(program)) {
        case Requester::Zenity: return RunRequester(ZenityFileArgs(title, filter, saveFlag, initialPath), program);
        case Requester::Kdialog: return RunRequester(KdialogFileArgs(title, filter, saveFlag, initialPath), program);
        default: return u"";
    }
}

Text RequestDir(const Text& title, const Text& initialPath) {
    Text program;
    switch (FindRequester(program)) {
        case Requester::Zenity: return RunRequester(ZenityDirArgs(title, initialPath), program);
        case Requester::Kdialog: return RunRequester(KdialogDirArgs(title, initialPath), program);
        default: return u"";
    }
}
