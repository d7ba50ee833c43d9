// Drawing facade on the headless backend: pacing, timer, colour and alpha
// clamps, recorded geometry, batching, skipped repeat frames, image masks,
// text metrics and the input queries.
#include <cstring>

#include "headless_fixture.hpp"
#include "platform/image_data.hpp"
#include "platform/image_decode.hpp"
#include "platform/timing.hpp"

using PlatformFrame = HeadlessTest;

namespace {
uint32_t TexelOf(const TImage& img, int x, int y) {
    auto tex = TextureStore::Find(img->place.texture);
    return tex->pixels[size_t(img->place.y + y) * tex->width + img->place.x + x];
}

TImage ImageFromPixels(int w, int h, bool alpha, const std::vector<uint32_t>& argb) {
    DecodedImage d;
    d.width = w;
    d.height = h;
    d.hasAlpha = alpha;
    d.argb = argb;
    std::vector<unsigned char> png;
    EXPECT_TRUE(EncodePng(d, alpha, 0, png));
    const std::string path = ::testing::TempDir() + (alpha ? "rk-rgba.png" : "rk-rgb.png");
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(png.data(), 1, png.size(), f);
    std::fclose(f);
    return LoadImageFrom(TextFromUtf8(path), -1);
}
}  // namespace

TEST_F(PlatformFrame, SixtyPacedFlipsTakeOneSecondInFramesOfSixteenAndSeventeen) {
    std::vector<int> lengths;
    for (int i = 0; i < 60; ++i) {
        const int before = MillisecondClock();
        Flip(-1);
        lengths.push_back(MillisecondClock() - before);
    }
    int total = 0;
    for (int l : lengths) {
        EXPECT_TRUE(l == 16 || l == 17) << l;
        total += l;
    }
    EXPECT_EQ(total, 1000);
}

TEST_F(PlatformFrame, LateFrameIsNotCaughtUp) {
    Flip(-1);
    backend->SleepMilliseconds(100);  // a slow frame
    const int before = MillisecondClock();
    Flip(-1);
    EXPECT_EQ(MillisecondClock(), before);  // late: presented at once
    Flip(-1);
    const int next = MillisecondClock() - before;
    EXPECT_TRUE(next == 16 || next == 17) << next;  // the schedule restarted from now
}

TEST_F(PlatformFrame, FrameTimerTicksAtFiftyHertzAndNeverReturnsZero) {
    TTimer t = CreateFrameTimer(50);
    const int start = MillisecondClock();
    EXPECT_EQ(WaitTimer(t), 1);
    EXPECT_EQ(MillisecondClock() - start, 20);
    EXPECT_EQ(WaitTimer(t), 1);
    EXPECT_EQ(MillisecondClock() - start, 40);
    backend->SleepMilliseconds(65);  // missed three ticks
    EXPECT_EQ(WaitTimer(t), 3);
    EXPECT_EQ(WaitTimer(t), 1);
    EXPECT_EQ(MillisecondClock() - start, 120);
}

TEST_F(PlatformFrame, ColourAndAlphaAreClamped) {
    SetColor(382, 0, 127);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 127);
    SetColor(-20, 1.5 * 200, 0.5 * 255);
    GetColor(r, g, b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 127);
    SetAlpha(3.0);
    EXPECT_EQ(GetAlpha(), 1.0);
    SetAlpha(-1.0);
    EXPECT_EQ(GetAlpha(), 0.0);
    SetClsColor(400, -3, 83);
    EXPECT_EQ(Ctx().state.clsColor[0], 255);
    EXPECT_EQ(Ctx().state.clsColor[1], 0);
}

TEST_F(PlatformFrame, RectanglesScaleInSizeNotPositionAndNegativeSizesExtendBack) {
    SetColor(255, 0, 127);
    SetDrawOrigin(10, 20);
    SetDrawScale(2, 3);
    DrawRect(100, 100, 50, -10);
    SetDrawScale(1, 1);
    SetDrawOrigin(0, 0);
    const auto& v = Ctx().frame.vertices;
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].x, 110);
    EXPECT_FLOAT_EQ(v[2].x, 210);
    EXPECT_FLOAT_EQ(v[0].y, 90);   // 120 - 3 * 10
    EXPECT_FLOAT_EQ(v[2].y, 120);
    EXPECT_EQ(v[0].rgba, 0xFF7F00FFu);  // r 255, g 0, b 127, a 255 in memory order
}

