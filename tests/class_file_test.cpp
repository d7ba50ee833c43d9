// The class file read and written on disk: the exact bytes of a small
// gradebook, the reader's rules (trimming, sorting, placeholders, the "E"
// line), escaping, the euro byte and damaged files that must fail cleanly.
#include <gtest/gtest.h>

#include "gradebook/class_file.hpp"
#include "gradebook/grade_scale.hpp"
#include "gradebook_fixture.hpp"

namespace {

namespace fs = std::filesystem;

const std::string kBeispiel =
    "ID;PCALCOOO32\r\n"
    "C;X1;Y1;K\"5a\"\r\n"
    "C;X2;Y1;K\"Englisch\"\r\n"
    "C;X3;Y1;K\"4 Noten\"\r\n"
    "C;X1;Y2;K\"1 Sch\xFCler\"\r\n"
    "C;X3;Y3;K\"Arbeit\"\r\n"
    "C;X4;Y3;K\"schriftl.\"\r\n"
    "C;X5;Y3;K\"sonst.\"\r\n"
    "C;X6;Y3;K\"HauptF.\"\r\n"
    "C;X3;Y4;K\"14.10.15\"\r\n"
    "C;X4;Y4;K\"\xD8\"\r\n"
    "C;X5;Y4;K\"\xD8\"\r\n"
    "C;X6;Y4;K\"\xD8\"\r\n"
    "C;X1;Y5;K\"Berger\"\r\n"
    "C;X2;Y5;K\"Lena Marie\"\r\n"
    "C;X3;Y5;K\"2-\"\r\n"
    "C;X4;Y5;K\"2.25\"\r\n"
    "C;X5;Y5;K\" \"\r\n"
    "C;X6;Y5;K\"2.25\"\r\n"
    "E\r\n"
    "\r\n"
    "\r\n"
    "\r\n";

// A file of the given lines, each ended by CR LF.
std::string Datei(const std::vector<std::string>& zeilen) {
    std::string s;
    for (const auto& z : zeilen) s += z + "\r\n";
    return s;
}

// Header lines of a file with the given count values and column types/dates.
std::vector<std::string> Kopf(const std::string& noten, const std::string& schueler,
                              const std::vector<std::string>& typen = {}, const std::vector<std::string>& daten = {}) {
    std::vector<std::string> z{"ID;PCALCOOO32", "C;X1;Y1;K\"7b\"", "C;X2;Y1;K\"Deutsch\"",
                               "C;X3;Y1;K\"" + noten + "\"", "C;X1;Y2;K\"" + schueler + "\""};
    for (size_t j = 0; j < typen.size(); ++j) z.push_back("C;X" + std::to_string(j + 3) + ";Y3;K\"" + typen[j] + "\"");
    for (size_t j = 0; j < daten.size(); ++j) z.push_back("C;X" + std::to_string(j + 3) + ";Y4;K\"" + daten[j] + "\"");
    return z;
}

class ClassFile : public GradebookTest {
protected:
    std::shared_ptr<TSchulklasse> Beispielklasse() {
        auto k = TSchulklasse::bauen({u"5a", u"Englisch"}, 0);
        Spalte(*k, u"Arbeit", u"14.10.15");
        Spalte(*k, u"schriftl.");
        Spalte(*k, u"sonst.");
        Spalte(*k, u"HauptF.");
        Schueler(*k, u"Berger", u"Lena Marie", {u"2-", u"2.25", u"", u"2.25"});
        return k;
    }
    std::shared_ptr<TSchulklasse> LadeBytes(const std::string& bytes) {
        Schreiben(ordner_ / "Noten/7b/7b Deutsch.slk", bytes);
        return TSchulklasse::laden(u"Noten/7b/7b Deutsch.slk");
    }
};

}  // namespace

