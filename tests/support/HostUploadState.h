#pragma once

#include "GLTestEnvironment.h"

#include <cstring>
#include <vector>

/**
    A host that leaves every pixel-unpack setting away from its default, its
    own texture bound on texture unit 3 as the active unit, and, if asked, a
    pixel-unpack buffer bound, as video hosts that stream frames through such
    buffers do. ExpectUnchanged checks that the plug-in gave all of it back;
    the destructor restores GL's defaults.

    Usage, with a context current:
        HostUploadState host (true);
        effect.Resize (&viewport);
        host.ExpectUnchanged();

    After a frame, which leaves unit 0 active by the FFGL convention, pass
    afterFrame: unit 3 must still hold the host's texture.
*/
class HostUploadState
{
public:
    static constexpr bool afterFrame = true;

    explicit HostUploadState(bool bindBuffer)
    {
        if (bindBuffer)
        {
            glGenBuffers(1, &buffer);
            glBindBuffer(GL_PIXEL_UNPACK_BUFFER, buffer);
            glBufferData(GL_PIXEL_UNPACK_BUFFER, 64, nullptr, GL_STREAM_DRAW);
        }
        for (const auto& setting : settings)
            glPixelStorei(setting.name, setting.hostValue);

        glGenTextures(1, &texture);
        glActiveTexture(GL_TEXTURE3);
        glBindTexture(GL_TEXTURE_2D, texture);
    }

    ~HostUploadState()
    {
        for (const auto& setting : settings)
            glPixelStorei(setting.name, setting.name == GL_UNPACK_ALIGNMENT ? 4 : 0);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        glDeleteBuffers(1, &buffer);

        glActiveTexture(GL_TEXTURE3);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &texture);
        glActiveTexture(GL_TEXTURE0);
    }

    void ExpectUnchanged(bool frameRan = false) const
    {
        GLint active = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        EXPECT_EQ(active, frameRan ? GL_TEXTURE0 : GL_TEXTURE3);
        glActiveTexture(GL_TEXTURE3);
        GLint onUnit3 = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &onUnit3);
        EXPECT_EQ(onUnit3, static_cast<GLint>(texture)) << "the host's texture on its unit";
        glActiveTexture(static_cast<GLenum>(active));

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
    GLuint texture = 0;
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
