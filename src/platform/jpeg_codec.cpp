// JPEG through libjpeg-turbo: grayscale, YCbCr/RGB and CMYK/YCCK files, with
// an error manager that returns by longjmp instead of ending the program.
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
#include <climits>
#include <csetjmp>
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
                std::vector<unsigned char>& row, std::vector<uint32_t>& pixels) {
    if (setjmp(trap.jump)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    if (!ImageSizeAcceptable(cinfo.image_width, cinfo.image_height)) return false;
    bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
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

bool DecodeJpeg(std::span<const unsigned char> bytes, DecodedImage& out) {
    if (bytes.size() > ULONG_MAX) return false;
    jpeg_decompress_struct cinfo{};
    ErrorTrap trap{};
    cinfo.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = LeaveByJump;
    trap.mgr.output_message = StayQuiet;
    std::vector<unsigned char> row;
    std::vector<uint32_t> pixels;
    bool ok = ReadFrames(cinfo, trap, bytes, row, pixels);
    int width = static_cast<int>(cinfo.output_width), height = static_cast<int>(cinfo.output_height);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) return false;
    out.width = width;
    out.height = height;
    out.hasAlpha = false;
    out.argb = std::move(pixels);
    return true;
}