TEST_F(ClassFile, SmallGradebookIsWrittenByteForByteAndReadBack) {
    auto k = Beispielklasse();
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_EQ(Lesen("Noten/5a/5a Englisch.slk"), kBeispiel);

    auto g = TSchulklasse::laden(u"Noten/5a/5a Englisch.slk");
    ASSERT_TRUE(g);
    EXPECT_EQ(Inhalt(*g), Inhalt(*k));
    EXPECT_EQ(g->Notenanzahl, 5);
    EXPECT_EQ(g->Schueleranzahl, 2);
    EXPECT_EQ(g->AuftragsZeile, -1);
    EXPECT_EQ(g->AuftragsSpalte, -1);
    EXPECT_EQ(Notenskala, 0);
    // Headings: a grade column keeps its date, average columns show their icon instead.
    EXPECT_EQ(g->Zelle(0, 1).Text, (std::vector<Text>{u"Arbeit", Typsymbol(u"Arbeit"), u"14.10.15"}));
    EXPECT_EQ(g->Zelle(0, 2).Text, (std::vector<Text>{u"schriftl.", kDurchschnittssymbol}));
    EXPECT_EQ(g->Zelle(0, 4).Text, (std::vector<Text>{u"HauptF.", kDurchschnittssymbol}));
    // Every tile where the grid puts it, coloured from its heading and its text.
    const auto& titel = g->Zelle(0, 0);
    EXPECT_EQ(std::make_tuple(titel.x, titel.y, titel.Breite, titel.Tiefe, titel.verschiebbar, titel.Animation),
              std::make_tuple(8, 8, 228, 114, 0, 0));
    EXPECT_EQ(titel.RGB, (RGBFarbe{56, 48, 64}));
    const auto& name = g->Zelle(1, 0);
    EXPECT_EQ(std::make_tuple(name.x, name.y, name.Breite, name.Tiefe, name.verschiebbar),
              std::make_tuple(8, 130, 228, 76, 2));
    EXPECT_EQ(name.RGB, (RGBFarbe{84, 72, 96}));
    for (int j = 1; j < 5; ++j) {
        const auto& kopf = g->Zelle(0, j);
        const auto& zelle = g->Zelle(1, j);
        EXPECT_EQ(std::make_tuple(kopf.x, kopf.y, kopf.verschiebbar), std::make_tuple(160 + 80 * j, 8, 1));
        EXPECT_EQ(std::make_tuple(zelle.x, zelle.y, zelle.verschiebbar), std::make_tuple(160 + 80 * j, 130, 3));
        EXPECT_EQ(kopf.RGB, Typfarbe(kopf.Text[0]));
        EXPECT_EQ(zelle.RGB, (RGBFarbe{kopf.RGB[0] / 2, kopf.RGB[1] / 2, kopf.RGB[2] / 2}));
    }
    EXPECT_EQ(g->Zelle(1, 1).Text_RGB, Notenfarbe(u"2-", 0));
    EXPECT_EQ(g->Zelle(1, 2).Text_RGB, Durchschnittsfarbe(2.25f, 0));
    EXPECT_EQ(g->Telefonnummer, (std::vector<Text>{u"", kPlatzhalterTelefon}));
    EXPECT_EQ(g->Notizen, (std::vector<Text>{u"", kPlatzhalterNotizen}));
    EXPECT_EQ(g->VergesseneHA, (std::vector<Text>{u"", kPlatzhalterVergesseneHA}));

    // Saved again unchanged, the loaded record gives the same bytes.
    ASSERT_TRUE(g->speichern(u""));
    EXPECT_EQ(Lesen("Noten/5a/5a Englisch.slk"), kBeispiel);
}

