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
    X(PFNGLBINDBUFFERPROC, glBindBuffer)                                                       \
    X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)                                             \
    X(PFNGLBINDSAMPLERPROC, glBindSampler)                                                     \
    X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray)                                             \
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
    X(PFNGLDELETESAMPLERSPROC, glDeleteSamplers)                                               \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                                                   \
    X(PFNGLDELETEVERTEXARRAYSPROC, glDeleteVertexArrays)                                       \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)                             \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D)                                   \
    X(PFNGLGENBUFFERSPROC, glGenBuffers)                                                       \
    X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)                                             \
    X(PFNGLGENSAMPLERSPROC, glGenSamplers)                                                     \
    X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays)                                             \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                                                   \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)                                         \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                                           \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                                                     \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                                       \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                                                     \
    X(PFNGLSAMPLERPARAMETERIPROC, glSamplerParameteri)                                         \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                                                   \
    X(PFNGLUNIFORM1IPROC, glUniform1i)                                                         \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                                                         \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                                                       \
    X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)

#define RK_GL_DECLARE(type, name) extern type rk_##name;
RK_GL_LOADED_FUNCTIONS(RK_GL_DECLARE)
#undef RK_GL_DECLARE
#include "platform/sdl/gl_function_names.hpp"
#else
#include <GL/gl.h>
#include <GL/glext.h>
#endif

// Fetches the functions above from the current context; false when one is
// missing (the driver offers less than the renderer needs). Always true on Linux.
bool LoadGlFunctions();
