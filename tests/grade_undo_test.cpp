// "Rückgängig": grade entries taken back one at a time as far back as the
// class was opened, with the averages and the recovery file; by Ctrl+Z and
// by the class menu's tile, a series grade by grade.
#include "class_edit_fixture.hpp"
#include "classscreen/class_commands.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/grade_cells.hpp"
#include "gradebook/grade_scale.hpp"

namespace {
class Undo : public ClassEditTest {
protected:
    std::shared_ptr<TSchulklasse> Drei() {
        auto k = Klasse({u"Arbeit", u"Mündl.", u"schriftl.", u"sonst.", u"HauptF.", u"Zeugnis"},
                        {{u"Adler", {u"2", u"", u"", u"", u"", u""}},
                         {u"Berger", {u"", u"1-", u"", u"", u"", u""}},
                         {u"Chen", {u"", u"", u"", u"", u"", u""}}});
        k->Durchschnittsnotenberechnung(-1);
        Ruhen(*k);
        std::filesystem::create_directories("Noten/7a");
        return k;
    }
    // The colours of the cells that show something (an empty cell's colour is never seen).
    static std::vector<RGBFarbe> Farben(const TSchulklasse& k) {
        std::vector<RGBFarbe> out;
        for (int i = 1; i < k.Schueleranzahl; ++i)
            for (int j = 1; j < k.Notenanzahl; ++j) {
                const TKachel& z = k.Zelle(i, j);
                out.push_back(z.Text.empty() || z.Text[0].empty() ? RGBFarbe{-1, -1, -1} : z.Text_RGB);
            }
        return out;
    }
    // One frame of the class screen with Ctrl+Z pressed.
    void StrgZ(TSchulklasse& k) {
        backend->At(Frame(1), {ScriptedEvent::KeyDown, kKeyCtrl});
        backend->At(Frame(2), {ScriptedEvent::KeyDown, 'Z'});
        backend->At(Frame(3), {ScriptedEvent::KeyUp, 'Z'});
        backend->At(Frame(3), {ScriptedEvent::KeyUp, kKeyCtrl});
        for (int n = 0; n < 4; ++n) {
            User::update();
            k.anzeigen();
            Flip(0);
            k.verwalten();
        }
    }
};

struct Eintrag {
    int zeile, spalte;
    const char16_t* text;
    bool frei;  // typed through "?" rather than chosen
};
}  // namespace

TEST_F(Undo, EveryEntryIsTakenBackInTurnWithItsColourAveragesAndTheRecoveryFile) {
    auto k = Drei();
    const Eintrag eintraege[] = {
        {1, 1, u"3+", false},  {1, 2, u"1", false},    {3, 1, u"5", false},   {1, 1, u"4-", false},
        {3, 2, u" 2-3 ", true}, {2, 6, u"2-", false},  {2, 2, u"", true},     {3, 1, u"n.f.", false},
    };
    std::vector<std::vector<std::vector<Text>>> inhalte;
    std::vector<std::vector<RGBFarbe>> farben;
    for (const Eintrag& e : eintraege) {
        inhalte.push_back(Inhalt(*k));
        farben.push_back(Farben(*k));
        if (e.frei) FreieNoteEintragen(*k, e.zeile, e.spalte, e.text);
        else GewaehlteNoteEintragen(*k, e.zeile, e.spalte, e.text);
    }
    ASSERT_NE(Inhalt(*k)[1 + 1], inhalte[0][1 + 1]) << "Adler's averages changed";
    for (size_t n = inhalte.size(); n-- > 0;) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Rueckgaengig(*k), 0);
        EXPECT_EQ(Inhalt(*k), inhalte[n]);
        EXPECT_EQ(Farben(*k), farben[n]);
        EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk.ungespeichert"), KlassendateiBytes(*k)) << "the recovery file follows";
    }
    EXPECT_EQ(Reihe(*k, 1)[1], u"2");
    // Nothing left: a box says so and nothing changes.
    const auto vorher = Inhalt(*k);
    Neu().Box(u"Info", {255, 255, 0},
              {u"Seit dem Öffnen der Klasse wurde keine Note", u"eingetragen, die sich zurücknehmen lässt."},
              {kOkSchalter}, 0);
    skript->Starten();
    EXPECT_EQ(Rueckgaengig(*k), 0);
    EXPECT_TRUE(skript->Fertig());
    EXPECT_GT(skript->GelbeBilder(), 0);
    EXPECT_EQ(Inhalt(*k), vorher);
    Stimmig(*k);
}

TEST_F(Undo, CtrlZAndTheClassMenuTileTakeBackASeriesGradeByGrade) {
    auto k = Drei();
    const auto anfang = Inhalt(*k);
    auto& m = Notenmenue[0];
    // Arbeit: Adler has a 2, so the series fills Berger and Chen.
    Neu().Zeichen(m, u"1\r").Zeichen(m, u"4\r");
    skript->Starten();
    Notenserie(*k, 1);
    ASSERT_TRUE(skript->Fertig());
    ASSERT_EQ(Reihe(*k, 2)[1], u"1");
    ASSERT_EQ(Reihe(*k, 3)[1], u"4");
    StrgZ(*k);
    EXPECT_EQ(Reihe(*k, 3)[1], u"");
    EXPECT_EQ(Reihe(*k, 2)[1], u"1");
    EXPECT_EQ(Reihe(*k, 3)[5], u"") << "Chen's averages follow";
    // The class menu's last tile.
    ASSERT_EQ(Klassenmenue->Kachel[kRueckgaengig]->Text[1], u"Rückgängig");
    Neu().Kachel(Klassenmenue, kRueckgaengig);
    skript->Starten();
    EXPECT_EQ(Antippen(*k, 0, 0), 0);
    EXPECT_TRUE(skript->Fertig());
    EXPECT_EQ(Inhalt(*k), anfang);
    // Ctrl+Z without an entry left only shows the box; Z alone does nothing.
    backend->At(Frame(2), {ScriptedEvent::KeyDown, 'Z'});
    for (int n = 0; n < 4; ++n) {
        User::update();
        k->anzeigen();
        Flip(0);
        k->verwalten();
    }
    EXPECT_EQ(Inhalt(*k), anfang);
}
