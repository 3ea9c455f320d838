#include "EglContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstdlib>

namespace
{
std::string EglErrorText(const char* what)
{
    char code[32];
    std::snprintf(code, sizeof(code), " (EGL error 0x%04X)", static_cast<unsigned>(eglGetError()));
    return std::string(what) + code;
}
} // namespace

EglContext::~EglContext()
{
    Destroy();
}

bool EglContext::Create(Profile profile)
{
    Destroy();

    // Never pick up a GPU driver by accident: results must match on every machine.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);

    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr)
    {
        error = "EGL has no eglGetPlatformDisplayEXT";
        return false;
    }

    EGLDisplay dpy = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (dpy == EGL_NO_DISPLAY)
    {
        error = EglErrorText("no surfaceless EGL display");
        return false;
    }

    EGLint major = 0, minor = 0;
    if (!eglInitialize(dpy, &major, &minor))
    {
        error = EglErrorText("eglInitialize failed");
        return false;
    }
    display = dpy;

    if (!eglBindAPI(EGL_OPENGL_API))
    {
        error = EglErrorText("eglBindAPI(EGL_OPENGL_API) failed");
        Destroy();
        return false;
    }

    const EGLint core[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE
    };
    const EGLint compat[] = { EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE };

    EGLContext ctx =
        eglCreateContext(dpy, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, profile == Profile::Core33 ? core : compat);
    if (ctx == EGL_NO_CONTEXT)
    {
        error = EglErrorText("eglCreateContext failed");
        Destroy();
        return false;
    }
    context = ctx;

    if (!MakeCurrent())
    {
        Destroy();
        return false;
    }
    return true;
}

bool EglContext::MakeCurrent()
{
    if (context == nullptr)
    {
        error = "no context";
        return false;
    }
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
    {
        error = EglErrorText("eglMakeCurrent failed");
        return false;
    }
    return true;
}

void EglContext::Destroy()
{
    if (display != nullptr)
    {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context != nullptr)
            eglDestroyContext(display, context);
        // The display is not terminated: it is shared by every context of the
        // process, and terminating it unloads Mesa's driver, which makes the
        // next context slow to create and hides the driver's own allocations
        // from leak reports (they would show as an unknown module).
    }
    context = nullptr;
    display = nullptr;
}
