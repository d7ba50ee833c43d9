// The OpenGL function pointers of the Windows build (see gl_functions.hpp).
#include "platform/sdl/gl_functions.hpp"

#include <SDL.h>

#ifdef _WIN32
#define RK_GL_DEFINE(type, name) type rk_##name = nullptr;
RK_GL_LOADED_FUNCTIONS(RK_GL_DEFINE)
#undef RK_GL_DEFINE

bool LoadGlFunctions() {
    bool all = true;
#define RK_GL_LOAD(type, name)                                                  \
    rk_##name = reinterpret_cast<type>(SDL_GL_GetProcAddress(#name));           \
    if (!rk_##name) all = false;
    RK_GL_LOADED_FUNCTIONS(RK_GL_LOAD)
#undef RK_GL_LOAD
    return all;
}
#else
bool LoadGlFunctions() { return true; }
#endif
