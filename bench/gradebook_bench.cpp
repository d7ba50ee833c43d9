// Load and save times of a full-year gradebook (40 students, 60 columns with
// two average groups) on the headless backend: median milliseconds per laden
// (tiles built) and per speichern (backup included, without forcing the bytes
// onto the disk, which measures the disk and not the program).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.hpp"
#include "headless_start.hpp"
#include "temp_work_folder.hpp"
#include "full_year_gradebook.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/grade_types.hpp"
#include "platform/graphics.hpp"
#include "platform/file_bytes.hpp"
#include "platform/image_font.hpp"

using namespace bench;

namespace {

using Uhr = std::chrono::steady_clock;


}  // namespace

int main(int argc, char** argv) {
    const int wiederholungen = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    HeadlessBackend backend(1920, 1080);
    StartHeadless(backend);

    const TempWorkFolder ordner("rk-bench");
    if (!ordner.ok()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    std::filesystem::create_directories("Noten");

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
        laden.push_back(MsBetween(t0, t1));
        speichern.push_back(MsBetween(t1, t2));
    }
    const auto groesse = std::filesystem::file_size(ordner.path() / "Noten/8c/8c Mathematik.slk");
    std::printf("gradebook: 40 students x 60 columns, %ju bytes, %d repetitions\n", static_cast<uintmax_t>(groesse),
                wiederholungen);
    std::printf("laden:     median %.2f ms (min %.2f, max %.2f)\n", Median(laden), Minimum(laden), Maximum(laden));
    std::printf("speichern: median %.2f ms (min %.2f, max %.2f), without flush to disk\n", Median(speichern),
                Minimum(speichern), Maximum(speichern));

    // Share of the load spent by the platform decoding the heading icons:
    // every heading tile loads its icon anew (no cache of embedded images).
    std::vector<double> symbole;
    for (int n = 0; n < wiederholungen; ++n) {
        const auto t0 = Uhr::now();
        for (int j = 1; j < klasse->Notenanzahl; ++j) LoadImageFrom(klasse->Zelle(0, j).Text[1], -1);
        symbole.push_back(MsBetween(t0, Uhr::now()));
    }
    std::printf("of laden:  median %.2f ms for the %d heading icons (LoadImageFrom)\n", Median(symbole),
                klasse->Notenanzahl - 1);

    // The same save as the program does it, forcing the bytes onto the disk.
    KlassendateiAufPlatteZwingen = true;
    std::vector<double> synchron;
    for (int n = 0; n < std::min(wiederholungen, 10); ++n) {
        const auto t0 = Uhr::now();
        klasse->speichern(u"");
        synchron.push_back(MsBetween(t0, Uhr::now()));
    }
    std::printf("speichern: median %.2f ms with flush to disk (for reference)\n", Median(synchron));

    // Damaged files as the program meets them from the catalogue: read,
    // refused before anything is built for them.
    {
        std::string zehnMB = KlassendateiBytes(*klasse);
        const size_t name = zehnMB.find("C;X1;Y5;K\"") + 10;
        zehnMB.insert(name, std::string(10u << 20, 'x'));
        std::string viele = KlassendateiBytes(*klasse);
        const std::string anzahl = "\"40 Sch";
        viele.replace(viele.find(anzahl), anzahl.size(), "\"500000 Sch");
        const std::pair<const char*, std::string> faelle[] = {{"surname of 10 MB", zehnMB},
                                                              {"500000 students", viele}};
        for (const auto& [was, bytes] : faelle) {
            const Text pfad = u"Noten/8c/8c Kaputt.slk";
            WriteFileBytes(pfad, bytes);
            std::vector<double> zeiten;
            bool abgelehnt = true;
            for (int n = 0; n < std::min(wiederholungen, 20); ++n) {
                const auto t0 = Uhr::now();
                abgelehnt = abgelehnt && !TSchulklasse::laden(pfad);
                zeiten.push_back(MsBetween(t0, Uhr::now()));
            }
            std::printf("refusing %s (%zu bytes): median %.2f ms (max %.2f)%s\n", was, bytes.size(), Median(zeiten),
                        Maximum(zeiten), abgelehnt ? "" : "  NOT REFUSED");
        }
    }
    std::printf("load: %s\n", LoadAverage().c_str());

    return 0;
}
