// Name lists: the character set of the file, the line formats, the letters a
// class file cannot hold; and the import into a class through the command
// (duplicates, sorting, the notes and errors it shows).
#include <gtest/gtest.h>

#include "classscreen/class_commands.hpp"
#include "gradebook/name_list.hpp"
#include "gradebook_fixture.hpp"

namespace {
namespace fs = std::filesystem;
using Namen = std::vector<std::pair<Text, Text>>;

Namen Gelesen(const std::string& bytes, bool csv) {
    Namen out;
    for (const auto& e : NamenslisteLesen(bytes, csv)) out.emplace_back(e.nachname, e.vornamen);
    return out;
}
}  // namespace

TEST(Namensliste, CharacterSetOfTheFile) {
    struct Fall { const char* name; std::string bytes; Text text; };
    const Fall faelle[] = {
        {"ASCII", "Kahn Lea", u"Kahn Lea"},
        {"UTF-8", "M\xC3\xBCller \xC3\x84nne", u"Müller Änne"},
        {"UTF-8 with mark", "\xEF\xBB\xBF\xC3\x96zt\xC3\xBCrk", u"Öztürk"},
        {"mark only", "\xEF\xBB\xBF", u""},
        {"Windows-1252", "M\xFCller \x80 \x8A", u"Müller € Š"},
        {"Latin-1 bytes that look like a broken UTF-8 start", "Gr\xE4\xDF", u"Gräß"},
        {"overlong UTF-8 is no UTF-8", "\xC0\xAF", u"\u00C0\u00AF"},
        {"UTF-8 beyond U+FFFF", "A\xF0\x9F\x98\x80", u"A\U0001F600"},
        {"UTF-16 little end", std::string("\xFF\xFE" "A\0\xFC\0", 6), u"Aü"},
        {"UTF-16 big end", std::string("\xFE\xFF\0B\x01\x41", 6), u"BŁ"},
    };
    for (const Fall& f : faelle) EXPECT_EQ(NamenslisteDekodieren(f.bytes), f.text) << f.name;
}

TEST(Namensliste, LettersAClassFileCannotHold) {
    struct Fall { Text ein, aus; bool angepasst; };
    const Fall faelle[] = {
        {u"Müller-Lüdenscheidt Ø €", u"Müller-Lüdenscheidt Ø €", false},
        {u"Łukasz", u"Lukasz", true},
        {u"Şahin", u"Sahin", true},
        {u"Dvořák", u"Dvorák", true},  // "á" is Latin-1 and stays
        {u"Œuvre ĳs", u"OEuvre ijs", true},
        {u"Nguyễn Thị", u"Nguyen Thi", true},
        {u"Ștefan Țurcan", u"Stefan Turcan", true},
        {u"O’Brien", u"OBrien", true},           // not a letter: dropped
        {u"Kim \U0001F600", u"Kim ", true},      // both halves of the pair dropped
        {u"A\u0085B", u"AB", true},               // a control character
    };
    for (const Fall& f : faelle) {
        bool angepasst = false;
        EXPECT_EQ(FuerKlassendatei(f.ein, angepasst), f.aus) << Utf8FromText(f.ein);
        EXPECT_EQ(angepasst, f.angepasst) << Utf8FromText(f.ein);
    }
}

TEST(Namensliste, TextLines) {
    struct Fall { const char* name; std::string bytes; Namen namen; };
    const Fall faelle[] = {
        {"surname and first names", "M\xFCller Anna Lena\r\n", {{u"Müller", u"Anna Lena"}}},
        {"surname only", "M\xFCller", {{u"Müller", u""}}},
        {"blanks, tabs, blank lines", "\r\n  \t\r\nKahn\t  Lea  \n\n\nZorn  Tim\n", {{u"Kahn", u"Lea"}, {u"Zorn", u"Tim"}}},
        {"a line ends at NUL", std::string("Abel Jo\0Berg Ina", 16), {{u"Abel", u"Jo"}, {u"Berg", u"Ina"}}},
        {"no header in a text list", "Name Vorname\nKahn Lea", {{u"Name", u"Vorname"}, {u"Kahn", u"Lea"}}},
        {"semicolons are part of a text list's names", "Kahn;Lea", {{u"Kahn;Lea", u""}}},
        {"a name of dropped characters only", "\xE2\x9C\x93 Lea\nKahn Lea", {{u"Kahn", u"Lea"}}},
    };
    for (const Fall& f : faelle) EXPECT_EQ(Gelesen(f.bytes, false), f.namen) << f.name;
}

