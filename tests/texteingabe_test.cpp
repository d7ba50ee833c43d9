// The on-screen keyboard driven frame by frame: layout, taps on its keys,
// physical keys and typed characters, pointer selection in the field, the
// special-character note and the drawing state it leaves behind.
#include <functional>

#include "headless_fixture.hpp"
#include "platform/image_font.hpp"
#include "platform/timing.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"

namespace {
using TE = Texteingabe;
using Taste = std::shared_ptr<TTextKachel>;

// The slide-in takes 250 ms, about 13 frames; from here on the keys listen.
constexpr int kBereit = 18;
// Held Escape long after every script, so that a broken test ends instead of hanging.
constexpr int kNotbremse = 4000;

struct Quad {
    float x0, y0, x1, y1;
    uint32_t rgba;
    ClipRect clip;
};

uint32_t Farbe(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | 255u << 24; }

class TexteingabeTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        Taktgeber = CreateFrameTimer(50);
        TInfoBox::LadeSchriften();
        TE::initialisieren();
    }

    static Taste Zeichentaste(char16_t c) {
        for (int r = 0; r < 4; ++r)
            for (int i = 0; i < TE::kZeichentasten[r]; ++i)
                if (TE::Tastenreihe[r][i]->Text[1] == Text(1, c)) return TE::Tastenreihe[r][i];
        ADD_FAILURE() << "no key for " << int(c);
        return TE::Tastenreihe[0][0];
    }
    static Taste R4(int i) { return TE::Tastenreihe[4][i]; }

    // Scripting from the frame in which the keys first listen.
    void Beginn() { f_ = Frame(kBereit); }
    void Tippe(const Taste& t) {
        const float cx = t->x + t->Breite / 2.0f, cy = t->y + t->Tiefe / 2.0f;
        Press(f_, cx, cy);
        Release(f_ + 2, cx, cy);
        f_ += 4;
    }
    void Zeichen(int c) {
        backend->At(f_, {ScriptedEvent::Typed, c});
        f_ += 2;
    }
    void Physisch(int code) {
        KeyTap(f_, code);
        f_ += 2;
    }
    void EscapeGehalten() {
        backend->At(f_, {ScriptedEvent::KeyDown, 27});
        backend->At(f_ + 3, {ScriptedEvent::KeyUp, 27});
        f_ += 5;
    }
    int Lauf(int checkSpecial = 0) {
        backend->At(Frame(kNotbremse), {ScriptedEvent::KeyDown, 27});
        return TE::verwenden(checkSpecial);
    }
    // starten, the given script, Enter typed; returns what verwenden returned.
    int Eingabe(const Text& text, int centred, int from, int cursor, int overwrite,
                const std::function<void()>& skript) {
        TE::starten(1, text, centred, from, cursor, overwrite);
        Beginn();
        skript();
        Zeichen(13);
        return Lauf();
    }

    std::vector<Quad> Quads() const {
        std::vector<Quad> out;
        const DrawList& d = backend->LastFrame();
        for (const DrawCommand& c : d.commands) {
            if (c.kind != DrawCommand::Quads) continue;
            for (uint32_t v = c.firstVertex; v + 3 < c.firstVertex + c.vertexCount; v += 4) {
                const DrawVertex& a = d.vertices[v];
                const DrawVertex& b = d.vertices[v + 2];
                out.push_back({a.x, a.y, b.x, b.y, a.rgba, c.clip});
            }
        }
        return out;
    }

    long long f_ = 0;
};

int Breite(const Text& t) {
    SetDrawFont(TE::Schrift_gross);
    return TextWidthOf(t);
}
}  // namespace

TEST_F(TexteingabeTest, LayoutAtFullHdFollowsTheThirteenKeyPitch) {
    // KW 1170, KX 375, P 90, k 80; keys start at 1080 - 460 = 620 + 10.
    EXPECT_EQ(TE::Tastatur_x, 375);
    EXPECT_EQ(TE::Tastatur_Breite, 1170);
    EXPECT_EQ(TE::Tastatur_y, 620 - 160);
    EXPECT_EQ(TE::Tastatur_Hoehe, 460 + 160);
    EXPECT_EQ(TE::Feld_x, 455);
    EXPECT_EQ(TE::Feld_Breite, 1010);
    SetDrawFont(TE::Schrift_gross);
    EXPECT_EQ(TE::Zeilenhoehe, TextHeightOf(u"|"));
    EXPECT_EQ(TE::Feld_y, int(460 + 80 - 0.5 * TE::Zeilenhoehe));

    const std::vector<size_t> anzahl{12, 12, 11, 13, 7};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(TE::Tastenreihe[r].size(), anzahl[r]) << r;

    struct Soll { int r, i, x, y, w, h; };
    const Soll tabelle[] = {
        {0, 0, 385, 630, 80, 80},    {0, 10, 1285, 630, 80, 80},  {0, 11, 1375, 630, 160, 80},  // Backspace
        {1, 0, 415, 720, 80, 80},    {1, 11, 1425, 720, 110, 170},                              // Enter
        {2, 0, 435, 810, 80, 80},    {2, 10, 1335, 810, 80, 80},
        {3, 7, 1015, 900, 80, 80},   {3, 8, 1105, 900, 78, 80},   {3, 9, 1193, 900, 78, 80},
        {3, 12, 1457, 900, 78, 80},
        {4, TE::kEscape, 385, 990, 64, 80},     {4, TE::kShiftLinks, 459, 990, 160, 80},
        {4, TE::kLeertaste, 629, 990, 514, 80}, {4, TE::kShiftRechts, 1153, 990, 160, 80},
        {4, TE::kEntf, 1323, 990, 64, 80},      {4, TE::kClear, 1397, 990, 64, 80},
        {4, TE::kEinfg, 1471, 990, 64, 80},
    };
    for (const Soll& s : tabelle) {
        SCOPED_TRACE(testing::Message() << "row " << s.r << " key " << s.i);
        const Taste& t = TE::Tastenreihe[s.r][s.i];
        EXPECT_EQ(t->x, s.x);
        EXPECT_EQ(t->y, s.y);
        EXPECT_EQ(t->Breite, s.w);
        EXPECT_EQ(t->Tiefe, s.h);
        EXPECT_EQ(t->Animation, 0);
    }
}

