// Exif orientation: reading tag 0x0112 from IFD0 of the TIFF block with every
// offset checked against the block, and re-laying the pixels upright.
#include "platform/exif_orientation.hpp"

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned char kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr unsigned kOrientationTag = 0x0112;
constexpr unsigned kTypeShort = 3;

struct TiffReader {
    std::span<const unsigned char> bytes;
    bool little = true;

    bool Has(size_t at, size_t n) const { return at <= bytes.size() && n <= bytes.size() - at; }
    unsigned U16(size_t at) const {
        return little ? bytes[at] | (bytes[at + 1] << 8) : (bytes[at] << 8) | bytes[at + 1];
    }
    uint32_t U32(size_t at) const {
        return little ? uint32_t(U16(at)) | (uint32_t(U16(at + 2)) << 16)
                      : (uint32_t(U16(at)) << 16) | uint32_t(U16(at + 2));
    }
};

}  // namespace

int ExifOrientation(std::span<const unsigned char> app1) {
    if (app1.size() < sizeof kExifHeader || std::memcmp(app1.data(), kExifHeader, sizeof kExifHeader) != 0) return 1;
    TiffReader tiff{app1.subspan(sizeof kExifHeader)};
    if (!tiff.Has(0, 8)) return 1;
    if (tiff.bytes[0] == 'I' && tiff.bytes[1] == 'I')
        tiff.little = true;
    else if (tiff.bytes[0] == 'M' && tiff.bytes[1] == 'M')
        tiff.little = false;
    else
        return 1;
    if (tiff.U16(2) != 42) return 1;
    const size_t ifd = tiff.U32(4);
    if (!tiff.Has(ifd, 2)) return 1;
    const unsigned count = tiff.U16(ifd);
    for (unsigned i = 0; i < count; ++i) {
        const size_t entry = ifd + 2 + size_t(i) * 12;
        if (!tiff.Has(entry, 12)) return 1;
        if (tiff.U16(entry) != kOrientationTag) continue;
        if (tiff.U16(entry + 2) != kTypeShort || tiff.U32(entry + 4) < 1) return 1;
        const unsigned value = tiff.U16(entry + 8);  // a single SHORT sits in the value field itself
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

void ApplyExifOrientation(DecodedImage& image, int orientation) {
    if (orientation < 2 || orientation > 8) return;
    const int w = image.width, h = image.height;
    const bool swaps = orientation >= 5;
    const int outW = swaps ? h : w;
    std::vector<uint32_t> out(image.argb.size());
    // Stored pixel (x, y) goes to (X, Y) of the upright picture.
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = image.argb.data() + size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            int X = x, Y = y;
            switch (orientation) {
                case 2: X = w - 1 - x; break;                  // mirrored left to right
                case 3: X = w - 1 - x; Y = h - 1 - y; break;   // upside down
                case 4: Y = h - 1 - y; break;                  // mirrored top to bottom
                case 5: X = y; Y = x; break;                   // transposed
                case 6: X = h - 1 - y; Y = x; break;           // needs a quarter turn clockwise
                case 7: X = h - 1 - y; Y = w - 1 - x; break;   // transverse
                case 8: X = y; Y = w - 1 - x; break;           // needs a quarter turn counter-clockwise
            }
            out[size_t(Y) * outW + X] = row[x];
        }
    }
    image.argb = std::move(out);
    if (swaps) std::swap(image.width, image.height);
}
