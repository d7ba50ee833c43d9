// Load and save times of a full-year gradebook (40 students, 60 columns with
// two average groups) on the headless backend: median milliseconds per laden
// (tiles built) and per speichern (backup included, without forcing the bytes
// onto the disk, which measures the disk and not the program).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "full_year_gradebook.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/grid_tiles.hpp"
#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "platform/image_font.hpp"
#include "platform/platform_context.hpp"
#include "gradebook/program_state.hpp"
#include "shell/media.hpp"

namespace {

using Uhr = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int wiederholungen = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    RegisterEmbeddedMedia();
    HeadlessBackend backend(1920, 1080);
    UseBackend(&backend);
    OpenGraphicsWindow(1920, 1080, 0, 60, 0);
    Bildschirmbreite = 1920;
    Bildschirmhoehe = 1080;
    Symbolschrift = LoadFontFrom(u"incbin::media/fonts/MySymbolFont.ttf", 48, kSmoothFont);
    Schrift32 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32, kSmoothFont);
    Schrift16 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 16, kSmoothFont);

    const auto ordner = std::filesystem::temp_directory_path() / ("rk-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(ordner / "Noten");
    const auto vorher = std::filesystem::current_path();
    std::filesystem::current_path(ordner);

    KlassendateiAufPlatteZwingen = false;
    auto klasse = Jahrgang();
    if (!klasse->speichern(u"")) {
        std::fprintf(stderr, "saving failed\n");
        return 1;
    }
    const Text datei = u"Noten/8c/8c Mathematik.slk";
    std::vector<double> laden, speichern;
    for (int n = 0; n < wiederholungen; ++n) {
        const auto t0 = Uhr::now();
        auto k = TSchulklasse::laden(datei);
        const auto t1 = Uhr::now();
        if (!k || !k->speichern(u"")) {
            std::fprintf(stderr, "round %d failed\n", n);
            return 1;
        }
        const auto t2 = Uhr::now();
        laden.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        speichern.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    const auto groesse = std::filesystem::file_size(ordner / "Noten/8c/8c Mathematik.slk");
    std::printf("gradebook: 40 students x 60 columns, %ju bytes, %d repetitions\n", static_cast<uintmax_t>(groesse),
                wiederholungen);
    std::printf("laden:     median %.2f ms (min %.2f, max %.2f)\n", Median(laden),
                *std::min_element(laden.begin(), laden.end()), *std::max_element(laden.begin(), laden.end()));
    std::printf("speichern: median %.2f ms (min %.2f, max %.2f), without flush to disk\n", Median(speichern),
                *std::min_element(speichern.begin(), speichern.end()),
                *std::max_element(speichern.begin(), speichern.end()));

    // Share of the load spent by the platform decoding the heading icons:
    // every heading tile loads its icon anew (no cache of embedded images).
    std::vector<double> symbole;
    for (int n = 0; n < wiederholungen; ++n) {
        const auto t0 = Uhr::now();
        for (int j = 1; j < klasse->Notenanzahl; ++j) LoadImageFrom(klasse->Zelle(0, j).Text[1], -1);
        symbole.push_back(std::chrono::duration<double, std::milli>(Uhr::now() - t0).count());
    }
    std::printf("of laden:  median %.2f ms for the %d heading icons (LoadImageFrom)\n", Median(symbole),
                klasse->Notenanzahl - 1);

    // The same save as the program does it, forcing the bytes onto the disk.
    KlassendateiAufPlatteZwingen = true;
    std::vector<double> synchron;
    for (int n = 0; n < std::min(wiederholungen, 10); ++n) {
        const auto t0 = Uhr::now();
        klasse->speichern(u"");
        synchron.push_back(std::chrono::duration<double, std::milli>(Uhr::now() - t0).count());
    }
    std::printf("speichern: median %.2f ms with flush to disk (for reference)\n", Median(synchron));

    std::filesystem::current_path(vorher);
    std::filesystem::remove_all(ordner);
    return 0;
}