TEST_F(ClassFile, NewClassWithoutStudentsAndColumns) {
    auto k = TSchulklasse::bauen({u"7b", u"Deutsch"}, 0);
    ASSERT_EQ(k->Zensurzeile.size(), 1u);
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_EQ(Lesen("Noten/7b/7b Deutsch.slk"),
              Datei({"ID;PCALCOOO32", "C;X1;Y1;K\"7b\"", "C;X2;Y1;K\"Deutsch\"", "C;X3;Y1;K\"0 Noten\"",
                     "C;X1;Y2;K\"0 Sch\xFCler\"", "E"}));
    auto g = TSchulklasse::laden(u"Noten/7b/7b Deutsch.slk");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Schueleranzahl, 1);
    EXPECT_EQ(g->Notenanzahl, 1);
    ASSERT_EQ(g->Zensurzeile[0]->Kachel.size(), 1u);
    EXPECT_EQ(g->Zelle(0, 0).Text, (std::vector<Text>{u"7b", u"Deutsch"}));
    EXPECT_EQ(g->Telefonnummer.size(), 1u);
}

TEST_F(ClassFile, UnsortedRowsAreSortedAndEveryStudentKeepsTheirOwnLines) {
    auto z = Kopf("1 Noten", "3 Sch\xFCler", {"Arbeit"}, {"01.10.15"});
    for (std::string s : {"C;X1;Y5;K\"Zander\"", "C;X2;Y5;K\"Paul\"", "C;X3;Y5;K\"5\"",  //
                          "C;X1;Y6;K\"\xC4rger\"", "C;X2;Y6;K\"Eva\"", "C;X3;Y6;K\"1\"",   //
                          "C;X1;Y7;K\"Adler\"", "C;X2;Y7;K\"Tom\"", "C;X3;Y7;K\"3\"",      //
                          "E", "0171 Zander", "Zander notes", "2 Zander", "0172 Aerger", "", "", "0173 Adler",
                          "Adler notes"})
        z.push_back(s);
    auto g = LadeBytes(Datei(z));
    ASSERT_TRUE(g);
    struct Erwartet { const char16_t *name, *note, *tel, *notiz, *ha; };
    const Erwartet erwartet[] = {
        {u"Adler", u"3", u"0173 Adler", u"Adler notes", kPlatzhalterVergesseneHA.c_str()},
        {u"\u00C4rger", u"1", u"0172 Aerger", kPlatzhalterNotizen.c_str(), kPlatzhalterVergesseneHA.c_str()},
        {u"Zander", u"5", u"0171 Zander", u"Zander notes", u"2 Zander"},
    };
    ASSERT_EQ(g->Schueleranzahl, 4);
    for (int i = 1; i <= 3; ++i) {
        const Erwartet& e = erwartet[i - 1];
        SCOPED_TRACE(i);
        EXPECT_EQ(g->Zelle(i, 0).Text[0], e.name);
        EXPECT_EQ(g->Zelle(i, 1).Text[0], e.note);
        EXPECT_EQ(g->Telefonnummer[i], e.tel);
        EXPECT_EQ(g->Notizen[i], e.notiz);
        EXPECT_EQ(g->VergesseneHA[i], e.ha);
        for (const auto& kachel : g->Zensurzeile[i]->Kachel) EXPECT_EQ(kachel->y, 46 + 84 * i);
    }
    // Written back in name order, with the lines beside their students.
    ASSERT_TRUE(g->speichern(u""));
    auto h = TSchulklasse::laden(u"Noten/7b/7b Deutsch.slk");
    ASSERT_TRUE(h);
    EXPECT_EQ(Inhalt(*h), Inhalt(*g));
}

TEST_F(ClassFile, ExtractSylkTakesTheQuotedValueTrimmed) {
    struct Fall { Text zeile, wert; };
    const Fall faelle[] = {
        {u"C;X1;Y5;K\"Berger\"", u"Berger"},
        {u"C;X1;Y5;K\"  Berger  \"", u"Berger"},
        {u"C;X5;Y5;K\" \"", u""},
        {u"C;X1;Y5;K\"a\"b\"", u"a\"b"},            // inner quotes stay
        {u"C;X1;Y5;K\"\"\"", u"\""},
        {u"C;X1;Y5;K\"", u""},                       // the opening quote is the last character
        {u"C;X3;Y5;K2.5", u"2.5"},                   // unquoted, after the first K
        {u"no key here", u"no key here"},
        {u"C;X1;Y5;K\"a;;b\"", u"a;b"},              // doubled semicolons
        {u"C;X1;Y5;K\";;;;\"", u";;"},
        {u"C;X1;Y5;K\";\"", u";"},                   // a lone one from an older file stays
        {u"C;X1;Y5;K\"\u20AC 5\"", u"\u20AC 5"},
    };
    for (const Fall& f : faelle) EXPECT_EQ(TSchulklasse::Extract_SYLK(f.zeile), f.wert) << Utf8FromText(f.zeile);
}

