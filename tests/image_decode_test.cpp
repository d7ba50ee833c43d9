// Decoding of PNG, JPEG, BMP and TGA images made here byte by byte or with
// libpng/libjpeg, PNG encoding, and hostile input (limits, truncation, noise).
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>
#include <cstdio>
#include <jpeglib.h>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>
#include "platform/image_decode.hpp"

namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); }
void Put32(Bytes& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

// ---------------------------------------------------------------- PNG

// A PNG written with libpng from samples per pixel (one value per channel, at
// the file's bit depth), for colour types the encoder of the program never makes.
struct PngRecipe {
    int width = 9, height = 9;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;  // tRNS for palette images
    bool colorKey = false;               // tRNS for gray/RGB images
    png_color_16 key{};
    std::function<std::vector<unsigned>(int x, int y)> samples;
};

Bytes WritePng(const PngRecipe& s) {
    const int channels = s.colorType == PNG_COLOR_TYPE_RGB ? 3 : s.colorType == PNG_COLOR_TYPE_RGBA ? 4
                         : s.colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 1;
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out, [](png_structp p, png_bytep d, size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), d, d + n);
        },
        nullptr);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
    if (!s.paletteAlpha.empty())
        png_set_tRNS(png, info, s.paletteAlpha.data(), static_cast<int>(s.paletteAlpha.size()), nullptr);
    if (s.colorKey) png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(&s.key));
    png_write_info(png, info);
    const size_t rowBytes = (static_cast<size_t>(s.width) * channels * s.bitDepth + 7) / 8;
    std::vector<Bytes> rows(s.height, Bytes(rowBytes, 0));
    for (int y = 0; y < s.height; ++y) {
        size_t bit = 0;
        for (int x = 0; x < s.width; ++x)
            for (unsigned v : s.samples(x, y)) {
                if (s.bitDepth == 16) {
                    rows[y][bit / 8] = v >> 8, rows[y][bit / 8 + 1] = v & 0xFF;
                } else {
                    rows[y][bit / 8] |= v << (8 - s.bitDepth - bit % 8);
                }
                bit += s.bitDepth;
            }
    }
    std::vector<png_bytep> pointers;
    for (Bytes& r : rows) pointers.push_back(r.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

unsigned Scale16(unsigned v) { return (v * 255 + 32767) / 65535; }

struct PngCase {
    const char* name;
    PngRecipe recipe;
    std::function<uint32_t(int x, int y)> expected;
    bool hasAlpha;
    int tolerance;  // per channel
};

std::vector<png_color> TestPalette() {
    std::vector<png_color> p;
    for (int i = 0; i < 256; ++i)
        p.push_back({static_cast<png_byte>(i * 7), static_cast<png_byte>(255 - i), static_cast<png_byte>(i * 3 + 1)});
    return p;
}

uint32_t PaletteArgb(int i, unsigned alpha = 255) {
    return Argb(alpha, (i * 7) & 0xFF, 255 - i, (i * 3 + 1) & 0xFF);
}

PngRecipe Recipe(int colorType, int depth, std::function<std::vector<unsigned>(int, int)> samples, bool interlaced = false) {
    PngRecipe s;
    s.colorType = colorType;
    s.bitDepth = depth;
    s.samples = std::move(samples);
    s.interlaced = interlaced;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        s.palette = TestPalette();
        s.palette.resize(1u << depth);
    }
    return s;
}

