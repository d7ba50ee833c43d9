// The portrait cache: by path and size, with the file's stamp to notice a
// changed file, and a use counter for the one to drop.
#include "gradebook/portrait_cache.hpp"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "gradebook/portrait_preparation.hpp"
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
    if (!z) return nullptr;
    const int bpp = q->format == 4 ? 4 : 3;
    // The source columns of each target column once; then row by row through
    // the source, as it lies in memory.
    std::vector<int> x0(static_cast<size_t>(s)), x1(static_cast<size_t>(s));
    for (int x = 0; x < s; ++x) {
        x0[size_t(x)] = x * q->width / s;
        x1[size_t(x)] = std::max(x0[size_t(x)] + 1, (x + 1) * q->width / s);
    }
    std::vector<unsigned> summe(size_t(s) * 3);
    for (int y = 0; y < s; ++y) {
        const int y0 = y * q->height / s, y1 = std::max(y0 + 1, (y + 1) * q->height / s);
        std::fill(summe.begin(), summe.end(), 0u);
        for (int yy = y0; yy < y1; ++yy) {
            const unsigned char* zeile = q->pixels.data() + size_t(yy) * q->pitch;
            unsigned* sm = summe.data();
            for (int x = 0; x < s; ++x, sm += 3) {
                const unsigned char* p = zeile + size_t(x0[size_t(x)]) * bpp;
                unsigned b = 0, g = 0, r = 0;
                for (int xx = x0[size_t(x)]; xx < x1[size_t(x)]; ++xx, p += bpp) {
                    b += p[0];
                    g += p[1];
                    r += p[2];
                }
                sm[0] += b;
                sm[1] += g;
                sm[2] += r;
            }
        }
        unsigned char* d = z->pixels.data() + size_t(y) * z->pitch;
        for (int x = 0; x < s; ++x, d += 3) {
            const unsigned n = unsigned((y1 - y0) * (x1[size_t(x)] - x0[size_t(x)]));
            for (int c = 0; c < 3; ++c) d[c] = static_cast<unsigned char>(summe[size_t(x) * 3 + size_t(c)] / n);
        }
    }
    return z;
}

TPixmap PortraitPixmap(const Text& pfad, int groesse) {
    return Verkleinert(LoadPixmapFrom(pfad, groesse), groesse);
}

namespace {
void Behalten(Cache& c, const std::pair<Text, int>& schluessel, const FileStamp& stempel, const TImage& bild) {
    c.bilder[schluessel] = Eintrag{stempel, bild, ++c.uhr};
    if (c.bilder.size() > size_t(kBehalteneBilder)) {
        auto aeltestes = std::min_element(c.bilder.begin(), c.bilder.end(), [](const auto& a, const auto& b) {
            return a.second.benutzt < b.second.benutzt;
        });
        c.bilder.erase(aeltestes);
    }
}
}  // namespace

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
    // Decoded ahead while the class is open, unless the file changed since.
    FileStamp vorbereitet;
    TPixmap pixmap;
    if (!VorbereitetesPortrait(pfad, groesse, vorbereitet, pixmap) || !(vorbereitet == stempel)) {
        ++c.gelesen;
        pixmap = PortraitPixmap(pfad, groesse);
    }
    TImage bild = LoadImageFrom(pixmap);
    if (!bild) {
        c.bilder.erase(schluessel);
        return nullptr;
    }
    Behalten(c, schluessel, stempel, bild);
    return bild;
}

int VorbereitetePortraitsUebernehmen(int hoechstens) {
    Cache& c = Bilder();
    std::vector<TImage> neu;
    for (const VorbereitetesBild& v : FertigeVorbereitete(hoechstens)) {
        FileStamp stempel;
        const auto schluessel = std::make_pair(v.pfad, v.groesse);
        if (!FileStampOf(v.pfad, stempel) || !(stempel == v.stempel)) continue;
        const auto it = c.bilder.find(schluessel);
        if (it != c.bilder.end() && it->second.stempel == stempel) continue;
        if (TImage bild = LoadImageFrom(v.bild)) {
            Behalten(c, schluessel, stempel, bild);
            neu.push_back(bild);
        }
    }
    UploadImagesAhead(neu);
    return int(neu.size());
}

Portraitzahlen PortraitZahlen() { return {int(Bilder().bilder.size()), Bilder().gelesen}; }

void PortraitsVergessen() {
    // Pictures decoded ahead for the plan go too; it decodes anew after unlocking.
    VorbereitungBeenden();
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
