// Printed reports of the full-year gradebook (40 students, 60 columns) on the
// headless backend: the student's sheet (with a portrait) and the class
// list, wall milliseconds from the command to the PDF written in "Ausdrucke"
// (layout, cairo, the file replaced), median and maximum over the runs; the
// desktop's PDF viewer is not part of it. With a folder as second argument
// the last PDFs are copied there for a look.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.hpp"
#include "classscreen/reports.hpp"
#include "gradebook/student_rows.hpp"
#include "full_year_gradebook.hpp"
#include "headless_start.hpp"
#include "platform/pixmap.hpp"
#include "temp_work_folder.hpp"
#include "tiles/frame_loop.hpp"

using namespace bench;

int main(int argc, char** argv) {
    const int runden = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;
    const std::string ablage = argc > 2 ? std::filesystem::absolute(argv[2]).string() : "";
    HeadlessBackend backend(1920, 1080);
    StartHeadless(backend);
    Taktgeber = CreateFrameTimer(50);
    const TempWorkFolder ordner("rk-bench-print");
    if (!ordner.ok()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    auto k = Jahrgang();
    k->Durchschnittsnotenberechnung(-1);
    // A camera-sized portrait as the photo import leaves it: 360 x 360.
    const Schuelername n{k->Zelle(7, 0).Text[0], k->Zelle(7, 0).Text[1]};
    std::filesystem::create_directories("Noten/8c/Bilder");
    TPixmap bild = CreatePixmap(360, 360, 3, 4);
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 360; ++x) WritePixel(bild, x, y, 0xFF000000u | uint32_t(x * 255 / 360) << 16 | uint32_t(y / 2));
    SavePixmapAsPNG(bild, u"Noten/8c/Bilder/" + n.nachname + u" " + n.vornamen + u".png", 6);

    std::printf("gradebook: 40 students x 60 columns, %d runs; load %s\n", runden, LoadAverage().c_str());
    struct Bericht {
        const char* name;
        double ziel;
        std::function<Text()> schreiben;
    };
    const Bericht berichte[] = {
        {"student's sheet (row 7, with portrait)", 150, [&] { return SchuelerbogenSchreiben(*k, 7, Bogenumfang::Vollstaendig); }},
        {"class list (8 pages)", 500, [&] { return KlassenlisteSchreiben(*k, false); }},
        {"empty list (2 pages)", 500, [&] { return KlassenlisteSchreiben(*k, true); }},
    };
    for (const Bericht& b : berichte) {
        std::vector<double> wand;
        Text pfad;
        for (int r = 0; r < runden; ++r) {
            const double t0 = WallMs();
            pfad = b.schreiben();
            wand.push_back(WallMs() - t0);
            if (pfad.empty()) {
                std::fprintf(stderr, "%s: not written\n", b.name);
                return 1;
            }
            // Each run under the same name again, not " (2)", " (3)" ...
            if (r + 1 < runden) std::filesystem::remove(Utf8FromText(pfad));
        }
        const auto groesse = std::filesystem::file_size(Utf8FromText(pfad));
        std::printf("%s: median %.1f ms, max %.1f ms, %ju bytes (target < %.0f ms: %s)\n", b.name, Median(wand),
                    Maximum(wand), static_cast<uintmax_t>(groesse), b.ziel, Verdict(Median(wand) < b.ziel));
        if (!ablage.empty()) {
            std::filesystem::create_directories(ablage);
            std::filesystem::copy_file(Utf8FromText(pfad), ablage + "/" + std::filesystem::path(Utf8FromText(pfad)).filename().string(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    std::printf("load after: %s\n", LoadAverage().c_str());
    return 0;
}
