// Unsaved edits kept beside the class file: written after every kind of edit
// exactly as a save would write the class, removed by saving, offered back
// when the class is opened, restored, discarded into "Backups", and a damaged
// one kept aside.
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>

#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/recovery_offer.hpp"
#include "gradebook_fixture.hpp"
#include "shell/class_screen_loop.hpp"

namespace fs = std::filesystem;

namespace {

class Recovery : public GradebookTest {
protected:
    // A class of three students and two grade columns, saved.
    std::shared_ptr<TSchulklasse> Gespeichert(const Text& fach = u"Mathe") {
        auto k = TSchulklasse::bauen({u"7a", fach}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Spalte(*k, u"M\u00FCndl.", u"02.10.15");
        Schueler(*k, u"Berger", u"Lena", {u"3", u"2"});
        Schueler(*k, u"Klein", u"Tom", {u"4+", u""}, u"0171 1", u"vorne");
        Schueler(*k, u"Zander", u"Ida", {u"", u"1-"});
        EXPECT_TRUE(k->speichern(u""));
        return k;
    }
    static std::string Datei(const Text& fach = u"Mathe") { return "Noten/7a/7a " + Utf8FromText(fach) + ".slk"; }
    static std::string Rettung(const Text& fach = u"Mathe") { return Datei(fach) + ".ungespeichert"; }
    static size_t AnzahlBackups() { return Dateien("Noten/7a/Backups").size(); }

    // Clicks button k of a box laid out like `box` once it has grown in.
    void Druecken(const std::shared_ptr<TInfoBox>& box, size_t k, int inFrames = 12) {
        const TKachel& s = *box->Schalter[k];
        const float x = s.x + s.Breite / 2.0f, y = s.y + s.Tiefe / 2.0f;
        Press(Frame(inFrames), x, y);
        Release(Frame(inFrames + 3), x, y);
    }
    // Sets the recovery file's time to 6 Dec 2026, 14:05:09 local time.
    static void ZeitSetzen(const std::string& pfad) {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mon = 11;
        t.tm_mday = 6;
        t.tm_hour = 14;
        t.tm_min = 5;
        t.tm_sec = 9;
        t.tm_isdst = -1;
        const auto sys = std::chrono::system_clock::from_time_t(std::mktime(&t));
        fs::last_write_time(pfad, std::chrono::file_clock::from_sys(sys));
    }
    std::shared_ptr<TInfoBox> Angebot() {
        return WiederherstellungsAngebot(u"7a Mathe", u"06 Dec 2026", u"14:05:09");
    }
    // A saved class whose grade of Berger became "1" after the save, with
    // that edit in the recovery file (time set), and the recovery bytes.
    std::string UngespeicherteNote(std::shared_ptr<TSchulklasse>& k) {
        k = Gespeichert();
        k->Zelle(1, 1).Text[0] = u"1";
        k->AenderungVermerken();
        ZeitSetzen(Rettung());
        return Lesen(Rettung());
    }
};

void SpalteEntfernen(TSchulklasse& k, int j) {
    for (auto& z : k.Zensurzeile) {
        z->Kachel.erase(z->Kachel.begin() + j);
        z->Note.erase(z->Note.begin() + j);
    }
    --k.Notenanzahl;
}

}  // namespace

TEST_F(Recovery, EveryKindOfEditWritesWhatASaveWouldWriteWithoutABackup) {
    struct Fall {
        const char16_t* fach;
        std::function<void(TSchulklasse&)> aendern;
    };
    const std::vector<Fall> faelle{
        {u"Note", [](TSchulklasse& k) { k.Zelle(2, 1).Text[0] = u"5-"; }},
        {u"Name", [](TSchulklasse& k) { k.Zelle(1, 0).Text[0] = u"Bergmann"; }},
        {u"Telefon", [](TSchulklasse& k) { k.Telefonnummer[3] = u"0151 99"; }},
        {u"Notiz", [](TSchulklasse& k) { k.Notizen[1] = u"Brille"; }},
        {u"Hausaufgaben", [](TSchulklasse& k) { k.VergesseneHA[2] = u"12.10."; }},
        {u"Zeile", [](TSchulklasse& k) { Schueler(k, u"Neu", u"Nora"); }},
        {u"Spalte", [](TSchulklasse& k) { Spalte(k, u"Test", u"03.10.15"); }},
        {u"Zeileweg",
         [](TSchulklasse& k) {
             k.Zensurzeile.erase(k.Zensurzeile.begin() + 2);
             k.Telefonnummer.erase(k.Telefonnummer.begin() + 2);
             k.Notizen.erase(k.Notizen.begin() + 2);
             k.VergesseneHA.erase(k.VergesseneHA.begin() + 2);
             --k.Schueleranzahl;
         }},
        {u"Spalteweg", [](TSchulklasse& k) { SpalteEntfernen(k, 1); }},
        {u"Verschoben",
         [](TSchulklasse& k) {
             for (auto& z : k.Zensurzeile) std::swap(z->Kachel[1], z->Kachel[2]);
         }},
        {u"Typ", [](TSchulklasse& k) { k.Zelle(0, 1).Text[0] = u"Test"; }},
        {u"Datum", [](TSchulklasse& k) { k.Zelle(0, 2).Text[2] = u"09.11.15"; }},
        {u"Namensliste",
         [](TSchulklasse& k) {
             Schueler(k, u"Adler", u"Paul");
             Schueler(k, u"M\u00FCller", u"Anna Lena");
             k.NachNamenSortieren(0);
         }},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(Utf8FromText(f.fach));
        auto k = Gespeichert(f.fach);
        const std::string gespeichert = Lesen(Datei(f.fach));
        ASSERT_FALSE(fs::exists(Rettung(f.fach))) << "a save leaves no recovery file";
        const size_t backups = AnzahlBackups();

        f.aendern(*k);
        k->AenderungVermerken();
        const std::string gerettet = Lesen(Rettung(f.fach));
        EXPECT_EQ(gerettet, KlassendateiBytes(*k));
        EXPECT_NE(gerettet, gespeichert) << "the edit is in the recovery file";
        EXPECT_EQ(Lesen(Datei(f.fach)), gespeichert) << "the class file waits for the save";
        EXPECT_EQ(AnzahlBackups(), backups) << "no backup per edit";
        EXPECT_FALSE(fs::exists(Rettung(f.fach) + ".neu"));

        // The save writes exactly these bytes and removes the recovery file.
        ASSERT_TRUE(k->speichern(u""));
        EXPECT_EQ(Lesen(Datei(f.fach)), gerettet);
        EXPECT_FALSE(fs::exists(Rettung(f.fach)));
    }
    // The catalogue counts only ".slk" files as gradebooks.
    EXPECT_FALSE(IstKlassendateiname(u"7a Mathe.slk.ungespeichert"));
}

TEST_F(Recovery, AClassNeverSavedKeepsItsEditsInANewFolder) {
    auto k = TSchulklasse::bauen({u"9b", u"Physik"}, 0);
    Spalte(*k, u"Arbeit");
    Schueler(*k, u"Vogel", u"Max", {u"2"});
    k->AenderungVermerken();
    EXPECT_EQ(Lesen("Noten/9b/9b Physik.slk.ungespeichert"), KlassendateiBytes(*k));
}

TEST_F(Recovery, EscapeSavesAndRemovesItAFailedSaveKeepsIt) {
    auto k = Gespeichert();
    k->Zelle(1, 1).Text[0] = u"1";
    k->AenderungVermerken();
    ASSERT_TRUE(fs::exists(Rettung()));
    KeyTap(Frame(3), 27);
    EXPECT_EQ(KlassenbildschirmLaufen(*k), 3);
    EXPECT_FALSE(fs::exists(Rettung()));
    EXPECT_EQ(Lesen(Datei()), KlassendateiBytes(*k));

    // A save that cannot replace the class file leaves the recovery file.
    k->Zelle(1, 1).Text[0] = u"2";
    k->AenderungVermerken();
    const std::string gerettet = Lesen(Rettung());
    fs::remove(Datei());
    fs::create_directory(Datei());
    EXPECT_FALSE(k->speichern(u""));
    EXPECT_EQ(Lesen(Rettung()), gerettet);
}

TEST_F(Recovery, RestoreOpensTheRecoveredStateAndLeavesTheClassFileUntilTheNextSave) {
    std::shared_ptr<TSchulklasse> k;
    const std::string gerettet = UngespeicherteNote(k);
    const std::string alt = Lesen(Datei());
    const size_t backups = AnzahlBackups();

    Druecken(Angebot(), 0);
    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(TextFromUtf8(Datei()));
    ASSERT_TRUE(o.klasse);
    EXPECT_EQ(o.klasse->Zelle(1, 1).Text[0], u"1");
    EXPECT_EQ(KlassendateiBytes(*o.klasse), gerettet);
    EXPECT_EQ(Lesen(Datei()), alt);
    EXPECT_EQ(Lesen(Rettung()), gerettet) << "kept until the next save";

    ASSERT_TRUE(o.klasse->speichern(u""));
    EXPECT_EQ(Lesen(Datei()), gerettet);
    // Its backup as usual (saves within one second share a name).
    EXPECT_GE(AnzahlBackups(), backups);
    bool gesichert = false;
    for (const std::string& b : Dateien("Noten/7a/Backups")) gesichert |= Lesen("Noten/7a/Backups/" + b) == gerettet;
    EXPECT_TRUE(gesichert);
    EXPECT_FALSE(fs::exists(Rettung()));
}

TEST_F(Recovery, DiscardMovesItIntoBackupsWhereItStillLoads) {
    std::shared_ptr<TSchulklasse> k;
    const std::string gerettet = UngespeicherteNote(k);
    const std::string alt = Lesen(Datei());

    Druecken(Angebot(), 1);
    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(TextFromUtf8(Datei()));
    ASSERT_TRUE(o.klasse);
    EXPECT_EQ(o.klasse->Zelle(1, 1).Text[0], u"3") << "the class file is opened";
    EXPECT_FALSE(fs::exists(Rettung()));
    const std::string verworfen = "Noten/7a/Backups/7a Mathe 26-12-06-14-05-09 ungespeichert.slk";
    EXPECT_EQ(Lesen(verworfen), gerettet);
    EXPECT_EQ(Lesen(Datei()), alt);
    auto zurueck = TSchulklasse::laden(TextFromUtf8(verworfen));
    ASSERT_TRUE(zurueck);
    EXPECT_EQ(zurueck->Zelle(1, 1).Text[0], u"1");

    // A second discard from the same second keeps the first one.
    k->Zelle(2, 1).Text[0] = u"6";
    k->AenderungVermerken();
    ZeitSetzen(Rettung());
    Druecken(Angebot(), 1);
    ASSERT_TRUE(KlasseMitWiederherstellungLaden(TextFromUtf8(Datei())).klasse);
    EXPECT_EQ(Lesen(verworfen), gerettet);
    EXPECT_EQ(Lesen("Noten/7a/Backups/7a Mathe 26-12-06-14-05-09 ungespeichert 2.slk"), KlassendateiBytes(*k));
}

TEST_F(Recovery, TheOfferShowsWhenAndClosingItOpensNothingAndKeepsTheFile) {
    auto box = Angebot();
    EXPECT_EQ(box->title, u"Info");
    ASSERT_EQ(box->Schalter.size(), 2u);
    EXPECT_EQ(box->Schalter[0]->Text[0], u"Wiederherstellen");
    EXPECT_EQ(box->Schalter[1]->Text[0], u"Verwerfen");
    EXPECT_LT(box->Schalter[0]->x, box->Schalter[1]->x);
    bool zeit = false;
    for (const Text& z : box->info) zeit |= z.find(u"06.12.26 um 14:05 Uhr") != Text::npos;
    EXPECT_TRUE(zeit);

    std::shared_ptr<TSchulklasse> k;
    const std::string gerettet = UngespeicherteNote(k);
    KeyTap(Frame(15), 27);
    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(TextFromUtf8(Datei()));
    EXPECT_FALSE(o.klasse);
    EXPECT_TRUE(o.gemeldet);
    EXPECT_EQ(Lesen(Rettung()), gerettet);
    EXPECT_FALSE(BackRequested) << "the Escape must not also end the catalogue";
}

TEST_F(Recovery, NothingIsOfferedWhenTheFileEqualsTheClass) {
    auto k = Gespeichert();
    k->AenderungVermerken();  // an edit undone: the same bytes as the class file
    ASSERT_TRUE(fs::exists(Rettung()));
    const long long flips = backend->Flips();
    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(TextFromUtf8(Datei()));
    ASSERT_TRUE(o.klasse);
    EXPECT_EQ(backend->Flips(), flips) << "no box was shown";
    EXPECT_FALSE(fs::exists(Rettung()));
}

TEST_F(Recovery, ADamagedFileIsKeptAsideReportedOnceAndTheClassFileOpens) {
    auto k = Gespeichert();
    const std::string kaputt = "ID;PCALCOOO32\r\nC;X1;Y1;K\"7a\"\r\nC;X2;Y1;K\"Mathe\"\r\nC;X3;Y1;K\"2 Noten\"\r\n";
    Schreiben(Rettung(), kaputt);
    ZeitSetzen(Rettung());
    bool rot = false;
    SetFrameObserver([&] {
        for (const DrawVertex& v : Ctx().shown.vertices) rot |= v.rgba == 0xFF0000FFu;
    });
    KeyTap(Frame(15), 13);
    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(TextFromUtf8(Datei()));
    SetFrameObserver(nullptr);
    ASSERT_TRUE(o.klasse);
    EXPECT_EQ(KlassendateiBytes(*o.klasse), Lesen(Datei()));
    EXPECT_TRUE(rot) << "no error box";
    EXPECT_FALSE(fs::exists(Rettung()));
    // Kept where "Zurück zu Backup" (which offers ".slk" files) cannot pick it.
    EXPECT_EQ(Lesen("Noten/7a/Backups/7a Mathe 26-12-06-14-05-09 ungespeichert.slk.beschaedigt"), kaputt);

    const long long flips = backend->Flips();
    ASSERT_TRUE(KlasseMitWiederherstellungLaden(TextFromUtf8(Datei())).klasse);
    EXPECT_EQ(backend->Flips(), flips) << "reported once, not at every opening";
}

TEST_F(Recovery, ADamagedClassFileStillOffersItsRecovery) {
    std::shared_ptr<TSchulklasse> k;
    const std::string gerettet = UngespeicherteNote(k);
    Schreiben(Datei(), "ID;PCALCOOO32\r\n");
    Druecken(WiederherstellungsAngebot(u"7a Mathe", u"06 Dec 2026", u"14:05:09"), 0);
    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(TextFromUtf8(Datei()));
    ASSERT_TRUE(o.klasse);
    EXPECT_EQ(KlassendateiBytes(*o.klasse), gerettet);
}
