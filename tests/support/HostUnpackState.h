#pragma once

#include "GLTestEnvironment.h"

#include <cstring>
#include <vector>

/**
    A host that leaves every pixel-unpack setting away from its default, and,
    if asked, a pixel-unpack buffer bound, as video hosts that stream frames
    through such buffers do. ExpectUnchanged checks that the plug-in gave all
    of it back; the destructor restores GL's defaults.

    Usage, with a context current:
        HostUnpackState host (true);
        effect.Resize (&viewport);
        host.ExpectUnchanged();
*/
class HostUnpackState
{
public:
    explicit HostUnpackState(bool bindBuffer)
    {
        if (bindBuffer)
        {
            glGenBuffers(1, &buffer);
            glBindBuffer(GL_PIXEL_UNPACK_BUFFER, buffer);
            glBufferData(GL_PIXEL_UNPACK_BUFFER, 64, nullptr, GL_STREAM_DRAW);
        }
        for (const auto& setting : settings)
            glPixelStorei(setting.name, setting.hostValue);
    }

    ~HostUnpackState()
    {
        for (const auto& setting : settings)
            glPixelStorei(setting.name, setting.name == GL_UNPACK_ALIGNMENT ? 4 : 0);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        glDeleteBuffers(1, &buffer);
    }

    void ExpectUnchanged() const
    {
        for (const auto& setting : settings)
        {
            GLint value = -1;
            glGetIntegerv(setting.name, &value);
            EXPECT_EQ(value, setting.hostValue) << "0x" << std::hex << setting.name;
        }
        GLint bound = -1;
        glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &bound);
        EXPECT_EQ(bound, static_cast<GLint>(buffer));
    }

private:
    struct Setting
    {
        GLenum name;
        GLint hostValue;
    };
    static constexpr Setting settings[] = { { GL_UNPACK_ROW_LENGTH, 4000 }, { GL_UNPACK_SKIP_PIXELS, 3 },
                                            { GL_UNPACK_SKIP_ROWS, 5 },     { GL_UNPACK_SKIP_IMAGES, 2 },
                                            { GL_UNPACK_IMAGE_HEIGHT, 7 },  { GL_UNPACK_ALIGNMENT, 8 } };
    GLuint buffer = 0;
};

/** Whether the bound 2D texture holds, in its corner, the rows of 4-byte pixels given (the first row at t = 0). */
inline bool TextureHoldsRows(int textureWidth, int textureHeight, const uint8_t* firstRow, int width, int height,
                             int lineStride)
{
    std::vector<uint8_t> texels(static_cast<size_t>(textureWidth) * static_cast<size_t>(textureHeight) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    for (int y = 0; y < height; ++y)
        if (std::memcmp(&texels[static_cast<size_t>(y) * static_cast<size_t>(textureWidth) * 4],
                        firstRow + static_cast<ptrdiff_t>(y) * lineStride, static_cast<size_t>(width) * 4) != 0)
            return false;
    return true;
}