TEST_F(PlatformFrame, AlphaPremultipliesTheVertexColour) {
    SetColor(200, 100, 50);
    SetAlpha(0.5);
    DrawRect(0, 0, 1, 1);
    SetAlpha(1);
    const uint32_t c = Ctx().frame.vertices[0].rgba;
    EXPECT_EQ(c & 0xFF, 100u);
    EXPECT_EQ((c >> 8) & 0xFF, 50u);
    EXPECT_EQ((c >> 16) & 0xFF, 25u);
    EXPECT_EQ(c >> 24, 128u);
}

TEST_F(PlatformFrame, ManyTilesOfRectanglesAndTextShareOneBatch) {
    TImageFont f16 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 16);
    TImageFont f32 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32);
    ASSERT_TRUE(f16 && f32);
    Cls();
    for (int i = 0; i < 2500; ++i) {
        SetColor(40, 40, 60);
        DrawRect((i % 60) * 120, (i / 60) * 60, 118, 58);
        SetColor(255, 255, 255);
        SetDrawFont(i % 2 ? f16 : f32);
        DrawTextAt(u"2-", (i % 60) * 120 + 4, (i / 60) * 60 + 4);
        DrawTextAt(u"Müller, Jörg", (i % 60) * 120 + 4, (i / 60) * 60 + 30);
    }
    EXPECT_LE(Ctx().frame.commands.size(), 3u);  // the clear and one batch
    Flip(0);
    EXPECT_LE(LastFrameFigures().drawCalls, 3);
}

TEST_F(PlatformFrame, RepeatedFrameIsNotDrawnAgainButAnOverlayIs) {
    auto frame = [](bool cls) {
        if (cls) Cls();
        SetColor(10, 20, 30);
        DrawRect(5, 5, 100, 100);
        Flip(0);
    };
    frame(true);
    const int presented = backend->PresentCount();
    frame(true);
    EXPECT_EQ(backend->PresentCount(), presented);
    EXPECT_TRUE(LastFrameFigures().skipped);
    frame(false);  // draws over the last picture without clearing
    EXPECT_EQ(backend->PresentCount(), presented + 1);
    frame(true);   // differs from the overlay frame: drawn
    EXPECT_EQ(backend->PresentCount(), presented + 2);
    Cls();         // a changed frame is drawn
    SetColor(10, 20, 31);
    DrawRect(5, 5, 100, 100);
    Flip(0);
    EXPECT_EQ(backend->PresentCount(), presented + 3);
}

TEST_F(PlatformFrame, MaskColourMakesPixelsOfImagesWithoutAlphaTransparent) {
    SetImageMaskColor(23, 0, 83);
    const uint32_t mask = 0xFF170053u, red = 0xFFFF0000u;
    TImage rgb = ImageFromPixels(2, 1, false, {mask, red});
    ASSERT_TRUE(rgb);
    EXPECT_EQ(ImageWidthOf(rgb), 2);
    EXPECT_EQ(TexelOf(rgb, 0, 0) >> 24, 0u);
    EXPECT_EQ(TexelOf(rgb, 1, 0), 0xFF0000FFu);  // red, opaque
    TImage rgba = ImageFromPixels(2, 1, true, {mask, 0x80FF0000u});
    ASSERT_TRUE(rgba);
    EXPECT_EQ(TexelOf(rgba, 0, 0) >> 24, 0xFFu);  // its own alpha wins
    EXPECT_EQ(TexelOf(rgba, 1, 0) >> 24, 0x80u);
}

