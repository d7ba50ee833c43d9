// Environment variables through the wide calls, documents opened with the
// default handler (ShellExecuteW), and ending the program.
#include "platform/system_services.hpp"

#include <cstdio>
#include <cstdlib>

#include "platform/files.hpp"
#include "platform/paths.hpp"
#include "platform/windows/wide.hpp"

#include <shellapi.h>
#include <shlwapi.h>

Text EnvironmentVariable(const Text& name) {
    if (name.empty() || name.find(u'=') != Text::npos || name.find(u'\0') != Text::npos) return u"";
    const std::wstring key = Wide(name);
    const DWORD size = GetEnvironmentVariableW(key.c_str(), nullptr, 0);
    if (size == 0) return u"";
    std::wstring value(size, L'\0');
    const DWORD n = GetEnvironmentVariableW(key.c_str(), value.data(), size);
    value.resize(n < size ? n : 0);
    return FromWide(value);
}

// Windows knows no file-size signal.
void IgnoreFileSizeLimitSignal() {}

void PrintErrorLine(const Text& line) {
    const std::string bytes = Utf8FromText(line) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

// An existing file or folder is handed over as its path with "\"; web
// addresses as they are.
Text UrlForOpening(const Text& text) {
    if (text.starts_with(u"http:") || text.starts_with(u"https:") || text.starts_with(u"file:")) return text;
    if (!text.empty() && PathKind(text) != 0) {
        Text path = CanonicalPath(text);
        if (path.empty()) path = text;
        for (char16_t& c : path)
            if (c == u'/') c = u'\\';
        return path;
    }
    return u"http:" + text;
}

void OpenURL(const Text& text) {
    ShellExecuteW(nullptr, L"open", Wide(UrlForOpening(text)).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool OpenerKnownFor(const Text& mimeType) {
    // The system keeps its associations by file ending.
    const wchar_t* ending = mimeType == u"application/pdf" ? L".pdf" : nullptr;
    if (!ending) return false;
    wchar_t program[MAX_PATH * 2];
    DWORD length = MAX_PATH * 2;
    return AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, ending, L"open", program, &length) == S_OK &&
           program[0] != 0;
}

void EndProgram() { std::exit(0); }

void RaiseError(const Text& message) {
    PrintErrorLine(message);
    std::exit(-1);
}
