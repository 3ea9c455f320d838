#include "GLEntryPoints15.h"

#include "GLProcResolver.h"

extern "C"
{
    // The system's OpenGL 1.1 functions (the core header declares them only with
    // prototypes switched on, and immediate mode not at all).
    const GLubyte* glGetString(GLenum name);
    void glGetIntegerv(GLenum pname, GLint* data);
    void glGenTextures(GLsizei n, GLuint* textures);
    void glBindTexture(GLenum target, GLuint texture);
    void glTexParameteri(GLenum target, GLenum pname, GLint param);
    void glPixelStorei(GLenum pname, GLint param);
    void glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border,
                      GLenum format, GLenum type, const void* pixels);
    void glTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height,
                         GLenum format, GLenum type, const void* pixels);
    void glDeleteTextures(GLsizei n, const GLuint* textures);
    void glDisable(GLenum cap);
    void glBegin(GLenum mode);
    void glEnd(void);
    void glVertex2f(GLfloat x, GLfloat y);
}

inline namespace ZM_BUILD_NAMESPACE
{

namespace
{
// The shaders declare GLSL 1.20, which came with OpenGL 2.1 (as did the pixel
// unpack buffers that the texture upload puts aside).
constexpr int requiredGLVersion = 21;

bool loaded = false;

// The looked-up functions; the zmgl:: pointers forward to them.
namespace found
{
#define ZM_GL15_DEFINE_FOUND(type, name) type name = nullptr;
ZM_GL15_LOADED_ENTRY_POINTS(ZM_GL15_DEFINE_FOUND)
#undef ZM_GL15_DEFINE_FOUND
} // namespace found

bool CurrentContextIsRecentEnough()
{
    return GLVersionFromText(reinterpret_cast<const char*>(::glGetString(GL_VERSION))) >= requiredGLVersion;
}

template <typename Proc, Proc* target>
struct Forwarder;

template <typename Result, typename... Args, Result(APIENTRYP* target)(Args...)>
struct Forwarder<Result(APIENTRYP)(Args...), target>
{
    static Result APIENTRY Call(Args... args)
    {
        if (!loaded && !LoadGLEntryPoints15())
            return Result();
        return (*target)(args...);
    }
};
} // namespace

namespace zmgl
{
#define ZM_GL15_DEFINE_LOADED(type, name) type name = &Forwarder<type, &found::name>::Call;
ZM_GL15_LOADED_ENTRY_POINTS(ZM_GL15_DEFINE_LOADED)
#undef ZM_GL15_DEFINE_LOADED

#define ZM_GL15_DEFINE_SYSTEM(type, name) type name = &::name;
ZM_GL15_SYSTEM_ENTRY_POINTS(ZM_GL15_DEFINE_SYSTEM)
#undef ZM_GL15_DEFINE_SYSTEM
} // namespace zmgl

bool LoadGLEntryPoints15()
{
    // Without a context the version text is null; an older context cannot run the shaders.
    if (!CurrentContextIsRecentEnough())
        return false;
    if (loaded)
        return true;

    GLProcResolver resolver;
    if (!resolver.IsValid())
        return false;

    bool complete = true;
#define ZM_GL15_RESOLVE(type, name) complete = resolver.ResolveInto(found::name, #name) && complete;
    ZM_GL15_LOADED_ENTRY_POINTS(ZM_GL15_RESOLVE)
#undef ZM_GL15_RESOLVE
    loaded = complete;
    return loaded;
}

} // namespace ZM_BUILD_NAMESPACE
