// The way out of a gradebook that cannot be saved: staying is the default,
// leaving without saving needs a second yes, and the question says what is lost.
#include <filesystem>

#include "gradebook/class_file.hpp"
#include "gradebook/save_failure.hpp"
#include "gradebook_fixture.hpp"
#include "shell/class_screen_loop.hpp"

namespace fs = std::filesystem;

namespace {

class LeavingUnsaved : public GradebookTest {
protected:
    std::shared_ptr<TSchulklasse> Klasse() {
        auto k = TSchulklasse::bauen({u"6c", u"Deutsch"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Schueler(*k, u"Berger", u"Lena", {u"3"});
        EXPECT_TRUE(k->speichern(u""));
        return k;
    }
    // The class file cannot be replaced: a folder stands in its place.
    static void Versperren() {
        fs::remove("Noten/6c/6c Deutsch.slk");
        fs::create_directory("Noten/6c/6c Deutsch.slk");
    }
    void Druecken(const std::shared_ptr<TInfoBox>& box, size_t k, long long frame) {
        const TKachel& s = *box->Schalter[k];
        const float x = s.x + s.Breite / 2.0f, y = s.y + s.Tiefe / 2.0f;
        Press(frame, x, y);
        Release(frame + 3, x, y);
    }
    static bool Enthaelt(const TInfoBox& box, const Text& teil) {
        for (const Text& z : box.info)
            if (z.find(teil) != Text::npos) return true;
        return false;
    }
};

}  // namespace

TEST_F(LeavingUnsaved, StayingIsTheDefaultAndLeavingNeedsASecondYes) {
    auto k = Klasse();
    k->Zelle(1, 1).Text[0] = u"1";
    Versperren();
    auto fehler = SpeicherfehlerBox(*k, true);
    ASSERT_EQ(fehler->Schalter.size(), 2u);
    EXPECT_EQ(fehler->title, u"Fehler");
    EXPECT_EQ(fehler->Schalter[1]->Text[0], u"Ohne Speichern beenden");
    EXPECT_TRUE(Enthaelt(*fehler, u"Die Klasse bleibt geöffnet."));
    auto frage = OhneSpeichernFrage(*k, VerlustOhneSpeichern(*k));
    EXPECT_TRUE(Enthaelt(*frage, u"gehen dabei verloren!"));

    const long long f = Frame(0);
    KeyTap(f + 3, 27);
    Druecken(fehler, 1, f + 20);  // leave ...
    Druecken(frage, 1, f + 45);   // ... "NEIN": stays
    KeyTap(f + 60, 27);
    Druecken(fehler, 0, f + 80);  // "Geöffnet lassen": stays
    KeyTap(f + 100, 27);
    backend->At(f + 120, {ScriptedEvent::KeyDown, 13});  // Enter closes the box: stays
    backend->At(f + 121, {ScriptedEvent::KeyUp, 13});
    KeyTap(f + 140, 27);
    Druecken(fehler, 1, f + 160);
    Druecken(frage, 0, f + 185);  // "Ja, das ist ok"
    EXPECT_EQ(KlassenbildschirmLaufen(*k), 3);
    EXPECT_GT(FramesEnded(), f + 185) << "an earlier answer ended the class screen";
    EXPECT_TRUE(fs::is_directory("Noten/6c/6c Deutsch.slk")) << "nothing was written";
}

TEST_F(LeavingUnsaved, TheQuestionSaysWhatLeavingCosts) {
    auto k = Klasse();
    EXPECT_EQ(VerlustOhneSpeichern(*k), 0);
    EXPECT_TRUE(Enthaelt(*OhneSpeichernFrage(*k, 0), u"es geht nichts verloren."));

    k->Zelle(1, 1).Text[0] = u"1";
    k->AenderungVermerken();
    EXPECT_EQ(VerlustOhneSpeichern(*k), 1) << "the edit waits in the recovery file";
    EXPECT_TRUE(Enthaelt(*OhneSpeichernFrage(*k, 1), u"beim nächsten Öffnen der Klasse angeboten."));

    k->Zelle(1, 1).Text[0] = u"2";  // not yet in the recovery file
    EXPECT_EQ(VerlustOhneSpeichern(*k), 2);
    Versperren();
    EXPECT_EQ(VerlustOhneSpeichern(*k), 2);
}
