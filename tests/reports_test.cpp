// The printed reports read back with pdftotext: every value in the order it
// is printed, nothing of another student on a student's sheet, the sheet for
// parents without notes and telephone, decimal commas, the head with school
// and teacher and the lines to sign, the class list's pages with their
// repeated heads, the empty list without them, the paper sizes, names with
// umlauts, "ß", "€" and ";" as typed, a second report of the day beside the
// first, and the gradebook left as it was; while encryption is on, reports
// lie only in the private folder.
#include <algorithm>

#include "classscreen/class_commands.hpp"
#include "classscreen/reports.hpp"
#include "gradebook/report_rules.hpp"
#include "gradebook/school_names.hpp"
#include "gradebook_fixture.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/sealed_files.hpp"

namespace {
std::string U8(const Text& t) { return Utf8FromText(t); }

// The text of the PDF in content order, pages split at form feeds.
std::vector<std::string> Seitentexte(const Text& pdf) {
    std::string out;
    EXPECT_EQ(RunAndCapture({u"pdftotext", u"-raw", u"-enc", u"UTF-8", pdf, u"-"}, out), 0) << U8(pdf);
    std::vector<std::string> seiten;
    size_t a = 0, b;
    while ((b = out.find('\f', a)) != std::string::npos) {
        seiten.push_back(out.substr(a, b - a));
        a = b + 1;
    }
    return seiten;
}
std::string Alles(const Text& pdf) {
    std::string s;
    for (const auto& t : Seitentexte(pdf)) s += t + "\n";
    return s;
}
// "Page size: 595.28 x 841.89 pts (A4)" -> "595.28 x 841.89".
std::string Seitengroesse(const Text& pdf) {
    std::string out;
    RunAndCapture({u"pdfinfo", pdf}, out);
    const size_t p = out.find("Page size:");
    if (p == std::string::npos) return "";
    const size_t a = out.find_first_not_of(' ', p + 10), e = out.find(" pts", a);
    return out.substr(a, e - a);
}

// Each of `werte` found after the one before it; the first missing one otherwise.
std::string FehltInFolge(const std::string& text, const std::vector<std::string>& werte) {
    size_t pos = 0;
    for (const auto& w : werte) {
        const size_t f = text.find(w, pos);
        if (f == std::string::npos) return w;
        pos = f + w.size();
    }
    return "";
}

class Reports : public GradebookTest {
protected:
    // 7a Deutsch: Arbeit, Mündl., Zeugnis, a main-subject group, then Test.
    std::shared_ptr<TSchulklasse> Klasse() {
        auto k = TSchulklasse::bauen({u"7a", u"Deutsch"}, 0);
        Spalte(*k, u"Arbeit", u"14.09.26");
        Spalte(*k, u"Mündl.", u"20.09.26");
        Spalte(*k, u"Zeugnis", u"31.01.27");
        for (const char16_t* t : {u"schriftl.", u"sonst.", u"HauptF."}) Spalte(*k, t);
        Spalte(*k, u"Test", u"10.03.27");
        Schueler(*k, u"Adler", u"Anna", {u"4-", u"5+", u"4"}, u"0911 4711", u"Nachhilfe; ab März", u"2 vergessen");
        Schueler(*k, u"Müßig", u"Jörg €", {u"2-", u"1+", u"2", u"", u"", u"", u"n.f."});
        Schueler(*k, u"Öztürk;Ünal", u"Ärmel", {u"6", u"3-", u"5", u"", u"", u"", u"krank"});
        k->Durchschnittsnotenberechnung(-1);
        return k;
    }
    static Text Zelle(const TSchulklasse& k, int i, int j) { return k.Zelle(i, j).Text[0]; }
    // An average as it stands on paper.
    static Text Gedruckt(const TSchulklasse& k, int i, int j) { return MitDezimalkomma(Zelle(k, i, j)); }
};

TEST_F(Reports, StudentSheetHoldsTheStudentsValuesInOrderAndNothingOfOthers) {
    auto k = Klasse();
    const auto vorher = Inhalt(*k);
    const Text pdf = SchuelerbogenSchreiben(*k, 2, Bogenumfang::Vollstaendig);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(U8(pdf).rfind("Ausdrucke/7a Deutsch Schülerbogen Müßig Jörg € 20", 0), 0u) << U8(pdf);
    EXPECT_EQ(Seitengroesse(pdf), "595.28 x 841.89");
    const std::string text = Alles(pdf);
    EXPECT_EQ(FehltInFolge(text, {"Schülerbogen", "Jörg € Müßig", "7a", "Deutsch", U8(ausdruck::SchuljahrHeute()),
                                  U8(ausdruck::Heute()), "1. Halbjahr", "Arbeit", "14.09.26", "2-", "Mündl.",
                                  "20.09.26", "1+", "Durchschnitt schriftlich", U8(Gedruckt(*k, 2, 4)),
                                  "Durchschnitt sonstige", U8(Gedruckt(*k, 2, 5)), "Gesamt (Hauptfach)",
                                  U8(Gedruckt(*k, 2, 6)), "Zeugnisnote", "31.01.27", "2", "2. Halbjahr", "Test",
                                  "10.03.27", "n.f."}),
              "")
        << text;
    // Placeholders stay off the paper; so does everyone else.
    for (const char* fremd : {"Telefon", "Notizen", "Hausaufg", "Adler", "Anna", "Öztürk", "Ärmel", "4-", "5+", "3-", "krank", "0911", "Nachhilfe"})
        EXPECT_EQ(text.find(fremd), std::string::npos) << fremd << " on the sheet:\n" << text;

    // Adler's entries print as typed, the ";" included.
    const std::string adler = Alles(SchuelerbogenSchreiben(*k, 1, Bogenumfang::Vollstaendig));
    EXPECT_EQ(FehltInFolge(adler, {"Anna Adler", "4-", "5+", "4", "Weitere Angaben", "Vergessene Hausaufgaben:",
                                   "2 vergessen", "Telefon:", "0911 4711", "Notizen:", "Nachhilfe; ab März"}),
              "")
        << adler;
    EXPECT_EQ(Inhalt(*k), vorher);
}

TEST_F(Reports, ForParentsTheSheetHasNoNoteAndNoTelephone) {
    auto k = Klasse();
    k->VergesseneHA[1] = u"3 vergessene Hausaufg.";
    struct Fall {
        Bogenumfang umfang;
        std::vector<std::string> folge, fehlt;
    };
    const Fall faelle[] = {
        {Bogenumfang::FuerEltern,
         {"Anna Adler", "4-", "5+", "4", "Vergessene Hausaufgaben:", "3", "Datum, Unterschrift der Lehrkraft"},
         {"Telefon", "0911", "Notizen", "Nachhilfe", "vergessene Hausaufg."}},
        {Bogenumfang::Vollstaendig,
         {"Anna Adler", "Vergessene Hausaufgaben:", "3", "Telefon:", "0911 4711", "Notizen:", "Nachhilfe; ab März",
          "Datum, Unterschrift der Lehrkraft"},
         {"vergessene Hausaufg."}},
    };
    for (const Fall& f : faelle) {
        const std::string text = Alles(SchuelerbogenSchreiben(*k, 1, f.umfang));
        EXPECT_EQ(FehltInFolge(text, f.folge), "") << text;
        for (const auto& w : f.fehlt) EXPECT_EQ(text.find(w), std::string::npos) << w << " on the sheet:\n" << text;
    }
}

TEST_F(Reports, EveryReportHasTheHeadDecimalCommasAndItsLineToSign) {
    // Latin-1, as the main menu writes it.
    std::ofstream(".Kladdorix-Schule", std::ios::binary) << "Goethe-Gymnasium W\xFCrzburg\r\nFrau Wei\xDF\r\n";
    auto k = Klasse();
    // Müßig's averages: 2.25, 0.75 and 1.50.
    ASSERT_EQ(Zelle(*k, 2, 4), u"2.25");
    ASSERT_EQ(Zelle(*k, 2, 5), u"0.75");
    ASSERT_EQ(Zelle(*k, 2, 6), u"1.50");
    struct Fall {
        const char* was;
        Text pdf;
        std::vector<std::string> zahlen, fehlt;
        bool unterschrift;
    };
    const Fall faelle[] = {
        {"Schülerbogen", SchuelerbogenSchreiben(*k, 2, Bogenumfang::FuerEltern), {"2,25", "0,75", "1,50"},
         {"2.25", "0.75", "1.50"}, true},
        {"Klassenliste", KlassenlisteSchreiben(*k, false), {"2,25", "0,75", "1,50", "4,62"},
         {"2.25", "0.75", "1.50", "4.62"}, false},
        {"Notenspiegel", NotenspiegelSchreiben(*k, 1, 0), {"Durchschnitt: 4,17"}, {"4.17", "Kenntnisnahme"}, true},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.was);
        ASSERT_FALSE(f.pdf.empty());
        const std::string text = Alles(f.pdf);
        for (const std::string& kopf : {std::string("Goethe-Gymnasium Würzburg"), std::string("Frau Weiß"),
                                        std::string("7a"), std::string("Deutsch"), U8(ausdruck::SchuljahrHeute()),
                                        U8(ausdruck::Heute())})
            EXPECT_NE(text.find(kopf), std::string::npos) << kopf << " missing in\n" << text;
        for (const auto& z : f.zahlen) EXPECT_NE(text.find(z), std::string::npos) << z << " missing in\n" << text;
        for (const auto& z : f.fehlt) EXPECT_EQ(text.find(z), std::string::npos) << z << " in\n" << text;
        EXPECT_EQ(text.find("Datum, Unterschrift der Lehrkraft") != std::string::npos, f.unterschrift) << text;
    }
}

