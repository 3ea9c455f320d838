#include "ImmediateQuad.h"

#include "GLEntryPoints15.h"

inline namespace ZM_BUILD_NAMESPACE
{

void ImmediateQuad::Draw(float maxS, float maxT, bool sendTexCoords)
{
    struct Corner
    {
        float x, y, s, t;
    };
    const Corner corners[] = { { -1.0f, -1.0f, 0.0f, 0.0f },
                               { -1.0f, 1.0f, 0.0f, maxT },
                               { 1.0f, 1.0f, maxS, maxT },
                               { 1.0f, -1.0f, maxS, 0.0f } };

    zmgl::glBegin(GL_QUADS);
    for (const auto& corner : corners)
    {
        if (sendTexCoords)
            zmgl::glMultiTexCoord2f(GL_TEXTURE0, corner.s, corner.t);
        zmgl::glVertex2f(corner.x, corner.y);
    }
    zmgl::glEnd();
}

} // namespace ZM_BUILD_NAMESPACE
