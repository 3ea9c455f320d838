#include "VertexArrayBindingGuard.h"

VertexArrayBindingGuard::VertexArrayBindingGuard(GLuint vertexArray)
    : bound(true)
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
