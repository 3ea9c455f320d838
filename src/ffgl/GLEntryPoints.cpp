#include "GLEntryPoints.h"

#include <cstdint>
#include <cstdlib>

#ifdef _WIN32
 #include "WindowsIncludes.h"
#else
 #include <dlfcn.h>
#endif

namespace zmgl
{
#define ZM_GL_DEFINE_ENTRY_POINT(type, name) type name = nullptr;
ZM_GL_ENTRY_POINTS(ZM_GL_DEFINE_ENTRY_POINT)
#undef ZM_GL_DEFINE_ENTRY_POINT
} // namespace zmgl

namespace
{
using AnyProc = void (*)();

#ifdef _WIN32

// wglGetProcAddress answers only for functions beyond OpenGL 1.1 and signals
// "not found" with a handful of small values; the 1.1 functions are exports of
// OpenGL32.dll itself.
class ProcResolver
{
public:
    bool IsValid() const { return true; }

    AnyProc Resolve(const char* name) const
    {
        PROC proc = wglGetProcAddress(name);
        const auto value = reinterpret_cast<intptr_t>(proc);
        if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1)
        {
            HMODULE openGL = GetModuleHandleA("OpenGL32.dll");
            proc = openGL != nullptr ? GetProcAddress(openGL, name) : nullptr;
        }
        return reinterpret_cast<AnyProc>(proc);
    }
};

#else

// The host has already loaded its GL window-system library and made its
// context current; we only look the libraries up in the process and never
// load (or link) one ourselves.
class ProcResolver
{
public:
    ProcResolver()
    {
        using GetProc = AnyProc (*)(const char*);
        using GetCurrent = void* (*)();

        GetProc eglGetProc = nullptr;
        GetProc glxGetProc = nullptr;
        GetCurrent eglCurrent = nullptr;
        GetCurrent glxCurrent = nullptr;

        if (void* egl = dlopen("libEGL.so.1", RTLD_LAZY | RTLD_NOLOAD))
        {
            eglLibrary = egl;
            eglGetProc = reinterpret_cast<GetProc>(dlsym(egl, "eglGetProcAddress"));
            eglCurrent = reinterpret_cast<GetCurrent>(dlsym(egl, "eglGetCurrentContext"));
        }
        if (void* glx = dlopen("libGL.so.1", RTLD_LAZY | RTLD_NOLOAD))
        {
            glxLibrary = glx;
            glxGetProc = reinterpret_cast<GetProc>(dlsym(glx, "glXGetProcAddressARB"));
            glxCurrent = reinterpret_cast<GetCurrent>(dlsym(glx, "glXGetCurrentContext"));
        }

        // Prefer the API whose context is actually current; otherwise take
        // whichever is there and let the version check find there is no context.
        if (eglGetProc != nullptr && eglCurrent != nullptr && eglCurrent() != nullptr)
            getProc = eglGetProc;
        else if (glxGetProc != nullptr && glxCurrent != nullptr && glxCurrent() != nullptr)
            getProc = glxGetProc;
        else
            getProc = eglGetProc != nullptr ? eglGetProc : glxGetProc;
    }

    ~ProcResolver()
    {
        // Each NOLOAD open took a reference; give it back.
        if (eglLibrary != nullptr)
            dlclose(eglLibrary);
        if (glxLibrary != nullptr)
            dlclose(glxLibrary);
    }

    ProcResolver(const ProcResolver&) = delete;
    ProcResolver& operator=(const ProcResolver&) = delete;

    bool IsValid() const { return getProc != nullptr; }

    AnyProc Resolve(const char* name) const { return getProc(name); }

private:
    void* eglLibrary = nullptr;
    void* glxLibrary = nullptr;
    AnyProc (*getProc)(const char*) = nullptr;
};

#endif

// The leading major number of a GL_VERSION text such as "4.5 (Core Profile) Mesa";
// 0 when the text does not start with one.
int MajorVersionFromText(const char* text)
{
    int major = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
    {
        major = major * 10 + (*text - '0');
        if (major > 1000)
            break;
    }
    return major;
}

template <typename Fn>
bool ResolveInto(const ProcResolver& resolver, Fn& target, const char* name)
{
    target = reinterpret_cast<Fn>(resolver.Resolve(name));
    return target != nullptr;
}
} // namespace

int32_t LoadGLEntryPoints()
{
    ProcResolver resolver;
    if (! resolver.IsValid())
        return 0;

    // Resolvers answer with dispatch stubs even for names no context knows, so
    // only the current context's own version tells whether the list can be called.
    if (! ResolveInto(resolver, zmgl::glGetString, "glGetString"))
        return 0;

    const auto* versionText = reinterpret_cast<const char*>(zmgl::glGetString(GL_VERSION));
    if (versionText == nullptr)
        return 0; // no current context

    int major = MajorVersionFromText(versionText);
    if (major >= 3)
    {
        if (! ResolveInto(resolver, zmgl::glGetIntegerv, "glGetIntegerv")
            || ! ResolveInto(resolver, zmgl::glGetStringi, "glGetStringi"))
            return 0;
        GLint reported = 0;
        zmgl::glGetIntegerv(GL_MAJOR_VERSION, &reported);
        major = reported;
    }
    if (major < 3)
        return 0;

    bool complete = true;
#define ZM_GL_RESOLVE_ENTRY_POINT(type, name) complete = ResolveInto(resolver, zmgl::name, #name) && complete;
    ZM_GL_ENTRY_POINTS(ZM_GL_RESOLVE_ENTRY_POINT)
#undef ZM_GL_RESOLVE_ENTRY_POINT

    return complete ? 1 : 0;
}