std::vector<PngCase> PngCases() {
    std::vector<PngCase> cases;
    auto gray = [](unsigned v) { return Argb(255, v, v, v); };
    for (int depth : {1, 2, 4}) {
        unsigned levels = 1u << depth;
        cases.push_back({depth == 1 ? "gray1" : depth == 2 ? "gray2" : "gray4",
                         Recipe(PNG_COLOR_TYPE_GRAY, depth, [=](int x, int y) { return std::vector<unsigned>{(x + 2 * y) % levels}; }),
                         [=](int x, int y) { return gray((x + 2 * y) % levels * 255 / (levels - 1)); }, false, 0});
    }
    cases.push_back({"gray8", Recipe(PNG_COLOR_TYPE_GRAY, 8, [](int x, int y) { return std::vector<unsigned>{x * 25u + y}; }),
                     [=](int x, int y) { return gray(x * 25u + y); }, false, 0});
    cases.push_back({"gray16", Recipe(PNG_COLOR_TYPE_GRAY, 16, [](int x, int y) { return std::vector<unsigned>{x * 7000u + y * 13}; }),
                     [=](int x, int y) { return gray(Scale16(x * 7000u + y * 13)); }, false, 1});
    cases.push_back({"gray16_interlaced",
                     Recipe(PNG_COLOR_TYPE_GRAY, 16, [](int x, int y) { return std::vector<unsigned>{x * 257u * 20 + y * 257}; }, true),
                     [=](int x, int y) { return gray(x * 20u + y); }, false, 1});
    cases.push_back({"gray_alpha8",
                     Recipe(PNG_COLOR_TYPE_GRAY_ALPHA, 8, [](int x, int y) { return std::vector<unsigned>{x * 25u, y == 0 ? 255u : y * 28u}; }),
                     [](int x, int y) { unsigned v = x * 25u; return Argb(y == 0 ? 255u : y * 28u, v, v, v); }, true, 1});
    cases.push_back({"rgb8", Recipe(PNG_COLOR_TYPE_RGB, 8, [](int x, int y) { return std::vector<unsigned>{x * 28u, y * 28u, 200u - x * y}; }),
                     [](int x, int y) { return Argb(255, x * 28u, y * 28u, 200u - x * y); }, false, 0});
    cases.push_back({"rgb8_interlaced",
                     Recipe(PNG_COLOR_TYPE_RGB, 8, [](int x, int y) { return std::vector<unsigned>{x * 28u, y * 28u, 200u - x * y}; }, true),
                     [](int x, int y) { return Argb(255, x * 28u, y * 28u, 200u - x * y); }, false, 0});
    cases.push_back({"rgb16",
                     Recipe(PNG_COLOR_TYPE_RGB, 16, [](int x, int y) { return std::vector<unsigned>{x * 7000u, y * 7000u + 100, 65535u - x * y * 500}; }),
                     [](int x, int y) { return Argb(255, Scale16(x * 7000u), Scale16(y * 7000u + 100), Scale16(65535u - x * y * 500)); },
                     false, 1});
    cases.push_back({"rgba8",
                     Recipe(PNG_COLOR_TYPE_RGBA, 8, [](int x, int y) { return std::vector<unsigned>{x * 28u, y * 28u, 77u, 255u - x * 3}; }),
                     [](int x, int y) { return Argb(255u - x * 3, x * 28u, y * 28u, 77u); }, true, 1});
    cases.push_back({"rgba16",
                     Recipe(PNG_COLOR_TYPE_RGBA, 16, [](int x, int y) { return std::vector<unsigned>{x * 7000u, y * 7000u, 30000u, 65535u}; }),
                     [](int x, int y) { return Argb(255, Scale16(x * 7000u), Scale16(y * 7000u), Scale16(30000u)); }, true, 1});
    for (int depth : {1, 2, 4, 8}) {
        unsigned count = 1u << depth;
        auto index = [=](int x, int y) { return (x * 3u + y) % count; };
        cases.push_back({depth == 1 ? "palette1" : depth == 2 ? "palette2" : depth == 4 ? "palette4" : "palette8",
                         Recipe(PNG_COLOR_TYPE_PALETTE, depth, [=](int x, int y) { return std::vector<unsigned>{index(x, y)}; }),
                         [=](int x, int y) { return PaletteArgb(index(x, y)); }, false, 0});
    }
    {
        PngCase c{"palette4_trns_interlaced",
                  Recipe(PNG_COLOR_TYPE_PALETTE, 4, [](int x, int y) { return std::vector<unsigned>{(x + y) % 16u}; }, true),
                  [](int x, int y) {
                      int i = (x + y) % 16;
                      return PaletteArgb(i, i == 0 ? 0u : i == 1 ? 128u : 255u);
                  },
                  true, 0};
        c.recipe.palette.resize(16);
        c.recipe.paletteAlpha = {0, 128};  // entries past the table stay opaque
        cases.push_back(c);
    }
    {
        PngCase c{"gray8_color_key", Recipe(PNG_COLOR_TYPE_GRAY, 8, [](int x, int) { return std::vector<unsigned>{x * 10u}; }),
                  [](int x, int) { unsigned v = x * 10u; return Argb(v == 30 ? 0 : 255, v, v, v); }, true, 0};
        c.recipe.colorKey = true;
        c.recipe.key.gray = 30;
        cases.push_back(c);
    }
    {
        PngCase c{"rgb8_color_key", Recipe(PNG_COLOR_TYPE_RGB, 8, [](int x, int y) { return std::vector<unsigned>{x * 10u, y * 10u, 5u}; }),
                  [](int x, int y) { return Argb(x == 2 && y == 3 ? 0 : 255, x * 10u, y * 10u, 5u); }, true, 0};
        c.recipe.colorKey = true;
        c.recipe.key.red = 20, c.recipe.key.green = 30, c.recipe.key.blue = 5;
        cases.push_back(c);
    }
    return cases;
}

