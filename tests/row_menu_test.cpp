// The row menu of a student: placed beside the portrait, it renames (refusing
// another student's name, carrying the photo along), deletes after the
// warning, edits the three entries and turns the photo by a quarter, always
// through a file written beside the old one.
#include "class_edit_fixture.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/portrait_files.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/pixmap.hpp"

namespace fs = std::filesystem;

namespace {
const Text kLoeschen(20, u'\b');  // Backspace typed often enough to empty the field
const std::vector<Text> kDoppelt{u"Es gibt bereits einen Schüler", u"mit diesen Namen in der Klasse!",
                                 u"Darum wird er nicht hingefügt."};
const std::vector<Text> kKeinDateiname{u"Der Name dieses Schülers taugt nicht als",
                                       u"Dateiname (er enthält etwa / oder \\).",
                                       u"Darum kann zu ihm kein Bild gespeichert werden."};
const std::vector<Text> kBildBleibt{u"Der neue Name taugt nicht als Dateiname",
                                    u"(er enthält etwa / oder \\). Das Bild des Schülers",
                                    u"bleibt darum unter dem alten Namen im Ordner \"Bilder\"."};
const std::vector<Text> kUnlesbar{u"Das Bild dieses Schülers", u"konnte nicht gelesen werden."};
const std::vector<Text> kUngeschrieben{u"Das gedrehte Bild konnte nicht",
                                       u"gespeichert werden. Das alte Bild bleibt erhalten."};

class RowMenu : public ClassEditTest {
protected:
    std::shared_ptr<TSchulklasse> Klasse() {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.26");
        Spalte(*k, u"Mündl.", u"02.10.26");
        Schueler(*k, u"Adler", u"Anna", {u"1", u"2"}, u"0911 1", u"liest gern");
        Schueler(*k, u"Berger", u"Ben", {u"3", u"4"});
        Schueler(*k, u"Chen", u"Clara", {u"5", u"6"}, u"0911 3");
        Schueler(*k, u"Dorn", u"Dana", {u"2-", u""});
        Ruhen(*k);
        return k;
    }
    static std::vector<Text> Namen(const TSchulklasse& k) {
        std::vector<Text> n;
        for (int i = 1; i < k.Schueleranzahl; ++i) n.push_back(k.Zelle(i, 0).Text[0] + u" " + k.Zelle(i, 0).Text[1]);
        return n;
    }
    static std::string Bildpfad(const std::string& name) { return "Noten/7a/Bilder/" + name + ".png"; }
    // A small photo whose pixel (x, y) has the colour (x, y, 7).
    static void Foto(const std::string& name, int w, int h) {
        TPixmap p = CreatePixmap(w, h, 3, 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) WritePixel(p, x, y, 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8 | 7);
        fs::create_directories("Noten/7a/Bilder");
        ASSERT_TRUE(SavePixmapAsPNG(p, TextFromUtf8(Bildpfad(name)), 6));
    }
    // The row menu of a student with tile `befehl` chosen; the test adds the
    // answers to the dialogs that follow, then runs it with Ausfuehren.
    Dialogskript& Menue(int befehl) { return Neu().Kachel(Schuelermenue, befehl); }
    int Ausfuehren(TSchulklasse& k, int zeile) {
        skript->Starten();
        const int code = Antippen(k, zeile, 0);
        EXPECT_TRUE(skript->Fertig()) << "not every dialog was answered";
        return code;
    }
    static std::vector<Text> Warnung(const Text& vorname, const Text& nachname) {
        return {u"Wollen Sie wirklich diese Schüler-", u"zeile mit sämtlichen Noten von", vorname + u" " + nachname,
                u"für immer aus der Liste entfernen?!"};
    }
    void Ok(const Text& titel, const FarbArg& farbe, const std::vector<Text>& zeilen) {
        skript->Box(titel, farbe, zeilen, {kOkSchalter}, 0);
    }
};
}  // namespace