TEST_F(ClassFile, ValuesWithBlanksAroundLoadTrimmed) {
    auto k = TSchulklasse::bauen({u"7b", u"Deutsch"}, 0);
    Spalte(*k, u"Test ", u" 01.02.16");
    Schueler(*k, u"Berger ", u"  Lena", {u" 2 "}, u" 0171 ");
    ASSERT_TRUE(k->speichern(u""));
    const std::string bytes = Lesen("Noten/7b/7b Deutsch.slk");
    EXPECT_NE(bytes.find("C;X1;Y5;K\"Berger \"\r\n"), std::string::npos);  // written unchanged
    auto g = TSchulklasse::laden(u"Noten/7b/7b Deutsch.slk");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Zelle(0, 1).Text[0], u"Test");
    EXPECT_EQ(g->Zelle(0, 1).Text[2], u"01.02.16");
    EXPECT_EQ(g->Zelle(1, 0).Text, (std::vector<Text>{u"Berger", u"Lena"}));
    EXPECT_EQ(g->Zelle(1, 1).Text[0], u"2");
    EXPECT_EQ(g->Telefonnummer[1], u" 0171 ");  // per-student lines are read unchanged
}

TEST_F(ClassFile, MissingPerStudentLinesBecomePlaceholders) {
    auto z = Kopf("0 Noten", "2 Sch\xFCler");
    for (std::string s : {"C;X1;Y5;K\"Adler\"", "C;X2;Y5;K\"Tom\"", "C;X1;Y6;K\"Berger\"", "C;X2;Y6;K\"Eva\"", "E"})
        z.push_back(s);
    struct Fall { const char* name; std::string nachE; std::vector<Text> tel, notiz; };
    const Fall faelle[] = {
        {"block missing", "", {u"", kPlatzhalterTelefon, kPlatzhalterTelefon},
         {u"", kPlatzhalterNotizen, kPlatzhalterNotizen}},
        {"only the first phone line", "0171\r\n", {u"", u"0171", kPlatzhalterTelefon},
         {u"", kPlatzhalterNotizen, kPlatzhalterNotizen}},
        {"last line without CR LF", "0171\r\nnote\r\n\r\n0172\r\nnote 2", {u"", u"0171", u"0172"},
         {u"", u"note", u"note 2"}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        auto g = LadeBytes(Datei(z) + f.nachE);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->Telefonnummer, f.tel);
        EXPECT_EQ(g->Notizen, f.notiz);
        EXPECT_EQ(g->VergesseneHA, (std::vector<Text>{u"", kPlatzhalterVergesseneHA, kPlatzhalterVergesseneHA}));
    }
}

TEST_F(ClassFile, OnlyAnExactELineEndsTheCells) {
    auto z = Kopf("0 Noten", "1 Sch\xFCler");
    z.push_back("C;X1;Y5;K\"Adler\"");
    z.push_back("C;X2;Y5;K\"Tom\"");
    struct Fall { std::string ende; bool laedt; };
    const Fall faelle[] = {{"E\r\n", true}, {"E\n", true}, {"E", true}, {"E \r\n", false}, {" E\r\n", false},
                           {"e\r\n", false}, {"\r\n", false}, {"", false}, {"C;X3;Y5;K\"1\"\r\nE\r\n", false}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.ende);
        EXPECT_EQ(LadeBytes(Datei(z) + f.ende) != nullptr, f.laedt);
    }
}

