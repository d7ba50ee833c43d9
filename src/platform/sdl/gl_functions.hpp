// The OpenGL calls of the renderer. Linux's libGL exports every one of
// them; Windows' opengl32.dll only those of OpenGL 1.1, so there the others
// are fetched from the driver once a context exists, under the same names.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <GL/gl.h>
#include <GL/glext.h>

#define RK_GL_LOADED_FUNCTIONS(X)                                                              \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                                                 \
    X(PFNGLATTACHSHADERPROC, glAttachShader)                                                   \
    X(PFNGLBINDATTRIBLOCATIONPROC, glBindAttribLocation)                                       \
    X(PFNGLBINDBUFFERPROC, glBindBuffer)                                                       \
    X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)                                             \
    X(PFNGLBLITFRAMEBUFFERPROC, glBlitFramebuffer)                                             \
    X(PFNGLBUFFERDATAPROC, glBufferData)                                                       \
    X(PFNGLBUFFERSUBDATAPROC, glBufferSubData)                                                 \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus)                               \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)                                                 \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                                                 \
    X(PFNGLCREATESHADERPROC, glCreateShader)                                                   \
    X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                                                 \
    X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)                                       \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                                                 \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                                                   \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)                             \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D)                                   \
    X(PFNGLGENBUFFERSPROC, glGenBuffers)                                                       \
    X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)                                             \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                                                   \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)                                         \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                                           \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                                                     \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                                       \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                                                     \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                                                   \
    X(PFNGLUNIFORM1IPROC, glUniform1i)                                                         \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                                                         \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                                                       \
    X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)

// Needed only by a core-profile context, which a 2.1 driver does not have.
#define RK_GL_CORE_FUNCTIONS(X)                                                                \
    X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray)                                             \
    X(PFNGLDELETEVERTEXARRAYSPROC, glDeleteVertexArrays)                                       \
    X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays)

#define RK_GL_DECLARE(type, name) extern type rk_##name;
RK_GL_LOADED_FUNCTIONS(RK_GL_DECLARE)
RK_GL_CORE_FUNCTIONS(RK_GL_DECLARE)
#undef RK_GL_DECLARE
#include "platform/sdl/gl_function_names.hpp"
#else
#include <GL/gl.h>
#include <GL/glext.h>
#endif

// Checks that the current context offers OpenGL 2.1 with framebuffer objects
// (see gl_version.hpp) and fetches the functions above; false, with the
// reason on stderr, when the driver offers less than the renderer needs.
// `core`: a core-profile context, which draws only with a vertex array object.
bool LoadGlFunctions(bool& core);