TEST_F(Reports, NotenspiegelCountsTwentyFiveOfTwentySevenAndNamesTheOthers) {
    auto k = TSchulklasse::bauen({u"9b", u"Englisch"}, 0);
    Spalte(*k, u"Arbeit", u"02.12.26");
    const Text noten[] = {u"1", u"2+", u"2", u"3-", u"4", u"5", u"6"};
    for (int i = 0; i < 25; ++i) Schueler(*k, u"Benotet" + TextFromInt(100 + i), u"Kim", {noten[i % 7]});
    Schueler(*k, u"Zander", u"Ida", {u""});
    Schueler(*k, u"Yildiz", u"Ece", {u"krank"});
    const std::string text = Alles(NotenspiegelSchreiben(*k, 1, 0));
    EXPECT_EQ(FehltInFolge(text, {"Benotet: 25 von 27", "Ohne Note: Zander, Ida; Yildiz, Ece (krank)",
                                  "Datum, Unterschrift der Lehrkraft"}),
              "")
        << text;
    EXPECT_EQ(text.find("Benotet1"), std::string::npos) << text;
}

TEST_F(Reports, SchoolAndTeacherAreKeptAsTwoLatin1Lines) {
    EXPECT_EQ(SchulangabenLesen(), Schulangaben{}) << "no file, no names";
    ASSERT_TRUE(SchulangabenSchreiben({u"Gymnasium Öhringen", u"Herr Groß"}));
    EXPECT_EQ(Lesen(".Kladdorix-Schule"), "Gymnasium \xD6hringen\r\nHerr Gro\xDF\r\n");
    EXPECT_EQ(SchulangabenLesen(), (Schulangaben{u"Gymnasium Öhringen", u"Herr Groß"}));
    // A name the file cannot hold leaves the old ones.
    EXPECT_FALSE(SchulangabenSchreiben({u"Schule 5 €", u"Herr Groß"}));
    EXPECT_FALSE(SchulangabenSchreiben({u"Schule", u"Frau Łukasz"}));
    EXPECT_EQ(SchulangabenLesen(), (Schulangaben{u"Gymnasium Öhringen", u"Herr Groß"}));
    EXPECT_FALSE(std::filesystem::exists(".Kladdorix-Einstellungen"));
}

