#pragma once

#include <cstdint>
#include <string>
#include <vector>

/*
    The host's render target: an RGBA8 framebuffer object of a given size that
    the plug-in draws into, cleared before each frame and read back afterwards.
    Needs a current GL context for its whole life.

    Usage:
        HostFramebuffer fbo;
        if (! fbo.Create(1920, 1080)) fail (fbo.GetError());
        fbo.BindAndClear();
        lib.ProcessFrame(instance, fbo.GetId());
        std::vector<uint8_t> rgba = fbo.ReadTopDown();
*/
class HostFramebuffer
{
public:
    HostFramebuffer() = default;
    ~HostFramebuffer();
    HostFramebuffer(const HostFramebuffer&) = delete;
    HostFramebuffer& operator=(const HostFramebuffer&) = delete;

    /** (Re)creates the framebuffer at the given size and binds it; false with GetError() on failure. */
    bool Create(uint32_t width, uint32_t height);

    /** Deletes the GL objects; also done by the destructor (the context must still be current). */
    void Destroy();

    /** Binds the framebuffer, sets the viewport to it and clears it to transparent black. */
    void BindAndClear();

    /** Reads the pixels back as RGBA bytes, first row at the top of the viewport. */
    std::vector<uint8_t> ReadTopDown();

    uint32_t GetId() const { return framebuffer; }
    uint32_t GetWidth() const { return width; }
    uint32_t GetHeight() const { return height; }
    const std::string& GetError() const { return error; }

private:
    uint32_t framebuffer = 0;
    uint32_t colourBuffer = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::string error;
};
