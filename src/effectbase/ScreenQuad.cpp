#include "ScreenQuad.h"

#include "ScopedVBOBinding.h"
#include "VertexArrayBindingGuard.h"

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

namespace
{
// u, v, x, y, z per vertex: the upper-left triangle, then the lower-right one.
constexpr float quadVertices[] = {
    0.0f, 1.0f, -1.0f, 1.0f,  0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, -1.0f, -1.0f, 0.0f,
    0.0f, 0.0f, -1.0f, -1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f,  -1.0f, 0.0f,
};
static_assert(sizeof(quadVertices) == 120, "six vertices of five floats");

constexpr GLsizei vertexStride = 5 * sizeof(float);
constexpr std::uintptr_t texCoordOffset = 0;
constexpr std::uintptr_t positionOffset = 2 * sizeof(float);

const void* BufferOffset(std::uintptr_t offset)
{
    return reinterpret_cast<const void*>(offset);
}
} // namespace

bool ScreenQuad::Create()
{
    // Start from 0 so that a generator that writes nothing counts as a failure.
    GLuint newVertexArray = 0, newVertexBuffer = 0;
    zmgl::glGenVertexArrays(1, &newVertexArray);
    zmgl::glGenBuffers(1, &newVertexBuffer);
    vertexArray = newVertexArray;
    vertexBuffer = newVertexBuffer;

    if (vertexArray == 0 || vertexBuffer == 0)
    {
        Release();
        return false;
    }

    VertexArrayBindingGuard vertexArrayBinding(vertexArray);
    ffglex::ScopedVBOBinding bufferBinding(vertexBuffer);

    zmgl::glBufferData(GL_ARRAY_BUFFER, sizeof(quadVertices), quadVertices, GL_STATIC_DRAW);

    zmgl::glEnableVertexAttribArray(0);
    zmgl::glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, vertexStride, BufferOffset(positionOffset));

    zmgl::glEnableVertexAttribArray(1);
    zmgl::glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, vertexStride, BufferOffset(texCoordOffset));

    return true;
}

void ScreenQuad::Draw()
{
    if (vertexArray == 0 || vertexBuffer == 0)
        return;

    VertexArrayBindingGuard vertexArrayBinding(vertexArray);
    zmgl::glDrawArrays(GL_TRIANGLES, 0, 6);
}

void ScreenQuad::Release()
{
    zmgl::glDeleteBuffers(1, &vertexBuffer);
    vertexBuffer = 0;
    zmgl::glDeleteVertexArrays(1, &vertexArray);
    vertexArray = 0;
}

} // namespace ZM_BUILD_NAMESPACE
