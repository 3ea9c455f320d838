#include "GLProcResolver.h"

#include <cstdint>

#ifdef _WIN32
#include "WindowsIncludes.h"
#else
#include <dlfcn.h>
#endif

#ifdef _WIN32

// wglGetProcAddress answers only for functions beyond OpenGL 1.1 and signals
// "not found" with a handful of small values; the 1.1 functions are exports of
// OpenGL32.dll itself.
GLProcResolver::GLProcResolver() = default;
GLProcResolver::~GLProcResolver() = default;

bool GLProcResolver::IsValid() const
{
    return true;
}

GLProcResolver::AnyProc GLProcResolver::Resolve(const char* name) const
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

#else

// The host has already loaded its GL window-system library and made its
// context current; we only look the libraries up in the process and never
// load (or link) one ourselves.
GLProcResolver::GLProcResolver()
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

GLProcResolver::~GLProcResolver()
{
    // Each NOLOAD open took a reference; give it back.
    if (eglLibrary != nullptr)
        dlclose(eglLibrary);
    if (glxLibrary != nullptr)
        dlclose(glxLibrary);
}

bool GLProcResolver::IsValid() const
{
    return getProc != nullptr;
}

GLProcResolver::AnyProc GLProcResolver::Resolve(const char* name) const
{
    return getProc(name);
}

#endif

int GLVersionFromText(const char* text)
{
    if (text == nullptr)
        return 0;
    int major = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
    {
        major = major * 10 + (*text - '0');
        if (major > 1000)
            return 0;
    }
    const int minor = (*text == '.' && text[1] >= '0' && text[1] <= '9') ? text[1] - '0' : 0;
    return major * 10 + minor;
}
