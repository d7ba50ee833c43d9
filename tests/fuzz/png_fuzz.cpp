// libFuzzer target of the PNG decoder: any bytes decode to a consistent image
// of an accepted size or fail with the image left empty.
#include <cstdint>
#include <span>

#include "fuzz_checks.hpp"
#include "platform/image_codecs.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage img;
    const bool ok = DecodePng(std::span<const unsigned char>(data, size), img);
    PruefeBild(ok, img);
    return 0;
}
