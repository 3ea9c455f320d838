#pragma once

#include "GLEntryPoints.h"

inline namespace ZM_BUILD_NAMESPACE
{

/**
    Two triangles that cover the whole viewport, held in one vertex array and
    one vertex buffer: the geometry an effect draws once per frame through its
    shader program.

    Each vertex carries a position in normalised device coordinates at
    attribute location 0 and a texture coordinate at location 1, running from
    (0, 0) at the bottom-left corner of the viewport to (1, 1) at the top-right
    one; a vertex shader drawn with the quad declares those two locations.

    Usage, with the GL context current:
        quad.Create();          // once, at GL initialisation
        quad.Draw();            // each frame, with the program in use
        quad.Release();         // at GL de-initialisation

    Destroying the object makes no GL call: the owner releases the GL objects
    while its context is current.
*/
class ScreenQuad
{
public:
    ScreenQuad() = default;

    ScreenQuad(const ScreenQuad&) = delete;
    ScreenQuad& operator=(const ScreenQuad&) = delete;

    /**
        Generates the vertex array and buffer, uploads the vertices and records
        the attribute layout. Leaves the vertex-array and array-buffer bindings
        at 0. Returns false, holding no GL objects, when GL gives no names.
    */
    bool Create();

    /** Draws the six vertices as triangles; does nothing (no GL call) unless created. */
    void Draw();

    /**
        Deletes the buffer and then the vertex array and forgets both names.
        Both deletions are made even when a name is 0, which GL ignores.
    */
    void Release();

    /** The GL vertex-array name, 0 when there is none. */
    GLuint GetVertexArray() const { return vertexArray; }

    /** The GL buffer name, 0 when there is none. */
    GLuint GetVertexBuffer() const { return vertexBuffer; }

private:
    GLuint vertexArray = 0;
    GLuint vertexBuffer = 0;
};

} // namespace ZM_BUILD_NAMESPACE
