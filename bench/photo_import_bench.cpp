// Importing a class's photos from a camera series: 30 JPEGs of 4000 x 3000
// pixels as a camera writes them (4:2:0 chroma, quality 92, an Exif block with
// the orientation, fine detail and sensor noise), generated here, then the
// whole import through ImportiereBilder on the headless backend, the file
// requesters answered by a stand-in "zenity". Prints the wall time in all and
// per photo. Run by hand: rk_photo_import_bench [photos].
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.hpp"
#include "headless_start.hpp"
#include "temp_work_folder.hpp"
#include "year_gradebook.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/graphics.hpp"
#include "platform/image_decode.hpp"
#include "platform/image_font.hpp"
#include "platform/pixmap.hpp"
#include "platform/resources.hpp"
#include "tiles/info_box.hpp"

using namespace bench;

namespace {

using Uhr = std::chrono::steady_clock;

// A 4000 x 3000 scene: a lit background, a face-sized bright oval, fine
// texture and noise, so that the entropy coder has as much work as with a
// real photo. nr shifts the scene so no two files are alike.
DecodedImage Kamerabild(int nr, unsigned& zufall) {
    const int w = 4000, h = 3000;
    DecodedImage img;
    img.width = w;
    img.height = h;
    img.argb.resize(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            zufall = zufall * 1103515245u + 12345u;
            const int rauschen = int((zufall >> 16) & 15) - 8;
            const double dx = (x - 2000.0 - nr * 20) / 900.0, dy = (y - 1400.0) / 1200.0;
            const bool gesicht = dx * dx + dy * dy < 1.0;
            const int muster = ((x / 3 + y / 5 + nr) % 7) * 3;
            int r = gesicht ? 205 : 60 + y / 40, g = gesicht ? 160 : 80 + x / 60, b = gesicht ? 140 : 110;
            r += rauschen + muster, g += rauschen + muster / 2, b += rauschen;
            img.argb[size_t(y) * w + x] = 0xFF000000u | (uint32_t(std::clamp(r, 0, 255)) << 16) |
                                          (uint32_t(std::clamp(g, 0, 255)) << 8) | uint32_t(std::clamp(b, 0, 255));
        }
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    const int anzahl = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    HeadlessBackend backend(1920, 1080);
    StartHeadless(backend);
    TInfoBox::LadeSchriften();
    Taktgeber = CreateFrameTimer(50);
    BaueKlassenmenues();

    const TempWorkFolder arbeitsordner("rk-photo-bench");
    if (!arbeitsordner.ok()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const auto ordner = arbeitsordner.path();
    const auto fotos = ordner / "DCIM";
    std::filesystem::create_directories(ordner / "Noten");
    std::filesystem::create_directories(fotos);

    std::printf("writing %d camera JPEGs of 4000 x 3000 ...\n", anzahl);
    unsigned zufall = 1;
    uintmax_t bytes = 0;
    std::vector<unsigned char> jpeg;
    for (int i = 1; i <= anzahl; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%04d.JPG", i);
        if (!EncodeJpeg(Kamerabild(i, zufall), 92, jpeg, i % 5 == 0 ? 6 : 1)) return 1;
        std::ofstream(fotos / name, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
        bytes += jpeg.size();
    }

    auto klasse = TSchulklasse::bauen({u"9b", u"Biologie"}, 0);
    for (int i = 1; i <= anzahl; ++i) {
        char nach[32];
        std::snprintf(nach, sizeof nach, "Schüler%02d", i);
        SchuelerAnhaengen(*klasse, i, {TextFromUtf8(nach), u"Vorname"}, [](int) { return Text(); });
    }

    // The requesters: the first and the last photo of the series.
    char letztes[32];
    std::snprintf(letztes, sizeof letztes, "IMG_%04d.JPG", anzahl);
    std::ofstream(ordner / "antworten") << (fotos / "IMG_0001.JPG").string() << "\n" << (fotos / letztes).string() << "\n";
    std::ofstream(ordner / "zenity") << "#!/bin/sh\nPATH=/usr/bin:/bin\nn=$(cat zaehler 2>/dev/null || echo 0)\n"
                                        "n=$((n+1)); echo $n > zaehler\nsed -n \"${n}p\" antworten\n";
    std::filesystem::permissions(ordner / "zenity", std::filesystem::perms::owner_all);
    setenv("PATH", ordner.c_str(), 1);

    const auto t0 = Uhr::now();
    const std::clock_t c0 = std::clock();
    klasse->ImportiereBilder();
    const double ms = MsBetween(t0, Uhr::now());
    const double cpuMs = 1000.0 * (std::clock() - c0) / CLOCKS_PER_SEC;

    int fertig = 0;
    for (const auto& e : std::filesystem::directory_iterator(ordner / "Noten/9b/Bilder")) {
        TPixmap p = LoadPixmapFrom(TextFromUtf8(e.path().string()));
        if (p && p->width == 360 && p->height == 360) ++fertig;
    }
    std::printf("photos: %d JPEGs of 4000 x 3000, %.1f MB in all\n", anzahl, bytes / 1e6);
    std::printf("import: %.0f ms in all, %.1f ms per photo (requesters, decoding, portrait, PNG written and "
                "flushed), %d portraits of 360 x 360 written\n",
                ms, ms / anzahl, fertig);
    std::printf("        %.0f ms of processor time in this process (the rest: waiting for the disk and for "
                "other processes)\n", cpuMs);
    return fertig == anzahl ? 0 : 1;
}
