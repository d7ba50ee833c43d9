// Environment variables, opening documents with xdg-open, the file-size
// signal, and ending the program.
#include "platform/system_services.hpp"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include "platform/files.hpp"
#include "platform/paths.hpp"

Text EnvironmentVariable(const Text& name) {
    std::string key = Utf8FromText(name);
    if (key.empty() || key.find('=') != std::string::npos || key.find('\0') != std::string::npos) return u"";
    const char* value = std::getenv(key.c_str());
    return value ? TextFromUtf8(value) : Text();
}

void IgnoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

void PrintErrorLine(const Text& line) {
    const std::string bytes = Utf8FromText(line) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

namespace {

bool StartsWith(const Text& text, const Text& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// "file://" URL of the absolute form of an existing path.
Text FileUrl(const Text& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(NativePath(path), error);
    if (error) absolute = NativePath(path);
    std::string bytes = absolute.lexically_normal().string();
    static const char* const kHex = "0123456789ABCDEF";
    Text url = u"file://";
    for (unsigned char c : bytes) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     std::string_view("/-._~!$&'()*+,;=:@").find(static_cast<char>(c)) != std::string_view::npos;
        if (plain) {
            url += static_cast<char16_t>(c);
        } else {
            url += u'%';
            url += static_cast<char16_t>(kHex[c >> 4]);
            url += static_cast<char16_t>(kHex[c & 15]);
        }
    }
    return url;
}

}  // namespace

Text UrlForOpening(const Text& text) {
    if (StartsWith(text, u"http:") || StartsWith(text, u"https:") || StartsWith(text, u"file:")) return text;
    // A "#" may belong to the file name; only when the whole text names
    // nothing is the part from "#" on taken as an anchor.
    if (!text.empty() && PathKind(text) != 0) return FileUrl(text);
    size_t hash = text.find(u'#');
    if (hash != Text::npos && hash > 0) {
        Text path = text.substr(0, hash);
        if (PathKind(path) != 0) return FileUrl(path) + text.substr(hash);
    }
    return u"http:" + text;
}

void OpenURL(const Text& text) { StartDetached({u"xdg-open", UrlForOpening(text)}); }

void EndProgram() { std::exit(0); }

void RaiseError(const Text& message) {
    PrintErrorLine(message);
    std::exit(-1);
}
