// Modal dialogs driven frame by frame on the headless backend: the
// information box and the tile menus, with scripted taps, drags and keys.
#include "headless_fixture.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/menu.hpp"

namespace {
class Dialogs : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        Taktgeber = CreateFrameTimer(50);
        static bool fonts = false;
        if (!fonts) {
            TInfoBox::LadeSchriften();
            fonts = true;
        }
        f32 = TInfoBox::InfoTitelschrift;
        f16 = TInfoBox::InfoTextschrift;
    }
    void Click(long long frame, float x, float y) {
        Press(frame, x, y);
        Release(frame + 2, x, y);
    }
    std::shared_ptr<TTextMenu> Grid(int tiles, int columns) {
        std::vector<Text> line1, line2;
        for (int i = 0; i < tiles; ++i) {
            line1.push_back(i == 2 ? Text() : TextFromUtf8(std::to_string(i)));
            line2.push_back(i == 2 ? Text(u"?") : Text());
        }
        return TTextMenu::bauen(columns, {line1, line2}, {f32, f16}, 60, 60, 4, {24, 24, 24}, {48, 48, 48},
                                {255, 255, 255}, 100);
    }
    TImageFont f32, f16;
};
}  // namespace

TEST_F(Dialogs, InfoBoxLayoutFollowsTitleLinesAndButtons) {
    SetDrawFont(f16);
    const int L = TextHeightOf(u"");
    SetDrawFont(f32);
    const Text title = u"Eine sehr lange Überschrift für diesen Test";
    const int tw = TextWidthOf(title);
    auto box = TInfoBox::bauen(title, {255, 0, 0}, {u"kurz"}, {kOkSchalter});
    EXPECT_EQ(box->infozeilentiefe, L);
    EXPECT_EQ(box->Breite, tw + 2 * L);  // the title is wider than every line
    EXPECT_EQ(box->x, (1920 - box->Breite) / 2);
    ASSERT_EQ(box->Schalter.size(), 1u);
    const TKachel& ok = *box->Schalter[0];
    EXPECT_EQ(ok.Tiefe, 3 * L);
    EXPECT_EQ(ok.x + ok.Breite / 2, 960);  // centred under the text
    auto zwei = TInfoBox::bauen(u"Warnung", {255, 255, 0}, {u"Zeile eins", u"Zeile zwei"},
                                {u"Ja, das ist ok", u"NEIN"});
    ASSERT_EQ(zwei->Schalter.size(), 2u);
    EXPECT_EQ(zwei->Schalter[1]->x - (zwei->Schalter[0]->x + zwei->Schalter[0]->Breite), L);
    EXPECT_EQ(zwei->Schalter[0]->Breite, zwei->Schalter[1]->Breite);
}

TEST_F(Dialogs, InfoBoxReturnsThePressedButtonWithItsBlanks) {
    auto box = TInfoBox::bauen(u"Fehler", {255, 0, 0}, {u"Die Datei fehlt."}, {kOkSchalter});
    const TKachel& ok = *box->Schalter[0];
    Click(Frame(10), ok.x + ok.Breite / 2.0f, ok.y + ok.Tiefe / 2.0f);
    EXPECT_EQ(box->verwenden(), kOkSchalter);
}

TEST_F(Dialogs, InfoBoxIgnoresTheTouchThatOpenedIt) {
    auto box = TInfoBox::bauen(u"Info", {255, 255, 0}, {u"x"}, {kOkSchalter});
    const TKachel& ok = *box->Schalter[0];
    const float cx = ok.x + ok.Breite / 2.0f, cy = ok.y + ok.Tiefe / 2.0f;
    Press(Frame(0), cx, cy);  // the opening tap is still held, right on the button
    Step();
    ASSERT_EQ(TouchState, 1);
    Release(Frame(5), cx, cy);
    KeyTap(Frame(20), 27);
    EXPECT_EQ(box->verwenden(), u"");  // closed by Escape, not by the old tap
}

TEST_F(Dialogs, EnterDismissesTheBoxAndIsNotPassedOn) {
    auto box = TInfoBox::bauen(u"Info", {255, 255, 0}, {u"x"}, {kOkSchalter});
    backend->At(Frame(8), {ScriptedEvent::KeyDown, 13});
    backend->At(Frame(14), {ScriptedEvent::KeyUp, 13});
    EXPECT_EQ(box->verwenden(), u"");
    EXPECT_GE(backend->Flips(), Frame(0));
    EXPECT_FALSE(KeyHeld(13));
    EXPECT_EQ(KeyPressed(13), 0);
}

