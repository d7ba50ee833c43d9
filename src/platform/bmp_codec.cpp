// Windows bitmaps: 1/4/8-bit palette, 16/24/32-bit (BI_RGB and BI_BITFIELDS),
// bottom-up and top-down, with every header field checked against the data size.
#include <bit>
#include "platform/image_codecs.hpp"

bool LooksLikeBmp(std::span<const unsigned char> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

namespace {

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3, kBiAlphaBitfields = 6;

uint32_t U16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;
    explicit Channel(uint32_t m = 0) : mask(m) {
        if (m) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    uint32_t Of(uint32_t v) const {
        if (!mask) return 0;
        uint64_t x = (v & mask) >> shift;
        return static_cast<uint32_t>((x * 255 + max / 2) / max);
    }
};

}  // namespace

bool DecodeBmp(std::span<const unsigned char> bytes, DecodedImage& out) {
    const unsigned char* d = bytes.data();
    const uint64_t n = bytes.size();
    if (n < 14 + 12) return false;
    const uint64_t pixelOffset = U32(d + 10);
    const uint64_t headerSize = U32(d + 14);
    if (14 + headerSize > n) return false;

    int64_t width = 0, height = 0;
    uint32_t bpp = 0, compression = kBiRgb, colorsUsed = 0, paletteEntrySize = 4;
    if (headerSize == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
        width = U16(d + 18);
        height = static_cast<int16_t>(U16(d + 20));
        bpp = U16(d + 24);
        paletteEntrySize = 3;
    } else if (headerSize >= 40) {
        width = static_cast<int32_t>(U32(d + 18));
        height = static_cast<int32_t>(U32(d + 22));
        bpp = U16(d + 28);
        compression = U32(d + 30);
        colorsUsed = U32(d + 46);
    } else {
        return false;
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (!ImageSizeAcceptable(width, height)) return false;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;

    if (pixelOffset < 14 + headerSize) return false;
    uint64_t paletteStart = 14 + headerSize;
    Channel red, green, blue, alpha;
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        if (bpp != 16 && bpp != 32) return false;
        const int maskCount = compression == kBiAlphaBitfields ? 4 : 3;
        uint64_t maskAt = 14 + 40;
        int available = headerSize >= 56 ? 4 : headerSize >= 52 ? 3 : 0;
        if (headerSize == 40) {  // the masks follow the short header
            if (maskAt + 4 * maskCount > n) return false;
            available = maskCount;
            paletteStart += 4 * maskCount;
        }
        if (available < 3) return false;
        red = Channel(U32(d + maskAt));
        green = Channel(U32(d + maskAt + 4));
        blue = Channel(U32(d + maskAt + 8));
        if (available == 4) alpha = Channel(U32(d + maskAt + 12));
    } else if (compression == kBiRgb) {
        if (bpp == 16) {
            red = Channel(0x7C00), green = Channel(0x03E0), blue = Channel(0x001F);
        } else {
            red = Channel(0xFF0000), green = Channel(0xFF00), blue = Channel(0xFF);
        }
    } else {
        return false;  // RLE and embedded JPEG/PNG are not supported
    }
    if (!red.mask && !green.mask && !blue.mask) return false;

    uint32_t palette[256];
    uint32_t paletteSize = 0;
    if (bpp <= 8) {
        uint64_t wanted = colorsUsed ? colorsUsed : (1u << bpp);
        if (wanted > (1u << bpp)) wanted = 1u << bpp;
        // Writers often store fewer colours than they declare; the table ends
        // where the pixels begin. Indices past it read as black.
        const uint64_t room = pixelOffset > paletteStart ? (pixelOffset - paletteStart) / paletteEntrySize : 0;
        if (wanted > room) wanted = room;
        if (paletteStart + wanted * paletteEntrySize > n) return false;
        for (uint32_t i = 0; i < wanted; ++i) {
            const unsigned char* e = d + paletteStart + i * paletteEntrySize;
            palette[i] = 0xFF000000u | (e[2] << 16) | (e[1] << 8) | e[0];
        }
        paletteSize = static_cast<uint32_t>(wanted);
    }

    const uint64_t stride = (static_cast<uint64_t>(width) * bpp + 31) / 32 * 4;
    const uint64_t lastRowBytes = (static_cast<uint64_t>(width) * bpp + 7) / 8;
    // The final row's padding is often left out, so it is not required.
    if (pixelOffset + stride * (height - 1) + lastRowBytes > n) return false;

    std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
    const bool withAlpha = bpp == 32 && alpha.mask != 0;
    bool anyAlpha = false;
    for (int64_t y = 0; y < height; ++y) {
        const unsigned char* row = d + pixelOffset + stride * (topDown ? y : height - 1 - y);
        uint32_t* dst = pixels.data() + y * width;
        for (int64_t x = 0; x < width; ++x) {
            uint32_t index = 0, v = 0;
            switch (bpp) {
                case 1: index = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
                case 4: index = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF; break;
                case 8: index = row[x]; break;
                case 16: v = U16(row + 2 * x); break;
                case 24: v = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16); break;
                default: v = U32(row + 4 * x); break;
            }
            if (bpp <= 8) {
                dst[x] = index < paletteSize ? palette[index] : 0xFF000000u;
            } else {
                uint32_t a = withAlpha ? alpha.Of(v) : 255;
                anyAlpha |= a != 0;
                dst[x] = (a << 24) | (red.Of(v) << 16) | (green.Of(v) << 8) | blue.Of(v);
            }
        }
    }
    // Some writers declare an alpha mask but leave every alpha at 0; such a
    // picture is meant to be opaque, not invisible.
    if (withAlpha && !anyAlpha)
        for (uint32_t& p : pixels) p |= 0xFF000000u;

    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.hasAlpha = withAlpha && anyAlpha;
    out.argb = std::move(pixels);
    return true;
}
