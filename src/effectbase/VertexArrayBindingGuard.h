#pragma once

#include "GLEntryPoints.h"

inline namespace ZM_BUILD_NAMESPACE
{

/**
    Binds a vertex-array object for the length of a scope and binds 0 when the
    scope ends, also when it is left by an exception. The previous binding is
    not restored.

    Usage:
        {
            VertexArrayBindingGuard guard (vertexArray);
            zmgl::glDrawArrays (GL_TRIANGLES, 0, 6);
        }
*/
class VertexArrayBindingGuard
{
public:
    /** Binds the named vertex array. */
    explicit VertexArrayBindingGuard(GLuint vertexArray);

    /** Binds vertex array 0. */
    ~VertexArrayBindingGuard();

    VertexArrayBindingGuard(const VertexArrayBindingGuard&) = delete;
    VertexArrayBindingGuard& operator=(const VertexArrayBindingGuard&) = delete;

private:
    bool bound;
};

} // namespace ZM_BUILD_NAMESPACE
