#include "HostFramebuffer.h"

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

#include <cstring>

HostFramebuffer::~HostFramebuffer()
{
    Destroy();
}

bool HostFramebuffer::Create(uint32_t newWidth, uint32_t newHeight)
{
    Destroy();

    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (newWidth == 0 || newHeight == 0 || newWidth > static_cast<uint32_t>(maxSize) ||
        newHeight > static_cast<uint32_t>(maxSize))
    {
        error = "framebuffer size " + std::to_string(newWidth) + "x" + std::to_string(newHeight) +
                " not supported (at most " + std::to_string(maxSize) + ")";
        return false;
    }

    glGenRenderbuffers(1, &colourBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(newWidth), static_cast<GLsizei>(newHeight));
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);

    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    {
        error = "framebuffer incomplete";
        Destroy();
        return false;
    }

    width = newWidth;
    height = newHeight;
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    return true;
}

void HostFramebuffer::Destroy()
{
    if (framebuffer != 0)
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
    }
    if (colourBuffer != 0)
        glDeleteRenderbuffers(1, &colourBuffer);
    framebuffer = 0;
    colourBuffer = 0;
    width = 0;
    height = 0;
}

void HostFramebuffer::BindAndClear()
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));

    // The plug-in may leave scissoring or a colour mask behind; neither may hide the clear.
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<uint8_t> HostFramebuffer::ReadTopDown()
{
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> bottomUp(rowBytes * height);
    if (bottomUp.empty())
        return bottomUp;

    // Read from our own buffer whatever the plug-in left bound or set for pixel transfers.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA, GL_UNSIGNED_BYTE,
                 bottomUp.data());

    // GL's row 0 is the bottom of the viewport.
    std::vector<uint8_t> topDown(bottomUp.size());
    for (uint32_t row = 0; row < height; ++row)
        std::memcpy(topDown.data() + static_cast<size_t>(row) * rowBytes,
                    bottomUp.data() + static_cast<size_t>(height - 1 - row) * rowBytes, rowBytes);
    return topDown;
}