TEST_F(PlatformFrame, EmbeddedImagesLoadWithTheirSizes) {
    struct Case { const char16_t* name; int w, h; };
    const Case cases[] = {{u"incbin::media/images/Blanko-Kopf.png", 160, 160},
                          {u"incbin::media/images/Heft.png", 32, 48},
                          {u"incbin::media/images/G9-Gymnasium.png", 136, 23}};
    for (const Case& c : cases) {
        TImage img = LoadImageFrom(c.name);
        ASSERT_TRUE(img) << Utf8FromText(c.name);
        EXPECT_EQ(ImageWidthOf(img), c.w);
        EXPECT_EQ(ImageHeightOf(img), c.h);
    }
    EXPECT_FALSE(LoadImageFrom(u"incbin::media/images/fehlt.png"));
    EXPECT_FALSE(LoadImageFrom(u"/nirgends/bild.png"));
}

TEST_F(PlatformFrame, TextMetricsOfTheEmbeddedFonts) {
    TImageFont f = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32);
    ASSERT_TRUE(f);
    SetDrawFont(f);
    EXPECT_EQ(TextWidthOf(u""), 0);
    const int h = TextHeightOf(u"");
    EXPECT_GE(h, 32);
    EXPECT_LE(h, 48);
    EXPECT_EQ(TextHeightOf(u"Äquator"), h);
    EXPECT_EQ(TextWidthOf(u"ab"), TextWidthOf(u"a") + TextWidthOf(u"b"));
    EXPECT_GT(TextWidthOf(u"Müßiggänger"), 0);
    EXPECT_EQ(TextWidthOf(u"\u4E00"), 0);  // missing characters add nothing
    TImageFont sym = LoadFontFrom(u"incbin::media/fonts/MySymbolFont.ttf", 48);
    ASSERT_TRUE(sym);
    SetDrawFont(sym);
    for (char16_t c : std::u16string(u"BCDEFGL?")) EXPECT_GT(TextWidthOf(Text(1, c)), 0) << char(c);
    EXPECT_FALSE(LoadFontFrom(u"incbin::media/images/Heft.png", 16));
}

TEST_F(PlatformFrame, KeyPressCountsAndWheelAreConsumedByReading) {
    KeyTap(Frame(0), 27);
    EXPECT_EQ(KeyPressed(27), 1);
    EXPECT_EQ(KeyPressed(27), 0);
    backend->At(Frame(0), {ScriptedEvent::Wheel, 2});
    PumpInput();
    ClearMouse();
    EXPECT_EQ(WheelDelta(), 0);
    backend->At(Frame(0), {ScriptedEvent::KeyDown, 37});
    EXPECT_TRUE(KeyHeld(37));
    backend->At(Frame(0), {ScriptedEvent::KeyUp, 37});
    EXPECT_FALSE(KeyHeld(37));
    backend->At(Frame(0), {ScriptedEvent::Close});
    EXPECT_TRUE(CloseRequested());
    EXPECT_FALSE(CloseRequested());
}

TEST_F(PlatformFrame, TypedCharacterQueueHoldsTwoHundredFiftySix) {
    for (int i = 0; i < 300; ++i) backend->At(Frame(0), {ScriptedEvent::Typed, 'a' + i % 26});
    int n = 0;
    while (NextTypedChar() != 0) ++n;
    EXPECT_EQ(n, 256);
}

TEST_F(PlatformFrame, DialogRepeatingOverItsOwnPanelIsNotDrawnAgain) {
    TImageFont f = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32);
    SetDrawFont(f);
    auto dialog = [&](bool textOnPanel) {
        SetColor(36, 36, 36);
        DrawRect(100, 100, 400, 200);  // opaque panel
        SetColor(255, 255, 255);
        DrawTextAt(u"Warnung", textOnPanel ? 120 : 90, 120);  // blends: on the panel or half beside it
        Flip(0);
    };
    Cls();
    Flip(0);
    dialog(true);
    const int presented = backend->PresentCount();
    dialog(true);  // the same again: the text blends onto a freshly drawn panel
    EXPECT_EQ(backend->PresentCount(), presented);
    dialog(false);
    dialog(false);  // text reaching beyond the panel would blend onto itself: drawn again
    EXPECT_EQ(backend->PresentCount(), presented + 2);
}
