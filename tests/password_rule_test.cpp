// The password rule: which passwords are taken, and that the German message
// names exactly what is missing.
#include <gtest/gtest.h>

#include "gradebook/password_rule.hpp"

namespace {
std::string Alles(const std::vector<Text>& zeilen) {
    std::string out;
    for (const Text& z : zeilen) out += Utf8FromText(z) + "\n";
    return out;
}
}  // namespace

TEST(Passwortregel, TakesStrongPasswordsAndNamesWhatIsMissing) {
    struct Fall {
        const char16_t* passwort;
        std::vector<std::string> fehlt;  // pieces every message line set must hold; empty: taken
    };
    const std::vector<Fall> faelle = {
        {u"Kreide und Tafel 42", {}},
        {u"Tafel-Kreide7", {}},
        {u"schwamm und kreide und tafel", {}},  // long: two kinds suffice
        {u"Grüße aus Köln", {}},                // umlauts count as letters
        {u"aaaaaaaaaa", {"3 Arten (bisher 1)", "Großbuchstaben, Ziffern, Sonderzeichen", "6 verschiedene Zeichen (bisher 1)"}},
        {u"1234567890", {"3 Arten (bisher 1)", "Kleinbuchstaben, Großbuchstaben, Sonderzeichen"}},
        {u"abcdefghij", {"3 Arten (bisher 1)"}},
        {u"Abcdefghij", {"3 Arten (bisher 2)", "Ziffern, Sonderzeichen"}},
        {u"Ab1Ab1Ab1A", {"6 verschiedene Zeichen (bisher 3)"}},
        {u"Ab1!x", {"10 Zeichen (bisher 5)"}},
        {u"", {"10 Zeichen (bisher 0)", "3 Arten (bisher 0)", "6 verschiedene Zeichen (bisher 0)"}},
        {u"aaaaaaaaaaaaaaaaaaaaaaaa", {"2 Arten (bisher 1)", "6 verschiedene Zeichen (bisher 1)"}},
    };
    for (const Fall& f : faelle) {
        const std::string meldung = Alles(PasswortMaengel(f.passwort));
        if (f.fehlt.empty()) {
            EXPECT_EQ(meldung, "") << Utf8FromText(f.passwort);
            continue;
        }
        for (const std::string& stueck : f.fehlt)
            EXPECT_NE(meldung.find(stueck), std::string::npos) << Utf8FromText(f.passwort) << ":\n" << meldung;
    }
    // What is there is not named as missing.
    EXPECT_EQ(Alles(PasswortMaengel(u"Abcdefghij")).find("Kleinbuchstaben"), std::string::npos);
}
