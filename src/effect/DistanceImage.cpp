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

namespace
{
    juce::Path ToPath (const ClipperLib::Paths& polygons)
    {
        juce::Path path;

        for (auto& polygon : polygons)
        {
            if (polygon.empty())
                continue;

            path.startNewSubPath (static_cast<float> (polygon[0].X), static_cast<float> (polygon[0].Y));

            for (size_t i = 1; i < polygon.size(); ++i)
                path.lineTo (static_cast<float> (polygon[i].X), static_cast<float> (polygon[i].Y));

            path.closeSubPath();
        }

        return path;
    }

    // Rows painted together: all rings go over one strip before the next, so the
    // strip's pixels stay in the cache. Over a whole large image every ring's edges
    // land on rows long since evicted, and the fill waits on memory, not on work.
    int StripHeight (int width) noexcept
    {
        constexpr int stripBytes = 1024 * 1024;
        return juce::jlimit (8, 256, stripBytes / (4 * std::max (1, width)));
    }
}

void DistanceImage::PaintRings (juce::Image& image, const DistanceRings& rings)
{
    // Only the band that no later ring paints over is filled: filling the whole
    // inside again and again is what makes the plain approach slow.
    std::vector<juce::Path> bands;
    std::vector<juce::Rectangle<int>> bounds;
    bands.reserve (static_cast<size_t> (rings.GetNumRings()));
    bounds.reserve (static_cast<size_t> (rings.GetNumRings()));

    for (int n = 0; n < rings.GetNumRings(); ++n)
    {
        bands.push_back (ToPath (rings.GetBand (n)));
        bounds.push_back (bands.back().getBounds().getSmallestIntegerContainer().expanded (1));
    }

    juce::Graphics g (image);
    auto stripHeight = StripHeight (image.getWidth());

    for (int top = 0; top < image.getHeight(); top += stripHeight)
    {
        juce::Rectangle<int> strip (0, top, image.getWidth(), std::min (stripHeight, image.getHeight() - top));

        juce::Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (strip);
        g.setColour (juce::Colours::white);
        g.fillRect (strip);

        for (size_t n = 0; n < bands.size(); ++n)
        {
            if (! bounds[n].intersects (strip))
                continue;

            auto level = static_cast<juce::uint8> (DistanceRings::GetGreyLevel (static_cast<int> (n)));
            g.setColour (juce::Colour (level, level, level));
            g.fillPath (bands[n]);
        }
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
