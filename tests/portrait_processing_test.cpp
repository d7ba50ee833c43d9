// The portrait arithmetic: the middle square cut from landscape and upright
// photos, nearest-neighbour scaling, the contrast curve and how far dark
// photos are lightened.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "classscreen/portrait_processing.hpp"
#include "platform/pixmap.hpp"

namespace {

TPixmap Foto(int w, int h, uint32_t (*farbe)(int, int)) {
    TPixmap p = CreatePixmap(w, h, 3, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel(p, x, y, farbe(x, y));
    return p;
}

// Every pixel tells where it came from: red and green the position in
// steps of 4, blue 255 inside the middle square, 0 in the margins.
uint32_t Koordinaten(int x, int y, int w, int h) {
    const int rand = std::abs(w - h) / 2;
    const bool mitte = w >= h ? (x >= rand && x < rand + h) : (y >= rand && y < rand + w);
    return 0xFF000000u | (uint32_t(x / 4 % 256) << 16) | (uint32_t(y / 4 % 256) << 8) | (mitte ? 255u : 0u);
}

double Referenzkurve(int c) { return 255.0 * (0.5 - 0.5 * std::cos(c * M_PI / 255.0)); }

}  // namespace

TEST(Portrait, MiddleSquareOfLandscapeUprightAndSquarePhotos) {
    struct Fall { int w, h; };
    const Fall faelle[] = {{1000, 600}, {600, 1000}, {800, 800}, {361, 360}, {200, 120}};
    for (const Fall& f : faelle) {
        static int W, H;
        W = f.w, H = f.h;
        TPixmap foto = Foto(f.w, f.h, [](int x, int y) { return Koordinaten(x, y, W, H); });
        TPixmap bild = Portraet(foto, 360, 0.0);
        ASSERT_TRUE(bild) << f.w << "x" << f.h;
        EXPECT_EQ(bild->width, 360);
        EXPECT_EQ(bild->height, 360);
        EXPECT_EQ(bild->format, 3);
        EXPECT_EQ(bild->pitch, 1080);
        const double x0 = std::max(0.0, 0.5 * (f.w - f.h)), y0 = std::max(0.0, 0.5 * (f.h - f.w));
        const double schritt = double(std::min(f.w, f.h)) / 360 - 0.01;
        for (int j = 0; j < 360; ++j)
            for (int i = 0; i < 360; ++i) {
                const uint32_t q = ReadPixel(foto, int(x0 + i * schritt), int(y0 + j * schritt));
                const uint32_t p = ReadPixel(bild, i, j);
                ASSERT_EQ(p & 0xFF, 255u) << "a margin pixel reached the portrait at " << i << "," << j << " of "
                                          << f.w << "x" << f.h;
                ASSERT_EQ((p >> 16) & 0xFF, uint32_t(Kontrastkurve((q >> 16) & 0xFF))) << i << "," << j;
                ASSERT_EQ((p >> 8) & 0xFF, uint32_t(Kontrastkurve((q >> 8) & 0xFF))) << i << "," << j;
            }
        // The corners of the square are the corners of the middle square.
        const uint32_t links_oben = ReadPixel(bild, 0, 0), rechts_unten = ReadPixel(bild, 359, 359);
        EXPECT_EQ((links_oben >> 16) & 0xFF, uint32_t(Kontrastkurve(int(x0) / 4 % 256)));
        EXPECT_EQ((rechts_unten >> 8) & 0xFF,
                  uint32_t(Kontrastkurve(int(y0 + 359 * schritt) / 4 % 256)));
    }
}

TEST(Portrait, TinyPhotosAreEnlargedWithoutSamplingOutside) {
    TPixmap foto = Foto(1, 1, [](int, int) { return 0xFF808080u; });
    TPixmap bild = Portraet(foto, 360, 0.0);
    ASSERT_TRUE(bild);
    for (int j = 0; j < 360; j += 7)
        for (int i = 0; i < 360; i += 7) ASSERT_EQ(ReadPixel(bild, i, j), ReadPixel(bild, 0, 0));
    EXPECT_EQ(ReadPixel(bild, 0, 0) & 0xFF, uint32_t(Kontrastkurve(128)));
    EXPECT_FALSE(Portraet(nullptr, 360, 0.0));
    EXPECT_FALSE(Portraet(foto, 0, 0.0));
}

TEST(Portrait, ContrastCurveKeepsTheEndsAndSteepensTheMiddle) {
    EXPECT_EQ(Kontrastkurve(0), 0);
    EXPECT_EQ(Kontrastkurve(255), 255);
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(Kontrastkurve(c), int(Referenzkurve(c))) << c;
        if (c > 0) {
            EXPECT_GE(Kontrastkurve(c), Kontrastkurve(c - 1)) << c;
        }
        EXPECT_NEAR(Kontrastkurve(c) + Kontrastkurve(255 - c), 255, 1) << "symmetric about the middle at " << c;
    }
    // Dark tones get darker, light ones lighter; the middle rises fastest.
    EXPECT_LT(Kontrastkurve(64), 64);
    EXPECT_GT(Kontrastkurve(191), 191);
    EXPECT_GT(Kontrastkurve(136) - Kontrastkurve(120), 16);
    EXPECT_LT(Kontrastkurve(16) - Kontrastkurve(0), 16);
}

TEST(Portrait, DarkPhotosAreLightenedByAtMostFortyPercent) {
    struct Fall { double mittel, staerke; };
    const Fall faelle[] = {{0, 0.4}, {32, 0.3}, {64, 0.2}, {127, 0.4 / 128}, {128, 0}, {200, 0}, {255, 0}};
    for (const Fall& f : faelle) EXPECT_DOUBLE_EQ(Aufhellstaerke(f.mittel), f.staerke) << f.mittel;
    struct Wert { int v; double a; int c1; };
    const Wert werte[] = {{0, 0.4, 102}, {255, 0.4, 255}, {64, 0.2, 102}, {100, 0.0, 100}, {10, 0.1, 34}};
    for (const Wert& w : werte) EXPECT_EQ(Aufgehellt(w.v, w.a), w.c1) << w.v << " " << w.a;
}

TEST(Portrait, BrightnessIsSampledInTheMiddleSquareOnly) {
    // Black frame, white centre whose half side is a quarter of the shorter
    // side: every sample must land in the white.
    struct Fall { int w, h; };
    for (const Fall f : {Fall{400, 300}, Fall{300, 400}, Fall{9, 9}, Fall{1, 1}}) {
        static int W, H;
        W = f.w, H = f.h;
        TPixmap foto = Foto(f.w, f.h, [](int x, int y) {
            const int R = int(0.25 * std::min(W, H));
            const bool innen = std::abs(x - W / 2) <= R + 1 && std::abs(y - H / 2) <= R + 1;
            return innen ? 0xFFFFFFFFu : 0xFF000000u;
        });
        EXPECT_DOUBLE_EQ(MittlereHelligkeit(foto), 255.0) << f.w << "x" << f.h;
    }
    TPixmap grau = Foto(50, 80, [](int, int) { return 0xFF104070u; });
    EXPECT_DOUBLE_EQ(MittlereHelligkeit(grau), (0x10 + 0x40 + 0x70) / 3.0);
}