void ExpectPixelsNear(const DecodedImage& img, const std::function<uint32_t(int, int)>& expected, int tolerance,
                      const char* name) {
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            uint32_t got = img.argb[static_cast<size_t>(y) * img.width + x], want = expected(x, y);
            // A fully transparent pixel's colour does not matter.
            if ((want >> 24) == 0) {
                EXPECT_EQ(got >> 24, 0u) << name << " at " << x << "," << y;
                continue;
            }
            for (int shift : {24, 16, 8, 0}) {
                int g = (got >> shift) & 0xFF, w = (want >> shift) & 0xFF;
                ASSERT_LE(std::abs(g - w), tolerance)
                    << name << " at " << x << "," << y << std::hex << ": got " << got << ", want " << want;
            }
        }
}

TEST(PngDecode, EveryColourTypeAndBitDepth) {
    for (const PngCase& c : PngCases()) {
        DecodedImage img;
        ASSERT_TRUE(DecodeImage(WritePng(c.recipe), img)) << c.name;
        EXPECT_EQ(img.width, c.recipe.width) << c.name;
        EXPECT_EQ(img.height, c.recipe.height) << c.name;
        EXPECT_EQ(img.hasAlpha, c.hasAlpha) << c.name;
        ASSERT_EQ(img.argb.size(), static_cast<size_t>(img.width) * img.height) << c.name;
        ExpectPixelsNear(img, c.expected, c.tolerance, c.name);
    }
}

DecodedImage Gradient(int w, int h, bool alpha) {
    DecodedImage img;
    img.width = w, img.height = h, img.hasAlpha = alpha;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.argb.push_back(Argb(alpha ? (x * 37 + y) & 0xFF : 0xFF, x * 11 & 0xFF, y * 13 & 0xFF, (x ^ y) & 0xFF));
    return img;
}

TEST(PngEncode, RoundTripsExactly) {
    struct Case { int w, h; bool withAlpha; int compression; };
    const Case cases[] = {{1, 1, false, 0}, {17, 5, false, 6}, {5, 17, true, 9}, {64, 3, true, 0},
                          {3, 64, false, -4}, {8, 8, true, 42}};
    for (const Case& c : cases) {
        DecodedImage source = Gradient(c.w, c.h, true);
        Bytes png;
        ASSERT_TRUE(EncodePng(source, c.withAlpha, c.compression, png)) << c.w << "x" << c.h;
        DecodedImage back;
        ASSERT_TRUE(DecodeImage(png, back));
        EXPECT_EQ(back.width, c.w);
        EXPECT_EQ(back.height, c.h);
        EXPECT_EQ(back.hasAlpha, c.withAlpha);
        for (size_t i = 0; i < source.argb.size(); ++i) {
            uint32_t want = c.withAlpha ? source.argb[i] : source.argb[i] | 0xFF000000u;
            ASSERT_EQ(back.argb[i], want) << "pixel " << i << " of " << c.w << "x" << c.h;
        }
    }
}

TEST(PngEncode, CompressionLevelMatters) {
    DecodedImage flat;
    flat.width = 200, flat.height = 200;
    flat.argb.assign(200 * 200, 0xFF170053u);
    Bytes stored, packed;
    ASSERT_TRUE(EncodePng(flat, false, 0, stored));
    ASSERT_TRUE(EncodePng(flat, false, 9, packed));
    EXPECT_GT(stored.size(), 200u * 200 * 3);  // level 0 stores the rows
    EXPECT_LT(packed.size(), 2000u);
}

TEST(PngEncode, RefusesInconsistentImages) {
    struct Case { const char* name; int w, h; size_t pixels; };
    const Case cases[] = {{"empty", 0, 0, 0}, {"too few pixels", 4, 4, 15}, {"too many pixels", 4, 4, 17},
                          {"negative", -4, -4, 16}, {"too wide", kMaxImageSide + 1, 1, kMaxImageSide + 1}};
    for (const Case& c : cases) {
        DecodedImage img;
        img.width = c.w, img.height = c.h;
        img.argb.assign(c.pixels, 0xFFFFFFFFu);
        Bytes out{1, 2, 3};
        EXPECT_FALSE(EncodePng(img, true, 6, out)) << c.name;
        EXPECT_TRUE(out.empty()) << c.name;
    }
}

// ---------------------------------------------------------------- JPEG

struct JpegQuadrants {
    // Values per channel of the four 16x16 quadrants (TL, TR, BL, BR) as fed to libjpeg.
    std::vector<std::vector<unsigned>> input;
    std::vector<uint32_t> expected;
};

