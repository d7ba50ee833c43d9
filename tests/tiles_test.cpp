// Tiles: line layout, animations, the hit test and the bevel, checked on the
// headless backend through what the tiles record.
#include <algorithm>

#include "headless_fixture.hpp"
#include "tiles/kachel.hpp"

namespace {
class Tiles : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        f32 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32);
        ASSERT_TRUE(f32);
    }
    // One frame: poll input, let the tile draw and hit-test, present.
    int Frame(TKachel& k) {
        User::update();
        Ctx().frame.Reset();
        const int r = k.nutzen(1.0f, 1);
        Flip(0);
        return r;
    }
    TImageFont f32;
};

// Text of exactly `width` pixels in the current font, from wide and narrow letters.
Text TextOfWidth(int width) {
    Text t;
    for (char16_t c : std::u16string(u"WMmwnoil.")) {
        const int w = TextWidthOf(Text(1, c));
        while (w > 0 && TextWidthOf(t) + w <= width) t += c;
    }
    return t;
}

// Paints integer rectangles into a small grid, in order, like an opaque fill.
struct Raster {
    int w, h;
    std::vector<uint32_t> px;
    Raster(int w_, int h_) : w(w_), h(h_), px(size_t(w_) * h_, 0) {}
    void Fill(const std::vector<DrawVertex>& v) {
        for (size_t q = 0; q + 3 < v.size(); q += 4) {
            for (int y = int(v[q].y); y < int(v[q + 2].y); ++y)
                for (int x = int(v[q].x); x < int(v[q + 2].x); ++x)
                    if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = v[q].rgba;
        }
    }
};
}  // namespace

TEST_F(Tiles, OverWideLineIsShrunkToLeaveFourPixelsEachSide) {
    SetDrawFont(f32);
    const Text line = TextOfWidth(300);
    ASSERT_EQ(TextWidthOf(line), 300);
    auto k = TTextKachel::bauen({line}, {f32}, 0, 0, 0, 0, 0, 0, 200, 100, {1, 2, 3}, {255, 255, 255}, 1, 100);
    EXPECT_FLOAT_EQ(k->Text_scale[0], 0.64f);
    EXPECT_EQ(k->Text_offsetX[0], 4);
}

TEST_F(Tiles, LinesAreSpreadWithEqualGapsAndEmptyLinesCountAsGaps) {
    SetDrawFont(f32);
    const int h = TextHeightOf(u"A");
    auto k = TTextKachel::bauen({u"A", u"", u"B"}, {f32}, 0, 0, 0, 0, 0, 0, 200, 200, {}, {}, 1, 100);
    const int gap = (200 - 2 * h) / 5;  // 1 + three lines + one for the empty line
    EXPECT_EQ(k->Zeilenzwischenabstand, gap);
    EXPECT_EQ(k->Text_offsetY, (std::vector<int>{gap, 2 * gap + h, 3 * gap + h}));
    EXPECT_EQ(k->Text_offsetX[0], (200 - TextWidthOf(u"A")) / 2);
    auto links = TTextKachel::bauen({u"A"}, {f32}, 0, 0, 0, 0, 0, 0, 200, 200, {}, {}, 0, 100);
    EXPECT_EQ(links->Text_offsetX[0], 0);
}

TEST_F(Tiles, CombinedTileShowsImageLinesAndShrinksLinesThatDoNotFit) {
    auto k = TKombiKachel::bauen({u"incbin::media/images/Heft.png", u"Heft"}, {f32}, 0, 0, 0, 0, 0, 0, 90, 200, {}, {},
                                 1, 100);
    ASSERT_TRUE(k->Bild[0]);
    EXPECT_FALSE(k->Bild[1]);
    EXPECT_EQ(k->Text_offsetX[0], (90 - 32) / 2);
    EXPECT_TRUE(IstBildzeile(u"Foto.PNG"));
    EXPECT_TRUE(IstBildzeile(u"x.Jpg"));
    EXPECT_FALSE(IstBildzeile(u"x.jpeg"));
    auto fehlt = TKombiKachel::bauen({u"Noten/fehlt.PNG"}, {f32}, 0, 0, 0, 0, 0, 0, 90, 90, {}, {}, 1, 100);
    EXPECT_FALSE(fehlt->Bild[0]);  // laid out and drawn as text
    EXPECT_GT(fehlt->Text_scale[0], 0.0f);
    // 48 + text height > 40: no gaps, everything scaled by 40 / sum.
    SetDrawFont(f32);
    const int th = TextHeightOf(u"Heft");
    auto eng = TKombiKachel::bauen({u"incbin::media/images/Heft.png", u"Heft"}, {f32}, 0, 0, 0, 0, 0, 0, 90, 40, {}, {},
                                   1, 100);
    const float v = 40.0f / (48 + th);
    EXPECT_EQ(eng->Zeilenzwischenabstand, 0);
    EXPECT_FLOAT_EQ(eng->Text_scale[0], v);
    EXPECT_EQ(eng->Text_offsetY[0], 0);
    EXPECT_EQ(eng->Text_offsetY[1], static_cast<int>(48 * v));
}

