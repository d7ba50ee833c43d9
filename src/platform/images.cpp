// Images: decoded once, masked (sources without alpha lose the mask colour),
// premultiplied and placed in the shared atlas, or in a texture of their own
// when too large for it.
#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "platform/backend.hpp"
#include "platform/graphics.hpp"
#include "platform/image_data.hpp"
#include "platform/image_decode.hpp"
#include "platform/pixmap.hpp"
#include "platform/platform_context.hpp"
#include "platform/resources.hpp"
#include "platform/sealed_files.hpp"

namespace {
constexpr int kMaskedFlag = 2;

uint32_t Premultiplied(uint32_t argb) {
    const uint32_t a = argb >> 24;
    const uint32_t r = ((argb >> 16) & 0xFF) * a / 255;
    const uint32_t g = ((argb >> 8) & 0xFF) * a / 255;
    const uint32_t b = (argb & 0xFF) * a / 255;
    return r | (g << 8) | (b << 16) | (a << 24);
}

TImage MakeImage(const DecodedImage& img, int flags) {
    if (img.width <= 0 || img.height <= 0) return nullptr;
    const int* mask = Ctx().state.maskColor;
    const uint32_t maskRgb = (uint32_t(mask[0]) << 16) | (uint32_t(mask[1]) << 8) | uint32_t(mask[2]);
    const bool masked = (flags & kMaskedFlag) && !img.hasAlpha;
    std::vector<uint32_t> px(img.argb.size());
    for (size_t i = 0; i < px.size(); ++i) {
        uint32_t argb = img.argb[i];
        if (masked && (argb & 0xFFFFFF) == maskRgb) argb = 0;
        px[i] = Premultiplied(argb);
    }
    auto image = std::make_shared<ImageData>();
    image->width = img.width;
    image->height = img.height;
    TextureSource* page = nullptr;
    if (TextureStore::Allocate(img.width, img.height, image->place, page)) {
        TextureStore::WritePlace(*page, image->place, px.data(), true);
    } else {
        image->own = TextureStore::Create(img.width, img.height);
        image->own->pixels = std::move(px);
        image->place.texture = image->own->id;
        image->place.w = img.width;
        image->place.h = img.height;
        TextureStore::SetUV(image->place, *image->own);
    }
    return image;
}
}  // namespace

ImageData::~ImageData() {
    if (place.texture != 0) TextureStore::Release(place);
}

static TImage DecodeAndMake(const Text& source, int flags);

TImage LoadImageFrom(const Text& source, int flags) {
    // Embedded images never change: decode each once (per mask colour and
    // flags) and share it, instead of filling the atlas again on every load
    // of a gradebook whose 60 headings show the same few icons.
    static std::map<std::tuple<Text, int, uint32_t>, TImage> embedded;
    const int* m = Ctx().state.maskColor;
    const auto key = std::make_tuple(source, flags, (uint32_t(m[0]) << 16) | (uint32_t(m[1]) << 8) | uint32_t(m[2]));
    const bool eingebettet = IsEmbeddedSource(source);
    if (eingebettet) {
        auto it = embedded.find(key);
        if (it != embedded.end()) return it->second;
    }
    TImage image = DecodeAndMake(source, flags);
    if (eingebettet && image) embedded[key] = image;
    return image;
}

static TImage DecodeAndMake(const Text& source, int flags) {
    std::vector<unsigned char> bytes;
    // Portraits may be sealed; they open under the key held.
    if (!ReadSourceBytes(source, bytes) || !OpenIfSealed(bytes, source)) return nullptr;
    DecodedImage img;
    if (!DecodeImage(bytes, img)) {
        std::fprintf(stderr, "images: cannot decode %s\n", Utf8FromText(source).c_str());
        return nullptr;
    }
    return MakeImage(img, flags);
}

TImage LoadImageFrom(const std::shared_ptr<Pixmap>& pixmap, int flags) {
    if (!pixmap) return nullptr;
    DecodedImage img;
    img.width = pixmap->width;
    img.height = pixmap->height;
    img.hasAlpha = pixmap->format == 4;
    img.argb.resize(size_t(img.width) * img.height);
    const int bpp = pixmap->format == 4 ? 4 : 3;
    const size_t needed = img.height > 0 ? size_t(img.height - 1) * pixmap->pitch + size_t(img.width) * bpp : 0;
    if ((pixmap->format != 3 && pixmap->format != 4) || pixmap->pitch < img.width * bpp ||
        pixmap->pixels.size() < needed) {
        // A buffer assembled by hand: pixel by pixel, outside it black.
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) img.argb[size_t(y) * img.width + x] = ReadPixel(pixmap, x, y);
        return MakeImage(img, flags);
    }
    // Row by row: a portrait is made while a screen opens.
    for (int y = 0; y < img.height; ++y) {
        const unsigned char* p = pixmap->pixels.data() + size_t(y) * pixmap->pitch;
        uint32_t* d = img.argb.data() + size_t(y) * img.width;
        for (int x = 0; x < img.width; ++x, p += bpp)
            d[x] = (bpp == 4 ? uint32_t(p[3]) << 24 : 0xFF000000u) | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    return MakeImage(img, flags);
}

void SetImageMaskColor(int r, int g, int b) {
    int* m = Ctx().state.maskColor;
    m[0] = r; m[1] = g; m[2] = b;
}

void UploadImagesAhead(const std::vector<TImage>& images) {
    std::vector<uint32_t> ids;
    for (const TImage& image : images)
        if (image && image->place.texture != 0 &&
            std::find(ids.begin(), ids.end(), image->place.texture) == ids.end())
            ids.push_back(image->place.texture);
    if (!ids.empty()) CurrentBackend().UploadTextures(ids);
}

int ImageWidthOf(const TImage& image) { return image ? image->width : 0; }
int ImageHeightOf(const TImage& image) { return image ? image->height : 0; }
