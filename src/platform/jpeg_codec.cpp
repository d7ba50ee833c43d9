// JPEG through libjpeg-turbo: grayscale, YCbCr/RGB and CMYK/YCCK files,
// decoded at a reduced scale on request and turned upright by their Exif
// orientation; writing camera-like JPEGs. The error manager returns by longjmp
// instead of ending the program.
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdlib>
#include "platform/exif_orientation.hpp"
#include "platform/image_codecs.hpp"

bool LooksLikeJpeg(std::span<const unsigned char> bytes) {
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

namespace {

struct ErrorTrap {
    jpeg_error_mgr mgr;  // first member: libjpeg hands us a pointer to it
    jmp_buf jump;
};

void LeaveByJump(j_common_ptr cinfo) { longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1); }
void StayQuiet(j_common_ptr) {}

uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }

// Everything that libjpeg may leave by longjmp lives here; the caller owns the
// C++ objects so that no destructor is skipped.
bool ReadFrames(jpeg_decompress_struct& cinfo, ErrorTrap& trap, std::span<const unsigned char> bytes,
                int minShortSide, std::vector<unsigned char>& row, std::vector<uint32_t>& pixels, int& orientation) {
    if (setjmp(trap.jump)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    // The claimed size decides, before anything is allocated for the pixels.
    if (!ImageSizeAcceptable(cinfo.image_width, cinfo.image_height)) return false;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1) continue;
        orientation = ExifOrientation({m->data, m->data_length});
        if (orientation != 1) break;
    }
    bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (minShortSide > 0) {
        // libjpeg scales by n/8 inside the inverse DCT: at 1/8 only the DC
        // coefficient of each block is used, which is several times faster.
        cinfo.scale_denom = 8;
        for (unsigned n = 1; n <= 8; ++n) {
            cinfo.scale_num = n;
            jpeg_calc_output_dimensions(&cinfo);
            if (std::min(cinfo.output_width, cinfo.output_height) >= static_cast<unsigned>(minShortSide)) break;
        }
    }
    jpeg_start_decompress(&cinfo);
    const size_t width = cinfo.output_width;
    if (!ImageSizeAcceptable(cinfo.output_width, cinfo.output_height)) return false;
    try {
        row.resize(width * cinfo.output_components);
        pixels.resize(width * cinfo.output_height);
    } catch (...) {
        return false;
    }
    // Photoshop stores CMYK inverted and marks such files with an Adobe marker.
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        uint32_t* dst = pixels.data() + cinfo.output_scanline * width;
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) return false;
        const unsigned char* p = row.data();
        if (cmyk) {
            for (size_t x = 0; x < width; ++x, p += 4) {
                unsigned c = p[0], m = p[1], y = p[2], k = p[3];
                if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
                dst[x] = Rgb(c * k / 255, m * k / 255, y * k / 255);
            }
        } else {
            for (size_t x = 0; x < width; ++x, p += 3) dst[x] = Rgb(p[0], p[1], p[2]);
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

}  // namespace

bool DecodeJpeg(std::span<const unsigned char> bytes, DecodedImage& out, int minShortSide) {
    if (bytes.size() > ULONG_MAX) return false;
    jpeg_decompress_struct cinfo{};
    ErrorTrap trap{};
    cinfo.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = LeaveByJump;
    trap.mgr.output_message = StayQuiet;
    std::vector<unsigned char> row;
    std::vector<uint32_t> pixels;
    int orientation = 1;
    bool ok = ReadFrames(cinfo, trap, bytes, minShortSide, row, pixels, orientation);
    int width = static_cast<int>(cinfo.output_width), height = static_cast<int>(cinfo.output_height);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) return false;
    out.width = width;
    out.height = height;
    out.hasAlpha = false;
    out.argb = std::move(pixels);
    ApplyExifOrientation(out, orientation);
    return true;
}

namespace {

// Everything that libjpeg may leave by longjmp lives here (see ReadFrames).
bool WriteFrames(jpeg_compress_struct& cinfo, ErrorTrap& trap, const DecodedImage& img, int quality,
                 const std::vector<unsigned char>& exif, unsigned char** buffer, unsigned long* size,
                 std::vector<unsigned char>& row) {
    if (setjmp(trap.jump)) return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = static_cast<JDIMENSION>(img.width);
    cinfo.image_height = static_cast<JDIMENSION>(img.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);  // YCbCr with 2x2 chroma subsampling
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    if (!exif.empty()) jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    const uint32_t* src = img.argb.data();
    while (cinfo.next_scanline < cinfo.image_height) {
        unsigned char* p = row.data();
        for (int x = 0; x < img.width; ++x) {
            const uint32_t c = *src++;
            *p++ = static_cast<unsigned char>(c >> 16);
            *p++ = static_cast<unsigned char>(c >> 8);
            *p++ = static_cast<unsigned char>(c);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

// An Exif block as cameras write it, reduced to IFD0 with the orientation tag
// (big-endian TIFF, one entry).
std::vector<unsigned char> ExifWithOrientation(int orientation) {
    return {'E', 'x', 'i', 'f', 0, 0,                                  // Exif header
            'M', 'M', 0, 42, 0, 0, 0, 8,                               // TIFF header, IFD0 at 8
            0, 1,                                                      // one entry
            0x01, 0x12, 0, 3, 0, 0, 0, 1,                              // orientation, SHORT, count 1
            0, static_cast<unsigned char>(orientation), 0, 0,          // value
            0, 0, 0, 0};                                               // no next IFD
}

}  // namespace

bool EncodeJpeg(const DecodedImage& img, int quality, std::vector<unsigned char>& out, int exifOrientation) {
    out.clear();
    if (!ImageSizeAcceptable(img.width, img.height) || img.argb.size() != static_cast<size_t>(img.width) * img.height)
        return false;
    std::vector<unsigned char> row(static_cast<size_t>(img.width) * 3);
    jpeg_compress_struct cinfo{};
    ErrorTrap trap{};
    cinfo.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = LeaveByJump;
    trap.mgr.output_message = StayQuiet;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const std::vector<unsigned char> exif =
        exifOrientation >= 1 && exifOrientation <= 8 ? ExifWithOrientation(exifOrientation) : std::vector<unsigned char>{};
    bool ok = WriteFrames(cinfo, trap, img, std::clamp(quality, 1, 100), exif, &buffer, &size, row);
    jpeg_destroy_compress(&cinfo);
    if (ok && buffer) {
        try {
            out.assign(buffer, buffer + size);
        } catch (...) {
            ok = false;
        }
    }
    // After a failed compression the buffer may already have been replaced
    // inside libjpeg; leaving it is safer than freeing a stale pointer.
    if (ok) std::free(buffer);
    return ok && !out.empty();
}
