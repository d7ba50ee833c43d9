// Path texts: separator normalisation, native conversion, splitting and joining.
#include "platform/paths.hpp"

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// Index of the last "/" or "\", or npos. Both count, so that the splitting
// works on paths that have not been normalised yet.
size_t LastSeparator(const Text& path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1])) return i - 1;
    return Text::npos;
}

// Index of the dot that starts the extension, or npos.
size_t ExtensionDot(const Text& path) {
    size_t dot = path.rfind(u'.');
    if (dot == Text::npos) return Text::npos;
    size_t sep = LastSeparator(path);
    if (sep != Text::npos && dot < sep) return Text::npos;
    return dot;
}

}  // namespace

Text NormalisePath(const Text& path) {
    Text out = path;
    for (char16_t& c : out)
        if (c == u'\\') c = u'/';
    return out;
}

std::filesystem::path NativePath(const Text& path) {
    std::string utf8 = Utf8FromText(NormalisePath(path));
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

Text StripExtension(const Text& path) {
    size_t dot = ExtensionDot(path);
    return dot == Text::npos ? path : path.substr(0, dot);
}

Text ExtractFolder(const Text& path) {
    size_t sep = LastSeparator(path);
    if (sep == Text::npos) return Text();
    if (sep == 0) return path.substr(0, 1);
    if (sep == 2 && path[1] == u':') return path.substr(0, 3);
    return path.substr(0, sep);
}

Text ExtractExtension(const Text& path) {
    size_t dot = ExtensionDot(path);
    return dot == Text::npos ? Text() : path.substr(dot + 1);
}

Text JoinPath(const Text& folder, const Text& name) {
    if (folder.empty()) return name;
    Text out = folder;
    if (IsSeparator(out.back())) out.pop_back();
    out += u'/';
    out += name;
    return out;
}
