// Showing parts of the back buffer: under X11 with GLX_MESA_copy_sub_buffer
// (Mesa's drivers, llvmpipe among them) only the changed areas are copied to
// the window, where a swap would send all 1920 x 1080 pixels again. Without
// it (Windows, Wayland, other drivers) the backend swaps as before.
#pragma once
#include <vector>

#include "platform/draw_list.hpp"

struct SDL_Window;

class PartialPresent {
public:
    // With the window's OpenGL context current; false when not available.
    bool Start(SDL_Window* window);
    void Stop() { copy_ = nullptr; }
    bool Available() const { return copy_ != nullptr; }
    // Copies the areas (top-left origin) of the back buffer to the window.
    void Show(const std::vector<ClipRect>& areas, int windowHeight);

private:
    void* copy_ = nullptr;
    void* display_ = nullptr;
    unsigned long drawable_ = 0;
};