TEST_F(RowMenu, OpensBesideThePortraitWithTheStudentsEntries) {
    auto k = Klasse();
    Foto("Chen Clara", 120, 200);
    const auto& m = Schuelermenue;
    struct Fall { int zeile, scrollY; int x, y, bildBreite, bildY; };
    // Name tile of row i at 46 + 84 i; the embedded head is 160 x 160; the menu is 468 x 449.
    const Fall faelle[] = {
        {2, 0, 160, 163, 160, 168},        // top 214: menu at 214 - 50.75, photo at 214 - 46
        {3, 0, 120, 247, 120, 252},        // Chen's own photo, 120 wide
        {4, 700, 160, 631, 160, 920},      // near the bottom: both kept in the window
        {1, -300, 160, 0, 160, 0},         // scrolled above the top
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.zeile);
        Offset::ScrollY = f.scrollY;
        int bildBreite = -1, bildY = -1;
        Neu().Ansehen(m, [&] {
            bildBreite = ImageWidthOf(m->Zusatzbild);
            bildY = m->Zusatzbild_y;
        }).Daneben(m);
        skript->Starten();
        EXPECT_EQ(Zeilenbefehle(*k, f.zeile), kOhneAuswahl);
        EXPECT_TRUE(skript->Fertig());
        EXPECT_EQ(m->x, f.x);
        EXPECT_EQ(m->y, f.y);
        EXPECT_EQ(m->x2, f.bildBreite);
        EXPECT_EQ(m->y2, 46 + 84 * f.zeile + f.scrollY + 38);
        EXPECT_EQ(bildBreite, f.bildBreite);
        EXPECT_EQ(bildY, f.bildY);
        EXPECT_EQ(m->Kachel[2]->Text.at(1), k->Telefonnummer[size_t(f.zeile)]);
        EXPECT_EQ(m->Kachel[3]->Text.at(1), k->Notizen[size_t(f.zeile)]);
        EXPECT_EQ(m->Kachel[4]->Text.at(1), k->VergesseneHA[size_t(f.zeile)]);
    }
    Offset::ScrollY = 0;
    EXPECT_EQ(m->Kachel[2]->Text.at(0), u"incbin::media/images/Telefon.png");
}

TEST_F(RowMenu, NameSplitAtTheFirstComma) {
    struct Fall { const char16_t* eingabe; const char16_t* nach; const char16_t* vor; };
    const Fall faelle[] = {{u"Anna Lena, Berger", u"Berger", u"Anna Lena"},
                           {u"  Berger ", u"Berger", u""},
                           {u", Berger", u"Berger", u""},
                           {u"Jo, van der Berg, jr.", u"van der Berg, jr.", u"Jo"}};
    for (const Fall& f : faelle) EXPECT_EQ(NamenAusEingabe(f.eingabe), (Schuelername{f.nach, f.vor}));
}

TEST_F(RowMenu, RenameSortsCarriesGradesEntriesAndPhotoAlong) {
    auto k = Klasse();
    Foto("Adler Anna", 4, 6);
    const std::string foto = Lesen(Bildpfad("Adler Anna"));
    k->ZeileEinzelnAnzeigen = 1;  // the single-row view follows the student
    Menue(0).Tippen(kLoeschen + u" Anna Maria ,  Zander ");
    EXPECT_EQ(Ausfuehren(*k, 1), 0);
    EXPECT_EQ(Namen(*k), (std::vector<Text>{u"Berger Ben", u"Chen Clara", u"Dorn Dana", u"Zander Anna Maria"}));
    EXPECT_EQ(k->Zelle(4, 1).Text[0], u"1");
    EXPECT_EQ(k->Telefonnummer[4], u"0911 1");
    EXPECT_EQ(k->Notizen[4], u"liest gern");
    EXPECT_EQ(k->ZeileEinzelnAnzeigen, 4);
    EXPECT_EQ(Lesen(Bildpfad("Zander Anna Maria")), foto);
    EXPECT_FALSE(fs::exists(Bildpfad("Adler Anna")));
    Stimmig(*k);

    // The keyboard starts with "first names, surname", cursor at the end.
    k->ZeileEinzelnAnzeigen = 0;
    Menue(0).Abbrechen();
    Ausfuehren(*k, 2);
    EXPECT_EQ(Texteingabe::Eingabetext, u"Clara, Chen");
    EXPECT_EQ(Texteingabe::Cursor, 11);
}

TEST_F(RowMenu, SameNameChangesNothingNotEvenTheOrder) {
    auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
    Spalte(*k, u"Arbeit");
    Schueler(*k, u"Berger", u"Ben", {u"3"});
    Schueler(*k, u"Adler", u"Anna", {u"1"});  // not in name order yet
    Ruhen(*k);
    const auto vorher = Inhalt(*k);
    for (const Text& eingabe : {Text(), Text(kLoeschen + u"  Ben,Berger  ")}) {
        Menue(0).Tippen(eingabe);
        Ausfuehren(*k, 1);
        EXPECT_EQ(Inhalt(*k), vorher);
    }
}

