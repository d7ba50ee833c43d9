// libFuzzer target of the JPEG orientation reader: any APP1 payload gives an
// orientation 1..8, and turning a small picture by it keeps every pixel.
#include <cstdint>
#include <span>

#include "platform/exif_orientation.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int o = ExifOrientation(std::span<const unsigned char>(data, size));
    if (o < 1 || o > 8) __builtin_trap();
    DecodedImage img;
    img.width = 3;
    img.height = 2;
    img.argb = {1, 2, 3, 4, 5, 6};
    ApplyExifOrientation(img, o);
    const bool quer = o >= 5;
    if (img.width != (quer ? 2 : 3) || img.height != (quer ? 3 : 2) || img.argb.size() != 6) __builtin_trap();
    uint32_t summe = 0;
    for (uint32_t p : img.argb) summe += p;
    if (summe != 21) __builtin_trap();
    return 0;
}