Bytes WriteJpeg(J_COLOR_SPACE space, int components, const std::vector<std::vector<unsigned>>& quadrants,
                bool adobeMarker = true) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 32, cinfo.image_height = 32;
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.write_Adobe_marker = adobeMarker;
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row(32 * components);
    while (cinfo.next_scanline < 32) {
        int y = cinfo.next_scanline;
        for (int x = 0; x < 32; ++x)
            for (int c = 0; c < components; ++c) row[x * components + c] = quadrants[(y / 16) * 2 + x / 16][c];
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return out;
}

TEST(JpegDecode, GrayRgbAndCmyk) {
    struct Case {
        const char* name;
        J_COLOR_SPACE space;
        int components;
        bool adobe;
        std::vector<std::vector<unsigned>> quadrants;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {"gray", JCS_GRAYSCALE, 1, false, {{0}, {90}, {180}, {255}},
         {Argb(255, 0, 0, 0), Argb(255, 90, 90, 90), Argb(255, 180, 180, 180), Argb(255, 255, 255, 255)}},
        {"rgb", JCS_RGB, 3, false, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {23, 0, 83}},
         {Argb(255, 255, 0, 0), Argb(255, 0, 255, 0), Argb(255, 0, 0, 255), Argb(255, 23, 0, 83)}},
        // With the Adobe marker the stored values are inverted (255 = no ink).
        {"cmyk_adobe", JCS_CMYK, 4, true, {{255, 0, 0, 255}, {255, 255, 255, 128}, {200, 100, 50, 128}, {0, 0, 0, 0}},
         {Argb(255, 255, 0, 0), Argb(255, 128, 128, 128), Argb(255, 100, 50, 25), Argb(255, 0, 0, 0)}},
        {"cmyk_plain", JCS_CMYK, 4, false, {{0, 255, 255, 0}, {0, 0, 0, 127}, {55, 155, 205, 127}, {0, 0, 0, 255}},
         {Argb(255, 255, 0, 0), Argb(255, 128, 128, 128), Argb(255, 100, 50, 25), Argb(255, 0, 0, 0)}},
    };
    for (const Case& c : cases) {
        DecodedImage img;
        ASSERT_TRUE(DecodeImage(WriteJpeg(c.space, c.components, c.quadrants, c.adobe), img)) << c.name;
        EXPECT_EQ(img.width, 32);
        EXPECT_EQ(img.height, 32);
        EXPECT_FALSE(img.hasAlpha) << c.name;
        // Quadrant centres; JPEG is lossy, so a small difference is fine.
        ExpectPixelsNear(
            img,
            [&](int x, int y) {
                if (x % 16 < 4 || x % 16 > 11 || y % 16 < 4 || y % 16 > 11) return img.argb[y * 32 + x];
                return c.expected[(y / 16) * 2 + x / 16];
            },
            6, c.name);
    }
}

// Patches the frame size in the SOF0 marker of a baseline JPEG.
Bytes WithJpegSize(Bytes jpeg, unsigned width, unsigned height) {
    for (size_t i = 2; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = height >> 8, jpeg[i + 6] = height & 0xFF;
            jpeg[i + 7] = width >> 8, jpeg[i + 8] = width & 0xFF;
            return jpeg;
        }
    ADD_FAILURE() << "no SOF0";
    return jpeg;
}

// Patches the IHDR size of a PNG and its CRC.
Bytes WithPngSize(Bytes png, uint32_t width, uint32_t height) {
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) png[at + i] = (v >> (24 - 8 * i)) & 0xFF;
    };
    put(16, width);
    put(20, height);
    put(29, static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
    return png;
}

TEST(ImageLimits, HugeClaimedSizesAreRefused) {
    Bytes png;
    ASSERT_TRUE(EncodePng(Gradient(4, 4, false), false, 6, png));
    Bytes jpeg = WriteJpeg(JCS_GRAYSCALE, 1, {{1}, {2}, {3}, {4}});
    struct Case { const char* name; Bytes bytes; };
    const Case cases[] = {
        {"png wider than the limit", WithPngSize(png, kMaxImageSide + 1, 4)},
        {"png over the pixel count", WithPngSize(png, 16384, 6200)},
        {"png of 2^31-1 rows", WithPngSize(png, 1, 0x7FFFFFFF)},
        {"jpeg taller than the limit", WithJpegSize(jpeg, 4, 20000)},
        {"jpeg over the pixel count", WithJpegSize(jpeg, 16000, 16000)},
    };
    for (const Case& c : cases) {
        DecodedImage img;
        img.width = 7;
        EXPECT_FALSE(DecodeImage(c.bytes, img)) << c.name;
        EXPECT_EQ(img.width, 0) << c.name;
        EXPECT_TRUE(img.argb.empty()) << c.name;
    }
}

