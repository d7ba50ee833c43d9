// Truevision TGA: uncompressed and RLE true-colour (24/32-bit) and grayscale
// (8-bit) images in any corner origin. The format has no signature, so the
// header is checked strictly before anything is read.
#include "platform/image_codecs.hpp"

namespace {

constexpr int kTrueColor = 2, kGray = 3, kRleTrueColor = 10, kRleGray = 11;

uint32_t U16(const unsigned char* p) { return p[0] | (p[1] << 8); }

// Reads pixels in file order, expanding RLE packets; packets may run across
// rows. Every read is checked against the end of the data.
class PixelSource {
public:
    PixelSource(const unsigned char* at, const unsigned char* end, int bytesPerPixel, bool rle)
        : at_(at), end_(end), bpp_(bytesPerPixel), rle_(rle) {}

    // Next pixel's bytes, or nullptr when the data ends early or is malformed.
    const unsigned char* Next() {
        if (!rle_) return Take();
        if (left_ == 0) {
            if (at_ >= end_) return nullptr;
            unsigned char header = *at_++;
            left_ = (header & 0x7F) + 1;
            repeat_ = (header & 0x80) != 0;
            if (repeat_ && !(runPixel_ = Take())) return nullptr;
        }
        --left_;
        return repeat_ ? runPixel_ : Take();
    }

private:
    const unsigned char* Take() {
        if (end_ - at_ < bpp_) return nullptr;
        const unsigned char* p = at_;
        at_ += bpp_;
        return p;
    }
    const unsigned char* at_;
    const unsigned char* end_;
    int bpp_;
    bool rle_;
    int left_ = 0;
    bool repeat_ = false;
    const unsigned char* runPixel_ = nullptr;
};

}  // namespace

bool DecodeTga(std::span<const unsigned char> bytes, DecodedImage& out) {
    const unsigned char* d = bytes.data();
    const uint64_t n = bytes.size();
    if (n < 18) return false;
    const int idLength = d[0], colorMapType = d[1], type = d[2];
    const uint32_t mapLength = U16(d + 5), mapEntryBits = d[7];
    const int64_t width = U16(d + 12), height = U16(d + 14);
    const int depth = d[16], descriptor = d[17];
    if (colorMapType > 1 || (type != kTrueColor && type != kGray && type != kRleTrueColor && type != kRleGray))
        return false;
    const bool gray = type == kGray || type == kRleGray;
    if (gray ? depth != 8 : depth != 24 && depth != 32) return false;
    if (!ImageSizeAcceptable(width, height)) return false;

    const uint64_t start = 18 + idLength + (colorMapType ? uint64_t{mapLength} * ((mapEntryBits + 7) / 8) : 0);
    if (start > n) return false;
    const int bytesPerPixel = depth / 8;
    const bool rle = type == kRleTrueColor || type == kRleGray;
    if (!rle && start + static_cast<uint64_t>(width * height) * bytesPerPixel > n) return false;
    // An RLE packet of 128 pixels takes at least 2 bytes: a cheap bound that
    // keeps a few hostile bytes from claiming a huge picture.
    if (rle && static_cast<uint64_t>(width * height) > (n - start) * 64) return false;

    // Files that write 32 bits but declare no attribute bits carry no alpha.
    const bool withAlpha = depth == 32 && (descriptor & 0x0F) != 0;
    const bool rightToLeft = (descriptor & 0x10) != 0;
    const bool topDown = (descriptor & 0x20) != 0;
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
    PixelSource source(d + start, d + n, bytesPerPixel, rle);
    for (int64_t row = 0; row < height; ++row) {
        uint32_t* dst = pixels.data() + (topDown ? row : height - 1 - row) * width;
        for (int64_t col = 0; col < width; ++col) {
            const unsigned char* p = source.Next();
            if (!p) return false;
            uint32_t c;
            if (gray) {
                c = 0xFF000000u | (p[0] << 16) | (p[0] << 8) | p[0];
            } else {
                uint32_t a = withAlpha ? p[3] : 255u;
                c = (a << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
            }
            dst[rightToLeft ? width - 1 - col : col] = c;
        }
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.hasAlpha = withAlpha;
    out.argb = std::move(pixels);
    return true;
}