TEST(Namensliste, CsvLines) {
    struct Fall { const char* name; std::string bytes; Namen namen; };
    const Fall faelle[] = {
        {"semicolons with header", "Nachname;Vorname;Klasse\r\nM\xFCller;Anna Lena;7a\r\nKahn;Lea;7a\r\n",
         {{u"Müller", u"Anna Lena"}, {u"Kahn", u"Lea"}}},
        {"commas, header Name in any case, UTF-8 with mark",
         "\xEF\xBB\xBFNAME,Vornamen\n\xC3\x96zt\xC3\xBCrk,Elif\n", {{u"Öztürk", u"Elif"}}},
        {"quoted fields with separators and quotes", "\"Berg, von\";\"Ina \"\"Ina\"\"\"\n\"Kahn\";\"Lea\"",
         {{u"Berg, von", u"Ina \"Ina\""}, {u"Kahn", u"Lea"}}},
        {"quoted header", "\"Nachname\",\"Vorname\"\nKahn,Lea", {{u"Kahn", u"Lea"}}},
        {"header only on the first line", "Kahn;Lea\nName;Vorname", {{u"Kahn", u"Lea"}, {u"Name", u"Vorname"}}},
        {"blanks around fields, blank lines", "\n Kahn ; Lea \n;\n", {{u"Kahn", u"Lea"}}},
        {"a line without separator is a text line", "Kahn;Lea\nZorn Tim Ole", {{u"Kahn", u"Lea"}, {u"Zorn", u"Tim Ole"}}},
        {"open quote ends with the line", "\"Kahn;Lea\nZorn;Tim", {{u"Kahn;Lea", u""}, {u"Zorn", u"Tim"}}},
    };
    for (const Fall& f : faelle) EXPECT_EQ(Gelesen(f.bytes, true), f.namen) << f.name;
}

TEST(Namensliste, FilesThatAreNoNameList) {
    using M = Namenslistenmangel;
    auto zeilen = [](int n, const std::string& zeile) {
        std::string s;
        for (int i = 0; i < n; ++i) s += zeile + std::to_string(i) + "\r\n";
        return s;
    };
    struct Fall { const char* name; std::string bytes; bool csv; M mangel; };
    const Fall faelle[] = {
        {"a plain list with tabs", "Kahn\tLea\r\nZorn Tim\n", false, M::Keiner},
        {"UTF-16 (NUL bytes that decode to letters)", std::string("\xFF\xFE" "K\0a\0h\0n\0\n\0", 12), false,
         M::Keiner},
        {"a NUL byte", std::string("Kahn Lea\0Zorn Tim", 17), false, M::Steuerzeichen},
        {"a PNG renamed", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), false, M::Steuerzeichen},
        {"an escape character", "Kahn \x1B[1mLea", false, M::Steuerzeichen},
        {"a byte Windows-1252 leaves undefined", "Kahn \x81Lea", false, M::Steuerzeichen},
        {"a line of 200 characters", std::string(200, 'x'), false, M::Keiner},
        {"200 letters of two bytes each", [] { std::string s; for (int i = 0; i < 200; ++i) s += "\xC3\x84"; return s; }(),
         false, M::Keiner},
        {"a line of 201 characters", "Kahn Lea\n" + std::string(201, 'x'), false, M::LangeZeile},
        {"200 names", zeilen(200, "Kahn Lea"), false, M::Keiner},
        {"201 names", zeilen(201, "Kahn Lea"), false, M::ZuVieleNamen},
        {"201 CSV lines: a header and 200 names", "Nachname;Vorname\n" + zeilen(200, "Kahn;Lea"), true, M::Keiner},
        {"blank lines are no names", zeilen(200, "Kahn Lea") + std::string(500, '\n'), false, M::Keiner},
    };
    for (const Fall& f : faelle) EXPECT_EQ(NamenslisteMangel(f.bytes, f.csv), f.mangel) << f.name;
}

