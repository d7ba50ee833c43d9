// Pixel buffers: conversion between decoded images and B,G,R(,A) rows.
#include "platform/pixmap.hpp"
#include <filesystem>
#include <string_view>
#include <system_error>
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/image_decode.hpp"
#include "platform/paths.hpp"
#include "platform/resources.hpp"
#include "platform/sealed_files.hpp"

TPixmap CreatePixmap(int width, int height, int format, int rowAlign) {
    if ((format != 3 && format != 4) || !ImageSizeAcceptable(width, height)) return nullptr;
    const int64_t align = rowAlign < 1 ? 1 : rowAlign;
    if (align > 4096) return nullptr;
    const int64_t pitch = (int64_t{width} * format + align - 1) / align * align;
    try {
        auto pixmap = std::make_shared<Pixmap>();
        pixmap->width = width;
        pixmap->height = height;
        pixmap->format = format;
        pixmap->pitch = static_cast<int>(pitch);
        pixmap->pixels.assign(static_cast<size_t>(pitch * height), 0);
        return pixmap;
    } catch (...) {
        return nullptr;
    }
}

TPixmap LoadPixmapFrom(const Text& pathOrIncbin) { return LoadPixmapFrom(pathOrIncbin, 0); }

TPixmap LoadPixmapFrom(const Text& pathOrIncbin, int minShortSide) {
    std::vector<unsigned char> bytes;
    if (!ReadSourceBytes(pathOrIncbin, bytes) || !OpenIfSealed(bytes, pathOrIncbin)) return nullptr;
    DecodedImage image;
    if (!DecodeImage(bytes, image, minShortSide)) return nullptr;
    bytes = {};
    TPixmap pixmap = CreatePixmap(image.width, image.height, image.hasAlpha ? 4 : 3, 4);
    if (!pixmap) return nullptr;
    const uint32_t* src = image.argb.data();
    for (int y = 0; y < image.height; ++y) {
        unsigned char* p = pixmap->pixels.data() + static_cast<size_t>(y) * pixmap->pitch;
        for (int x = 0; x < image.width; ++x) {
            uint32_t c = *src++;
            *p++ = static_cast<unsigned char>(c);
            *p++ = static_cast<unsigned char>(c >> 8);
            *p++ = static_cast<unsigned char>(c >> 16);
            if (pixmap->format == 4) *p++ = static_cast<unsigned char>(c >> 24);
        }
    }
    return pixmap;
}

namespace {

// The first byte of pixel (x, y), or nullptr when it is not in the buffer.
unsigned char* PixelAt(const TPixmap& pixmap, int x, int y) {
    if (!pixmap || x < 0 || y < 0 || x >= pixmap->width || y >= pixmap->height) return nullptr;
    size_t at = static_cast<size_t>(y) * pixmap->pitch + static_cast<size_t>(x) * pixmap->format;
    if (at + pixmap->format > pixmap->pixels.size()) return nullptr;  // a buffer assembled by hand
    return pixmap->pixels.data() + at;
}

}  // namespace

uint32_t ReadPixel(const TPixmap& pixmap, int x, int y) {
    const unsigned char* p = PixelAt(pixmap, x, y);
    if (!p) return 0;
    uint32_t alpha = pixmap->format == 4 ? p[3] : 0xFFu;
    return (alpha << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

void WritePixel(const TPixmap& pixmap, int x, int y, uint32_t argb) {
    unsigned char* p = PixelAt(pixmap, x, y);
    if (!p) return;
    p[0] = static_cast<unsigned char>(argb);
    p[1] = static_cast<unsigned char>(argb >> 8);
    p[2] = static_cast<unsigned char>(argb >> 16);
    if (pixmap->format == 4) p[3] = static_cast<unsigned char>(argb >> 24);
}

bool SavePixmapAsPNG(const TPixmap& pixmap, const Text& path, int compression) {
    if (!pixmap || (pixmap->format != 3 && pixmap->format != 4)) return false;
    std::vector<unsigned char> png;
    try {
        DecodedImage image;
        image.width = pixmap->width;
        image.height = pixmap->height;
        image.argb.resize(static_cast<size_t>(pixmap->width) * pixmap->height);
        for (int y = 0; y < pixmap->height; ++y)
            for (int x = 0; x < pixmap->width; ++x)
                image.argb[static_cast<size_t>(y) * pixmap->width + x] = ReadPixel(pixmap, x, y);
        if (!EncodePng(image, pixmap->format == 4, compression, png)) return false;
    } catch (...) {
        return false;
    }
    // Replaced as the class files are: a crash leaves the old portrait or the
    // new one, and a true result survives a power cut. Portraits are data
    // files: sealed while encryption is on.
    return WriteDataFile(path, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()), true);
}
