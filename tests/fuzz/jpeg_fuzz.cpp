// libFuzzer target of the JPEG decoder, with and without the reduced decoding
// that portraits use: any bytes decode to a consistent image of an accepted
// size or fail with the image left empty.
#include <cstdint>
#include <span>

#include "fuzz_checks.hpp"
#include "platform/image_codecs.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte chooses the smallest side asked for (0: full size).
    const int kurz = data[0] % 4 == 0 ? 0 : 64 << (data[0] % 4);
    DecodedImage img;
    const bool ok = DecodeJpeg(std::span<const unsigned char>(data + 1, size - 1), img, kurz);
    PruefeBild(ok, img);
    return 0;
}
