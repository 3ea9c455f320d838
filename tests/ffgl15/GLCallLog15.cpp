#include "GLCallLog15.h"

#include <algorithm>
#include <cassert>

namespace
{
std::vector<GLCallLog15::Call> calls;
bool active = false;

// The real entry points, saved while a log is active.
#define ZM_LOGGED_ENTRY_POINTS(X)                              \
    X(zmgl::PFNZMGLBEGINPROC, glBegin)                         \
    X(zmgl::PFNZMGLENDPROC, glEnd)                             \
    X(zmgl::PFNZMGLVERTEX2FPROC, glVertex2f)                   \
    X(zmgl::PFNZMGLMULTITEXCOORD2FPROC, glMultiTexCoord2f)     \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                       \
    X(PFNGLUNIFORM1FPROC, glUniform1f)                         \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                         \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                 \
    X(PFNGLBINDTEXTUREPROC, glBindTexture)                     \
    X(PFNGLDISABLEPROC, glDisable)                             \
    X(PFNGLTEXIMAGE2DPROC, glTexImage2D)                       \
    X(PFNGLTEXSUBIMAGE2DPROC, glTexSubImage2D)                 \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                   \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                 \
    X(PFNGLDELETETEXTURESPROC, glDeleteTextures)

#define ZM_SAVED(type, name) type saved_##name = nullptr;
ZM_LOGGED_ENTRY_POINTS(ZM_SAVED)
#undef ZM_SAVED

void Log(const char* name, std::vector<double> arguments)
{
    calls.push_back({ name, std::move(arguments) });
}

void APIENTRY Log_glBegin(GLenum mode) { Log("glBegin", { double(mode) }); saved_glBegin(mode); }
void APIENTRY Log_glEnd() { Log("glEnd", {}); saved_glEnd(); }
void APIENTRY Log_glVertex2f(GLfloat x, GLfloat y) { Log("glVertex2f", { x, y }); saved_glVertex2f(x, y); }
void APIENTRY Log_glMultiTexCoord2f(GLenum unit, GLfloat s, GLfloat t)
{
    Log("glMultiTexCoord2f", { double(unit), s, t });
    saved_glMultiTexCoord2f(unit, s, t);
}
void APIENTRY Log_glUseProgram(GLuint program) { Log("glUseProgram", { double(program) }); saved_glUseProgram(program); }
void APIENTRY Log_glUniform1f(GLint location, GLfloat v)
{
    Log("glUniform1f", { double(location), v });
    saved_glUniform1f(location, v);
}
void APIENTRY Log_glUniform2f(GLint location, GLfloat x, GLfloat y)
{
    Log("glUniform2f", { double(location), x, y });
    saved_glUniform2f(location, x, y);
}
void APIENTRY Log_glActiveTexture(GLenum unit) { Log("glActiveTexture", { double(unit) }); saved_glActiveTexture(unit); }
void APIENTRY Log_glBindTexture(GLenum target, GLuint texture)
{
    Log("glBindTexture", { double(target), double(texture) });
    saved_glBindTexture(target, texture);
}
void APIENTRY Log_glDisable(GLenum cap) { Log("glDisable", { double(cap) }); saved_glDisable(cap); }
void APIENTRY Log_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                            GLint border, GLenum format, GLenum type, const void* pixels)
{
    Log("glTexImage2D", { double(width), double(height) });
    saved_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}
void APIENTRY Log_glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                               GLenum format, GLenum type, const void* pixels)
{
    Log("glTexSubImage2D", { double(width), double(height) });
    saved_glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
}
void APIENTRY Log_glDeleteShader(GLuint shader) { Log("glDeleteShader", { double(shader) }); saved_glDeleteShader(shader); }
void APIENTRY Log_glDeleteProgram(GLuint program)
{
    Log("glDeleteProgram", { double(program) });
    saved_glDeleteProgram(program);
}
void APIENTRY Log_glDeleteTextures(GLsizei n, const GLuint* textures)
{
    Log("glDeleteTextures", { double(n) });
    saved_glDeleteTextures(n, textures);
}
} // namespace

GLCallLog15::GLCallLog15()
{
    assert(! active);
    active = true;
    calls.clear();
#define ZM_SWAP(type, name) saved_##name = zmgl::name; zmgl::name = &Log_##name;
    ZM_LOGGED_ENTRY_POINTS(ZM_SWAP)
#undef ZM_SWAP
}

GLCallLog15::~GLCallLog15()
{
#define ZM_RESTORE(type, name) zmgl::name = saved_##name;
    ZM_LOGGED_ENTRY_POINTS(ZM_RESTORE)
#undef ZM_RESTORE
    active = false;
}

const std::vector<GLCallLog15::Call>& GLCallLog15::Calls() const
{
    return calls;
}

std::vector<std::string> GLCallLog15::Names() const
{
    std::vector<std::string> names;
    for (const auto& call : calls)
        names.push_back(call.name);
    return names;
}

long GLCallLog15::Count(const std::string& name) const
{
    return std::count_if(calls.begin(), calls.end(), [&name](const Call& call) { return call.name == name; });
}

std::vector<GLCallLog15::Call> GLCallLog15::Only(const std::string& name) const
{
    std::vector<Call> matching;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(matching),
                 [&name](const Call& call) { return call.name == name; });
    return matching;
}

void GLCallLog15::Clear()
{
    calls.clear();
}
