// Inside of a font handle: a FreeType face at one pixel size and its glyphs,
// rasterised on first use into the shared atlas. Internal.
#pragma once
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/texture_store.hpp"

struct FontGlyph {
    bool loaded = false;
    bool present = false;   // the font has this character
    int advance = 0;        // pixels
    int left = 0, top = 0;  // bitmap offset from the pen position and the line top
    int w = 0, h = 0;
    TexturePlace place;
};

struct FontFace;  // FreeType face, defined in fonts.cpp

struct ImageFont {
    int pixelSize = 0;
    int lineHeight = 0;
    int ascender = 0;
    std::shared_ptr<FontFace> face;
    std::array<FontGlyph, 256> latin{};  // O(1) for every Latin-1 character
    std::unordered_map<char16_t, FontGlyph> others;

    const FontGlyph& Glyph(char16_t c);
};

// The font used while SetDrawFont(Null) is in force.
const std::shared_ptr<ImageFont>& DefaultFont();
