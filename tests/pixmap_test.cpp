// Pixel buffers: row layout, pixel access in both formats, loading from files
// and embedded resources, and saving as PNG.
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "platform/image_decode.hpp"
#include "platform/pixmap.hpp"
#include "platform/resources.hpp"

namespace {

using Bytes = std::vector<unsigned char>;

std::string TempFile(const std::string& name) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "rk_pixmap_" + test->name() + "_" + name;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Text T(const std::string& s) { return TextFromUtf8(s); }

TEST(Pixmap, PitchIsRoundedUpToTheAlignment) {
    struct Case { int w, format, align, pitch; };
    const Case cases[] = {{3, 3, 4, 12}, {4, 3, 4, 12}, {5, 3, 4, 16}, {5, 3, 1, 15}, {5, 3, 8, 16},
                          {3, 4, 4, 12}, {3, 4, 16, 16}, {360, 3, 4, 1080}, {1, 3, 0, 3}, {1, 3, -8, 3}};
    for (const Case& c : cases) {
        TPixmap p = CreatePixmap(c.w, 2, c.format, c.align);
        ASSERT_TRUE(p) << c.w << " " << c.format << " " << c.align;
        EXPECT_EQ(p->pitch, c.pitch) << c.w << " " << c.format << " " << c.align;
        EXPECT_EQ(p->pixels.size(), static_cast<size_t>(c.pitch) * 2);
        EXPECT_EQ(p->format, c.format);
    }
}

TEST(Pixmap, CreateRefusesUnusableRequests) {
    struct Case { int w, h, format; };
    const Case cases[] = {{0, 5, 3}, {5, 0, 3}, {-1, 5, 3}, {5, 5, 2}, {5, 5, 1}, {5, 5, 0}, {kMaxImageSide + 1, 1, 3},
                          {16384, 16384, 4}};
    for (const Case& c : cases) EXPECT_FALSE(CreatePixmap(c.w, c.h, c.format, 4)) << c.w << "x" << c.h << " f" << c.format;
}

TEST(Pixmap, PixelsAreStoredBlueGreenRed) {
    struct Case { int format; uint32_t written, read; Bytes stored; };
    const Case cases[] = {
        {3, 0x80112233u, 0xFF112233u, {0x33, 0x22, 0x11}},  // format 3 keeps no alpha
        {3, 0x00FFFFFFu, 0xFFFFFFFFu, {0xFF, 0xFF, 0xFF}},
        {4, 0x80112233u, 0x80112233u, {0x33, 0x22, 0x11, 0x80}},
        {4, 0x00000000u, 0x00000000u, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TPixmap p = CreatePixmap(3, 2, c.format, 4);
        WritePixel(p, 2, 1, c.written);
        EXPECT_EQ(ReadPixel(p, 2, 1), c.read);
        const unsigned char* at = p->pixels.data() + p->pitch + 2 * c.format;
        EXPECT_EQ(Bytes(at, at + c.format), c.stored) << "format " << c.format;
        // Neighbours are untouched.
        EXPECT_EQ(ReadPixel(p, 1, 1) & 0xFFFFFF, 0u);
        EXPECT_EQ(ReadPixel(p, 2, 0) & 0xFFFFFF, 0u);
    }
}

TEST(Pixmap, AccessOutsideIsHarmless) {
    TPixmap p = CreatePixmap(4, 3, 3, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) WritePixel(p, x, y, 0xFF010203u);
    const Bytes before = p->pixels;
    const int outside[][2] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {4, 3}, {-100000, 5}, {3, 100000}};
    for (const auto& xy : outside) {
        EXPECT_EQ(ReadPixel(p, xy[0], xy[1]), 0u) << xy[0] << "," << xy[1];
        WritePixel(p, xy[0], xy[1], 0xFFFFFFFFu);
    }
    EXPECT_EQ(p->pixels, before);
    EXPECT_EQ(ReadPixel(nullptr, 0, 0), 0u);
    WritePixel(nullptr, 0, 0, 1);
}

TPixmap Filled(int w, int h, int format) {
    TPixmap p = CreatePixmap(w, h, format, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            WritePixel(p, x, y, (static_cast<uint32_t>(x * 40 + y) << 24) | (x * 30u << 16) | (y * 20u << 8) | 0x53u);
    return p;
}

TEST(Pixmap, SavedPngLoadsBackInTheSameFormat) {
    struct Case { int w, h, format, compression; };
    const Case cases[] = {{5, 3, 3, 0}, {5, 3, 4, 0}, {6, 6, 3, 9}, {1, 1, 4, 6}};
    for (const Case& c : cases) {
        const std::string path = TempFile("f" + std::to_string(c.format) + "_c" + std::to_string(c.compression) + ".png");
        TPixmap saved = Filled(c.w, c.h, c.format);
        ASSERT_TRUE(SavePixmapAsPNG(saved, T(path), c.compression));
        TPixmap loaded = LoadPixmapFrom(T(path));
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->format, c.format);
        EXPECT_EQ(loaded->width, c.w);
        EXPECT_EQ(loaded->height, c.h);
        EXPECT_EQ(loaded->pitch % 4, 0);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) ASSERT_EQ(ReadPixel(loaded, x, y), ReadPixel(saved, x, y)) << x << "," << y;
        std::remove(path.c_str());
    }
}

