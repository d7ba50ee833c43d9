// PNG through libpng: reading every colour type and bit depth (with tRNS and
// interlacing) into 8-bit ARGB without gamma changes, writing 8-bit RGB/RGBA
// at a chosen compression level.
#include <png.h>
#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstring>
#include "platform/image_codecs.hpp"

bool LooksLikePng(std::span<const unsigned char> bytes) {
    return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
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

struct MemoryReader {
    const unsigned char* data;
    size_t size, at;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->at) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->at, length);
    reader->at += length;
}

// Everything that libpng may leave by longjmp lives here; the caller owns all
// C++ objects so that no destructor is skipped. The simplified read API is
// not used: it garbles interlaced 16-bit images and applies gamma.
bool ReadRows(png_structp png, png_infop info, DecodedImage& image, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (!ImageSizeAcceptable(width, height)) return false;
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    image.hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
    png_set_expand(png);  // palette to RGB, small gray depths to 8 bits, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if (!image.hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    // R,G,B,A bytes become B,G,R,A, the uint32 0xAARRGGBB on little-endian.
    if (std::endian::native == std::endian::little)
        png_set_bgr(png);
    else
        png_set_swap_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) return false;
    try {
        image.argb.resize(static_cast<size_t>(width) * height);
        rows.resize(height);
    } catch (...) {
        return false;
    }
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(image.argb.data() + static_cast<size_t>(y) * width);
    png_read_image(png, rows.data());
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    return true;
}

// Everything that libpng may leave by longjmp lives here; the caller owns all
// C++ objects so that no destructor is skipped.
bool WriteRows(png_structp png, png_infop info, const DecodedImage& img, bool withAlpha, int level,
               unsigned char* row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, img.width, img.height, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    // Without compression the row filters only cost time: stored bytes do
    // not shrink however well a filter predicts them.
    if (level == 0) png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
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

bool DecodePng(std::span<const unsigned char> bytes, DecodedImage& out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    MemoryReader reader{bytes.data(), bytes.size(), 0};
    png_set_read_fn(png, &reader, ReadFromMemory);
    DecodedImage image;
    std::vector<png_bytep> rows;
    bool ok = ReadRows(png, info, image, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (ok) out = std::move(image);
    return ok;
}

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