TEST_F(Reports, ClassListsShowTheGridAndTheEmptyOneOnlyTheNames) {
    auto k = Klasse();
    const auto vorher = Inhalt(*k);
    struct Fall {
        bool leer;
        const char* titel;
    };
    for (const Fall f : {Fall{false, "Klassenliste 7a Deutsch"}, Fall{true, "Liste 7a Deutsch"}}) {
        SCOPED_TRACE(f.titel);
        const Text pdf = KlassenlisteSchreiben(*k, f.leer);
        ASSERT_FALSE(pdf.empty());
        EXPECT_NE(pdf.find(f.leer ? u"Leere Liste" : u"Klassenliste"), Text::npos);
        EXPECT_EQ(Seitengroesse(pdf), "841.89 x 595.28");
        const auto seiten = Seitentexte(pdf);
        ASSERT_EQ(seiten.size(), 1u);
        std::vector<std::string> folge{f.titel, "Name", "Arbeit", "14.09.26", "Mündl.", "20.09.26", "Zeugnis",
                                       "31.01.27", "schriftl.", "Ø", "sonst.", "Ø", "HauptF.", "Ø", "Test",
                                       "10.03.27", "Adler, Anna"};
        // The empty list has empty heads: for what is written next in class.
        if (f.leer) folge = {f.titel, "Name"};
        const std::vector<Text> zeilen[] = {{u"4-", u"5+", u"4"},
                                            {u"2-", u"1+", u"2", Gedruckt(*k, 2, 4), Gedruckt(*k, 2, 5),
                                             Gedruckt(*k, 2, 6), u"n.f."},
                                            {u"6", u"3-", u"5", Gedruckt(*k, 3, 4), Gedruckt(*k, 3, 5),
                                             Gedruckt(*k, 3, 6), u"krank"}};
        const char* namen[] = {"Adler, Anna", "Müßig, Jörg €", "Öztürk;Ünal, Ärmel"};
        if (!f.leer) folge.pop_back();
        for (int i = 0; i < 3; ++i) {
            folge.push_back(namen[i]);
            if (!f.leer)
                for (const Text& t : zeilen[i])
                    if (!t.empty()) folge.push_back(U8(t));
        }
        folge.push_back("Seite 1 von 1");
        EXPECT_EQ(FehltInFolge(seiten[0], folge), "") << seiten[0];
        if (f.leer) {
            for (const char* eintrag : {"4-", "5+", "1+", "n.f.", "krank", "Arbeit", "14.09.26", "Mündl.", "Zeugnis",
                                        "schriftl.", "sonst.", "HauptF.", "Ø", "Test"})
                EXPECT_EQ(seiten[0].find(eintrag), std::string::npos) << eintrag;
        }
    }
    EXPECT_EQ(Inhalt(*k), vorher);
}