TEST_F(RowMenu, AnotherStudentsNameIsRefusedAndBothPhotosStay) {
    auto k = Klasse();
    Schreiben(Bildpfad("Adler Anna"), "A");
    Schreiben(Bildpfad("Berger Ben"), "B");
    const auto vorher = Inhalt(*k);
    Menue(0).Tippen(kLoeschen + u"Ben, Berger");
    Ok(u"Fehler", {255, 255, 0}, kDoppelt);
    Ausfuehren(*k, 1);
    EXPECT_GT(skript->GelbeBilder(), 0);
    EXPECT_EQ(Inhalt(*k), vorher);
    EXPECT_EQ(Lesen(Bildpfad("Adler Anna")), "A");
    EXPECT_EQ(Lesen(Bildpfad("Berger Ben")), "B");
    // A name that differs in letter case is another student's.
    Menue(0).Tippen(kLoeschen + u"ben, berger");
    Ausfuehren(*k, 1);
    EXPECT_EQ(Namen(*k)[0], u"berger ben");  // equal keys keep the previous order
    EXPECT_EQ(Lesen(Bildpfad("berger ben")), "A");
    EXPECT_EQ(Lesen(Bildpfad("Berger Ben")), "B");
}

TEST_F(RowMenu, NameThatIsNoFileNameKeepsThePhotoInsideBilder) {
    auto k = Klasse();
    Schreiben(Bildpfad("Adler Anna"), "A");
    const auto vorher = Dateien("Noten/7a/Bilder");
    Menue(0).Tippen(kLoeschen + u"Anna, ../../Adler");
    Ok(u"Info", {255, 255, 0}, kBildBleibt);
    Ausfuehren(*k, 1);
    EXPECT_EQ(Namen(*k)[0], u"../../Adler Anna");
    EXPECT_EQ(Dateien("Noten/7a/Bilder"), vorher);
    EXPECT_EQ(Dateien("Noten"), (std::vector<std::string>{"7a"}));
    EXPECT_EQ(Lesen(Bildpfad("Adler Anna")), "A");
    // Its photo commands say why there is no photo and touch nothing.
    for (int befehl : {5, 6, 7}) {
        Menue(befehl);
        Ok(u"Info", {255, 255, 0}, kKeinDateiname);
        Ausfuehren(*k, 1);
        EXPECT_GT(skript->GelbeBilder(), 0) << befehl;
        EXPECT_EQ(Dateien("Noten/7a/Bilder"), vorher);
    }
}

TEST_F(RowMenu, DeleteOnlyAfterYesClosesTheGapAndKeepsThePhoto) {
    auto k = Klasse();
    Schreiben(Bildpfad("Berger Ben"), "B");
    const auto vorher = Inhalt(*k);
    Menue(1).Box(u"Warnung", {255, 0, 0}, Warnung(u"Ben", u"Berger"), {u"Ja, das ist ok", u"NEIN"}, 1);
    Ausfuehren(*k, 2);
    EXPECT_EQ(Inhalt(*k), vorher);
    Menue(1).Box(u"Warnung", {255, 0, 0}, Warnung(u"Ben", u"Berger"), {u"Ja, das ist ok", u"NEIN"}, 0);
    Ausfuehren(*k, 2);
    EXPECT_EQ(k->Schueleranzahl, 4);
    EXPECT_EQ(Namen(*k), (std::vector<Text>{u"Adler Anna", u"Chen Clara", u"Dorn Dana"}));
    EXPECT_EQ(k->Telefonnummer[2], u"0911 3");  // Chen's entries moved up with her
    EXPECT_EQ(k->Zelle(2, 2).Text[0], u"6");
    EXPECT_EQ(Lesen(Bildpfad("Berger Ben")), "B");
    Stimmig(*k);
    // The last student, then every one: an empty class stays consistent.
    for (int i = 3; i >= 1; --i) {
        const Text vor = k->Zelle(i, 0).Text[1], nach = k->Zelle(i, 0).Text[0];
        Menue(1).Box(u"Warnung", {255, 0, 0}, Warnung(vor, nach), {u"Ja, das ist ok", u"NEIN"}, 0);
        Ausfuehren(*k, i);
        Stimmig(*k);
    }
    EXPECT_EQ(k->Schueleranzahl, 1);
    EXPECT_EQ(Offset::ScrollMinY, 0);
}