TEST_F(TexteingabeTest, KeysShowTheirCharactersSymbolsAndColours) {
    EXPECT_EQ(TE::Tastenreihe[0][2]->Text, (std::vector<Text>{u"€", u"3"}));
    EXPECT_EQ(TE::Tastenreihe[0][1]->Text, (std::vector<Text>{u"\"", u"2"}));
    EXPECT_EQ(TE::Tastenreihe[0][10]->Text, (std::vector<Text>{u"?", u"ß"}));
    EXPECT_EQ(TE::Tastenreihe[1][10]->Text, (std::vector<Text>{u"Ü", u"ü"}));
    EXPECT_EQ(TE::Tastenreihe[3][0]->Text, (std::vector<Text>{u">", u"<"}));
    EXPECT_EQ(TE::Tastenreihe[3][12]->Text, (std::vector<Text>{u"'", u"@"}));
    EXPECT_EQ(TE::Tastenreihe[0][TE::kRuecktaste]->Text, (std::vector<Text>{u"D"}));
    EXPECT_EQ(TE::Tastenreihe[1][TE::kEnter]->Text, (std::vector<Text>{u"B", u"Enter"}));
    const std::vector<std::vector<Text>> reihe4{{u"L", u"Escape"}, {u"C", u"Shift"}, {u""},           {u"C", u"Shift"},
                                                {u"E", u"Entf."},  {u"F", u"Clear"}, {u"G", u"Einfg."}};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(R4(i)->Text, reihe4[i]) << i;
    EXPECT_EQ(TE::Tastenreihe[2][3]->RGB, (RGBFarbe{48, 47, 55}));
    EXPECT_EQ(R4(TE::kLeertaste)->RGB, (RGBFarbe{48, 47, 55}));
    EXPECT_EQ(R4(TE::kEntf)->RGB, (RGBFarbe{29, 28, 33}));
    EXPECT_EQ(TE::Tastenreihe[1][TE::kEnter]->Text_RGB, (RGBFarbe{255, 255, 255}));
    EXPECT_EQ(TE::Tastenreihe[1][TE::kEnter]->Font[0], TE::Symbol_schrift);
    EXPECT_EQ(TE::Tastenreihe[2][0]->Font[1], TE::Schrift_gross);
}

TEST_F(TexteingabeTest, FontsAndKeySizesScaleWithANarrowWindow) {
    struct Fall { int w, h, klein, gross, symbol, x, k; };
    const Fall faelle[] = {{1920, 1080, 16, 36, 48, 375, 80}, {1024, 768, 14, 31, 42, 0, 68}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.w);
        ASSERT_TRUE(OpenGraphicsWindow(f.w, f.h, 0, 60, 0));
        TE::initialisieren();
        EXPECT_EQ(TE::Schrift_klein->pixelSize, f.klein);
        EXPECT_EQ(TE::Schrift_gross->pixelSize, f.gross);
        EXPECT_EQ(TE::Symbol_schrift->pixelSize, f.symbol);
        EXPECT_EQ(TE::Tastatur_x, f.x);
        EXPECT_EQ(TE::Tastenreihe[0][0]->Breite, f.k);
    }
    // At 1024: P 78, k 68; the narrow keys of row 3 are 66 wide and advance by trunc(66.3 + 10).
    const int x3 = int(0.5 * (1024 - 110 - 13 * 68));
    EXPECT_EQ(TE::Tastenreihe[3][8]->x, x3 + 8 * 78);
    EXPECT_EQ(TE::Tastenreihe[3][8]->Breite, 66);
    EXPECT_EQ(TE::Tastenreihe[3][9]->x, x3 + 8 * 78 + 76);
    EXPECT_EQ(R4(TE::kLeertaste)->Breite, int(5.8 * 68 + 50));
    EXPECT_EQ(TE::Tastatur_y, 768 - (5 * 78 + 10) - 2 * 68);
}

TEST_F(TexteingabeTest, StartenKeepsAnOverWideTextWholeLeftAligned) {
    const Text lang(250, u'W');
    for (int zentriert : {0, 1}) {
        TE::starten(1, lang, zentriert, -1, -1, 0);
        EXPECT_EQ(TE::Eingabetext, lang) << "never cut";
        EXPECT_EQ(TE::Cursor, 250);
        EXPECT_EQ(TE::Text_x, TE::Feld_x + Breite(u" "));
    }
}