TEST_F(Reports, FortyBySixtyClassListRepeatsNamesAndHeadsOnEveryPage) {
    auto k = TSchulklasse::bauen({u"8c", u"Mathematik"}, 0);
    for (int j = 1; j <= 60; ++j) Spalte(*k, j % 2 ? u"Arbeit" : u"Test", TextFromInt(10 + j % 18) + u".10.26");
    for (int i = 1; i <= 40; ++i) Schueler(*k, u"Schüler" + TextFromInt(100 + i), u"Kim", {});
    k->NachNamenSortieren(0);
    // 34 rows and 18 columns a page: 2 row bands by 4 column bands.
    const auto teile = KlassenlistenSeiten(*k);
    ASSERT_EQ(teile.size(), 8u);
    const auto seiten = Seitentexte(KlassenlisteSchreiben(*k, false));
    ASSERT_EQ(seiten.size(), teile.size());
    for (size_t n = 0; n < seiten.size(); ++n) {
        SCOPED_TRACE(n + 1);
        const auto& t = teile[n];
        const std::string& s = seiten[n];
        EXPECT_EQ(FehltInFolge(s, {"Klassenliste 8c Mathematik", "Name", U8(k->Zelle(0, t.ersteSpalte).Text[2]),
                                   U8(k->Zelle(0, t.letzteSpalte).Text[2]),
                                   U8(k->Zelle(t.ersteZeile, 0).Text[0]) + ", Kim",
                                   U8(k->Zelle(t.letzteZeile, 0).Text[0]) + ", Kim",
                                   "Seite " + std::to_string(n + 1) + " von 8"}),
                  "")
            << s;
        // Only the rows of this band.
        for (int i = 1; i <= 40; ++i) {
            const bool hier = i >= t.ersteZeile && i <= t.letzteZeile;
            EXPECT_EQ(s.find(U8(k->Zelle(i, 0).Text[0]) + ",") != std::string::npos, hier) << i;
        }
    }
}

