#include "PngWriter.h"

#include <juce_graphics/juce_graphics.h>

bool PngWriter::Write(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba,
                      std::string& error)
{
    if (width == 0 || height == 0 || rgba.size() != static_cast<size_t>(width) * height * 4)
    {
        error = "no picture to write";
        return false;
    }

    juce::Image image(juce::Image::ARGB, static_cast<int>(width), static_cast<int>(height), true);
    {
        juce::Image::BitmapData pixels(image, juce::Image::BitmapData::writeOnly);
        const uint8_t* source = rgba.data();
        for (int y = 0; y < static_cast<int>(height); ++y)
            for (int x = 0; x < static_cast<int>(width); ++x, source += 4)
                pixels.setPixelColour(x, y, juce::Colour(source[0], source[1], source[2], source[3]));
    }

    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path));
    if (file.isDirectory() || ! file.getParentDirectory().isDirectory())
    {
        error = "cannot write " + path + ": no such folder";
        return false;
    }

    // Write beside the target first so a failed write never leaves half a PNG under the real name.
    juce::TemporaryFile temporary(file);
    bool written = false;
    {
        juce::FileOutputStream stream(temporary.getFile());
        juce::PNGImageFormat png;
        written = stream.openedOk() && png.writeImageToStream(image, stream);
        stream.flush();
        written = written && ! stream.getStatus().failed();
    }
    if (! written || ! temporary.overwriteTargetFileWithTemporary())
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