TEST_F(ClassFile, LineFeedsAloneReadLikeCrLf) {
    std::string lf = kBeispiel;
    for (size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
    auto a = LadeBytes(kBeispiel);
    auto b = LadeBytes(lf);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(Inhalt(*a), Inhalt(*b));
}

TEST_F(ClassFile, SemicolonsAndQuotesRoundTrip) {
    const std::vector<Text> werte{u"\";X1;Y1;K\"x", u"a;b", u";;", u"\"zitiert\"", u"O'Neil \"Jr.\"", u";"};
    auto k = TSchulklasse::bauen({u"7b", u"Deutsch"}, 0);
    Spalte(*k, u"A;B", u"1;2");
    for (size_t n = 0; n < werte.size(); ++n) Schueler(*k, werte[n], u"V" + TextFromUtf8(std::to_string(n)), {werte[n]});
    ASSERT_TRUE(k->speichern(u""));
    const std::string bytes = Lesen("Noten/7b/7b Deutsch.slk");
    EXPECT_NE(bytes.find("C;X3;Y3;K\"A;;B\"\r\n"), std::string::npos);
    // No record line holds a single semicolon beyond its own four fields'.
    for (size_t a = 0, e; (e = bytes.find("\r\n", a)) != std::string::npos; a = e + 2) {
        const std::string zeile = bytes.substr(a, e - a);
        if (zeile.rfind("C;", 0) != 0) continue;
        const size_t k = zeile.find(";K");
        ASSERT_NE(k, std::string::npos) << zeile;
        const std::string wert = zeile.substr(k + 2);
        for (size_t p = 0; p < wert.size(); ++p)
            if (wert[p] == ';') {
                ASSERT_TRUE(p + 1 < wert.size() && wert[p + 1] == ';') << zeile;
                ++p;
            }
    }
    auto g = TSchulklasse::laden(u"Noten/7b/7b Deutsch.slk");
    ASSERT_TRUE(g);
    k->NachNamenSortieren(0);
    EXPECT_EQ(Inhalt(*g), Inhalt(*k));
}

TEST_F(ClassFile, EuroSignIsByte0x80BothWays) {
    auto k = TSchulklasse::bauen({u"7b", u"Deutsch"}, 0);
    Spalte(*k, u"Test", u"01.02.16");
    Schueler(*k, u"Berger", u"Lena", {u"5\u20AC"}, u"\u20AC 12", u"Kosten \u20AC", u"");
    ASSERT_TRUE(k->speichern(u""));
    const std::string bytes = Lesen("Noten/7b/7b Deutsch.slk");
    EXPECT_NE(bytes.find("C;X3;Y5;K\"5\x80\"\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("E\r\n\x80 12\r\nKosten \x80\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find('\xAC'), std::string::npos);  // not the euro's low byte
    auto g = TSchulklasse::laden(u"Noten/7b/7b Deutsch.slk");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Zelle(1, 1).Text[0], u"5\u20AC");
    EXPECT_EQ(g->Telefonnummer[1], u"\u20AC 12");
    EXPECT_EQ(g->Notizen[1], u"Kosten \u20AC");
    // The other high characters keep their Latin-1 bytes.
    auto h = LadeBytes(Datei(Kopf("0 Noten", "1 Sch\xFCler")) + "C;X1;Y5;K\"\xDF\xFF\x81\"\r\nC;X2;Y5;K\"x\"\r\nE\r\n");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->Zelle(1, 0).Text[0], u"\u00DF\u00FF\u0081");
}

