#include "VertexArrayBindingGuard.h"

inline namespace ZM_BUILD_NAMESPACE
{

VertexArrayBindingGuard::VertexArrayBindingGuard(GLuint vertexArray) : bound(true)
{
    zmgl::glBindVertexArray(vertexArray);
}

VertexArrayBindingGuard::~VertexArrayBindingGuard()
{
    if (bound)
    {
        zmgl::glBindVertexArray(0);
        bound = false;
    }
}

} // namespace ZM_BUILD_NAMESPACE
