#pragma once

#include <string>

/*
    A headless OpenGL context: EGL on Mesa's surfaceless platform, made current
    with no surface, so that GL runs without a window system (llvmpipe when no
    GPU is present). The headless host and the GL tests create one and render
    into a framebuffer object of their own.

    Usage:
        EglContext gl;
        if (! gl.Create (EglContext::Profile::Core33)) fail (gl.GetError());
*/
class EglContext
{
public:
    enum class Profile
    {
        Core33,       ///< OpenGL 3.3 core, what an FFGL 2.1 host offers
        Compatibility ///< a compatibility profile, what an FFGL 1.5 host offers
    };

    EglContext() = default;
    ~EglContext();
    EglContext(const EglContext&) = delete;
    EglContext& operator=(const EglContext&) = delete;

    /** Creates the context and makes it current; false with GetError() set on failure. */
    bool Create(Profile profile);

    /** Makes the context current again (after another context was used). */
    bool MakeCurrent();

    /** Releases the context; also done by the destructor. */
    void Destroy();

    bool IsValid() const { return context != nullptr; }
    const std::string& GetError() const { return error; }

private:
    void* display = nullptr;
    void* context = nullptr;
    std::string error;
};
