// The class command menu on the headless backend: the dispatch of verwalten,
// tile 5's label, the single-row switch, leaving with a save (and staying when
// it fails), and an Escape in the menu that closes only the menu.
#include "classscreen/class_commands.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook_fixture.hpp"
#include "shell/class_screen_loop.hpp"
#include "tiles/offset.hpp"

namespace {
class ClassMenu : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        if (!Klassenmenue) BaueKlassenmenues();
        klasse = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        for (const char16_t* n : {u"Adler", u"Berger", u"Celik", u"Dahl", u"Ernst", u"Fuchs", u"Graf", u"Haas"})
            Schueler(*klasse, n, u"Anna");
        klasse->ZeileEinzelnAnzeigen = 0;
    }
    // Centre of tile i of the class menu opened at the top-left corner.
    static float TileX(int i) { return 4 + (i % 2) * 204 + 100.0f; }
    static float TileY(int i) { return 4 + (i / 2) * 94 + 45.0f; }
    void Click(long long frame, float x, float y) {
        Press(frame, x, y);
        Release(frame + 2, x, y);
    }
    // The corner tile was tapped; the menu's tile i is tapped once it is up.
    int Befehl(int i) {
        klasse->AuftragsZeile = klasse->AuftragsSpalte = 0;
        Click(Frame(10), TileX(i), TileY(i));
        return klasse->verwalten();
    }
    bool RotGezeichnet() const {
        for (const DrawVertex& v : Ctx().shown.vertices)
            if (v.rgba == 0xFF0000FFu) return true;
        return false;
    }
    std::shared_ptr<TSchulklasse> klasse;
};
}  // namespace

TEST_F(ClassMenu, DispatchActsOnlyOnARecordedTile) {
    klasse->AuftragsZeile = -1;
    const long long flips = backend->Flips();
    EXPECT_EQ(klasse->verwalten(), 0);
    EXPECT_EQ(backend->Flips(), flips);  // no menu shown

    // A name reaches the row menu; closed without a choice it changes and
    // saves nothing.
    klasse->AuftragsZeile = 2;
    klasse->AuftragsSpalte = 0;
    KeyTap(Frame(8), 27);
    EXPECT_EQ(klasse->verwalten(), 0);
    EXPECT_GT(backend->Flips(), flips) << "no row menu shown";
    // A header or cell of a column the class does not have is consumed at once.
    for (auto [r, k] : {std::pair{0, 1}, std::pair{2, 1}}) {
        klasse->AuftragsZeile = r;
        klasse->AuftragsSpalte = k;
        const long long vorher = backend->Flips();
        EXPECT_EQ(klasse->verwalten(), 0);
        EXPECT_EQ(klasse->AuftragsZeile, -1);
        EXPECT_EQ(backend->Flips(), vorher);
    }
    EXPECT_FALSE(std::filesystem::exists("Noten/7a/7a Mathe.slk"));
}

TEST_F(ClassMenu, LeavingCommandsSaveAndReturnTheirCode) {
    EXPECT_EQ(Befehl(kZurKlassenuebersicht), 1);
    const std::string gespeichert = Lesen("Noten/7a/7a Mathe.slk");
    EXPECT_NE(gespeichert.find("C;X1;Y5;K\"Adler\""), std::string::npos);
    EXPECT_EQ(Befehl(kKladdorixSchliessen), 3);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), gespeichert);
}

TEST_F(ClassMenu, FailedSaveShowsTheErrorAndStays) {
    // A file stands where the class folder belongs: no save can succeed.
    Schreiben("Noten/7a", "kein Ordner");
    for (int befehl : {kZurKlassenuebersicht, kKladdorixSchliessen}) {
        SCOPED_TRACE(befehl);
        KeyTap(Frame(40), 13);  // closes the box
        EXPECT_EQ(Befehl(befehl), 0);
        EXPECT_TRUE(RotGezeichnet());
        EXPECT_EQ(Lesen("Noten/7a"), "kein Ordner");
    }
}

TEST_F(ClassMenu, EscapeClosesTheMenuAndNothingElse) {
    klasse->AuftragsZeile = klasse->AuftragsSpalte = 0;
    KeyTap(Frame(8), 27);
    EXPECT_EQ(klasse->verwalten(), 0);
    EXPECT_EQ(BackRequested, 0);

    // In the class screen loop: the menu is opened from the corner tile and
    // closed with Escape; the screen stays until "Kladdorix schließen".
    Click(Frame(3), 100, 60);
    KeyTap(Frame(20), 27);
    Click(Frame(40), 100, 60);
    Click(Frame(60), TileX(kKladdorixSchliessen), TileY(kKladdorixSchliessen));
    EXPECT_EQ(KlassenbildschirmLaufen(*klasse), 3);
    EXPECT_GE(backend->Flips(), 60);
    EXPECT_TRUE(std::filesystem::exists("Noten/7a/7a Mathe.slk"));
}

TEST_F(ClassMenu, TileFiveOffersTheOtherDisplayMode) {
    auto beschriftung = [] { return Klassenmenue->Kachel[kEinzelanzeige]->Text; };
    const std::vector<Text> an{u"incbin::media/images/KeinEinzelanzeigemodus.png", u"Alle Schüler anzeigen"};
    const std::vector<Text> aus{u"incbin::media/images/Einzelanzeigemodus.png", u"Einzel-Anzeige-Modus"};
    struct Fall { int zeile; const std::vector<Text>& erwartet; };
    // Row 9 is the student count: the single-row display is off there.
    for (const Fall& f : {Fall{3, an}, Fall{0, aus}, Fall{1, an}, Fall{9, aus}}) {
        klasse->ZeileEinzelnAnzeigen = f.zeile;
        // The label changes when the menu opens, here closed at once by Escape.
        klasse->AuftragsZeile = klasse->AuftragsSpalte = 0;
        KeyTap(Frame(5), 27);
        klasse->verwalten();
        EXPECT_EQ(beschriftung(), f.erwartet) << f.zeile;
    }
    EXPECT_EQ(Klassenmenue->Kachel[kEinzelanzeige]->Text.size(), 2u);
}

TEST_F(ClassMenu, SingleRowSwitchShowsTheTopmostVisibleStudent) {
    struct Fall { int scrollY; int erwartet; };
    // Row i stands at 46 + 84 i; it counts once its top is 114 or lower.
    const Fall faelle[] = {{0, 1}, {-16, 1}, {-17, 2}, {-252, 4}, {-100000, 1}};
    for (const Fall& f : faelle) {
        Offset::ScrollY = f.scrollY;
        klasse->ZeileEinzelnAnzeigen = 0;
        EinzelanzeigeUmschalten(*klasse);
        EXPECT_EQ(klasse->ZeileEinzelnAnzeigen, f.erwartet) << f.scrollY;
        EinzelanzeigeUmschalten(*klasse);
        EXPECT_EQ(klasse->ZeileEinzelnAnzeigen, 0);
    }
    // Chosen from the menu, while scrolled.
    Offset::ScrollY = -252;
    EXPECT_EQ(Befehl(kEinzelanzeige), 0);
    EXPECT_EQ(klasse->ZeileEinzelnAnzeigen, 4);
    EXPECT_EQ(Befehl(kEinzelanzeige), 0);
    EXPECT_EQ(klasse->ZeileEinzelnAnzeigen, 0);
}
