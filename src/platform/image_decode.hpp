// Decoding PNG, JPEG, BMP and TGA bytes into 32-bit pixels, and encoding
// pixels as PNG. Hostile input yields false, never a crash or a huge allocation.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

struct DecodedImage {
    int width = 0, height = 0;
    // True when the source carries an alpha channel: PNG alpha or tRNS, a
    // 32-bit BMP with an alpha mask (unless every alpha is 0: then it is read
    // as opaque), a 32-bit TGA that declares attribute bits.
    bool hasAlpha = false;
    std::vector<uint32_t> argb;  // 0xAARRGGBB, rows top to bottom
};

// Largest image accepted on either side, and in total pixels.
inline constexpr int kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = 100'000'000;

// True when width x height is a size the decoders are willing to allocate.
bool ImageSizeAcceptable(int64_t width, int64_t height);

// Detects the format from the bytes (TGA, having no signature, is tried last)
// and decodes it. On failure out is left empty and false is returned.
bool DecodeImage(std::span<const unsigned char> bytes, DecodedImage& out);

// Encodes img as an 8-bit RGB (or RGBA with withAlpha) PNG with the zlib
// compression level 0..9 (clamped). False for an inconsistent img.
bool EncodePng(const DecodedImage& img, bool withAlpha, int compression, std::vector<unsigned char>& out);
