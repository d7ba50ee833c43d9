// PNG through libpng: reading with the simplified API (every colour type,
// bit depth, tRNS and interlacing), writing 8-bit RGB/RGBA at a chosen level.
#include <png.h>
#include <algorithm>
#include <bit>
#include <csetjmp>
#include "platform/image_codecs.hpp"

bool LooksLikePng(std::span<const unsigned char> bytes) {
    return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

bool DecodePng(std::span<const unsigned char> bytes, DecodedImage& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        png_image_free(&image);
        return false;
    }
    if (!ImageSizeAcceptable(image.width, image.height)) {
        png_image_free(&image);
        return false;
    }
    // tRNS makes libpng report an alpha channel here as well.
    bool hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    // Bytes in memory order B,G,R,A are the uint32 0xAARRGGBB on little-endian.
    image.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    // Without this flag 16-bit files lacking gAMA would be taken as linear light.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    std::vector<uint32_t> pixels;
    try {
        pixels.resize(static_cast<size_t>(image.width) * image.height);
    } catch (...) {
        png_image_free(&image);
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    png_image_free(&image);
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.hasAlpha = hasAlpha;
    out.argb = std::move(pixels);
    return true;
}

namespace {

void SilentError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void SilentWarning(png_structp, png_const_charp) {}

void AppendToVector(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        out->insert(out->end(), data, data + length);
    } catch (...) {
        failed = true;
    }
    // Outside the try block: png_error leaves by longjmp.
    if (failed) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

// Everything that libpng may leave by longjmp lives here; the caller owns all
// C++ objects so that no destructor is skipped.
bool WriteRows(png_structp png, png_infop info, const DecodedImage& img, bool withAlpha, int level,
               unsigned char* row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, img.width, img.height, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_write_info(png, info);
    const uint32_t* src = img.argb.data();
    for (int y = 0; y < img.height; ++y) {
        unsigned char* p = row;
        for (int x = 0; x < img.width; ++x) {
            uint32_t c = *src++;
            *p++ = static_cast<unsigned char>(c >> 16);
            *p++ = static_cast<unsigned char>(c >> 8);
            *p++ = static_cast<unsigned char>(c);
            if (withAlpha) *p++ = static_cast<unsigned char>(c >> 24);
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool EncodePng(const DecodedImage& img, bool withAlpha, int compression, std::vector<unsigned char>& out) {
    out.clear();
    if (!ImageSizeAcceptable(img.width, img.height) ||
        img.argb.size() != static_cast<size_t>(img.width) * img.height)
        return false;
    std::vector<unsigned char> row(static_cast<size_t>(img.width) * (withAlpha ? 4 : 3));
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    png_set_write_fn(png, &out, AppendToVector, FlushNothing);
    bool ok = WriteRows(png, info, img, withAlpha, std::clamp(compression, 0, 9), row.data());
    png_destroy_write_struct(&png, &info);
    if (!ok) out.clear();
    return ok;
}
