// Name folding for the student order and the path helper OhneEndtrenner.
#include "gradebook/names.hpp"

#include <string_view>

#include "platform/conversions.hpp"
#include "tiles/grundbuchstaben.hpp"

namespace {
// The small Latin-1 letters U+00E0..U+00FF as the key writes them: the base
// letter, "ae", "oe", "ue" for the umlauts; ÷ and þ stay themselves.
constexpr std::u16string_view kKleinLatin1[32] = {
    u"a", u"a", u"a", u"a", u"ae", u"a", u"ae", u"c", u"e", u"e", u"e", u"e", u"i", u"i", u"i", u"i",
    u"d", u"n", u"o", u"o", u"o",  u"o", u"oe", u"\u00F7", u"o", u"u", u"u", u"u", u"ue", u"y", u"\u00FE", u"y"};
}  // namespace

Text Namensschluessel(const Text& name) {
    // Lower-casing first, so that "Ä", "É" and the capital sharp s fold as well.
    Text klein = LowerCase(name);
    Text schluessel;
    schluessel.reserve(klein.size() + 4);
    for (char16_t c : klein) {
        if (c == u'\u00DF') {
            schluessel += u"ss";
        } else if (c >= 0xE0 && c <= 0xFF) {
            schluessel += kKleinLatin1[c - 0xE0];
        } else if (c > 0xFF) {
            // Letters beyond Latin-1 (folder names) sort under their base letter too.
            const Text basis = LowerCase(Grundbuchstaben(c));
            schluessel += basis.empty() ? Text(1, c) : basis;
        } else {
            schluessel += c;
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
