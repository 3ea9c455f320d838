#include "DistanceImage.h"

#include <cmath>
#include <limits>

bool DistanceImage::IsUsableSize (int width, int height) noexcept
{
    return width > 0 && height > 0 && width <= maxSide && height <= maxSide;
}

bool DistanceImage::PrepareImage (std::unique_ptr<juce::Image>& image, int width, int height) noexcept
{
    if (! IsUsableSize (width, height))
    {
        image.reset();
        return false;
    }

    if (image != nullptr && image->getWidth() == width && image->getHeight() == height)
        return true;

    try
    {
        auto fresh = std::make_unique<juce::Image> (juce::Image::ARGB, width, height, false);

        // JUCE reports a failed pixel allocation only as a null pixel pointer.
        juce::Image::BitmapData pixels (*fresh, juce::Image::BitmapData::readOnly);

        if (pixels.data == nullptr)
        {
            image.reset();
            return false;
        }

        image = std::move (fresh);
        return true;
    }
    catch (...)
    {
        image.reset();
        return false;
    }
}

void DistanceImage::PaintRings (juce::Image& image, const DistanceRings& rings)
{
    juce::Graphics g (image);
    g.setColour (juce::Colours::white);
    g.fillAll();

    juce::Path band;

    for (int n = 0; n < rings.GetNumRings(); ++n)
    {
        // Only the band that no later ring paints over is filled: filling the whole
        // inside again and again is what makes the plain approach slow.
        band.clear();

        for (auto& polygon : rings.GetBand (n))
        {
            if (polygon.empty())
                continue;

            band.startNewSubPath (static_cast<float> (polygon[0].X), static_cast<float> (polygon[0].Y));

            for (size_t i = 1; i < polygon.size(); ++i)
                band.lineTo (static_cast<float> (polygon[i].X), static_cast<float> (polygon[i].Y));

            band.closeSubPath();
        }

        auto level = static_cast<juce::uint8> (DistanceRings::GetGreyLevel (n));
        g.setColour (juce::Colour (level, level, level));
        g.fillPath (band);
    }
}

bool DistanceImage::Rebuild (std::unique_ptr<juce::Image>& image,
                             const std::vector<ScreenInfo>& screens,
                             int width, int height,
                             const OutlinePolygons::Switches& switches) noexcept
{
    if (! PrepareImage (image, width, height))
        return false;

    try
    {
        DistanceRings rings (OutlinePolygons::Collect (screens, width, height, switches));
        PaintRings (*image, rings);
        return true;
    }
    catch (...)
    {
        return false;
    }
}

int DistanceImage::PaddedTextureSize (int size) noexcept
{
    auto padded = std::ceil (static_cast<float> (size) * 0.0625f) * 16.0f;

    // Near the top of the int range the float result no longer fits.
    if (padded >= 2147483648.0f)
        return std::numeric_limits<int>::max() & ~15;

    return static_cast<int> (padded);
}
