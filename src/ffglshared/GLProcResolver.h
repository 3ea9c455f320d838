#pragma once

/**
    Looks OpenGL entry points up by name for the context current on this
    thread, through the window system's own lookup: wglGetProcAddress (and
    OpenGL32.dll's exports for the OpenGL 1.1 functions) on Windows,
    eglGetProcAddress or glXGetProcAddressARB of the library the host has
    loaded on Linux. It never loads a library itself.

    Lookups answer with dispatch stubs even for names the context does not
    know, so callers check the context's version (GLVersionFromText) before
    they trust a list of names.

    Usage, with the host's context current:
        GLProcResolver resolver;
        if (resolver.IsValid())
            useProgram = reinterpret_cast<PFNGLUSEPROGRAMPROC> (resolver.Resolve ("glUseProgram"));
*/
class GLProcResolver
{
public:
    using AnyProc = void (*)();

    GLProcResolver();
    ~GLProcResolver();

    GLProcResolver(const GLProcResolver&) = delete;
    GLProcResolver& operator=(const GLProcResolver&) = delete;

    /** Whether a lookup exists in this process at all. */
    bool IsValid() const;

    /** The entry point of that name, or nullptr. */
    AnyProc Resolve(const char* name) const;

    /** Resolves into a typed pointer; false (and nullptr stored) when the name is not found. */
    template <typename Fn>
    bool ResolveInto(Fn& target, const char* name) const
    {
        target = reinterpret_cast<Fn>(Resolve(name));
        return target != nullptr;
    }

private:
    void* eglLibrary = nullptr;
    void* glxLibrary = nullptr;
    AnyProc (*getProc)(const char*) = nullptr;
};

/** The version at the start of a GL_VERSION text such as "4.5 (Core Profile) Mesa", as
    major x 10 + minor (45; a missing minor counts as 0); 0 when the text is null or
    does not start with a number. */
int GLVersionFromText(const char* text);