TEST(Pixmap, SaveFailsWithoutWritableTarget) {
    const std::string missingFolder = TempFile("no-such-folder/bild.png");
    EXPECT_FALSE(SavePixmapAsPNG(Filled(2, 2, 3), T(missingFolder), 0));
    EXPECT_TRUE(ReadFile(missingFolder).empty());
    EXPECT_FALSE(SavePixmapAsPNG(nullptr, T(TempFile("null.png")), 0));
    if (std::ifstream("/dev/full").good()) {
        EXPECT_FALSE(SavePixmapAsPNG(Filled(2, 2, 3), T("/dev/full"), 0)) << "a write that does not fit must fail";
        EXPECT_TRUE(std::ifstream("/dev/full").good()) << "the device must not be removed";
    }
}

TEST(Pixmap, SaveOverwritesAnExistingFile) {
    const std::string path = TempFile("bild.png");
    WriteFile(path, Bytes(100000, 'x'));
    ASSERT_TRUE(SavePixmapAsPNG(Filled(3, 3, 3), T(path), 0));
    TPixmap loaded = LoadPixmapFrom(T(path));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->width, 3);
    std::remove(path.c_str());
}

// A 2x1 24-bit BMP: red, then blue.
Bytes TinyBmp() {
    return {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,
            0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0};
}

TEST(Pixmap, LoadsFilesAndEmbeddedResources) {
    const std::string bmpPath = TempFile("foto.bmp");
    WriteFile(bmpPath, TinyBmp());
    static const Bytes embedded = TinyBmp();  // registered bytes must live for the run
    RegisterEmbeddedResource(u"tests/pixmap/foto.bmp", embedded.data(), embedded.size());
    for (const Text& source : {T(bmpPath), Text(u"incbin::tests/pixmap/foto.bmp")}) {
        TPixmap p = LoadPixmapFrom(source);
        ASSERT_TRUE(p) << Utf8FromText(source);
        EXPECT_EQ(p->format, 3);
        EXPECT_EQ(p->width, 2);
        EXPECT_EQ(ReadPixel(p, 0, 0), 0xFFFF0000u);
        EXPECT_EQ(ReadPixel(p, 1, 0), 0xFF0000FFu);
    }
    std::remove(bmpPath.c_str());
}

TEST(Pixmap, LoadFailsForMissingOrUndecodableSources) {
    const std::string text = TempFile("notiz.png");
    WriteFile(text, Bytes{'k', 'e', 'i', 'n', ' ', 'B', 'i', 'l', 'd'});
    const Text sources[] = {T(TempFile("missing.png")), T(text), u"incbin::tests/pixmap/unknown.png", u""};
    for (const Text& source : sources) EXPECT_FALSE(LoadPixmapFrom(source)) << Utf8FromText(source);
    std::remove(text.c_str());
}

}  // namespace
