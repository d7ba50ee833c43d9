// Name lists: the character set of the file, the line formats, the letters a
// class file cannot hold; and the import into a class through the command
// (duplicates, sorting, the notes and errors it shows).
#include <gtest/gtest.h>

#include "classscreen/class_commands.hpp"
#include "gradebook/name_list.hpp"
#include "gradebook_fixture.hpp"

namespace {
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
        const int n = NamenslisteAusDatei(*klasse, TextFromUtf8((ordner_ / name).string()));
        SetFrameObserver(nullptr);
        return n;
    }
    bool gelb = false, rot = false;
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
