#pragma once

#include <GL/glcorearb.h>

#include <array>
#include <cstddef>

inline namespace ZM_BUILD_NAMESPACE
{

/**
    Puts the host's pixel-unpack state aside for the length of a scope and
    sets what an upload of tightly packed rows from our own memory needs: no
    unpack buffer bound, rows as long as the image, nothing skipped, byte
    alignment. When the scope ends, also by an exception, the host gets back
    every value it had, so it finds its context as it left it.

    Without this a host that leaves GL_UNPACK_ROW_LENGTH set makes an upload
    read past the end of the image, and one that leaves a pixel-unpack buffer
    bound makes it read from that buffer instead.

    Usage, with the texture bound:
        {
            const ScopedPixelUnpackState unpack;
            zmgl::glTexSubImage2D (GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        }
*/
class ScopedPixelUnpackState
{
public:
    /** Reads the host's values and sets the upload's. */
    ScopedPixelUnpackState();

    /** Puts the host's values back. */
    ~ScopedPixelUnpackState();

    ScopedPixelUnpackState(const ScopedPixelUnpackState&) = delete;
    ScopedPixelUnpackState& operator=(const ScopedPixelUnpackState&) = delete;

private:
    static constexpr size_t numStoreParameters = 6;

    std::array<GLint, numStoreParameters> hostValues {};
    GLint hostBuffer = 0;
};

} // namespace ZM_BUILD_NAMESPACE
