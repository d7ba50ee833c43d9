// The GLX side of partial presents, reached through SDL's window information
// and SDL_GL_GetProcAddress (no GLX header or library of its own).
#include "platform/sdl/partial_present.hpp"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstring>

namespace {
#if defined(SDL_VIDEO_DRIVER_X11)
using CopySubBuffer = void (*)(Display*, XID, int, int, int, int);
using QueryExtensions = const char* (*)(Display*, int);

bool HasWord(const char* list, const char* word) {
    const size_t n = std::strlen(word);
    for (const char* p = list; p && (p = std::strstr(p, word)) != nullptr; p += n)
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}
#endif
}  // namespace

bool PartialPresent::Start(SDL_Window* window) {
    copy_ = nullptr;
#if defined(SDL_VIDEO_DRIVER_X11)
    // A switch for comparing figures: RK_FULL_PRESENT=1 always swaps whole.
    if (const char* ganz = SDL_getenv("RK_FULL_PRESENT"); ganz && std::strcmp(ganz, "1") == 0) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    auto query = reinterpret_cast<QueryExtensions>(SDL_GL_GetProcAddress("glXQueryExtensionsString"));
    if (!query) return false;
    Display* display = info.info.x11.display;
    if (!HasWord(query(display, DefaultScreen(display)), "GLX_MESA_copy_sub_buffer")) return false;
    copy_ = SDL_GL_GetProcAddress("glXCopySubBufferMESA");
    display_ = display;
    drawable_ = info.info.x11.window;
#endif
    return copy_ != nullptr;
}

void PartialPresent::Show(const std::vector<ClipRect>& areas, int windowHeight) {
#if defined(SDL_VIDEO_DRIVER_X11)
    auto copy = reinterpret_cast<CopySubBuffer>(copy_);
    // GL rows count from the bottom.
    for (const ClipRect& r : areas)
        copy(static_cast<Display*>(display_), drawable_, r.x, windowHeight - (r.y + r.h), r.w, r.h);
#endif
}
