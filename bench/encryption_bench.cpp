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

std::vector<double> Speichern(TSchulklasse& k, int n) {
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        const auto t0 = Uhr::now();
        if (!k.speichern(u"")) std::exit(1);
        ms.push_back(MsBetween(t0, Uhr::now()));
    }
    return ms;
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
    SealingOff();
    const double klar = Median(Speichern(*klasse, n));
    if (UnlockWithPassword(u".Kladdorix-Schluessel", u"ein langes Passwort") != KeyResult::Ok) return 1;
    const double versiegelt = Median(Speichern(*klasse, n));
    std::vector<double> siegeln;
    const std::string bytes = KlassendateiBytes(*klasse);
    for (int i = 0; i < n; ++i) {
        const auto t0 = Uhr::now();
        const std::string s = SealBytes(bytes);
        siegeln.push_back(MsBetween(t0, Uhr::now()));
        if (s.size() != bytes.size() + 44) return 1;
    }
    std::printf("class file %zu bytes; sealing it alone: median %.3f ms\n", bytes.size(), Median(siegeln));
    const double klar2 = [&] {
        SealingOff();
        return Median(Speichern(*klasse, n));
    }();
    std::printf("plain save measured again after the sealed ones: median %.2f ms\n", klar2);
    Figure("save 40 x 60 plain, median", klar, "ms");
    Figure("save 40 x 60 sealed, median", versiegelt, "ms");
    Figure("sealed / plain", versiegelt / klar, "", "< 1.3", versiegelt / klar < 1.3);

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
    std::printf("converted %d of %d files (%d failed)\n", u.umgestellt, u.dateien, u.fehlgeschlagen);
    Figure("switch on: 20 gradebooks, 200 backups, 600 portraits", ms, "ms", "< 10000", ms < 10000);
    const auto t1 = Uhr::now();
    DateienUmstellen(false, u"");
    Figure("switch off: the same folder", MsBetween(t1, Uhr::now()), "ms");
    std::printf("load after: %s\n", LoadAverage().c_str());
    return 0;
}
