// libFuzzer target of the TGA decoder: any bytes decode to a consistent image
// of an accepted size or fail with the image left empty.
#include <cstdint>
#include <span>

#include "platform/image_codecs.hpp"
#include "fuzz_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage img;
    const bool ok = DecodeTga(std::span<const unsigned char>(data, size), img);
    PruefeBild(ok, img);
    return 0;
}