TEST_F(ClassFile, ClassLevelChoosesTheScaleOnLoad) {
    struct Fall { Text klasse; int oberstufe, skala; };
    const Fall faelle[] = {{u"7a", 11, 0}, {u"11", 11, 1}, {u"10b", 11, 0}, {u"10b", 10, 1}, {u"Q1", 10, 0}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(Utf8FromText(f.klasse));
        OberstufeAb = f.oberstufe;
        Notenskala = 1 - f.skala;
        auto k = TSchulklasse::bauen({f.klasse, u"Mathe"}, 0);
        EXPECT_EQ(Notenskala, f.skala);  // a new class chooses it as well
        Spalte(*k, u"Arbeit", u"01.10.15");
        Schueler(*k, u"Adler", u"Tom", {u"13"});
        ASSERT_TRUE(k->speichern(u""));
        Notenskala = 1 - f.skala;
        auto g = TSchulklasse::laden(u"Noten/" + f.klasse + u"/" + f.klasse + u" Mathe.slk");
        ASSERT_TRUE(g);
        EXPECT_EQ(Notenskala, f.skala);
        EXPECT_EQ(g->Zelle(1, 1).Text_RGB, Notenfarbe(u"13", f.skala));
    }
}

TEST_F(ClassFile, CountWithoutNumberCountsAsZero) {
    auto g = LadeBytes(Datei(Kopf("Noten", "viele Sch\xFCler")) + "E\r\n");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Notenanzahl, 1);
    EXPECT_EQ(g->Schueleranzahl, 1);
}

TEST_F(ClassFile, DamagedFilesFailCleanly) {
    const std::string gueltig = kBeispiel;
    std::string binaer;
    std::mt19937 zufall(7);
    for (int n = 0; n < 5000; ++n) binaer.push_back(static_cast<char>(zufall()));
    struct Fall { const char* name; std::string bytes; };
    const Fall faelle[] = {
        {"empty file", ""},
        {"header only", Datei({"ID;PCALCOOO32", "C;X1;Y1;K\"7b\""})},
        {"negative columns", Datei(Kopf("-3 Noten", "0 Sch\xFCler")) + "E\r\n"},
        {"negative students", Datei(Kopf("0 Noten", "-1 Sch\xFCler")) + "E\r\n"},
        {"int max columns", Datei(Kopf("2147483647 Noten", "0 Sch\xFCler")) + "E\r\n"},
        {"int max students", Datei(Kopf("0 Noten", "2147483647 Sch\xFCler")) + "E\r\n"},
        {"both counts huge", Datei(Kopf("8888888888888888888888888 Noten", "888888888888888888888 Sch\xFCler")) + "E\r\n"},
        {"beyond 64 bits", Datei(Kopf("99999999999999999999999 Noten", "1 Sch\xFCler")) + "E\r\n"},
        {"wraps to small in 32 bits", Datei(Kopf("4294967297 Noten", "0 Sch\xFCler", {"Arbeit"}, {"x"})) + "E\r\n"},
        {"more students than lines", Datei(Kopf("0 Noten", "3 Sch\xFCler")) +
                                         Datei({"C;X1;Y5;K\"A\"", "C;X2;Y5;K\"B\"", "E", "", "", "", "", ""})},
        {"cells cut off", gueltig.substr(0, gueltig.find("C;X5;Y5"))},
        {"E missing", gueltig.substr(0, gueltig.find("E\r\n"))},
        {"binary noise", binaer},
        {"NUL bytes", std::string(3000, '\0')},
        {"very long line", Datei(Kopf("1 Noten", "1 Sch\xFCler", {std::string(1 << 20, 'x')}))},
        {"count of a number line far too big", Datei(Kopf("1 Noten", "100000 Sch\xFCler", {"A"}, {"B"})) + "E\r\n"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Notenskala = 1;  // 7b would switch it to 0
        EXPECT_EQ(LadeBytes(f.bytes), nullptr);
        EXPECT_EQ(Notenskala, 1);
    }
    EXPECT_EQ(TSchulklasse::laden(u"Noten/7b/fehlt.slk"), nullptr);
    EXPECT_EQ(TSchulklasse::laden(u"Noten/7b"), nullptr);  // a folder
    // Larger than any gradebook: refused without reading it in.
    {
        std::ofstream gross(ordner_ / "gross.slk", std::ios::binary);
        gross << kBeispiel;
        gross.seekp(static_cast<std::streamoff>(kKlassendateiHoechstgroesse));
        gross << "\r\n";
    }
    EXPECT_EQ(TSchulklasse::laden(u"gross.slk"), nullptr);
}
