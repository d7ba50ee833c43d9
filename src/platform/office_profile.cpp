// LibreOffice's own profile folder, given as a file URL on its command line,
// the same on every system: "file:///home/..." or "file:///C:/Users/...".
#include <cctype>
#include <string>

#include "platform/conversions.hpp"
#include "platform/office.hpp"

Text ProfileArgument(const Text& profileFolder) {
    // Bytes outside the unreserved ones, ":" and "/" are escaped; a drive
    // path gets the third slash that a path from the root brings itself.
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    const std::string path = Utf8FromText(profileFolder);
    if (path.empty() || (path[0] != '/' && path[0] != '\\')) url.push_back('/');
    for (unsigned char c : path) {
        if (c == '\\') c = '/';
        if (std::isalnum(c) || c == '/' || c == ':' || c == '-' || c == '_' || c == '.' || c == '~') {
            url.push_back(static_cast<char>(c));
        } else {
            url.push_back('%');
            url.push_back(hex[c >> 4]);
            url.push_back(hex[c & 15]);
        }
    }
    return u"-env:UserInstallation=" + TextFromUtf8(url);
}
