// libFuzzer target of the class file reader: any bytes as a class file must
// load or fail cleanly, and what loads must save and load back unchanged.
// Build: cmake -B /tmp/build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
//        -DRK_BUILD_FUZZ=ON -DRK_WITH_SDL=OFF -DRK_BUILD_TESTS=OFF -DRK_BUILD_BENCH=OFF
// Run:   rk_laden_fuzz -max_len=4096 tests/fuzz/corpus
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "gradebook/class_file.hpp"
#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "platform/image_font.hpp"
#include "platform/platform_context.hpp"
#include "gradebook/program_state.hpp"
#include "shell/media.hpp"

namespace {

std::string Pfad;

void Einrichten() {
    RegisterEmbeddedMedia();
    static HeadlessBackend backend(1920, 1080);
    UseBackend(&backend);
    OpenGraphicsWindow(1920, 1080, 0, 60, 0);
    Bildschirmbreite = 1920;
    Bildschirmhoehe = 1080;
    SchriftenLaden();
    Pfad = "/tmp/rk-laden-fuzz-" + std::to_string(::getpid()) + ".slk";
}

// Every array one entry per row, every row one tile per column, at its height.
bool Stimmig(const TSchulklasse& k) {
    const auto S = static_cast<size_t>(k.Schueleranzahl);
    if (k.Schueleranzahl < 1 || k.Notenanzahl < 1 || k.Zensurzeile.size() != S || k.Telefonnummer.size() != S ||
        k.Notizen.size() != S || k.VergesseneHA.size() != S)
        return false;
    for (size_t i = 0; i < S; ++i) {
        if (!k.Zensurzeile[i] || k.Zensurzeile[i]->Kachel.size() != static_cast<size_t>(k.Notenanzahl)) return false;
        for (const auto& kachel : k.Zensurzeile[i]->Kachel)
            if (!kachel || (i > 0 && kachel->y != 46 + 84 * static_cast<int>(i))) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool eingerichtet = (Einrichten(), true);
    (void)eingerichtet;
    {
        std::ofstream out(Pfad, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    auto k = TSchulklasse::laden(TextFromUtf8(Pfad));
    // The file is needed only by laden: nothing is left in /tmp, also when a
    // check below stops the run.
    std::remove(Pfad.c_str());
    if (!k) return 0;
    if (!Stimmig(*k)) __builtin_trap();
    // A loaded record is saved as it is: its bytes load back to the same bytes.
    const std::string einmal = KlassendateiBytes(*k);
    auto wieder = KlasseAusBytes(einmal);
    if (!wieder || !Stimmig(*wieder) || KlassendateiBytes(*wieder) != einmal) __builtin_trap();
    return 0;
}