TEST_F(Tiles, FadeInIsHalfwayAtHalfTimeAndTouchableOnlyAtTheEnd) {
    auto k = TTextKachel::bauen({u"x"}, {f32}, 400, 300, 0, 0, 0, 0, 200, 100, {100, 100, 100}, {}, 1, 300);
    FrameTime = 5000;
    k->einblenden(0, 0, 300, kPositionBehalten, kPositionBehalten);
    EXPECT_EQ(k->x, 400);  // -999999 keeps the rest position
    FrameTime = 5150;
    Ctx().frame.Reset();
    PointerPosX = 250; PointerPosY = 200; TouchState = 1;
    EXPECT_EQ(k->nutzen(1.0f, 1), 0);
    EXPECT_EQ(k->temp_x, 200);
    EXPECT_EQ(k->temp_y, 150);
    const auto& v = Ctx().frame.vertices;
    ASSERT_GE(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[2].x - v[0].x, 99);  // half the width, minus the bevel's pixel
    EXPECT_EQ(v[0].rgba >> 24, 128u);      // half alpha
    FrameTime = 5299;
    k->nutzen(1.0f, 1);
    EXPECT_EQ(k->touched, 0);
    FrameTime = 5300;
    PointerPosX = 450; PointerPosY = 350;
    k->nutzen(1.0f, 1);  // the animation ends; this frame already hit-tests
    EXPECT_EQ(k->Animation, 0);
    EXPECT_EQ(k->touched, 1);
}

TEST_F(Tiles, MoveEndsAtItsTargetAndFadeOutReportsMinusOne) {
    auto k = TTextKachel::bauen({u"x"}, {f32}, 10, 10, 0, 0, 0, 0, 50, 50, {}, {}, 1, 100);
    FrameTime = 1000;
    k->bewegen(110, 210, 100);
    FrameTime = 1050;
    k->nutzen(1, 0);
    EXPECT_EQ(k->temp_x, 60);
    FrameTime = 1100;
    k->nutzen(1, 0);
    EXPECT_EQ(k->x, 110);
    EXPECT_EQ(k->y, 210);
    k->ausblenden(0, 0, 100);
    FrameTime = 1200;
    EXPECT_EQ(k->nutzen(1, 0), 0);
    EXPECT_EQ(k->touched, -1);
}

TEST_F(Tiles, PressDragOffAndReleaseNeverActivates) {
    auto k = TTextKachel::bauen({u"x"}, {f32}, 100, 100, 0, 0, 0, 0, 100, 50, {}, {}, 1, 100);
    Press(HeadlessTest::Frame(0), 150, 120);
    Move(HeadlessTest::Frame(2), 400, 400);
    Release(HeadlessTest::Frame(3), 400, 400);
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) seen.push_back(Frame(*k));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 0, 0}));
}

TEST_F(Tiles, PressOutsideAndReleaseOnTheTileNeverActivates) {
    auto k = TTextKachel::bauen({u"x"}, {f32}, 100, 100, 0, 0, 0, 0, 100, 50, {}, {}, 1, 100);
    Press(HeadlessTest::Frame(0), 20, 20);
    Move(HeadlessTest::Frame(1), 150, 120);
    Release(HeadlessTest::Frame(2), 150, 120);
    for (int i = 0; i < 4; ++i) EXPECT_NE(Frame(*k), 3);
}

TEST_F(Tiles, ClickActivatesAndEdgesAreStrict) {
    auto k = TTextKachel::bauen({u"x"}, {f32}, 100, 100, 0, 0, 0, 0, 100, 50, {}, {}, 1, 100);
    Press(HeadlessTest::Frame(0), 150, 120);
    Release(HeadlessTest::Frame(2), 150, 120);
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) seen.push_back(Frame(*k));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 0}));
    Press(HeadlessTest::Frame(0), 100, 120);  // on the left edge: not on the tile
    EXPECT_EQ(Frame(*k), 0);
}

