// TrueType fonts through FreeType: a face at one pixel size, glyphs rendered
// smoothed on first use into the shared atlas; metrics in whole pixels.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <vector>

#include "platform/graphics.hpp"
#include "platform/image_font.hpp"
#include "platform/resources.hpp"

struct FontFace {
    std::vector<unsigned char> bytes;  // FreeType reads the face from here
    FT_Face face = nullptr;
    ~FontFace() {
        if (face) FT_Done_Face(face);
    }
};

namespace {
FT_Library Library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

int CeilPixels(FT_Pos v) { return static_cast<int>((v + 63) >> 6); }

void Rasterise(ImageFont& font, char16_t c, FontGlyph& g) {
    g.loaded = true;
    FT_Face face = font.face->face;
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (index == 0) return;  // missing characters add nothing
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return;
    g.present = true;
    FT_GlyphSlot slot = face->glyph;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0 || bm.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    TextureSource* page = nullptr;
    if (!TextureStore::Allocate(static_cast<int>(bm.width), static_cast<int>(bm.rows), g.place, page)) return;
    g.w = static_cast<int>(bm.width);
    g.h = static_cast<int>(bm.rows);
    g.left = slot->bitmap_left;
    g.top = font.ascender - slot->bitmap_top;
    // White glyphs with coverage as alpha, premultiplied: the colour tints them.
    std::vector<uint32_t> px(size_t(g.w) * g.h);
    for (int y = 0; y < g.h; ++y) {
        const unsigned char* row = bm.buffer + y * bm.pitch;
        for (int x = 0; x < g.w; ++x) {
            const uint32_t a = row[x];
            px[size_t(y) * g.w + x] = a | (a << 8) | (a << 16) | (a << 24);
        }
    }
    TextureStore::WritePlace(*page, g.place, px.data(), false);
}
}  // namespace

const FontGlyph& ImageFont::Glyph(char16_t c) {
    FontGlyph& g = c < 256 ? latin[c] : others[c];
    if (!g.loaded) Rasterise(*this, c, g);
    return g;
}

TImageFont LoadFontFrom(const Text& source, int pixelSize, int) {
    FT_Library lib = Library();
    if (!lib || pixelSize <= 0) return nullptr;
    auto face = std::make_shared<FontFace>();
    if (!ReadSourceBytes(source, face->bytes) || face->bytes.empty()) {
        std::fprintf(stderr, "fonts: cannot read %s\n", Utf8FromText(source).c_str());
        return nullptr;
    }
    if (FT_New_Memory_Face(lib, face->bytes.data(), static_cast<FT_Long>(face->bytes.size()), 0, &face->face) != 0) {
        face->face = nullptr;
        std::fprintf(stderr, "fonts: not a font: %s\n", Utf8FromText(source).c_str());
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return nullptr;
    auto font = std::make_shared<ImageFont>();
    font->pixelSize = pixelSize;
    const FT_Size_Metrics& m = face->face->size->metrics;
    font->ascender = CeilPixels(m.ascender);
    font->lineHeight = CeilPixels(m.ascender) + CeilPixels(-m.descender);
    font->face = std::move(face);
    return font;
}

const std::shared_ptr<ImageFont>& DefaultFont() {
    static std::shared_ptr<ImageFont> font;
    static bool tried = false;
    if (!tried && !EmbeddedResource(u"media/fonts/segoeui.ttf").empty()) {
        tried = true;
        font = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 16, kSmoothFont);
    }
    return font;
}
