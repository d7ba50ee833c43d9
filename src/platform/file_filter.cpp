// The filter groups of the file requesters ("Bilddateien:png,jpg"), the same
// for every system's requester.
#include "platform/requesters.hpp"

namespace {

Text Trimmed(const Text& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && text[begin] <= u' ') ++begin;
    while (end > begin && text[end - 1] <= u' ') --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::vector<Text> Split(const Text& text, char16_t separator) {
    std::vector<Text> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == Text::npos ? Text::npos : at - start));
        if (at == Text::npos) return parts;
        start = at + 1;
    }
}

Text Joined(const std::vector<Text>& parts, const Text& separator) {
    Text out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? separator : Text()) + parts[i];
    return out;
}

std::vector<FileFilterGroup> ParseFileFilter(const Text& filter) {
    std::vector<FileFilterGroup> groups;
    for (const Text& group : Split(filter, u';')) {
        size_t colon = group.find(u':');
        Text description = Trimmed(colon == Text::npos ? group : group.substr(0, colon));
        Text extensions = colon == Text::npos ? group : group.substr(colon + 1);
        std::vector<Text> patterns;
        for (Text ext : Split(extensions, u',')) {
            ext = Trimmed(ext);
            while (!ext.empty() && (ext[0] == u'*' || ext[0] == u'.')) ext.erase(0, 1);
            if (ext.empty()) {
                if (Trimmed(extensions) == u"*") patterns.push_back(u"*");
                continue;
            }
            patterns.push_back(u"*." + ext);
            Text upper = ext;
            for (char16_t& c : upper)
                if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
            if (upper != ext) patterns.push_back(u"*." + upper);
        }
        if (patterns.empty()) continue;
        // "|" separates name and patterns in both programs' filter syntax.
        for (char16_t& c : description)
            if (c == u'|' || c == u'\n') c = u'/';
        if (description.empty()) description = Joined(patterns, u" ");
        groups.emplace_back(description, patterns);
    }
    return groups;
}