TEST_F(TexteingabeTest, StartenSetsSelectionCursorAndAlignment) {
    struct Fall { int from, cursor, overwrite; int beginn, cur, links, laenge, ueber; };
    const Fall faelle[] = {
        {0, -1, 0, 0, 20, 0, 20, 0},   // prompt fully selected
        {-1, -1, 5, 20, 20, 20, 0, 1}, // no selection, overwrite clamped
        {3, 7, -2, 3, 7, 3, 4, 0},
        {9, 4, 0, 4, 4, 4, 0, 0},      // a start behind the cursor is no selection
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.from << "/" << f.cursor);
        TE::starten(1, u"Vorname(n), Nachname", 1, f.from, f.cursor, f.overwrite);
        EXPECT_EQ(TE::Auswahlbeginn, f.beginn);
        EXPECT_EQ(TE::Cursor, f.cur);
        EXPECT_EQ(TE::Auswahl_links, f.links);
        EXPECT_EQ(TE::Auswahl_Laenge, f.laenge);
        EXPECT_EQ(TE::ueberschreiben, f.ueber);
        EXPECT_EQ(TE::eingeblendet, 0);
        EXPECT_EQ(TE::Text_x, int(TE::Feld_x + 0.5 * (TE::Feld_Breite - Breite(u"Vorname(n), Nachname"))));
    }
}

TEST_F(TexteingabeTest, TypingOverTheSelectedPromptReplacesItAndStaysCentred) {
    struct Fall { const char* name; std::function<void()> tippen; Text ergebnis; };
    const Fall faelle[] = {
        {"key", [&] { Tippe(Zeichentaste(u'k')); }, u"k"},
        {"typed", [&] { Zeichen('K'); }, u"K"},
        {"space", [&] { Tippe(R4(TE::kLeertaste)); }, u" "},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(Eingabe(u"Vorname(n), Nachname", 1, 0, -1, 0, [&] { f.tippen(); }), 1);
        EXPECT_EQ(TE::Eingabetext, f.ergebnis);
        EXPECT_EQ(TE::Cursor, 1);
        EXPECT_EQ(TE::Auswahlbeginn, 1);
        EXPECT_EQ(TE::Text_x, int(TE::Feld_x + 0.5 * (TE::Feld_Breite - Breite(f.ergebnis))));
        EXPECT_EQ(TE::EingabeAktiv, 1);  // confirming leaves it to the caller
    }
}

