// Decoding PNG, JPEG, BMP and TGA bytes into 32-bit pixels, and encoding
// pixels as PNG or JPEG. Hostile input yields false, never a crash or a huge
// allocation.
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
// and decodes it. On failure out is left empty and false is returned. A JPEG
// comes out upright as its Exif orientation tag says. With minShortSide > 0 a
// JPEG is decoded at the smallest of libjpeg's scales (1/8 .. 8/8) whose
// shorter side still reaches minShortSide: a camera photo for a small picture
// costs a fraction of a full decode. Other formats are always decoded in full.
// Every file that claims a size refused by ImageSizeAcceptable is refused
// before its pixels are allocated.
bool DecodeImage(std::span<const unsigned char> bytes, DecodedImage& out, int minShortSide = 0);

// Encodes img as an 8-bit RGB (or RGBA with withAlpha) PNG with the zlib
// compression level 0..9 (clamped). False for an inconsistent img.
bool EncodePng(const DecodedImage& img, bool withAlpha, int compression, std::vector<unsigned char>& out);

// Encodes img (alpha ignored) as a baseline YCbCr JPEG with 4:2:0 chroma, as
// cameras write them, at quality 1..100 (clamped); with exifOrientation 1..8
// an Exif block carrying that orientation tag comes first, as a camera held
// sideways writes it. False for an inconsistent img.
bool EncodeJpeg(const DecodedImage& img, int quality, std::vector<unsigned char>& out, int exifOrientation = 0);