TEST_F(Dialogs, InfoBoxIsNotDismissedByAnEscapeThatCameBeforeIt) {
    BackRequested = 1;  // the frame that opened the box saw Escape
    auto box = TInfoBox::bauen(u"Fehler", {255, 0, 0}, {u"x"}, {kOkSchalter});
    const TKachel& ok = *box->Schalter[0];
    Click(Frame(12), ok.x + ok.Breite / 2.0f, ok.y + ok.Tiefe / 2.0f);
    EXPECT_EQ(box->verwenden(), kOkSchalter);
}

TEST_F(Dialogs, MenuGridSizeAndPlacementInsideTheWindow) {
    auto m = Grid(10, 3);
    EXPECT_EQ(m->Reihen, 4);
    EXPECT_EQ(m->Breite, 196);
    EXPECT_EQ(m->Tiefe, 260);
    m->einblenden(-50, 100, 0, 0, nullptr, 0, 0);
    EXPECT_EQ(m->x, 0);
    m->einblenden(1920 - 10, 1080 - 5, 0, 0, nullptr, 0, 0);
    EXPECT_EQ(m->x, 1920 - 196);
    EXPECT_EQ(m->y, 1080 - 260);
    EXPECT_EQ(m->Kachel[4]->x, m->x + 4 + 64);  // column 1 of row 1
    EXPECT_EQ(m->Kachel[4]->y, m->y + 4 + 64);
}

TEST_F(Dialogs, MenuReportsTheChosenTile) {
    auto m = Grid(10, 3);
    m->einblenden(500, 300, 0, 0, nullptr, 0, 0);
    const TKachel& t = *m->Kachel[4];
    Click(Frame(10), t.x + 30.0f, t.y + 30.0f);
    EXPECT_EQ(m->verwenden(), u"1");
    EXPECT_EQ(m->Auswahl_Kachelindex, 4);
    EXPECT_EQ(m->Auswahl, u"4");
    EXPECT_EQ(m->Status, 0);
    EXPECT_EQ(TouchState, 0);  // flushed: the release does not reach the screen below
}

TEST_F(Dialogs, TileWithEmptyFirstLineReportsItsSecondLine) {
    auto m = Grid(10, 3);
    m->einblenden(500, 300, 0, 0, nullptr, 0, 0);
    const TKachel& t = *m->Kachel[2];
    Click(Frame(10), t.x + 30.0f, t.y + 30.0f);
    EXPECT_EQ(m->verwenden(), u"1");
    EXPECT_EQ(m->Auswahl, u"?");
}

TEST_F(Dialogs, TapOutsideClosesOnlyAfterReleaseAndEscapeCloses) {
    auto m = Grid(10, 3);
    m->einblenden(500, 300, 0, 0, nullptr, 0, 0);
    Press(Frame(10), 100, 100);
    Release(Frame(15), 100, 100);
    EXPECT_EQ(m->verwenden(), u"");
    EXPECT_GE(backend->Flips(), 11);
    EXPECT_EQ(m->Auswahl_Kachelindex, -1);
    User::update();
    EXPECT_NE(TouchState, 3);  // the release was consumed inside the menu
    m->einblenden(500, 300, 0, 0, nullptr, 0, 0);
    KeyTap(Frame(3), 27);
    EXPECT_EQ(m->verwenden(), u"");
    backend->At(Frame(3), {ScriptedEvent::Close});
    m->einblenden(500, 300, 0, 0, nullptr, 0, 0);
    EXPECT_EQ(m->verwenden(), u"");
}

TEST_F(Dialogs, MenuWithoutPlacementReturnsAtOnce) {
    auto m = Grid(4, 2);
    const long long before = backend->Flips();
    EXPECT_EQ(m->verwenden(), u"");
    EXPECT_EQ(backend->Flips(), before);
}

TEST_F(Dialogs, IndividualColoursChangeOneTileOnly) {
    auto m = Grid(4, 2);
    m->individualisiere_RGBs(1, {200, 0, 0}, {});
    EXPECT_EQ(m->Kachel[1]->RGB, (RGBFarbe{200, 0, 0}));
    EXPECT_EQ(m->Kachel[1]->Text_RGB, (RGBFarbe{255, 255, 255}));
    EXPECT_EQ(m->Kachel[0]->RGB, (RGBFarbe{48, 48, 48}));
}
