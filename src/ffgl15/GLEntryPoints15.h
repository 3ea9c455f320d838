#pragma once

// Only the types and constants: every GL call goes through the pointers below.
#include <GL/glcorearb.h>

// Immediate mode is not part of the core header.
#ifndef GL_QUADS
#define GL_QUADS 0x0007
#endif

inline namespace ZM_BUILD_NAMESPACE
{

/*
    The OpenGL entry points of the FFGL 1.5 build, as process-wide function
    pointers under the GL names (zmgl::glUseProgram and so on), so that the
    effect calls GL the same way in both builds.

    The OpenGL 1.1 functions point straight at the system's GL library. The
    later ones are looked up by name, all together and once per process, by
    LoadGLEntryPoints15, which the first instantiation calls (outside any
    glBegin/glEnd, where a version query would be an error). Each pointer is
    a fixed forwarder to its looked-up function; called before anything was
    looked up, it tries LoadGLEntryPoints15 first, and when that fails (no
    current context, or one older than OpenGL 2.1) it does nothing and
    returns 0.

    Tests may swap individual pointers for recording fakes and restore them.
*/

namespace zmgl
{
// Compatibility-profile signatures that the core header does not declare.
using PFNZMGLBEGINPROC = void(APIENTRYP)(GLenum mode);
using PFNZMGLENDPROC = void(APIENTRYP)();
using PFNZMGLVERTEX2FPROC = void(APIENTRYP)(GLfloat x, GLfloat y);
using PFNZMGLMULTITEXCOORD2FPROC = void(APIENTRYP)(GLenum target, GLfloat s, GLfloat t);
} // namespace zmgl

/** Entry points beyond OpenGL 1.1, looked up by name. */
#define ZM_GL15_LOADED_ENTRY_POINTS(X)                     \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture)             \
    X(zmgl::PFNZMGLMULTITEXCOORD2FPROC, glMultiTexCoord2f) \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                   \
    X(PFNGLUNIFORM1FPROC, glUniform1f)                     \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                     \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)             \
    X(PFNGLCREATESHADERPROC, glCreateShader)               \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)               \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)             \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                 \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)       \
    X(PFNGLATTACHSHADERPROC, glAttachShader)               \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                 \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)               \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)   \
    X(PFNGLDELETESHADERPROC, glDeleteShader)               \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)             \
    X(PFNGLBINDBUFFERPROC, glBindBuffer)

/** OpenGL 1.1 entry points, linked from the system's GL library. */
#define ZM_GL15_SYSTEM_ENTRY_POINTS(X)           \
    X(PFNGLGETINTEGERVPROC, glGetIntegerv)       \
    X(PFNGLGENTEXTURESPROC, glGenTextures)       \
    X(PFNGLBINDTEXTUREPROC, glBindTexture)       \
    X(PFNGLTEXPARAMETERIPROC, glTexParameteri)   \
    X(PFNGLPIXELSTOREIPROC, glPixelStorei)       \
    X(PFNGLTEXIMAGE2DPROC, glTexImage2D)         \
    X(PFNGLTEXSUBIMAGE2DPROC, glTexSubImage2D)   \
    X(PFNGLDELETETEXTURESPROC, glDeleteTextures) \
    X(PFNGLDISABLEPROC, glDisable)               \
    X(zmgl::PFNZMGLBEGINPROC, glBegin)           \
    X(zmgl::PFNZMGLENDPROC, glEnd)               \
    X(zmgl::PFNZMGLVERTEX2FPROC, glVertex2f)

namespace zmgl
{
#define ZM_GL15_DECLARE_ENTRY_POINT(type, name) extern type name;
ZM_GL15_LOADED_ENTRY_POINTS(ZM_GL15_DECLARE_ENTRY_POINT)
ZM_GL15_SYSTEM_ENTRY_POINTS(ZM_GL15_DECLARE_ENTRY_POINT)
#undef ZM_GL15_DECLARE_ENTRY_POINT
} // namespace zmgl

/**
    True when the current context offers OpenGL 2.1 (what the shaders' GLSL
    1.20 needs) and every entry point above can be called. The first success
    looks them all up; later calls only check the current context's version.
*/
bool LoadGLEntryPoints15();

} // namespace ZM_BUILD_NAMESPACE
