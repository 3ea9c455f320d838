#pragma once

inline namespace ZM_BUILD_NAMESPACE
{

/**
    The full-screen quad of the FFGL 1.5 build, drawn in immediate mode: four
    vertices from (-1, -1) round to (1, -1), with texture coordinates on unit 0
    running to (maxS, maxT) when asked for. It holds no GL objects, so Create
    and Release do nothing; they keep it interchangeable with ScreenQuad.

    Usage, with the program in use and the texture bound:
        quad.Draw (maxS, maxT, hasInputs);
*/
class ImmediateQuad
{
public:
    /** Nothing to create; true. */
    bool Create() { return true; }

    /** Draws the four corners between one glBegin and one glEnd, each preceded by its
        texture coordinate when sendTexCoords is set. */
    void Draw(float maxS, float maxT, bool sendTexCoords);

    /** Nothing to release. */
    void Release() {}
};

} // namespace ZM_BUILD_NAMESPACE
