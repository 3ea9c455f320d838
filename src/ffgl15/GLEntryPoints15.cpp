#include "GLEntryPoints15.h"

/*
    The loader is libepoxy. Its header renames every gl* identifier by macro,
    which would rename our zmgl:: pointers too, so the few symbols we need from
    it are declared here instead: its version query and its dispatch pointers
    (each resolves itself on its first call).

    Epoxy aborts the process when it cannot resolve a function (no current
    context, or no provider in the context's version), so no call reaches it
    before a check has shown that a GL 2.0 context is current. The check is
    made once per entry point: once epoxy has resolved one, it is a plain GL
    function, which without a context does nothing.
*/
extern "C"
{
int epoxy_gl_version(void);

#define ZM_GL15_DECLARE_EPOXY(type, name) extern type epoxy_##name;
ZM_GL15_LAZY_ENTRY_POINTS(ZM_GL15_DECLARE_EPOXY)
#undef ZM_GL15_DECLARE_EPOXY

// The system's OpenGL 1.1 functions (the core header declares them only with
// prototypes switched on, and immediate mode not at all).
void glGenTextures(GLsizei n, GLuint* textures);
void glBindTexture(GLenum target, GLuint texture);
void glTexParameteri(GLenum target, GLenum pname, GLint param);
void glPixelStorei(GLenum pname, GLint param);
void glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels);
void glTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width,
                     GLsizei height, GLenum format, GLenum type, const void* pixels);
void glDeleteTextures(GLsizei n, const GLuint* textures);
void glDisable(GLenum cap);
void glBegin(GLenum mode);
void glEnd(void);
void glVertex2f(GLfloat x, GLfloat y);
}

namespace
{
// epoxy_gl_version() reads GL_VERSION without resolving anything beyond
// OpenGL 1.0, and gives 0 when no context is current.
bool LoaderCanBind()
{
    return epoxy_gl_version() >= 20;
}

template <typename Proc, Proc* target>
struct LazyEntryPoint;

template <typename Result, typename... Args, Result (APIENTRYP* target)(Args...)>
struct LazyEntryPoint<Result (APIENTRYP)(Args...), target>
{
    static inline bool bound = false;

    static Result APIENTRY Call(Args... args)
    {
        if (! bound)
        {
            if (! LoaderCanBind())
                return Result();
            bound = true;
        }
        return (*target)(args...);
    }
};
} // namespace

namespace zmgl
{
#define ZM_GL15_DEFINE_LAZY(type, name) type name = &LazyEntryPoint<type, &epoxy_##name>::Call;
ZM_GL15_LAZY_ENTRY_POINTS(ZM_GL15_DEFINE_LAZY)
#undef ZM_GL15_DEFINE_LAZY

#define ZM_GL15_DEFINE_SYSTEM(type, name) type name = &::name;
ZM_GL15_SYSTEM_ENTRY_POINTS(ZM_GL15_DEFINE_SYSTEM)
#undef ZM_GL15_DEFINE_SYSTEM
} // namespace zmgl
