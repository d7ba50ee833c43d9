// Encryption costs: unlocking with the moderate Argon2id limits, saving a
// 40 x 60 gradebook plain and sealed (backup included, without forcing the
// bytes onto the disk), and switching a folder of 20 gradebooks with 200
// backups and 600 portraits on. Headless backend, no display needed.
// Run by hand: rk_encryption_bench [repetitions].
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.hpp"
#include "full_year_gradebook.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/encryption.hpp"
#include "gradebook/photo_paths.hpp"
#include "headless_start.hpp"
#include "platform/pixmap.hpp"
#include "platform/sealed_files.hpp"
#include "temp_work_folder.hpp"

using namespace bench;

namespace {
using Uhr = std::chrono::steady_clock;

// Wall and own CPU time of each of n saves, appended.
void Speichern(TSchulklasse& k, int n, std::vector<double>& wand, std::vector<double>& cpu) {
    for (int i = 0; i < n; ++i) {
        const double w0 = WallMs(), c0 = ThreadCpuMs();
        if (!k.speichern(u"")) std::exit(1);
        cpu.push_back(ThreadCpuMs() - c0);
        wand.push_back(WallMs() - w0);
    }
}
}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    HeadlessBackend backend(1920, 1080);
    StartHeadless(backend);
    const TempWorkFolder ordner("rk-bench-seal");
    if (!ordner.ok()) return 1;
    std::filesystem::create_directories("Noten");
    std::printf("load before: %s\n", LoadAverage().c_str());

    // Unlocking: one Argon2id derivation with the limits the program uses.
    std::array<unsigned char, kRecoveryBytes> code{};
    if (!PrepareNewKey(code) || WriteNewKeyFile(u".Kladdorix-Schluessel", u"ein langes Passwort", code) != KeyResult::Ok)
        return 1;
    std::vector<double> entsperren;
    for (int i = 0; i < 3; ++i) {
        LockSealing();
        const auto t0 = Uhr::now();
        if (UnlockWithPassword(u".Kladdorix-Schluessel", u"ein langes Passwort") != KeyResult::Ok) return 1;
        entsperren.push_back(MsBetween(t0, Uhr::now()));
    }
    Figure("unlock (opslimit 3, 256 MiB), median of 3", Median(entsperren), "ms", "< 1500", Median(entsperren) < 1500);

    KlassendateiAufPlatteZwingen = false;
    auto klasse = Jahrgang();
    // The disk is shared: its stalls come and go over seconds and hit a
    // save whatever its form. Plain and sealed rounds alternate so both meet
    // the same disk, and the own CPU time (no waiting) shows the sealing cost.
    std::vector<double> klarWand, klarCpu, dichtWand, dichtCpu;
    for (int runde = 0; runde < 4; ++runde) {
        // Each round starts after an unlock: Argon2's 256 MiB push the page
        // cache out and slow the disk for a while, whichever form follows.
        SealingOff();
        if (UnlockWithPassword(u".Kladdorix-Schluessel", u"ein langes Passwort") != KeyResult::Ok) return 1;
        SealingOff();
        Speichern(*klasse, n, klarWand, klarCpu);
        if (UnlockWithPassword(u".Kladdorix-Schluessel", u"ein langes Passwort") != KeyResult::Ok) return 1;
        Speichern(*klasse, n, dichtWand, dichtCpu);
    }
    std::vector<double> siegeln;
    const std::string bytes = KlassendateiBytes(*klasse);
    for (int i = 0; i < n; ++i) {
        const auto t0 = Uhr::now();
        const std::string s = SealBytes(bytes);
        siegeln.push_back(MsBetween(t0, Uhr::now()));
        if (s.size() != bytes.size() + 44) return 1;
    }
    std::printf("class file %zu bytes; sealing it alone: median %.3f ms\n", bytes.size(), Median(siegeln));
    std::printf("load: %s\n", LoadAverage().c_str());
    const double klar = Median(klarWand), dicht = Median(dichtWand);
    Figure("save 40 x 60 plain, median wall", klar, "ms");
    Figure("save 40 x 60 sealed, median wall", dicht, "ms");
    Figure("sealed / plain, wall", dicht / klar, "", "< 1.3", dicht / klar < 1.3);
    std::printf("  p90 wall: plain %.2f ms, sealed %.2f ms\n", Percentile(klarWand, 0.9), Percentile(dichtWand, 0.9));
    const double klarC = Median(klarCpu), dichtC = Median(dichtCpu);
    Figure("save 40 x 60 plain, median own cpu", klarC, "ms");
    Figure("save 40 x 60 sealed, median own cpu", dichtC, "ms");
    Figure("sealed / plain, own cpu", dichtC / klarC, "", "< 1.3", dichtC / klarC < 1.3);

    // 20 gradebooks, each with 10 backups and 30 portraits, all plain.
    SealingOff();
    std::filesystem::remove_all("Noten");
    std::filesystem::create_directories("Noten");
    TPixmap bild = CreatePixmap(360, 360, 3, 4);
    for (int g = 0; g < 20; ++g) {
        auto k = Jahrgang();
        k->Titel[0] = TextFromUtf8(std::to_string(5 + g % 8) + std::string(1, static_cast<char>('a' + g / 8)));
        if (!k->speichern(u"")) return 1;
        const std::string bytes = KlassendateiBytes(*k);
        for (int b = 0; b < 10; ++b)
            std::ofstream(Utf8FromText(BackupPfad(k->Titel[0], k->Titel[1], TextFromUtf8("15-10-" + std::to_string(10 + b) + "-10-00-00"))),
                          std::ios::binary)
                << bytes;
        for (int p = 0; p < 30; ++p)
            SavePixmapAsPNG(bild, PortraitpfadIn(u"Noten", k->Titel[0], u"Schüler" + TextFromUtf8(std::to_string(p)), u"Vorname"), 0);
    }
    if (UnlockWithPassword(u".Kladdorix-Schluessel", u"ein langes Passwort") != KeyResult::Ok) return 1;
    const auto t0 = Uhr::now();
    const Umstellung u = DateienUmstellen(true, u"");
    const double ms = MsBetween(t0, Uhr::now());
    std::printf("load: %s\n", LoadAverage().c_str());
    std::printf("converted %d of %d files (%d failed)\n", u.umgestellt, u.dateien, u.fehlgeschlagen);
    Figure("switch on: 20 gradebooks, 200 backups, 600 portraits", ms, "ms", "< 10000", ms < 10000);
    const auto t1 = Uhr::now();
    DateienUmstellen(false, u"");
    Figure("switch off: the same folder", MsBetween(t1, Uhr::now()), "ms");
    std::printf("load after: %s\n", LoadAverage().c_str());
    return 0;
}
