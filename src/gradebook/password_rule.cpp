// The password rule: at least 10 characters, of at least three kinds
// (small and capital letters, digits, other characters with the blank), and
// at least 6 different ones. A long passphrase of words needs only two kinds.
#include "gradebook/password_rule.hpp"

#include <bitset>

#include "platform/conversions.hpp"

namespace {
// Letters of Latin-1 (umlauts, ß) count as small or capital like a to z.
bool Klein(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7); }
bool Gross(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }
bool Ziffer(char16_t c) { return c >= u'0' && c <= u'9'; }
}  // namespace

std::vector<Text> PasswortMaengel(const Text& passwort) {
    std::vector<Text> fehlt;
    const int laenge = static_cast<int>(passwort.size());
    bool klein = false, gross = false, ziffer = false, sonst = false;
    // A bitset on the stack, not a set on the heap: nothing of the password is
    // left in freed memory.
    std::bitset<65536> gesehen;
    int verschiedene = 0;
    for (char16_t c : passwort) {
        if (!gesehen[c]) ++verschiedene;
        gesehen[c] = true;
        if (Klein(c)) klein = true;
        else if (Gross(c)) gross = true;
        else if (Ziffer(c)) ziffer = true;
        else sonst = true;
    }
    const int arten = klein + gross + ziffer + sonst;
    // Four words and more ("Kreide und Tafel grün") are strong by length.
    const int artenNoetig = laenge >= 20 ? 2 : kPasswortMindestarten;
    if (laenge < kPasswortMindestlaenge)
        fehlt.push_back(u"- mindestens " + TextFromInt(kPasswortMindestlaenge) + u" Zeichen (bisher " +
                        TextFromInt(laenge) + u")");
    if (arten < artenNoetig) {
        Text welche;
        const auto dazu = [&](bool da, const Text& name) {
            if (da) return;
            welche += (welche.empty() ? u"" : u", ") + name;
        };
        dazu(klein, u"Kleinbuchstaben");
        dazu(gross, u"Großbuchstaben");
        dazu(ziffer, u"Ziffern");
        dazu(sonst, u"Sonderzeichen");
        fehlt.push_back(u"- Zeichen aus " + TextFromInt(artenNoetig) + u" Arten (bisher " + TextFromInt(arten) +
                        u"); es fehlen:");
        fehlt.push_back(u"  " + welche);
    }
    if (verschiedene < kPasswortVerschiedene)
        fehlt.push_back(u"- mindestens " + TextFromInt(kPasswortVerschiedene) + u" verschiedene Zeichen (bisher " +
                        TextFromInt(verschiedene) + u")");
    return fehlt;
}