TEST_F(Tiles, NoTouchWhileTheContentScrollsFast) {
    auto k = TTextKachel::bauen({u"x"}, {f32}, 100, 100, 0, 0, 0, 2, 100, 50, {}, {}, 1, 100);
    Offset::ScrollSpeedY = -8;
    Press(HeadlessTest::Frame(0), 150, 120);
    EXPECT_EQ(Frame(*k), 0);
    Offset::ScrollSpeedY = 7;
    Offset::ScrollY = 0;
    Release(HeadlessTest::Frame(0), 150, 120);
    Frame(*k);
    Frame(*k);
    Press(HeadlessTest::Frame(0), 150, 120);
    EXPECT_EQ(Frame(*k), 1);
}

TEST_F(Tiles, ScrollModesFollowTheirOffsets) {
    Offset::ScrollX = 30;
    Offset::ScrollY = -20;
    struct Case { int mode, x, y; };
    for (const Case& c : {Case{0, 100, 100}, Case{1, 130, 100}, Case{2, 100, 80}, Case{3, 130, 80}}) {
        auto k = TTextKachel::bauen({u"x"}, {f32}, 100, 100, 0, 0, 0, c.mode, 50, 50, {}, {}, 1, 100);
        k->nutzen(1, 0);
        EXPECT_EQ(k->temp_x, c.x) << c.mode;
        EXPECT_EQ(k->temp_y, c.y) << c.mode;
    }
}

TEST_F(Tiles, InvisibleTileIsNeitherDrawnNorHit) {
    auto k = TTextKachel::bauen({u"x"}, {f32}, 1920, 100, 0, 0, 0, 0, 50, 50, {}, {}, 1, 100);
    k->touched = 2;
    Ctx().frame.Reset();
    EXPECT_EQ(k->nutzen(1, 0), 0);
    EXPECT_TRUE(Ctx().frame.vertices.empty());
    EXPECT_EQ(k->touched, 2);  // unchanged
}

TEST_F(Tiles, OpaqueBevelGivesTheSamePixelsAsThreeOverlappingRectangles) {
    for (auto [w, h] : {std::pair{20, 10}, {2, 2}, {3, 7}}) {
        auto k = TTextKachel::bauen({}, {f32}, 5, 6, 0, 0, 0, 0, w, h, {100, 60, 200}, {}, 1, 100);
        Ctx().frame.Reset();
        k->nutzen(1, 0);
        Raster fast(40, 30);
        fast.Fill(Ctx().frame.vertices);
        // The plain way: light, dark and face rectangles over each other.
        Ctx().frame.Reset();
        SetAlpha(1);
        SetColor(150, 90, 255);
        DrawRect(5, 6, w - 1, h - 1);
        SetColor(50, 30, 100);
        DrawRect(6, 7, w - 1, h - 1);
        SetColor(100, 60, 200);
        DrawRect(6, 7, w - 2, h - 2);
        Raster plain(40, 30);
        plain.Fill(Ctx().frame.vertices);
        EXPECT_EQ(fast.px, plain.px) << w << "x" << h;
        Ctx().frame.Reset();
    }
}

TEST_F(Tiles, HighlightAddsALightPassOverFaceAndText) {
    auto k = TTextKachel::bauen({u"Ab"}, {f32}, 100, 100, 0, 0, 0, 0, 100, 50, {10, 20, 30}, {255, 255, 255}, 1, 100);
    Ctx().frame.Reset();
    k->draw(1.0f, 1);
    bool light = false;
    for (const DrawCommand& c : Ctx().frame.commands) light |= c.blend == 4;
    EXPECT_TRUE(light);
    EXPECT_EQ(GetBlend(), 3);
    EXPECT_EQ(GetAlpha(), 1.0);
}

TEST_F(Tiles, ImageTileTakesTheImageSizeAndWhiteWithoutThreeColours) {
    TImage img = LoadImageFrom(u"incbin::media/images/Info.png");
    auto k = TBildKachel::bauen(u"info", img, 7, 8, 0, 0, 0, 0, {1, 2}, 100);
    EXPECT_EQ(k->Breite, 48);
    EXPECT_EQ(k->Tiefe, 48);
    EXPECT_EQ(k->RGB, (RGBFarbe{255, 255, 255}));
    EXPECT_EQ(k->Text, (std::vector<Text>{u"info"}));
}
