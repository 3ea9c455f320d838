#include "DistanceImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <limits>
#include <vector>

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
    // Images up to this size are painted in one pass; larger ones strip by strip.
    constexpr size_t wholeImageBytes = 16u << 20;
    constexpr size_t stripBytes = 1u << 20;

    // Reuses the path's storage: one path serves every ring in turn.
    void ToPath (const ClipperLib::Paths& polygons, juce::Path& path)
    {
        path.clear();

        for (auto& polygon : polygons)
        {
            if (polygon.empty())
                continue;

            path.startNewSubPath (static_cast<float> (polygon[0].X), static_cast<float> (polygon[0].Y));

            for (size_t i = 1; i < polygon.size(); ++i)
                path.lineTo (static_cast<float> (polygon[i].X), static_cast<float> (polygon[i].Y));

            path.closeSubPath();
        }
    }

    // Most of a rebuild's pixels are runs of one colour: the C library's wide-character
    // fill stores them many at a time where wchar_t is a 32-bit pixel.
    void FillPixels (void* destination, int count, juce::PixelARGB colour) noexcept
    {
        if constexpr (sizeof (wchar_t) == sizeof (juce::PixelARGB))
            std::wmemset (static_cast<wchar_t*> (destination), static_cast<wchar_t> (colour.getNativeARGB()),
                          static_cast<size_t> (count));
        else
            std::fill_n (static_cast<juce::PixelARGB*> (destination), count, colour);
    }

    // Blends an opaque colour over an ARGB image through an edge table's coverage,
    // with the same pixel arithmetic as a Graphics solid-colour fill, so that the
    // result matches Graphics::fillPath while skipping the renderer's clip-region
    // work and its per-call overhead.
    class SolidFill
    {
    public:
        SolidFill (const juce::Image::BitmapData& pixels, juce::PixelARGB colour) noexcept
            : destination (pixels), source (colour) {}

        void setEdgeTableYPos (int y) noexcept
        {
            line = reinterpret_cast<juce::PixelARGB*> (destination.getLinePointer (y));
        }

        void handleEdgeTablePixel (int x, int alpha) const noexcept
        {
            line[x].blend (source, static_cast<juce::uint32> (alpha));
        }

        void handleEdgeTablePixelFull (int x) const noexcept
        {
            line[x].blend (source);
        }

        void handleEdgeTableLine (int x, int width, int alpha) const noexcept
        {
            auto colour = source;
            colour.multiplyAlpha (alpha);

            if (colour.getAlpha() >= 0xff)
                Replace (x, width, colour);
            else
                for (auto* p = line + x, *end = p + width; p != end; ++p)
                    p->blend (colour);
        }

        void handleEdgeTableLineFull (int x, int width) const noexcept
        {
            Replace (x, width, source);
        }

    private:
        void Replace (int x, int width, juce::PixelARGB colour) const noexcept
        {
            FillPixels (line + x, width, colour);
        }

        const juce::Image::BitmapData& destination;
        juce::PixelARGB source;
        juce::PixelARGB* line = nullptr;
    };
}

void DistanceImage::PaintRings (juce::Image& image, const DistanceRings& rings)
{
    // The fill below writes 32-bit pixels directly; any other layout is converted first.
    if (image.getFormat() != juce::Image::ARGB)
        image = image.convertedToFormat (juce::Image::ARGB);

    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readWrite);

    if (pixels.data == nullptr || pixels.pixelStride != 4)
        return;

    for (int y = 0; y < pixels.height; ++y)
        std::memset (pixels.getLinePointer (y), 0xff, static_cast<size_t> (pixels.width) * 4);

    // Only the band that no later ring paints over is filled: filling the whole
    // inside again and again is what makes the plain approach slow. Each band is
    // rasterised with JUCE's edge table and blended straight into the pixels.
    std::vector<juce::Path> bands (static_cast<size_t> (rings.GetNumRings()));
    std::vector<juce::Rectangle<int>> bandBounds (bands.size());
    auto imageBounds = image.getBounds();

    for (size_t n = 0; n < bands.size(); ++n)
    {
        ToPath (rings.GetBand (static_cast<int> (n)), bands[n]);
        bandBounds[n] = bands[n].getBounds().getSmallestIntegerContainer().expanded (1).getIntersection (imageBounds);
    }

    // An image that fits the processor's cache is painted band by band in one pass.
    // A larger one is painted in strips of rows, every band over one strip before the
    // next, so that the rows being blended stay in the cache instead of being fetched
    // from memory once per band.
    const auto rowBytes = static_cast<size_t> (pixels.lineStride);
    const int stripRows = rowBytes * static_cast<size_t> (pixels.height) <= wholeImageBytes
                              ? pixels.height
                              : std::max (8, static_cast<int> (stripBytes / rowBytes));

    for (int top = 0; top < pixels.height; top += stripRows)
    {
        const juce::Rectangle<int> strip (0, top, pixels.width, std::min (stripRows, pixels.height - top));

        for (size_t n = 0; n < bands.size(); ++n)
        {
            auto area = bandBounds[n].getIntersection (strip);

            if (area.isEmpty())
                continue;

            juce::EdgeTable coverage (area, bands[n], juce::AffineTransform());
            auto level = static_cast<juce::uint8> (DistanceRings::GetGreyLevel (static_cast<int> (n)));
            SolidFill fill (pixels, juce::PixelARGB (0xff, level, level, level));
            coverage.iterate (fill);
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
        image.reset(); // possibly half painted
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