TEST_F(Reports, NotenspiegelOnA5AsTheBoxShowsIt) {
    auto k = TSchulklasse::bauen({u"7a", u"Mathematik"}, 0);
    Spalte(*k, u"Arbeit", u"14.03.25");
    Spalte(*k, u"schriftl.");
    const Text noten[] = {u"1-", u"2-3", u"5+", u"6", u"n.f.", u"krank"};
    for (const Text& n : noten) Schueler(*k, u"Name" + n, u"Kim", {n});
    const auto vorher = Inhalt(*k);
    const Text pdf = NotenspiegelSchreiben(*k, 1, 0);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(Seitengroesse(pdf), "419.53 x 595.28");
    const std::string text = Alles(pdf);
    EXPECT_EQ(FehltInFolge(text, {"Notenspiegel", "7a Mathematik", "Arbeit vom 14.03.25", "Note", "1", "2", "3", "4",
                                  "5", "6", "Anzahl", "1", "1", "0", "0", "1", "1", "Benotet: 4 von 6",
                                  "Nicht mitgezählt: n.f. 1", "andere Einträge 1", "Durchschnitt: 3,63",
                                  "5 und 6: 2 von 4 (50 %)", "mehr als ein Drittel",
                                  "Ohne Note: Namen.f., Kim (n.f.); Namekrank, Kim (krank)",
                                  "Datum, Unterschrift der Lehrkraft", "Kenntnisnahme Schulleitung"}),
              "")
        << text;
    // Of those with a grade no name is on it.
    for (const char* benotet : {"Name1-", "Name2-3", "Name5+", "Name6"})
        EXPECT_EQ(text.find(benotet), std::string::npos) << benotet;

    // An average column prints the box's explanation instead of counts.
    const std::string schnitt = Alles(NotenspiegelSchreiben(*k, 2, 0));
    EXPECT_EQ(FehltInFolge(schnitt, {"schriftl.", "Diese Spalte enthält berechnete Durchschnittsnoten."}), "");
    EXPECT_EQ(schnitt.find("Anzahl"), std::string::npos);
    EXPECT_EQ(Inhalt(*k), vorher);
}

TEST_F(Reports, AFileInTheWayOfTheFolderGivesNoReportAndASecondOfTheDayGoesBesideTheFirst) {
    auto k = Klasse();
    const Text erst = KlassenlisteSchreiben(*k, false);
    ASSERT_FALSE(erst.empty());
    const std::string ersterInhalt = Lesen(U8(erst));
    const Text stamm = erst.substr(0, erst.size() - 4);
    EXPECT_EQ(KlassenlisteSchreiben(*k, false), stamm + u" (2).pdf");
    EXPECT_EQ(KlassenlisteSchreiben(*k, false), stamm + u" (3).pdf");
    EXPECT_EQ(Lesen(U8(erst)), ersterInhalt) << "the first paper stays as it was";
    EXPECT_EQ(Dateien("Ausdrucke"), (std::vector<std::string>{U8(stamm.substr(10) + u" (2).pdf"),
                                                             U8(stamm.substr(10) + u" (3).pdf"), U8(erst.substr(10))}));

    std::filesystem::remove_all("Ausdrucke");
    std::ofstream("Ausdrucke") << "kein Ordner";
    EXPECT_EQ(SchuelerbogenSchreiben(*k, 1, Bogenumfang::FuerEltern), u"");
    EXPECT_EQ(KlassenlisteSchreiben(*k, true), u"");
    EXPECT_EQ(NotenspiegelSchreiben(*k, 1, 0), u"");
}

