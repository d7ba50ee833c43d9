// The program's drawing state on the headless backend (no display): the
// embedded media, a 1920 x 1080 window and the program's three fonts, which
// the headless benchmarks need before they build a gradebook.
#pragma once
#include "gradebook/program_state.hpp"
#include "platform/backend.hpp"
#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "shell/media.hpp"

namespace bench {

inline void StartHeadless(HeadlessBackend& backend) {
    RegisterEmbeddedMedia();
    UseBackend(&backend);
    OpenGraphicsWindow(1920, 1080, 0, 60, 0);
    Bildschirmbreite = 1920;
    Bildschirmhoehe = 1080;
    SchriftenLaden();
}

}  // namespace bench
