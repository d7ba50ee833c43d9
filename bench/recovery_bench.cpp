// Writing the recovery file of a full-year gradebook (40 students x 60
// columns) after one grade, as the class screen does after every edit: the
// bytes built, written beside, forced onto the disk, renamed, the folder
// forced onto the disk. Prints median and p95 in milliseconds, with the share
// of building the bytes. Run by hand: rk_recovery_bench [repetitions].
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "full_year_gradebook.hpp"
#include "headless_start.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/program_state.hpp"
#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "platform/image_font.hpp"
#include "platform/platform_context.hpp"
#include "shell/media.hpp"

namespace {

using Uhr = std::chrono::steady_clock;

double Quantil(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())))];
}

double Ms(Uhr::time_point a, Uhr::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

}  // namespace

int main(int argc, char** argv) {
    const int wiederholungen = argc > 1 ? std::max(5, std::atoi(argv[1])) : 200;
    HeadlessBackend backend(1920, 1080);
    bench::StartHeadless(backend);

    // On the disk of the working folder (the program folder's disk when run
    // from there), not in a memory file system.
    const auto ordner = std::filesystem::current_path() / ("rk-recovery-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(ordner / "Noten");
    const auto vorher = std::filesystem::current_path();
    std::filesystem::current_path(ordner);

    auto klasse = bench::Jahrgang();
    if (!klasse->speichern(u"")) {
        std::fprintf(stderr, "saving failed\n");
        return 1;
    }
    const std::vector<Text> noten{u"1", u"2+", u"3-", u"4", u"5-6", u"6"};
    std::vector<double> gesamt, bytes;
    for (int n = 0; n < wiederholungen; ++n) {
        // One grade entered, somewhere in the grid.
        const int i = 1 + n % (klasse->Schueleranzahl - 1), j = 1 + (n * 7) % 27;
        klasse->Zelle(i, j).Text[0] = noten[static_cast<size_t>(n) % noten.size()];
        const auto t0 = Uhr::now();
        klasse->AenderungVermerken();
        const auto t1 = Uhr::now();
        const std::string b = KlassendateiBytes(*klasse);
        const auto t2 = Uhr::now();
        gesamt.push_back(Ms(t0, t1));
        bytes.push_back(Ms(t1, t2));
    }
    const auto groesse = std::filesystem::file_size("Noten/8c/8c Mathematik.slk.ungespeichert");
    std::printf("recovery file: 40 students x 60 columns, %ju bytes, %d edits, folder %s\n",
                static_cast<uintmax_t>(groesse), wiederholungen, ordner.c_str());
    std::printf("after one grade, with flush: median %.2f ms, p95 %.2f ms, max %.2f ms\n", Quantil(gesamt, 0.5),
                Quantil(gesamt, 0.95), *std::max_element(gesamt.begin(), gesamt.end()));
    std::printf("of which building the bytes: median %.3f ms\n", Quantil(bytes, 0.5));

    std::filesystem::current_path(vorher);
    std::filesystem::remove_all(ordner);
    return 0;
}