TEST_F(RowMenu, EntriesReplaceTheSelectionAndEmptyOnesShowTheirPlaceholder) {
    auto k = Klasse();
    Menue(2).Tippen(u"0171 555");  // all of "Telefonnummer?" selected
    Ausfuehren(*k, 2);
    EXPECT_EQ(k->Telefonnummer[2], u"0171 555");
    Menue(3).Tippen(u"Brille, sitzt vorn");
    Ausfuehren(*k, 2);
    EXPECT_EQ(k->Notizen[2], u"Brille, sitzt vorn");
    Menue(4).Tippen(u"3");  // only the leading "?" is selected
    Ausfuehren(*k, 2);
    EXPECT_EQ(k->VergesseneHA[2], u"3 vergessene Hausaufg.");
    Menue(2).Tippen(u"\b");
    Ausfuehren(*k, 1);
    EXPECT_EQ(k->Telefonnummer[1], kPlatzhalterTelefon);
    Menue(3).Abbrechen();
    Ausfuehren(*k, 1);
    EXPECT_EQ(k->Notizen[1], u"liest gern");
    EXPECT_EQ(Namen(*k)[1], u"Berger Ben");
    Stimmig(*k);
}

TEST_F(RowMenu, QuarterTurnsMapEveryPixel) {
    TPixmap p = CreatePixmap(3, 2, 4, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) WritePixel(p, x, y, 0x80000000u | uint32_t(x) << 16 | uint32_t(y) << 8);
    const TPixmap r = Vierteldrehung(p, true), l = Vierteldrehung(p, false);
    for (const TPixmap& q : {r, l}) {
        ASSERT_TRUE(q);
        EXPECT_EQ(q->width, 2);
        EXPECT_EQ(q->height, 3);
        EXPECT_EQ(q->format, 3);  // colour without alpha
        EXPECT_EQ(q->pitch % 4, 0);
    }
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const uint32_t soll = 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8;
            EXPECT_EQ(ReadPixel(r, 2 - 1 - y, x), soll) << x << "," << y;
            EXPECT_EQ(ReadPixel(l, y, 3 - 1 - x), soll) << x << "," << y;
        }
    EXPECT_FALSE(Vierteldrehung(nullptr, true));
}

TEST_F(RowMenu, PhotoTurnsReplaceThePortraitInOneStep) {
    auto k = Klasse();
    Foto("Berger Ben", 5, 3);
    Menue(6);  // right
    Ausfuehren(*k, 2);
    TPixmap q = LoadPixmapFrom(TextFromUtf8(Bildpfad("Berger Ben")));
    ASSERT_TRUE(q);
    EXPECT_EQ(q->width, 3);
    EXPECT_EQ(q->height, 5);
    EXPECT_EQ(ReadPixel(q, 3 - 1 - 0, 4), 0xFF040007u);  // (4, 0) went to (2, 4)
    Menue(7);  // and back
    Ausfuehren(*k, 2);
    q = LoadPixmapFrom(TextFromUtf8(Bildpfad("Berger Ben")));
    ASSERT_TRUE(q);
    EXPECT_EQ(q->width, 5);
    EXPECT_EQ(ReadPixel(q, 4, 2), 0xFF040207u);
    EXPECT_EQ(Dateien("Noten/7a/Bilder"), (std::vector<std::string>{"Berger Ben.png"}));

    // No photo: nothing is written.
    Menue(6);
    Ausfuehren(*k, 1);
    EXPECT_EQ(Dateien("Noten/7a/Bilder"), (std::vector<std::string>{"Berger Ben.png"}));
    // A turn that cannot be written leaves the portrait as it was.
    const std::string vorher = Lesen(Bildpfad("Berger Ben"));
    fs::create_directories(Bildpfad("Berger Ben") + ".gedreht");  // blocks the file beside it
    Menue(6);
    Ok(u"Fehler", {255, 0, 0}, kUngeschrieben);
    Ausfuehren(*k, 2);
    EXPECT_EQ(Lesen(Bildpfad("Berger Ben")), vorher);
    fs::remove(Bildpfad("Berger Ben") + ".gedreht");
    // A portrait that is no picture is reported and left alone.
    Schreiben(Bildpfad("Chen Clara"), "kein Bild");
    Menue(7);
    Ok(u"Fehler", {255, 0, 0}, kUnlesbar);
    Ausfuehren(*k, 3);
    EXPECT_EQ(Lesen(Bildpfad("Chen Clara")), "kein Bild");
}
