// The names Windows refuses or silently changes (a trailing dot or blank is
// dropped, "CON" opens the console), so that a class or subject never ends
// up under another name than the one typed.
#include "platform/file_names.hpp"

namespace {
char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }
}  // namespace

bool SystemAcceptsFileName(const Text& name) {
    if (name.empty()) return false;
    if (name.back() == u'.' || name.back() == u' ') return false;
    if (name.find_first_of(u"<>:\"|?*") != Text::npos) return false;
    // The device names count with any extension and blanks before it ("NUL .txt").
    Text stem;
    for (char16_t c : name.substr(0, name.find(u'.'))) stem += Upper(c);
    while (!stem.empty() && stem.back() == u' ') stem.pop_back();
    for (const Text& reserved : {Text(u"CON"), Text(u"PRN"), Text(u"AUX"), Text(u"NUL")})
        if (stem == reserved) return false;
    if (stem.size() == 4 && (stem.starts_with(u"COM") || stem.starts_with(u"LPT")) && stem[3] >= u'1' &&
        stem[3] <= u'9')
        return false;
    return true;
}

std::vector<Text> SystemFileNameRules() {
    return {u"Windows verbietet außerdem CON, PRN, AUX, NUL,", u"COM1 bis COM9, LPT1 bis LPT9, die Zeichen",
            u"< > : \" | ? * und einen Punkt oder ein Leer-", u"zeichen am Ende."};
}