namespace {
class NamenslisteImport : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        klasse = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        Spalte(*klasse, u"Arbeit", u"14.10.26");
        Schueler(*klasse, u"Müller", u"Anna Lena", {u"2"});
    }
    Namen Klassennamen() const {
        std::vector<std::pair<Text, Text>> out;
        for (int i = 1; i < klasse->Schueleranzahl; ++i)
            out.emplace_back(klasse->Zelle(i, 0).Text[0], klasse->Zelle(i, 0).Text[1]);
        return out;
    }
    // Imports with every box closed by Enter; notes whether a box with a
    // yellow ("Info", "Fehler" of the name list) or red title was drawn.
    int Import(const std::string& name, const std::string& bytes) {
        Schreiben(ordner_ / name, bytes);
        for (int f = 20; f < 300; f += 20) KeyTap(Frame(f), 13);  // once a box has grown
        gelb = rot = false;
        SetFrameObserver([&] {
            for (const DrawVertex& v : Ctx().shown.vertices) {
                gelb |= v.rgba == 0xFF00FFFFu;
                rot |= v.rgba == 0xFF0000FFu;
            }
        });
        boxen.clear();
        TInfoBox::Gezeigt = [&](const TInfoBox& b) {
            boxen.push_back(b.info);
            boxen.back().insert(boxen.back().begin(), b.title);
        };
        const int n = NamenslisteAusDatei(*klasse, TextFromUtf8((ordner_ / name).string()));
        TInfoBox::Gezeigt = nullptr;
        SetFrameObserver(nullptr);
        return n;
    }
    bool gelb = false, rot = false;
    std::vector<std::vector<Text>> boxen;  // title, then lines
    std::shared_ptr<TSchulklasse> klasse;
};
}  // namespace

TEST_F(NamenslisteImport, AddsSortsAndSkipsDuplicates) {
    EXPECT_EQ(Import("liste.txt", "Zorn Tim\r\nM\xFCller Anna Lena\r\nAbel Jo\r\nM\xFCller Anna\r\n"), 3);
    EXPECT_FALSE(gelb || rot) << "a note although no name was adapted";
    const Namen erwartet{{u"Abel", u"Jo"}, {u"Müller", u"Anna"}, {u"Müller", u"Anna Lena"}, {u"Zorn", u"Tim"}};
    EXPECT_EQ(Klassennamen(), erwartet);
    // The old student keeps her grade; the new ones have an empty cell per column.
    EXPECT_EQ(klasse->Zelle(3, 1).Text[0], u"2");
    EXPECT_EQ(klasse->Zelle(1, 1).Text[0], u"");
    EXPECT_EQ(klasse->Zensurzeile[1]->Kachel.size(), 2u);
    EXPECT_EQ(klasse->Telefonnummer.size(), 5u);
    EXPECT_EQ(klasse->VergesseneHA[4], kPlatzhalterVergesseneHA);
    // The same list again adds nobody; so does its UTF-8 CSV form.
    EXPECT_EQ(Import("liste.txt", "Zorn Tim\r\nM\xFCller Anna Lena\r\nAbel Jo\r\n"), 0);
    EXPECT_EQ(Import("liste.csv", "Nachname;Vorname\nZorn;Tim\nM\xC3\xBCller;Anna\n"), 0);
    EXPECT_EQ(Klassennamen(), erwartet);
    // Saved, the new students are in the file.
    ASSERT_TRUE(klasse->speichern(u""));
    EXPECT_NE(Lesen("Noten/7a/7a Mathe.slk").find("C;X1;Y6;K\"M\xFCller\""), std::string::npos);
}

