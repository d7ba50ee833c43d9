// Format detection and the size limits shared by all image decoders.
#include "platform/image_decode.hpp"
#include "platform/image_codecs.hpp"

bool ImageSizeAcceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

bool DecodeImage(std::span<const unsigned char> bytes, DecodedImage& out, int minShortSide) {
    out = DecodedImage{};
    bool ok = false;
    try {  // a refused allocation of a large picture is a failed decode
        if (LooksLikePng(bytes))
            ok = DecodePng(bytes, out);
        else if (LooksLikeJpeg(bytes))
            ok = DecodeJpeg(bytes, out, minShortSide);
        else if (LooksLikeBmp(bytes))
            ok = DecodeBmp(bytes, out);
        else
            ok = DecodeTga(bytes, out);
    } catch (...) {
        ok = false;
    }
    if (!ok) out = DecodedImage{};
    return ok;
}
