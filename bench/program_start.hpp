// Start-up for the benchmarks on the real SDL/OpenGL backend: the program's
// own Hochfahren behind a MeasuringBackend, with backup copies switched off,
// and the class screen's frame and screen captures they all use.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gradebook/program_state.hpp"
#include "gradebook/schulklasse.hpp"
#include "measuring_backend.hpp"
#include "platform/graphics.hpp"
#include "platform/input_script.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "platform/text.hpp"
#include "shell/startup.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

namespace bench {

// The SDL backend wrapped in a MeasuringBackend, then Hochfahren. Returns the
// wrapper, or nullptr (after a line on stderr naming `bench`) when there is
// no display or the start-up ended early.
inline MeasuringBackend* StartLikeTheProgram(const char* bench) {
    if (!UseSdlBackend()) {
        std::fprintf(stderr, "%s: no graphics\n", bench);
        return nullptr;
    }
    static MeasuringBackend measuring(CurrentBackend());
    UseBackend(&measuring);
    if (!Hochfahren()) {
        std::fprintf(stderr, "%s: start-up ended early\n", bench);
        return nullptr;
    }
    // A settings file beside the binary must not send backup copies anywhere.
    BackupOrdner.clear();
    return &measuring;
}

// The class screen's frame as its loop records it, up to the present.
inline void KlassenbildAufbauen(TSchulklasse& klasse) {
    Cls();
    User::update();
    Offset::update(2, 64);
    klasse.anzeigen();
}

// Saves the picture on screen when RK_BENCH_CAPTURE names a folder, to check by
// eye what was measured.
inline void Festhalten(const char* name) {
    const char* ordner = std::getenv("RK_BENCH_CAPTURE");
    if (!ordner || !*ordner) return;
    SaveCanvasAsPng(TextFromUtf8(std::string(ordner) + "/" + name + ".png"));
}

}  // namespace bench