TEST_F(Reports, WhileEncryptedAReportGoesToThePrivateFolderAndIsGoneAtTheEnd) {
    const std::string laufzeit = (ordner_ / "laufzeit").string();
    std::filesystem::create_directories(laufzeit);
    setenv("XDG_RUNTIME_DIR", laufzeit.c_str(), 1);
    SetNewKeyLimits({1, 8192});
    std::array<unsigned char, kRecoveryBytes> code{};
    ASSERT_TRUE(PrepareNewKey(code));
    ASSERT_EQ(WriteNewKeyFile(u".Kladdorix-Schluessel", u"ein langes Passwort", code), KeyResult::Ok);
    const Text pdf = SchuelerbogenSchreiben(*Klasse(), 1, Bogenumfang::Vollstaendig);
    SealingOff();
    SetNewKeyLimits({});
    unsetenv("XDG_RUNTIME_DIR");
    const Text ordner = PrivaterKopienordner();
    // A neutral name: nothing of the class or the student in it.
    EXPECT_EQ(pdf.rfind(ordner + u"/Ausdruck-", 0), 0u) << U8(pdf);
    EXPECT_EQ(pdf.find(u"Adler"), Text::npos) << U8(pdf);
    EXPECT_NE(Alles(pdf).find("Anna Adler"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(U8(ordner)).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_FALSE(std::filesystem::exists("Ausdrucke"));
    DeleteMarkedFiles();
    EXPECT_FALSE(std::filesystem::exists(U8(pdf)));
}

TEST(ReportRules, NamesDatesYearsAndPageCuts) {
    EXPECT_EQ(Ausdruckdateiname(u"7a", u"Deutsch", u"Schülerbogen Öz/Üç", 2026, 3, 5),
              u"7a Deutsch Schülerbogen Öz-Üç 2026-03-05.pdf");
    EXPECT_EQ(Druckdatum(2026, 12, 8), u"08.12.2026");
    struct Jahr { int jahr, monat; Text soll; };
    for (const Jahr& j : {Jahr{2026, 7, u"2025/26"}, Jahr{2026, 8, u"2026/27"}, Jahr{2099, 12, u"2099/00"}})
        EXPECT_EQ(Schuljahr(j.jahr, j.monat), j.soll);

    struct Aufteilung { int schueler, spalten; std::vector<Seitenausschnitt> soll; };
    const Aufteilung faelle[] = {
        {0, 0, {{1, 0, 1, 0}}},
        {3, 2, {{1, 3, 1, 2}}},
        {5, 7, {{1, 3, 1, 4}, {4, 5, 1, 4}, {1, 3, 5, 7}, {4, 5, 5, 7}}},
        {6, 4, {{1, 3, 1, 4}, {4, 6, 1, 4}}},
    };
    for (const auto& f : faelle) EXPECT_EQ(Seitenaufteilung(f.schueler, f.spalten, 3, 4), f.soll) << f.schueler;

    const std::vector<Text> typen{u"", u"Arbeit", u"schriftl.", u"sonst.", u"HauptF.", u"Test", u"schriftl.",
                                  u"sonst.", u"HauptF.", u"HA."};
    EXPECT_EQ(Halbjahresabschnitte(typen),
              (std::vector<Halbjahresabschnitt>{{1, 1, 4}, {5, 5, 8}, {9, 9, 0}}));
    EXPECT_EQ(Halbjahresabschnitte({u"", u"Arbeit", u"Test"}), (std::vector<Halbjahresabschnitt>{{1, 2, 0}}));

    struct Wort { Text ein, komma, ha; };
    for (const Wort& w : {Wort{u"2.25", u"2,25", u"2.25"}, Wort{u"11.5", u"11,5", u"11.5"}, Wort{u"n.f.", u"n.f.", u"n.f."},
                          Wort{u"14.09.26", u"14.09.26", u"14.09.26"}, Wort{u"2-3", u"2-3", u"2-3"},
                          Wort{u"3 vergessene Hausaufg.", u"3 vergessene Hausaufg.", u"3"},
                          Wort{u".5", u".5", u".5"}, Wort{u"2.", u"2.", u"2."}}) {
        EXPECT_EQ(MitDezimalkomma(w.ein), w.komma) << U8(w.ein);
        EXPECT_EQ(HausaufgabenOhneWiederholung(w.ein), w.ha) << U8(w.ein);
    }
    EXPECT_EQ(AusdruckNummeriert(u"Ausdrucke/7a M Klassenliste 2026-12-08.pdf", 1),
              u"Ausdrucke/7a M Klassenliste 2026-12-08.pdf");
    EXPECT_EQ(AusdruckNummeriert(u"Ausdrucke/7a M Klassenliste 2026-12-08.pdf", 12),
              u"Ausdrucke/7a M Klassenliste 2026-12-08 (12).pdf");
}
}  // namespace