TEST(ImageLimits, SizeRule) {
    struct Case { int64_t w, h; bool ok; };
    const Case cases[] = {{1, 1, true},          {16384, 6103, true},  {16384, 6104, false}, {16385, 1, false},
                          {1, 16385, false},     {0, 5, false},        {5, 0, false},        {-1, -1, false},
                          {10000, 10000, true},  {10000, 10001, false}};
    for (const Case& c : cases) EXPECT_EQ(ImageSizeAcceptable(c.w, c.h), c.ok) << c.w << "x" << c.h;
}

// ---------------------------------------------------------------- BMP

struct BmpRecipe {
    int headerSize = 40;
    int32_t width = 0, height = 0;  // height < 0: rows stored top-down
    int bpp = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> masks{};    // R, G, B(, A)
    std::vector<uint32_t> palette{};  // 0x00RRGGBB
    uint32_t colorsUsed = 0;
    std::vector<Bytes> rows{};        // unpadded, top to bottom
};

Bytes BuildBmp(const BmpRecipe& s) {
    const bool core = s.headerSize == 12;
    const bool masksAfterHeader = s.headerSize == 40 && !s.masks.empty();
    const size_t paletteBytes = s.palette.size() * (core ? 3 : 4);
    const size_t offset = 14 + s.headerSize + (masksAfterHeader ? 4 * s.masks.size() : 0) + paletteBytes;
    const size_t stride = (static_cast<size_t>(s.width) * s.bpp + 31) / 32 * 4;
    Bytes b = {'B', 'M'};
    Put32(b, static_cast<uint32_t>(offset + stride * s.rows.size()));
    Put32(b, 0);
    Put32(b, static_cast<uint32_t>(offset));
    Put32(b, s.headerSize);
    if (core) {
        Put16(b, s.width), Put16(b, static_cast<uint16_t>(s.height)), Put16(b, 1), Put16(b, s.bpp);
    } else {
        Put32(b, s.width), Put32(b, static_cast<uint32_t>(s.height)), Put16(b, 1), Put16(b, s.bpp);
        Put32(b, s.compression), Put32(b, 0), Put32(b, 2835), Put32(b, 2835), Put32(b, s.colorsUsed), Put32(b, 0);
        size_t written = 40;
        if (s.headerSize > 40)
            for (size_t i = 0; i < 4; ++i, written += 4) Put32(b, i < s.masks.size() ? s.masks[i] : 0);
        while (written < static_cast<size_t>(s.headerSize)) b.push_back(0), ++written;
        if (masksAfterHeader)
            for (uint32_t m : s.masks) Put32(b, m);
    }
    for (uint32_t c : s.palette) {
        b.push_back(c & 0xFF), b.push_back((c >> 8) & 0xFF), b.push_back((c >> 16) & 0xFF);
        if (!core) b.push_back(0);
    }
    const bool bottomUp = s.height > 0;
    for (size_t i = 0; i < s.rows.size(); ++i) {
        Bytes row = s.rows[bottomUp ? s.rows.size() - 1 - i : i];
        row.resize(stride, 0xEE);  // padding is ignored, whatever it holds
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

struct ImageCase {
    const char* name;
    Bytes bytes;
    int width, height;
    bool hasAlpha;
    std::vector<uint32_t> pixels;  // top to bottom
};

void ExpectDecodesTo(const ImageCase& c) {
    DecodedImage img;
    ASSERT_TRUE(DecodeImage(c.bytes, img)) << c.name;
    EXPECT_EQ(img.width, c.width) << c.name;
    EXPECT_EQ(img.height, c.height) << c.name;
    EXPECT_EQ(img.hasAlpha, c.hasAlpha) << c.name;
    ASSERT_EQ(img.argb.size(), c.pixels.size()) << c.name;
    for (size_t i = 0; i < c.pixels.size(); ++i)
        EXPECT_EQ(img.argb[i], c.pixels[i]) << c.name << " pixel " << i << std::hex << " got " << img.argb[i];
}

const uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu,
               kBlack = 0xFF000000u, kViolet = 0xFF170053u;

std::vector<ImageCase> BmpCases() {
    std::vector<ImageCase> cases;
    {  // 10 pixels cross a byte boundary; rows bottom-up
        BmpRecipe s{.width = 10, .height = 2, .bpp = 1, .palette = {0x170053, 0xFFFFFF}};
        s.rows = {{0b10110000, 0b01000000}, {0b00000000, 0b11000000}};
        std::vector<uint32_t> p;
        for (int x = 0; x < 10; ++x) p.push_back((0b1011000001 >> (9 - x)) & 1 ? kWhite : kViolet);
        for (int x = 0; x < 10; ++x) p.push_back(x >= 8 ? kWhite : kViolet);
        cases.push_back({"1-bit", BuildBmp(s), 10, 2, false, p});
    }
    {
        BmpRecipe s{.width = 3, .height = 2, .bpp = 4, .palette = {0xFF0000, 0x00FF00, 0x0000FF}};
        s.rows = {{0x01, 0x20}, {0x22, 0x10}};
        cases.push_back({"4-bit odd width", BuildBmp(s), 3, 2, false, {kRed, kGreen, kBlue, kBlue, kBlue, kGreen}});
    }
    {  // index 5 lies past the 3 colours in use
        BmpRecipe s{.width = 4, .height = -1, .bpp = 8, .palette = {0xFF0000, 0x00FF00, 0x0000FF}, .colorsUsed = 3};
        s.rows = {{2, 1, 0, 5}};
        cases.push_back({"8-bit top-down, short palette", BuildBmp(s), 4, 1, false, {kBlue, kGreen, kRed, kBlack}});
    }
    {
        BmpRecipe s{.headerSize = 12, .width = 2, .height = 1, .bpp = 8, .palette = {0x170053, 0xFF0000}};
        s.rows = {{1, 0}};
        cases.push_back({"8-bit OS/2 core header", BuildBmp(s), 2, 1, false, {kRed, kViolet}});
    }
    {  // B,G,R; width 3 makes 3 padding bytes per row
        BmpRecipe s{.width = 3, .height = 2, .bpp = 24};
        s.rows = {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {83, 0, 23, 255, 255, 255, 0, 0, 0}};
        cases.push_back({"24-bit bottom-up", BuildBmp(s), 3, 2, false, {kRed, kGreen, kBlue, kViolet, kWhite, kBlack}});
        s.height = -2;
        cases.push_back({"24-bit top-down", BuildBmp(s), 3, 2, false, {kRed, kGreen, kBlue, kViolet, kWhite, kBlack}});
    }
    {  // the fourth byte of BI_RGB is unused, whatever it holds
        BmpRecipe s{.width = 2, .height = 1, .bpp = 32};
        s.rows = {{0, 0, 255, 0, 255, 0, 0, 77}};
        cases.push_back({"32-bit BI_RGB", BuildBmp(s), 2, 1, false, {kRed, kBlue}});
    }
    {
        BmpRecipe s{.width = 2, .height = 1, .bpp = 32, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF}};
        s.rows = {{0, 0, 255, 9, 255, 0, 0, 9}};
        cases.push_back({"32-bit bitfields, no alpha mask", BuildBmp(s), 2, 1, false, {kRed, kBlue}});
    }
    {  // masks in an unusual order: A,B,G,R from the low byte
        BmpRecipe s{.headerSize = 108, .width = 2, .height = 1, .bpp = 32, .compression = 3,
                  .masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF}};
        s.rows = {{0x80, 0x33, 0x22, 0x11, 0x00, 0, 0, 255}};
        cases.push_back({"32-bit V4 with alpha", BuildBmp(s), 2, 1, true, {0x80112233u, 0x00FF0000u}});
    }
    {
        BmpRecipe s{.headerSize = 124, .width = 2, .height = 1, .bpp = 32, .compression = 3,
                  .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
        s.rows = {{0, 0, 255, 0, 83, 0, 23, 0}};
        cases.push_back({"32-bit V5, alpha all zero", BuildBmp(s), 2, 1, false, {kRed, kViolet}});
    }
    {  // 5-5-5: 0x7C00 red, 0x03E0 green, 0x001F blue, 0x4210 = 16/31 each
        BmpRecipe s{.width = 4, .height = 1, .bpp = 16};
        s.rows = {{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42}};
        cases.push_back({"16-bit 555", BuildBmp(s), 4, 1, false, {kRed, kGreen, kBlue, 0xFF848484u}});
    }
    {
        BmpRecipe s{.width = 2, .height = 1, .bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
        s.rows = {{0x00, 0xF8, 0xE0, 0x07}};
        cases.push_back({"16-bit 565", BuildBmp(s), 2, 1, false, {kRed, kGreen}});
    }
    return cases;
}

TEST(BmpDecode, PaletteAndDirectColour) {
    for (const ImageCase& c : BmpCases()) ExpectDecodesTo(c);
}

TEST(BmpDecode, RefusesBrokenHeaders) {
    BmpRecipe good{.width = 3, .height = 2, .bpp = 24};
    good.rows = {Bytes(9, 1), Bytes(9, 2)};
    const Bytes valid = BuildBmp(good);
    auto patched = [&](size_t at, uint32_t v, int bytes = 4) {
        Bytes b = valid;
        for (int i = 0; i < bytes; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
        return b;
    };
    Bytes lastRowShort = valid;
    lastRowShort.resize(valid.size() - 3 - 1);  // padding may go, pixels not
    struct Case { const char* name; Bytes bytes; };
    const Case cases[] = {
        {"last row cut short", lastRowShort},
        {"pixel offset past the end", patched(10, 0xFFFFFF00u)},
        {"header size past the end", patched(14, 0xFFFFFFFFu)},
        {"unknown header size", patched(14, 20)},
        {"width over the limit", patched(18, 100000)},
        {"height of INT32_MIN", patched(22, 0x80000000u)},
        {"zero width", patched(18, 0)},
        {"7 bits per pixel", patched(28, 7, 2)},
        {"RLE8", patched(30, 1)},
        {"bitfields at 24 bits", patched(30, 3)},
        {"pixels inside the header", patched(10, 20)},
        {"signature only", Bytes{'B', 'M'}},
    };
    for (const Case& c : cases) {
        DecodedImage img;
        EXPECT_FALSE(DecodeImage(c.bytes, img)) << c.name;
        EXPECT_TRUE(img.argb.empty()) << c.name;
    }
    DecodedImage img;
    Bytes noPadding = valid;
    noPadding.resize(valid.size() - 3);
    EXPECT_TRUE(DecodeImage(noPadding, img)) << "the final row's padding is optional";
}

// ---------------------------------------------------------------- TGA

Bytes BuildTga(int type, int width, int height, int depth, int descriptor, const Bytes& data, int idLength = 0,
               int mapLength = 0) {
    Bytes b = {static_cast<unsigned char>(idLength), static_cast<unsigned char>(mapLength ? 1 : 0),
               static_cast<unsigned char>(type)};
    Put16(b, 0), Put16(b, mapLength), b.push_back(mapLength ? 24 : 0);
    Put16(b, 0), Put16(b, 0), Put16(b, width), Put16(b, height);
    b.push_back(depth), b.push_back(descriptor);
    b.insert(b.end(), idLength + mapLength * 3, 0x5A);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

std::vector<ImageCase> TgaCases() {
    // Pixels B,G,R(,A); without the top bit of the descriptor rows go bottom-up.
    const Bytes rgb2x2 = {0, 0, 255, 0, 255, 0, /* bottom row */ 255, 0, 0, 83, 0, 23};
    return {
        {"24-bit bottom-left", BuildTga(2, 2, 2, 24, 0x00, rgb2x2), 2, 2, false, {kBlue, kViolet, kRed, kGreen}},
        {"24-bit top-left", BuildTga(2, 2, 2, 24, 0x20, rgb2x2), 2, 2, false, {kRed, kGreen, kBlue, kViolet}},
        {"24-bit top-right", BuildTga(2, 2, 2, 24, 0x30, rgb2x2), 2, 2, false, {kGreen, kRed, kViolet, kBlue}},
        {"id field and colour map skipped", BuildTga(2, 2, 2, 24, 0x20, rgb2x2, 5, 4), 2, 2, false,
         {kRed, kGreen, kBlue, kViolet}},
        {"32-bit with alpha", BuildTga(2, 2, 1, 32, 0x28, {0x33, 0x22, 0x11, 0x80, 0, 0, 255, 0}), 2, 1, true,
         {0x80112233u, 0x00FF0000u}},
        {"32-bit without attribute bits", BuildTga(2, 1, 1, 32, 0x20, {0x33, 0x22, 0x11, 0x00}), 1, 1, false,
         {0xFF112233u}},
        {"8-bit gray", BuildTga(3, 3, 1, 8, 0x20, {0, 128, 255}), 3, 1, false, {kBlack, 0xFF808080u, kWhite}},
        // A run of 4 red crosses from the first row into the second, then 2 raw pixels.
        {"RLE 24-bit, packets across rows", BuildTga(10, 3, 2, 24, 0x20, {0x83, 0, 0, 255, 0x01, 255, 0, 0, 83, 0, 23}),
         3, 2, false, {kRed, kRed, kRed, kRed, kBlue, kViolet}},
        {"RLE 32-bit bottom-up", BuildTga(10, 1, 2, 32, 0x08, {0x00, 0, 0, 255, 255, 0x00, 255, 0, 0, 64}), 1, 2, true,
         {0x400000FFu, kRed}},
        {"RLE 8-bit gray", BuildTga(11, 4, 1, 8, 0x20, {0x83, 0x11}), 4, 1, false,
         {0xFF111111u, 0xFF111111u, 0xFF111111u, 0xFF111111u}},
    };
}

TEST(TgaDecode, TypesDepthsAndOrigins) {
    for (const ImageCase& c : TgaCases()) ExpectDecodesTo(c);
}

TEST(TgaDecode, RefusesBrokenFiles) {
    struct Case { const char* name; Bytes bytes; };
    const Case cases[] = {
        {"pixels missing", BuildTga(2, 2, 2, 24, 0, Bytes(11, 0))},
        {"huge size, no pixels", BuildTga(2, 65535, 65535, 24, 0, Bytes(30, 0))},
        {"huge RLE claim", BuildTga(10, 16000, 6000, 24, 0, {0xFF, 1, 2, 3, 0xFF, 1, 2, 3})},
        {"RLE cut inside a raw packet", BuildTga(10, 4, 1, 24, 0, {0x03, 1, 2, 3, 4, 5})},
        {"RLE cut before the run pixel", BuildTga(10, 4, 1, 24, 0, {0x83, 1})},
        {"colour-mapped type", BuildTga(1, 1, 1, 8, 0, {0}, 0, 1)},
        {"16-bit true colour", BuildTga(2, 1, 1, 16, 0, {0, 0})},
        {"zero width", BuildTga(2, 0, 1, 24, 0, {})},
        {"colour map past the end", BuildTga(2, 1, 1, 24, 0, {}, 0, 0) /* patched below */},
        {"short header", Bytes(17, 0)},
        {"text", Bytes{'h', 'a', 'l', 'l', 'o', ' ', 'w', 'e', 'l', 't', ' ', 'd', 'a', 's', ' ', 'i', 's', 't', ' ', 'k'}},
    };
    for (const Case& c : cases) {
        DecodedImage img;
        Bytes bytes = c.bytes;
        if (std::string(c.name) == "colour map past the end") bytes[1] = 1, bytes[5] = 0xFF, bytes[6] = 0xFF, bytes[7] = 32;
        EXPECT_FALSE(DecodeImage(bytes, img)) << c.name;
        EXPECT_TRUE(img.argb.empty()) << c.name;
    }
}

// ---------------------------------------------------------------- hostile input

std::vector<std::pair<const char*, Bytes>> ValidSamples() {
    std::vector<std::pair<const char*, Bytes>> samples;
    for (const PngCase& c : PngCases())
        if (std::string(c.name) == "palette4_trns_interlaced" || std::string(c.name) == "rgb16")
            samples.emplace_back(c.name, WritePng(c.recipe));
    samples.emplace_back("jpeg rgb", WriteJpeg(JCS_RGB, 3, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}}));
    samples.emplace_back("jpeg cmyk", WriteJpeg(JCS_CMYK, 4, {{255, 0, 0, 9}, {0, 255, 0, 9}, {0, 0, 255, 9}, {9, 9, 9, 9}}));
    for (const ImageCase& c : BmpCases()) samples.emplace_back(c.name, c.bytes);
    for (const ImageCase& c : TgaCases()) samples.emplace_back(c.name, c.bytes);
    return samples;
}

void ExpectConsistent(bool ok, const DecodedImage& img, const std::string& what) {
    if (ok) {
        ASSERT_TRUE(ImageSizeAcceptable(img.width, img.height)) << what;
        ASSERT_EQ(img.argb.size(), static_cast<size_t>(img.width) * img.height) << what;
    } else {
        ASSERT_TRUE(img.argb.empty() && img.width == 0 && img.height == 0) << what;
    }
}

TEST(ImageHostileInput, EveryTruncationIsHandled) {
    for (const auto& [name, bytes] : ValidSamples()) {
        for (size_t length = 0; length < bytes.size(); ++length) {
            Bytes cut(bytes.begin(), bytes.begin() + length);
            DecodedImage img;
            bool ok = DecodeImage(cut, img);
            ExpectConsistent(ok, img, std::string(name) + " cut to " + std::to_string(length));
        }
    }
}

TEST(ImageHostileInput, RandomCorruptionIsHandled) {
    std::mt19937 random(20240917);
    for (const auto& [name, bytes] : ValidSamples()) {
        for (int round = 0; round < 2000; ++round) {
            Bytes bad = bytes;
            int flips = 1 + random() % 8;
            for (int i = 0; i < flips; ++i) bad[random() % bad.size()] = static_cast<unsigned char>(random());
            DecodedImage img;
            bool ok = DecodeImage(bad, img);
            ExpectConsistent(ok, img, std::string(name) + " round " + std::to_string(round));
        }
    }
}

TEST(ImageHostileInput, EmptyAndUnknownBytes) {
    const Bytes cases[] = {{}, {0x89}, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, {0xFF, 0xD8, 0xFF}, {'B', 'M', 0, 0},
                           Bytes(100, 0), Bytes(100, 0xFF)};
    for (const Bytes& bytes : cases) {
        DecodedImage img;
        EXPECT_FALSE(DecodeImage(bytes, img)) << bytes.size() << " bytes";
    }
}

}  // namespace
