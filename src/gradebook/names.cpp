// Name folding for the student order and the path helper OhneEndtrenner.
#include "gradebook/names.hpp"

#include "platform/conversions.hpp"

Text Namensschluessel(const Text& name) {
    // Lower-casing first, so that "Ä" and the capital sharp s fold as well.
    Text klein = LowerCase(name);
    Text schluessel;
    schluessel.reserve(klein.size() + 4);
    for (char16_t c : klein) {
        switch (c) {
            case u'\u00DF': schluessel += u"ss"; break;
            case u'\u00E4': schluessel += u"ae"; break;
            case u'\u00F6': schluessel += u"oe"; break;
            case u'\u00FC': schluessel += u"ue"; break;
            default: schluessel += c;
        }
    }
    return schluessel;
}

bool NamenVergleich(const Text& nachnameA, const Text& vornamenA,
                    const Text& nachnameB, const Text& vornamenB) {
    // Text compares by unsigned 16-bit code, a prefix before the longer text.
    Text a = Namensschluessel(nachnameA);
    Text b = Namensschluessel(nachnameB);
    if (a != b) return a > b;
    return Namensschluessel(vornamenA) > Namensschluessel(vornamenB);
}

Text OhneEndtrenner(const Text& pfad) {
    if (!pfad.empty() && (pfad.back() == u'/' || pfad.back() == u'\\'))
        return pfad.substr(0, pfad.size() - 1);
    return pfad;
}
