// Inside of an image handle: its size and where its texels lie. Internal.
#pragma once
#include <memory>

#include "platform/texture_store.hpp"

struct ImageData {
    int width = 0, height = 0;
    TexturePlace place;
    std::shared_ptr<TextureSource> own;  // set when the image has a texture of its own

    ImageData() = default;
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;
    // The last handle is gone: its atlas place is given back.
    ~ImageData();
};
