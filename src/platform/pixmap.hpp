// Pixel buffers in memory: loading from image files or embedded resources,
// pixel access as 0xAARRGGBB, and saving as PNG.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>
#include "platform/text.hpp"

struct Pixmap {
    int width = 0, height = 0;
    int format = 3;  // 3: 24-bit, bytes B,G,R; 4: 32-bit, bytes B,G,R,A
    int pitch = 0;   // bytes from one row to the next
    std::vector<unsigned char> pixels;
};
using TPixmap = std::shared_ptr<Pixmap>;

// Decodes a PNG, JPEG, BMP or TGA file or "incbin::" resource; format 4 when
// the source has alpha, else 3, rows aligned to 4 bytes. Null on failure.
TPixmap LoadPixmapFrom(const Text& pathOrIncbin);
// The same for a picture that is only needed at a small size: a JPEG is
// decoded at the smallest scale whose shorter side still reaches minShortSide
// (see DecodeImage). JPEGs come out upright by their Exif orientation.
TPixmap LoadPixmapFrom(const Text& pathOrIncbin, int minShortSide);

// A zeroed buffer whose pitch is width x bytes per pixel rounded up to a
// multiple of rowAlign (values below 1 count as 1). Null for a format other
// than 3 or 4 or a size the image decoders would refuse.
TPixmap CreatePixmap(int width, int height, int format, int rowAlign);

// 0xAARRGGBB; alpha 0xFF in format 3. 0 for a null buffer or outside it.
uint32_t ReadPixel(const TPixmap& pixmap, int x, int y);

// Format 3 keeps only the colour; writes outside the buffer are ignored.
void WritePixel(const TPixmap& pixmap, int x, int y, uint32_t argb);

// Writes an RGB PNG (format 3) or RGBA PNG (format 4) with zlib level 0..9.
// The file is written beside its name (path + ".neu", a leftover or a link
// there removed first), forced to the disk, renamed over path and the folder
// forced to the disk, so an interrupted save leaves the old file or the new
// one, never a part, and a true result survives a power cut. On failure the
// old file is untouched and nothing is left beside it. Anything but a plain
// file at path is refused.
bool SavePixmapAsPNG(const TPixmap& pixmap, const Text& path, int compression);
