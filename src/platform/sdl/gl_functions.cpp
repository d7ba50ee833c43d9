// The check of the context's OpenGL and the function pointers of the Windows
// build (see gl_functions.hpp).
#include "platform/sdl/gl_functions.hpp"

#include <SDL.h>

#include <cstdio>

#include "platform/gl_version.hpp"

#ifdef _WIN32
#define RK_GL_DEFINE(type, name) type rk_##name = nullptr;
RK_GL_LOADED_FUNCTIONS(RK_GL_DEFINE)
RK_GL_CORE_FUNCTIONS(RK_GL_DEFINE)
#undef RK_GL_DEFINE
#endif

namespace {
bool FetchFunctions(bool core) {
#ifdef _WIN32
    bool all = true;
#define RK_GL_LOAD(type, name)                                                  \
    rk_##name = reinterpret_cast<type>(SDL_GL_GetProcAddress(#name));           \
    if (!rk_##name) all = false;
    RK_GL_LOADED_FUNCTIONS(RK_GL_LOAD)
    if (core) {
        RK_GL_CORE_FUNCTIONS(RK_GL_LOAD)
    }
#undef RK_GL_LOAD
    return all;
#else
    // Linux's libGL exports every function and hands the call to the driver.
    return true;
#endif
}
}  // namespace

bool LoadGlFunctions(bool& core) {
    core = false;
    const char* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const GlVersion version = ReadGlVersion(text);
    // From 3.0 on framebuffer objects are core; the extension is asked only before.
    const bool extension = !version.AtLeast(3, 0) && SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object");
    if (!GlSufficient(version, extension)) {
        std::fprintf(stderr, "gl: the driver offers OpenGL \"%s\"%s; the window needs 2.1 with framebuffer objects\n",
                     text ? text : "", version.AtLeast(2, 1) ? " without framebuffer objects" : "");
        return false;
    }
    if (version.AtLeast(3, 2)) {
        GLint mask = 0;
        glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
        core = (mask & GL_CONTEXT_CORE_PROFILE_BIT) != 0;
    }
    if (!FetchFunctions(core)) {
        std::fputs("gl: the driver lacks functions of OpenGL 2.1\n", stderr);
        return false;
    }
    return true;
}
