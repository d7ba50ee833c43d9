// The portrait cache: by path and size, with the file's stamp to notice a
// changed file, and a use counter for the one to drop.
#include "gradebook/portrait_cache.hpp"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/files.hpp"

namespace {
struct Eintrag {
    FileStamp stempel;
    TImage bild;
    unsigned long long benutzt = 0;
};

struct Cache {
    std::map<std::pair<Text, int>, Eintrag> bilder;
    unsigned long long uhr = 0;
    long long gelesen = 0;
    const void* halter = nullptr;
    std::function<void()> vergessen;
};

Cache& Bilder() {
    static Cache c;
    return c;
}
}  // namespace

TPixmap Verkleinert(const TPixmap& q, int s) {
    if (!q || s < 1 || q->width <= s || q->height <= s) return q;
    TPixmap z = CreatePixmap(s, s, 3, 4);
    const int bpp = q->format == 4 ? 4 : 3;
    for (int y = 0; y < s; ++y) {
        const int y0 = y * q->height / s, y1 = std::max(y0 + 1, (y + 1) * q->height / s);
        for (int x = 0; x < s; ++x) {
            const int x0 = x * q->width / s, x1 = std::max(x0 + 1, (x + 1) * q->width / s);
            unsigned sum[3] = {0, 0, 0};
            for (int yy = y0; yy < y1; ++yy) {
                const unsigned char* p = q->pixels.data() + size_t(yy) * q->pitch + size_t(x0) * bpp;
                for (int xx = x0; xx < x1; ++xx, p += bpp)
                    for (int c = 0; c < 3; ++c) sum[c] += p[c];
            }
            const unsigned n = unsigned((y1 - y0) * (x1 - x0));
            unsigned char* d = z->pixels.data() + size_t(y) * z->pitch + size_t(x) * 3;
            for (int c = 0; c < 3; ++c) d[c] = static_cast<unsigned char>(sum[c] / n);
        }
    }
    return z;
}

TImage PortraitBild(const Text& pfad, int groesse) {
    Cache& c = Bilder();
    FileStamp stempel;
    const auto schluessel = std::make_pair(pfad, groesse);
    if (pfad.empty() || !FileStampOf(pfad, stempel)) {
        c.bilder.erase(schluessel);
        return nullptr;
    }
    auto it = c.bilder.find(schluessel);
    if (it != c.bilder.end() && it->second.stempel == stempel) {
        it->second.benutzt = ++c.uhr;
        return it->second.bild;
    }
    ++c.gelesen;
    TImage bild = LoadImageFrom(Verkleinert(LoadPixmapFrom(pfad, groesse), groesse));
    if (!bild) {
        c.bilder.erase(schluessel);
        return nullptr;
    }
    c.bilder[schluessel] = Eintrag{stempel, bild, ++c.uhr};
    if (c.bilder.size() > size_t(kBehalteneBilder)) {
        auto aeltestes = std::min_element(c.bilder.begin(), c.bilder.end(), [](const auto& a, const auto& b) {
            return a.second.benutzt < b.second.benutzt;
        });
        c.bilder.erase(aeltestes);
    }
    return bild;
}

Portraitzahlen PortraitZahlen() { return {int(Bilder().bilder.size()), Bilder().gelesen}; }

void PortraitsVergessen() {
    Cache& c = Bilder();
    c.bilder.clear();
    if (c.vergessen) c.vergessen();
}

void PortraitHalterSetzen(const void* halter, std::function<void()> vergessen) {
    Bilder().halter = halter;
    Bilder().vergessen = std::move(vergessen);
}

void PortraitHalterLoesen(const void* halter) {
    if (Bilder().halter != halter) return;
    Bilder().halter = nullptr;
    Bilder().vergessen = nullptr;
}