TEST_F(TexteingabeTest, ShiftActsForOneCharacterAndSwapsTheKeysBack) {
    struct Fall { int shiftTaste; std::function<Taste()> taste; Text ergebnis; };
    const Fall faelle[] = {
        {TE::kShiftLinks, [] { return Zeichentaste(u'a'); }, u"A"},
        {TE::kShiftRechts, [] { return Zeichentaste(u'a'); }, u"A"},
        {TE::kShiftLinks, [] { return R4(TE::kLeertaste); }, u" "},
        {TE::kShiftLinks, [] { return TE::Tastenreihe[0][3]; }, u"$"},
        {TE::kShiftRechts, [] { return TE::Tastenreihe[0][2]; }, u"€"},
        {TE::kShiftLinks, [] { return TE::Tastenreihe[3][10]; }, u"_"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(Utf8FromText(f.ergebnis));
        // The key under the pointer is looked up before shift changes its lines.
        const Taste ziel = f.taste();
        EXPECT_EQ(Eingabe(u"", 0, -1, -1, 0, [&] {
                      Tippe(R4(f.shiftTaste));
                      Tippe(ziel);
                  }),
                  1);
        EXPECT_EQ(TE::Eingabetext, f.ergebnis);
        EXPECT_EQ(TE::shift, 0);
        EXPECT_EQ(Zeichentaste(u'a')->Text, (std::vector<Text>{u"A", u"a"}));
        EXPECT_EQ(TE::Tastenreihe[0][2]->Text, (std::vector<Text>{u"€", u"3"}));
    }
}

TEST_F(TexteingabeTest, ShiftTwiceIsOffAgainAndShiftWechselnSwapsEveryCharacterKey) {
    EXPECT_EQ(Eingabe(u"", 0, -1, -1, 0,
                      [&] {
                          Tippe(R4(TE::kShiftLinks));
                          Tippe(R4(TE::kShiftRechts));
                          Tippe(Zeichentaste(u'q'));
                      }),
              1);
    EXPECT_EQ(TE::Eingabetext, u"q");
    TE::shift_wechseln();
    EXPECT_EQ(TE::shift, 1);
    const Text gross[4] = {u"!\"€$%&/()=?", u"QWERTZUIOPÜ", u"ASDFGHJKLÖÄ", u">YXCVBNM;:_*'"};
    for (int r = 0; r < 4; ++r)
        for (int i = 0; i < TE::kZeichentasten[r]; ++i)
            EXPECT_EQ(TE::Tastenreihe[r][i]->Text[1], Text(1, gross[r][i])) << r << "/" << i;
    EXPECT_EQ(TE::Tastenreihe[3][8]->Font[1], TE::Schrift_gross);  // fonts stay with the lines' places
    TE::shift_wechseln();
    EXPECT_EQ(TE::shift, 0);
}

TEST_F(TexteingabeTest, EditingKeysAtTheCursor) {
    struct Fall { const char* name; Text text; int cursor, overwrite; std::function<void()> tun;
                  Text ergebnis; int cursorDanach; };
    const Fall faelle[] = {
        {"overwrite replaces", u"abc", 1, 1, [&] { Zeichen('X'); }, u"aXc", 2},
        {"overwrite at the end appends", u"abc", -1, 1, [&] { Zeichen('X'); }, u"abcX", 4},
        {"Einfg turns overwrite on", u"abc", 1, 0,
         [&] { Tippe(R4(TE::kEinfg)); Zeichen('X'); }, u"aXc", 2},
        {"Einfg twice inserts", u"abc", 1, 0,
         [&] { Tippe(R4(TE::kEinfg)); Tippe(R4(TE::kEinfg)); Zeichen('X'); }, u"aXbc", 2},
        {"Backspace at 0", u"abc", 0, 0,
         [&] { Tippe(TE::Tastenreihe[0][TE::kRuecktaste]); }, u"abc", 0},
        {"Backspace", u"abc", 2, 0,
         [&] { Tippe(TE::Tastenreihe[0][TE::kRuecktaste]); }, u"ac", 1},
        {"Entf. at the end", u"abc", -1, 0, [&] { Tippe(R4(TE::kEntf)); }, u"abc", 3},
        {"Entf.", u"abc", 1, 0, [&] { Tippe(R4(TE::kEntf)); }, u"ac", 1},
        {"Clear", u"abc", 2, 1, [&] { Tippe(R4(TE::kClear)); }, u"", 0},
        {"Clear then type", u"abc", 2, 1,
         [&] { Tippe(R4(TE::kClear)); Zeichen('Y'); }, u"Y", 1},
        {"Left", u"abcd", 2, 0, [&] { Physisch(kKeyLeft); Zeichen('X'); }, u"aXbcd", 2},
        {"Left at 0", u"abcd", 0, 0, [&] { Physisch(kKeyLeft); Zeichen('X'); }, u"Xabcd", 1},
        {"Right", u"abcd", 2, 0, [&] { Physisch(kKeyRight); Zeichen('X'); }, u"abcXd", 4},
        {"Right at the end", u"abcd", -1, 0,
         [&] { Physisch(kKeyRight); Zeichen('X'); }, u"abcdX", 5},
        {"Home", u"abcd", 2, 0, [&] { Physisch(kKeyHome); Zeichen('X'); }, u"Xabcd", 1},
        {"End", u"abcd", 2, 0, [&] { Physisch(kKeyEnd); Zeichen('X'); }, u"abcdX", 5},
        {"Delete", u"abcd", 2, 0, [&] { Physisch(kKeyDelete); }, u"abd", 2},
        {"Insert", u"abcd", 2, 0, [&] { Physisch(kKeyInsert); Zeichen('X'); }, u"abXd", 3},
        {"typed 8", u"abcd", 2, 0, [&] { Zeichen(8); }, u"acd", 1},
        {"typed 8 on a selection", u"abcd", 3, 0, [&] { Zeichen(8); }, u"ad", 1},
        {"Delete on a selection", u"abcd", 3, 0, [&] { Physisch(kKeyDelete); }, u"ad", 1},
        {"overwrite on a selection replaces only it", u"abcd", 3, 1, [&] { Zeichen('X'); },
         u"aXd", 2},
        {"Left drops the selection", u"abcd", 3, 0,
         [&] { Physisch(kKeyLeft); Zeichen('X'); }, u"abXcd", 3},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        // Rows whose name mentions a selection select from 1 to the cursor.
        const bool auswahl = std::string(f.name).find("selection") != std::string::npos;
        EXPECT_EQ(Eingabe(f.text, 0, auswahl ? 1 : -1, f.cursor, f.overwrite, [&] { f.tun(); }), 1);
        EXPECT_EQ(TE::Eingabetext, f.ergebnis);
        EXPECT_EQ(TE::Cursor, f.cursorDanach);
        EXPECT_EQ(TE::Auswahlbeginn, TE::Cursor);
    }
}

TEST_F(TexteingabeTest, ClearResetsCursorSelectionAndOverwrite) {
    EXPECT_EQ(Eingabe(u"abc", 1, 0, -1, 1, [&] { Tippe(R4(TE::kClear)); }), 1);
    EXPECT_EQ(TE::Eingabetext, u"");
    EXPECT_EQ(TE::Cursor, 0);
    EXPECT_EQ(TE::Auswahlbeginn, 0);
    EXPECT_EQ(TE::Auswahl_links, 0);
    EXPECT_EQ(TE::Auswahl_Laenge, 0);
    EXPECT_EQ(TE::ueberschreiben, 0);
    EXPECT_EQ(TE::Text_x, TE::Feld_x + TE::Feld_Breite / 2);
}

TEST_F(TexteingabeTest, OnlyCharactersTheClassFileCanStoreAreTyped) {
    struct Fall { int code; Text ergebnis; };
    const Fall faelle[] = {
        {'~', u""},   {0x2713, u""},     {0xD83D, u""}, {0xDE00, u""}, {127, u""}, {31, u""}, {9, u""},
        {0xE9, u"é"}, {0x20AC, u"€"},   {0xFF, u"ÿ"},  {' ', u" "},   {'}', u"}"}, {0xA0, u"\u00A0"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.code);
        EXPECT_EQ(Eingabe(u"", 0, -1, -1, 0, [&] { Zeichen(f.code); }), 1);
        EXPECT_EQ(TE::Eingabetext, f.ergebnis);
        EXPECT_EQ(TE::Zulaessig(static_cast<char16_t>(f.code)), !f.ergebnis.empty());
    }
}

TEST_F(TexteingabeTest, LettersBeyondLatin1AreTypedAsTheirBaseLetter) {
    struct Fall { Text getippt, ergebnis; };
    const Fall faelle[] = {
        {u"Doğan", u"Dogan"},       {u"Łukasz", u"Lukasz"},  {u"Işık", u"Isik"},
        {u"Şahin", u"Sahin"},       {u"Œuvre", u"OEuvre"},  {u"Nguyễn", u"Nguyen"},
        {u"Dvořák", u"Dvorák"},     {u"Ωmega", u"mega"},    {u"Kim 😀", u"Kim "},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(Utf8FromText(f.getippt));
        EXPECT_EQ(Eingabe(u"", 0, -1, -1, 0, [&] {
                      for (char16_t c : f.getippt) Zeichen(c);
                  }),
                  1);
        EXPECT_EQ(TE::Eingabetext, f.ergebnis);
    }
    // Over a selection, and in overwrite mode, a folded letter acts as the letter typed.
    EXPECT_EQ(Eingabe(u"Gdańsk", 0, 3, 4, 0, [&] { Zeichen(0x0144); }), 1);
    EXPECT_EQ(TE::Eingabetext, u"Gdansk");
    EXPECT_EQ(Eingabe(u"Sxhin", 0, -1, 1, 1, [&] { Zeichen(0x0103); }), 1);
    EXPECT_EQ(TE::Eingabetext, u"Sahin");
}

TEST_F(TexteingabeTest, AWideTextScrollsWithTheCaretAndTheLengthLimitIsToldInABox) {
    // Typed past the field's width: nothing is dropped, the field scrolls so
    // that the caret stays inside it, and only whole characters are drawn there.
    TE::starten(1, u"", 0, -1, -1, 0);
    Beginn();
    for (int i = 0; i < 60; ++i) Zeichen('W');
    const long long ende = f_;
    bool feldGeprueft = false;
    SetFrameObserver([&] {
        if (backend->Flips() < ende + 2 || feldGeprueft) return;
        feldGeprueft = true;
        const int caret = TE::Text_x - TE::Verschiebung + Breite(Text(60, u'W'));
        EXPECT_GT(TE::Verschiebung, 0);
        EXPECT_LE(caret, TE::Feld_x + TE::Feld_Breite);
        EXPECT_GE(caret, TE::Feld_x);
    });
    f_ += 4;
    Physisch(kKeyHome);  // back to the start: scrolled back
    Zeichen(13);
    EXPECT_EQ(Lauf(), 1);
    SetFrameObserver(nullptr);
    EXPECT_TRUE(feldGeprueft);
    EXPECT_EQ(TE::Eingabetext, Text(60, u'W'));
    EXPECT_EQ(TE::Verschiebung, 0);

    // At the limit a further character is refused with a box (Enter closes it).
    const Text voll(TE::kHoechstlaenge, u'W');
    TE::starten(1, voll.substr(1), 0, -1, -1, 0);
    Beginn();
    Zeichen('W');
    Zeichen('X');
    backend->At(f_ + 10, {ScriptedEvent::KeyDown, 13});
    backend->At(f_ + 11, {ScriptedEvent::KeyUp, 13});
    f_ += 20;
    Zeichen(13);
    EXPECT_EQ(Lauf(), 1);
    EXPECT_EQ(TE::Eingabetext, voll);

    // Overwriting keeps the length, so it is not refused at the limit.
    TE::starten(1, voll, 0, -1, 0, 1);
    Beginn();
    Zeichen('i');
    Zeichen(13);
    EXPECT_EQ(Lauf(), 1);
    EXPECT_EQ(TE::Eingabetext, u"i" + voll.substr(1));
}

TEST_F(TexteingabeTest, ADroppedShiftedCharacterStillEndsShift) {
    TE::starten(1, Text(TE::kHoechstlaenge, u'W'), 0, -1, -1, 0);
    Beginn();
    Tippe(R4(TE::kShiftLinks));
    Tippe(Zeichentaste(u'w'));  // over the limit: refused, its box closed with Enter
    backend->At(f_ + 10, {ScriptedEvent::KeyDown, 13});
    backend->At(f_ + 11, {ScriptedEvent::KeyUp, 13});
    f_ += 20;
    Zeichen(13);
    const Text voll = TE::Eingabetext;
    EXPECT_EQ(Lauf(), 1);
    EXPECT_EQ(TE::Eingabetext, voll);
    EXPECT_EQ(TE::shift, 0);
}

TEST_F(TexteingabeTest, CancelReturnsZeroAndASecondRunWithoutStartenReturnsAtOnce) {
    struct Fall { const char* name; std::function<void()> abbruch; };
    const Fall faelle[] = {
        {"Escape held", [&] { EscapeGehalten(); }},
        {"Escape tapped", [&] { Physisch(27); }},
        {"window closed", [&] { backend->At(f_, {ScriptedEvent::Close}); }},
        {"Escape key", [&] { Tippe(R4(TE::kEscape)); }},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        TE::starten(1, u"abc", 0, -1, -1, 0);
        Beginn();
        Zeichen('d');
        f.abbruch();
        EXPECT_EQ(Lauf(), 0);
        EXPECT_EQ(TE::EingabeAktiv, 0);
        EXPECT_EQ(TE::Eingabetext, u"abcd");
        const long long flips = backend->Flips();
        EXPECT_EQ(TE::verwenden(0), 0);
        EXPECT_EQ(backend->Flips(), flips);  // no frame shown
    }
}

TEST_F(TexteingabeTest, EnterKeyReleasedConfirms) {
    TE::starten(1, u"Bio", 0, -1, -1, 0);
    Beginn();
    Tippe(TE::Tastenreihe[1][TE::kEnter]);
    EXPECT_EQ(Lauf(), 1);
    EXPECT_EQ(TE::Eingabetext, u"Bio");
}

TEST_F(TexteingabeTest, PressWithoutReleaseOnEnterDoesNotConfirm) {
    TE::starten(1, u"Bio", 0, -1, -1, 0);
    Beginn();
    const Taste enter = TE::Tastenreihe[1][TE::kEnter];
    Press(f_, enter->x + 5.0f, enter->y + 5.0f);
    Move(f_ + 2, 10, 10);  // dragged off the key
    Release(f_ + 4, 10, 10);
    f_ += 6;
    EscapeGehalten();
    EXPECT_EQ(Lauf(), 0);
}

TEST_F(TexteingabeTest, KeysDoNotListenWhileSlidingIn) {
    TE::starten(1, u"", 0, -1, -1, 0);
    const Taste a = Zeichentaste(u'a');
    Press(Frame(2), a->x + 40.0f, a->y + 40.0f);
    Release(Frame(4), a->x + 40.0f, a->y + 40.0f);
    Beginn();
    Zeichen(13);
    EXPECT_EQ(Lauf(), 1);
    EXPECT_EQ(TE::Eingabetext, u"");
    EXPECT_EQ(TE::eingeblendet, 1);
}

TEST_F(TexteingabeTest, SlideInMovesTheKeyboardUpFromBelow) {
    // Cancel with a held Escape in the 6th frame of the slide: the 5th was the last shown.
    TE::starten(1, u"", 0, -1, -1, 0);
    backend->At(Frame(5), {ScriptedEvent::KeyDown, 27});
    const int beginn = MillisecondClock();
    EXPECT_EQ(Lauf(), 0);
    EXPECT_EQ(TE::eingeblendet, 0);
    EXPECT_EQ(TE::Einblendbeginn, beginn);
    bool hintergrund = false;
    for (const Quad& q : Quads()) {
        if (q.rgba != Farbe(0, 0, 0) || q.x1 - q.x0 != 1170) continue;
        hintergrund = true;
        EXPECT_GT(q.y0, TE::Tastatur_y);                       // still below its place
        EXPECT_LT(q.y0, TE::Tastatur_y + TE::Tastatur_Hoehe);  // but on its way
        EXPECT_EQ(q.clip, (ClipRect{375, TE::Tastatur_y, 1170, TE::Tastatur_Hoehe}));
    }
    EXPECT_TRUE(hintergrund);
}

TEST_F(TexteingabeTest, EveryWayOutLeavesTheDrawingStateReset) {
    struct Fall { const char* name; std::function<void()> skript; int ergebnis; };
    const Fall faelle[] = {
        {"Escape while sliding", [&] { backend->At(Frame(3), {ScriptedEvent::KeyDown, 27});
                                                          backend->At(Frame(4), {ScriptedEvent::KeyUp, 27}); }, 0},
        {"Escape key", [&] { Beginn(); Tippe(R4(TE::kEscape)); }, 0},
        {"Enter key", [&] { Beginn(); Tippe(TE::Tastenreihe[1][TE::kEnter]); }, 1},
        {"typed Enter", [&] { Beginn(); Zeichen(13); }, 1},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        SetColor(10, 20, 30);
        SetAlpha(0.5);
        SetDrawScale(2, 2);
        TE::starten(1, u"x", 0, -1, -1, 0);
        f.skript();
        EXPECT_EQ(Lauf(), f.ergebnis);
        const DrawingState& s = Ctx().state;
        EXPECT_EQ(s.viewport, (ClipRect{0, 0, 1920, 1080}));
        EXPECT_EQ(s.originX, 0);
        EXPECT_EQ(s.originY, 0);
        EXPECT_EQ(s.color[0] + s.color[1] + s.color[2], 3 * 255);
        EXPECT_EQ(s.alpha, 1.0f);
        EXPECT_EQ(s.scaleX, 1.0f);
        EXPECT_EQ(s.scaleY, 1.0f);
    }
}

TEST_F(TexteingabeTest, SpecialCharactersAreRefusedOnlyWhereTheTextNamesAFile) {
    // checkSpecial 0: a note may hold a slash.
    TE::starten(1, u"a/b", 0, -1, -1, 0);
    Beginn();
    Tippe(TE::Tastenreihe[1][TE::kEnter]);
    TE::Sonderzeichenhinweis.reset();
    EXPECT_EQ(Lauf(0), 1);
    EXPECT_EQ(TE::Eingabetext, u"a/b");
    EXPECT_EQ(TE::Sonderzeichenhinweis, nullptr);

    // checkSpecial 1: the note appears, closed by its Ok button or by Enter,
    // and editing goes on until the text is acceptable.
    auto muster = TInfoBox::bauen(u"Information", {255, 255, 0}, {u"x", u"y"}, {kOkSchalter});
    const TKachel& ok = *muster->Schalter[0];
    struct Fall { const char* name; bool enterTaste; bool okKnopf; };
    const Fall faelle[] = {{"Enter key, Ok button", true, true}, {"typed Enter, Enter key", false, false}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        TE::starten(1, u"a/b", 0, -1, -1, 0);
        Beginn();
        if (f.enterTaste) Tippe(TE::Tastenreihe[1][TE::kEnter]);
        else Zeichen(13);
        // Two cleared frames, then the box grows for 100 ms before it listens.
        if (f.okKnopf) {
            Press(f_ + 12, ok.x + ok.Breite / 2.0f, ok.y + ok.Tiefe / 2.0f);
            Release(f_ + 14, ok.x + ok.Breite / 2.0f, ok.y + ok.Tiefe / 2.0f);
        } else {
            KeyTap(f_ + 12, 13);
        }
        f_ += 20;
        Tippe(TE::Tastenreihe[0][TE::kRuecktaste]);
        Tippe(TE::Tastenreihe[0][TE::kRuecktaste]);
        Zeichen(13);
        TE::Sonderzeichenhinweis.reset();
        EXPECT_EQ(Lauf(1), 1);
        EXPECT_EQ(TE::Eingabetext, u"a");
        ASSERT_NE(TE::Sonderzeichenhinweis, nullptr);
        const TInfoBox& box = *TE::Sonderzeichenhinweis;
        EXPECT_EQ(box.title, u"Information");
        EXPECT_EQ(box.titleRGB, (RGBFarbe{255, 255, 0}));
        EXPECT_EQ(box.info, (std::vector<Text>{u"Die Verwendung der Sonderzeichen / \\ : * ? \" < > |",
                                                u"ist hier nicht erlaubt. Bitte korrigieren Sie!"}));
        EXPECT_EQ(box.info[0].size(), 50u);
        ASSERT_EQ(box.Schalter.size(), 1u);
        EXPECT_EQ(box.Schalter[0]->Text[0], kOkSchalter);
    }
}

TEST_F(TexteingabeTest, SonderzeichenkontrolleKnowsTheNineForbiddenCharacters) {
    const Text erlaubt[] = {u"", u"Bio 5a", u"Müller, Jörg", u"1.2.24 - Test", u"a~b€"};
    for (const Text& t : erlaubt) {
        TE::Eingabetext = t;
        const long long flips = backend->Flips();
        EXPECT_FALSE(TE::Sonderzeichenkontrolle()) << Utf8FromText(t);
        EXPECT_EQ(backend->Flips(), flips);
    }
    for (char16_t c : Text(u"/\\:*?\"<>|")) {
        TE::Eingabetext = Text(u"Klasse ") + c;
        KeyTap(Frame(6), 13);
        EXPECT_TRUE(TE::Sonderzeichenkontrolle()) << char(c);
        EXPECT_EQ(TouchState, 0);
    }
}

TEST_F(TexteingabeTest, TapAndDragInTheFieldPlacesTheCaretOrSelects) {
    const Text text = u"Hallo Welt";
    struct Fall { int von, bis; int beginn, cursor, links, laenge; Text getippt; };
    const Fall faelle[] = {
        {2, 5, 2, 5, 2, 3, u"HaX Welt"},      // drag to the right
        {5, 2, 5, 2, 2, 3, u"HaX Welt"},      // drag to the left
        {3, 3, 3, 3, 3, 0, u"HalXlo Welt"},   // a tap places the caret
        {0, 10, 0, 10, 0, 10, u"X"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.von << "->" << f.bis);
        TE::starten(1, text, 0, -1, -1, 0);
        Beginn();
        auto xBei = [&](int i) { return float(TE::Text_x + Breite(text.substr(0, i))); };
        const float y = TE::Feld_y + TE::Zeilenhoehe / 2.0f;
        Press(f_, xBei(f.von) + 1, y);
        Move(f_ + 2, xBei(f.bis) - 1, y);
        Release(f_ + 4, xBei(f.bis) - 1, y);
        f_ += 6;
        EscapeGehalten();
        EXPECT_EQ(Lauf(), 0);
        EXPECT_EQ(TE::Auswahlbeginn, f.beginn);
        EXPECT_EQ(TE::Cursor, f.cursor);
        EXPECT_EQ(TE::Auswahl_links, f.links);
        EXPECT_EQ(TE::Auswahl_Laenge, f.laenge);
        // The selection is what typing replaces.
        TE::EingabeAktiv = 1;
        TE::eingeblendet = 1;
        f_ = Frame(1);
        Zeichen('X');
        Zeichen(13);
        EXPECT_EQ(Lauf(), 1);
        EXPECT_EQ(TE::Eingabetext, f.getippt);
    }
}

TEST_F(TexteingabeTest, APressOutsideTheStripLeavesTheCaret) {
    TE::starten(1, u"Hallo", 0, -1, 2, 0);
    Beginn();
    const float x = TE::Text_x + 3.0f;
    Press(f_, x, TE::Tastatur_y - 5.0f);  // above the keyboard
    Release(f_ + 2, x, TE::Tastatur_y - 5.0f);
    f_ += 4;
    Zeichen(13);
    EXPECT_EQ(Lauf(), 1);
    EXPECT_EQ(TE::Cursor, 2);
}

TEST_F(TexteingabeTest, FieldShowsSelectionOverwriteAndBlinkingCaret) {
    struct Fall { int from, cursor, overwrite; int unterlageVon, unterlageBis; };
    // "Hallo": selection 1..4, overwrite under the character after the cursor, nothing.
    const Fall faelle[] = {{1, 4, 0, 1, 4}, {-1, 2, 1, 2, 3}, {-1, 2, 0, -1, -1}, {-1, -1, 1, -1, -1}};
    int mitCaret = 0, ohneCaret = 0;
    for (const Fall& f : faelle) {
        for (int ende = 0; ende < 12; ++ende) {
            SCOPED_TRACE(testing::Message() << f.from << "/" << f.cursor << " end " << ende);
            TE::starten(1, u"Hallo", 0, f.from, f.cursor, f.overwrite);
            Beginn();
            f_ += 3 * ende;
            EscapeGehalten();
            EXPECT_EQ(Lauf(), 0);
            // The last shown frame was drawn one timer tick before the cancelling pass.
            const bool caretAn = (MillisecondClock() - 20) % 800 < 600;
            const int tx = TE::Text_x, fy = TE::Feld_y, lh = TE::Zeilenhoehe;
            int feld = 0, unterlage = 0, caret = 0, glyphen = 0;
            for (const Quad& q : Quads()) {
                if (q.rgba == Farbe(255, 255, 255) && q.x0 == TE::Feld_x && q.y0 == fy) {
                    ++feld;
                    EXPECT_EQ(q.x1 - q.x0, TE::Feld_Breite);
                    EXPECT_EQ(q.y1 - q.y0, lh);
                } else if (q.rgba == Farbe(255, 160, 160)) {
                    ++unterlage;
                    EXPECT_EQ(q.x0, tx + Breite(Text(u"Hallo").substr(0, f.unterlageVon)));
                    EXPECT_EQ(q.x1, tx + Breite(Text(u"Hallo").substr(0, f.unterlageBis)));
                    EXPECT_EQ(q.y0, fy + 3);
                    EXPECT_EQ(q.y1, fy + lh - 3);
                } else if (q.rgba == Farbe(255, 0, 0)) {
                    ++caret;
                    const int c = f.cursor < 0 ? 5 : f.cursor;
                    EXPECT_EQ(q.x0, tx + Breite(Text(u"Hallo").substr(0, c)) - 1);
                    EXPECT_EQ(q.x1 - q.x0, 3);
                } else if (q.rgba == Farbe(0, 0, 0) && q.x0 >= TE::Feld_x &&
                           q.x1 <= TE::Feld_x + TE::Feld_Breite && q.y0 >= fy && q.y1 <= fy + lh) {
                    ++glyphen;
                }
            }
            EXPECT_EQ(feld, 1);
            EXPECT_EQ(unterlage, f.unterlageVon >= 0 ? 1 : 0);
            EXPECT_EQ(caret, caretAn ? 1 : 0);
            EXPECT_EQ(glyphen, 5);  // "Hallo" in black
            (caretAn ? mitCaret : ohneCaret)++;
        }
    }
    EXPECT_GT(mitCaret, 0);
    EXPECT_GT(ohneCaret, 0);
}

TEST_F(TexteingabeTest, CtrlVPastesTheWholeClipboardAsTypedText) {
    // Longer than the field, with a line break and a character a class file cannot hold.
    backend->clipboard = u"Maria-Theresia Annelie Konstanze Friederike,\r\nvon Hohenzollern-Sigmaringen~";
    TE::starten(1, u"Vorname(n), Nachname", 1, 0, -1, 0);
    Beginn();
    backend->At(f_, {ScriptedEvent::KeyDown, kKeyCtrl});
    backend->At(f_ + 1, {ScriptedEvent::KeyDown, 'V'});
    backend->At(f_ + 2, {ScriptedEvent::KeyUp, 'V'});
    backend->At(f_ + 3, {ScriptedEvent::KeyUp, kKeyCtrl});
    f_ += 5;
    Physisch('V');  // without Ctrl nothing is pasted
    Zeichen(13);
    EXPECT_EQ(Lauf(), 1);
    EXPECT_EQ(TE::Eingabetext, u"Maria-Theresia Annelie Konstanze Friederike, von Hohenzollern-Sigmaringen");
}