TEST_F(NamenslisteImport, OtherFilesAreRefusedWithAMessage) {
    EXPECT_EQ(Import("liste.docx", "Kahn Lea"), 0);
    EXPECT_TRUE(gelb);
    EXPECT_EQ(Klassennamen().size(), 1u);
    EXPECT_EQ(Import("zu-gross.txt", std::string(5u << 20, 'x')), 0);
    EXPECT_TRUE(rot);
    EXPECT_EQ(Klassennamen().size(), 1u);
    EXPECT_EQ(Import("LISTE.TXT", "Kahn Lea"), 1);  // the extension in any case
    EXPECT_FALSE(gelb || rot);
}

TEST_F(NamenslisteImport, AdaptedNamesAreCountedInANote) {
    EXPECT_EQ(Import("liste.txt", "\xC5\x81ukasz Jan\nDvo\xC5\x99\xC3\xA1k Ond\xC5\x99\x65j\nKahn Lea\n"), 3);
    EXPECT_TRUE(gelb);
    const Namen erwartet{{u"Dvorák", u"Ondrej"}, {u"Kahn", u"Lea"}, {u"Lukasz", u"Jan"}, {u"Müller", u"Anna Lena"}};
    EXPECT_EQ(Klassennamen(), erwartet);
}

TEST_F(NamenslisteImport, AFileThatIsNoNameListAddsNobody) {
    const std::vector<std::pair<std::string, std::string>> dateien{
        {"bild.txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x01\0", 20)},
        {"lang.csv", "Kahn;Lea\n" + std::string(300, 'x')},
        {"million.txt", [] { std::string s; for (int i = 0; i < 1000000; ++i) s += "A\n"; return s; }()},
    };
    for (const auto& [name, bytes] : dateien) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Import(name, bytes), 0);
        EXPECT_EQ(Klassennamen().size(), 1u);
        ASSERT_EQ(boxen.size(), 1u);
        EXPECT_EQ(boxen[0][0], u"Fehler");
        EXPECT_EQ(boxen[0][2], TextFromUtf8((ordner_ / name).string()));
        EXPECT_EQ(boxen[0].back(), u"Es wurde niemand hinzugefügt.");
    }
    EXPECT_FALSE(fs::exists("Noten/7a/7a Mathe.slk.ungespeichert"));
}

TEST_F(NamenslisteImport, TheNoteListsTheAdaptedNames) {
    std::string liste;
    for (const char* n : {"\xC5\x81ukasz Jan", "\xC5\x9E" "ahin Ay\xC5\x9F" "e", "Dvo\xC5\x99\xC3\xA1k Petr",
                          "Kahn Lea", "\xC4\xB0lhan Can", "Nguy\xE1\xBB\x85n Lan", "\xC5\xA0imek Zo\xC3\xAB",
                          "\xC5\x81\xC3\xB3" "d\xC5\xBA Ola", "\xC5\xBB" "ak Ewa"})
        liste += std::string(n) + "\n";
    EXPECT_EQ(Import("liste.txt", liste), 9);
    ASSERT_EQ(boxen.size(), 1u);
    const std::vector<Text> erwartet{u"Info",
                                     u"8 Namen wurden beim Import angepasst:",
                                     u"Łukasz Jan -> Lukasz Jan",
                                     u"Şahin Ayşe -> Sahin Ayse",
                                     u"Dvořák Petr -> Dvorák Petr",
                                     u"İlhan Can -> Ilhan Can",
                                     u"Nguyễn Lan -> Nguyen Lan",
                                     u"Šimek Zoë -> Simek Zoë",
                                     u"und 2 weitere",
                                     u"Buchstaben, die eine Klassendatei nicht speichern kann,",
                                     u"haben ihren Akzent verloren, andere Zeichen wurden weggelassen."};
    EXPECT_EQ(boxen[0], erwartet);
}
