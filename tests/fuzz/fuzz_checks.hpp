// Checks shared by the fuzz targets; a broken rule stops the run with a trap
// so that libFuzzer keeps the input.
#pragma once
#include <cstdint>

#include "platform/image_decode.hpp"

inline void PruefeBild(bool ok, const DecodedImage& img) {
    if (!ok) {
        if (img.width != 0 || img.height != 0 || !img.argb.empty()) __builtin_trap();
        return;
    }
    if (img.width < 1 || img.height < 1 || !ImageSizeAcceptable(img.width, img.height)) __builtin_trap();
    if (img.argb.size() != static_cast<size_t>(img.width) * static_cast<size_t>(img.height)) __builtin_trap();
}
