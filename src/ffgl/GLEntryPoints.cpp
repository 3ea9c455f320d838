#include "GLEntryPoints.h"

#include "GLProcResolver.h"

inline namespace ZM_BUILD_NAMESPACE
{

namespace zmgl
{
#define ZM_GL_DEFINE_ENTRY_POINT(type, name) type name = nullptr;
ZM_GL_ENTRY_POINTS(ZM_GL_DEFINE_ENTRY_POINT)
#undef ZM_GL_DEFINE_ENTRY_POINT
} // namespace zmgl

int32_t LoadGLEntryPoints()
{
    GLProcResolver resolver;
    if (!resolver.IsValid())
        return 0;

    // Resolvers answer with dispatch stubs even for names no context knows, so
    // only the current context's own version tells whether the list can be called.
    if (!resolver.ResolveInto(zmgl::glGetString, "glGetString"))
        return 0;

    const auto* versionText = reinterpret_cast<const char*>(zmgl::glGetString(GL_VERSION));
    if (versionText == nullptr)
        return 0; // no current context

    int major = GLVersionFromText(versionText) / 10;
    if (major >= 3)
    {
        if (!resolver.ResolveInto(zmgl::glGetIntegerv, "glGetIntegerv") ||
            !resolver.ResolveInto(zmgl::glGetStringi, "glGetStringi"))
            return 0;
        GLint reported = 0;
        zmgl::glGetIntegerv(GL_MAJOR_VERSION, &reported);
        major = reported;
    }
    if (major < 3)
        return 0;

    bool complete = true;
#define ZM_GL_RESOLVE_ENTRY_POINT(type, name) complete = resolver.ResolveInto(zmgl::name, #name) && complete;
    ZM_GL_ENTRY_POINTS(ZM_GL_RESOLVE_ENTRY_POINT)
#undef ZM_GL_RESOLVE_ENTRY_POINT

    return complete ? 1 : 0;
}

} // namespace ZM_BUILD_NAMESPACE
