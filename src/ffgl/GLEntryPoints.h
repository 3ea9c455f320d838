#pragma once

// Only the types and constants: every GL call goes through the pointers below.
#include <GL/glcorearb.h>

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

/*
    The process-wide OpenGL entry points of the FFGL 2.1 build. They are
    resolved by name once per process, in the host's current context, during
    the first instantiation (LoadGLEntryPoints), and every instance calls GL
    through them. They live in a namespace of their own so that they never
    clash with the host's GL symbols; like all our symbols they are hidden.

    Tests may swap individual pointers for recording fakes.
*/

#define ZM_GL_ENTRY_POINTS(X)                                          \
    X(PFNGLGETSTRINGPROC, glGetString)                                 \
    X(PFNGLGETINTEGERVPROC, glGetIntegerv)                             \
    X(PFNGLGETSTRINGIPROC, glGetStringi)                               \
    X(PFNGLCREATESHADERPROC, glCreateShader)                           \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                           \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)                         \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                             \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                   \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                           \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                         \
    X(PFNGLATTACHSHADERPROC, glAttachShader)                           \
    X(PFNGLTRANSFORMFEEDBACKVARYINGSPROC, glTransformFeedbackVaryings) \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                             \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                           \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)                 \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                         \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                               \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)               \
    X(PFNGLUNIFORM1FPROC, glUniform1f)                                 \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                                 \
    X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays)                     \
    X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray)                     \
    X(PFNGLDELETEVERTEXARRAYSPROC, glDeleteVertexArrays)               \
    X(PFNGLGENBUFFERSPROC, glGenBuffers)                               \
    X(PFNGLBINDBUFFERPROC, glBindBuffer)                               \
    X(PFNGLBUFFERDATAPROC, glBufferData)                               \
    X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                         \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)     \
    X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)             \
    X(PFNGLDRAWARRAYSPROC, glDrawArrays)                               \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                         \
    X(PFNGLBINDTEXTUREPROC, glBindTexture)                             \
    X(PFNGLDISABLEPROC, glDisable)                                     \
    X(PFNGLGENTEXTURESPROC, glGenTextures)                             \
    X(PFNGLDELETETEXTURESPROC, glDeleteTextures)                       \
    X(PFNGLTEXPARAMETERIPROC, glTexParameteri)                         \
    X(PFNGLPIXELSTOREIPROC, glPixelStorei)                             \
    X(PFNGLTEXIMAGE2DPROC, glTexImage2D)                               \
    X(PFNGLTEXSUBIMAGE2DPROC, glTexSubImage2D)

namespace zmgl
{
#define ZM_GL_DECLARE_ENTRY_POINT(type, name) extern type name;
ZM_GL_ENTRY_POINTS(ZM_GL_DECLARE_ENTRY_POINT)
#undef ZM_GL_DECLARE_ENTRY_POINT
} // namespace zmgl

/**
    Resolves every entry point above in the current GL context.
    Returns 0 on failure (no context, a context older than OpenGL 3.0, or a
    missing entry point), any other value when all of them can be called.
*/
int32_t LoadGLEntryPoints();

} // namespace ZM_BUILD_NAMESPACE
