// Grades typed right after the tap on a cell: the keys wait until the grade
// menu stands and are then applied in order, whether they came with the tap
// or during the fly-in; keys typed on the grid before the tap mean nothing.
#include "class_edit_fixture.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/grade_scale.hpp"

namespace {
class TypeAhead : public ClassEditTest {
protected:
    std::shared_ptr<TSchulklasse> Drei() {
        auto k = Klasse({u"Arbeit", u"schriftl.", u"sonst.", u"HauptF."},
                        {{u"Adler", {u"2"}}, {u"Berger", {u"1-"}}, {u"Chen", {u""}}});
        k->Durchschnittsnotenberechnung(-1);
        Ruhen(*k);
        return k;
    }
};

struct Zeitfall {
    int nachFrames;          // after the frame in which the tap ends
    int abstand;             // frames between the keys, 0: all in one frame
    const char16_t* vorher;  // typed on the grid before the tap
    const char16_t* getippt;
    const char16_t* erwartet;
};
}  // namespace

TEST_F(TypeAhead, KeysWithTheTapOrDuringTheFlyInEnterExactlyTheTypedGrade) {
    const Zeitfall faelle[] = {
        {0, 0, u"", u"2-\r", u"2-"},    {1, 0, u"", u"2-\r", u"2-"},     {2, 0, u"", u"2-\r", u"2-"},
        {5, 0, u"", u"2-\r", u"2-"},    {0, 1, u"", u"5\r", u"5"},       {1, 2, u"", u"n.f.\r", u"n.f."},
        {2, 1, u"", u"\b1+\r", u"1+"},  {5, 3, u"", u"4\b3\r", u"3"},    {0, 0, u"5", u"2\r", u"2"},
        {12, 0, u"", u"6\r", u"6"},
    };
    TTextMenu& m = *Notenmenue[0];
    for (const Zeitfall& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.nachFrames << " frames, \"" << Utf8FromText(f.getippt) << "\"");
        auto k = Drei();
        // Stray keys on the grid, a frame before the tap begins.
        long long t = Frame(1);
        for (char16_t c : Text(f.vorher)) backend->At(t, {ScriptedEvent::Typed, c});
        const TKachel& z = k->Zelle(3, 1);
        const float x = z.x + Offset::ScrollX + 38.0f, y = z.y + Offset::ScrollY + 38.0f;
        Press(Frame(3), x, y);
        Release(Frame(5), x, y);
        t = Frame(5 + f.nachFrames);
        for (char16_t c : Text(f.getippt)) {
            backend->At(t, {ScriptedEvent::Typed, c});
            t += f.abstand;
        }
        // No key may act while the menu or its tiles still move.
        int bewegtMitSuche = 0;
        SetFrameObserver([&] {
            bool bewegt = m.Status == 1;
            for (const auto& kachel : m.Kachel) bewegt |= kachel->Animation != 0;
            if (bewegt && (!m.Suchtext.empty() || m.Markiert >= 0)) ++bewegtMitSuche;
        });
        // The class screen's frames: draw, then act on what was tapped.
        bool getippt = false;
        for (int n = 0; n < 20 && !getippt; ++n) {
            User::update();
            k->anzeigen();
            Flip(0);
            getippt = k->AuftragsZeile >= 0;
            k->verwalten();
        }
        SetFrameObserver(nullptr);
        EXPECT_TRUE(getippt);
        EXPECT_EQ(Reihe(*k, 3)[1], f.erwartet);
        EXPECT_EQ(k->Zelle(3, 1).Text_RGB, Notenfarbe(f.erwartet, 0));
        EXPECT_EQ(Reihe(*k, 2)[1], u"1-") << "no other cell changes";
        EXPECT_EQ(m.Status, 0);
        EXPECT_EQ(bewegtMitSuche, 0);
        Stimmig(*k);
    }
}
