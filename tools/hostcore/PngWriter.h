#pragma once

#include <cstdint>
#include <string>
#include <vector>

/*
    Writes a frame read back from the host framebuffer to an RGBA PNG file,
    byte for byte as rendered (straight alpha, nothing premultiplied). The
    pixels are RGBA bytes, first row at the top of the picture.

    Usage:
        std::string error;
        if (! PngWriter::Write("frame.png", width, height, fbo.ReadTopDown(), error)) fail (error);
*/
class PngWriter
{
public:
    /** Writes the file (replacing an existing one); false with the reason in error on failure. */
    static bool Write(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba,
                      std::string& error);
};
