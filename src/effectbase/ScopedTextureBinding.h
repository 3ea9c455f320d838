#pragma once

#include <GL/glcorearb.h>

inline namespace ZM_BUILD_NAMESPACE
{

/**
    Binds a 2D texture on the active texture unit for the length of a scope and
    puts back the texture the host had bound there when the scope ends, also by
    an exception. Unlike the scoped buffer bindings, which bind 0 at the end,
    this one is for work done outside our own draw, where the host's binding
    must survive (a host keeps its own textures bound on its units between calls).

    Usage, with the GL context current:
        {
            const ScopedTextureBinding binding (texture);
            zmgl::glTexImage2D (GL_TEXTURE_2D, ...);
        }
*/
class ScopedTextureBinding
{
public:
    /** Notes the 2D texture bound on the active unit and binds `texture` in its place. */
    explicit ScopedTextureBinding(GLuint texture);

    /** Binds the noted texture again. */
    ~ScopedTextureBinding();

    ScopedTextureBinding(const ScopedTextureBinding&) = delete;
    ScopedTextureBinding& operator=(const ScopedTextureBinding&) = delete;

private:
    GLint hostTexture = 0;
};

} // namespace ZM_BUILD_NAMESPACE
