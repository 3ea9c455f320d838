#include "DistanceImageTestSupport.h"

#include "StraightforwardDistanceImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace DistanceTest
{
    SliceInfo Slice (Points points, bool enabled)
    {
        SliceInfo slice;
        slice.enabled = enabled;
        slice.points = std::move (points);
        return slice;
    }

    SliceInfo Rectangle (float x, float y, float w, float h, bool enabled)
    {
        return Slice ({ { x, y }, { x + w, y }, { x + w, y + h }, { x, y + h } }, enabled);
    }

    ScreenInfo Screen (std::vector<SliceInfo> slices, bool enabled)
    {
        ScreenInfo screen;
        screen.enabled = enabled;
        screen.slices = std::move (slices);
        return screen;
    }

    std::vector<ScreenInfo> FortySlices (int width, int height)
    {
        // A deterministic mix: a grid of rectangles, some rotated quads, some
        // triangles, with neighbours overlapping or touching.
        std::vector<SliceInfo> slices;
        auto cellW = static_cast<float> (width) / 8.0f;
        auto cellH = static_cast<float> (height) / 5.0f;

        for (int i = 0; i < 40; ++i)
        {
            auto x = static_cast<float> (i % 8) * cellW;
            auto y = static_cast<float> (i / 8) * cellH;

            switch (i % 4)
            {
                case 0:  slices.push_back (Rectangle (x, y, cellW, cellH)); break;
                case 1:  slices.push_back (Rectangle (x - 0.2f * cellW, y + 0.1f * cellH, cellW * 1.1f, cellH * 0.7f)); break;
                case 2:
                {
                    auto cx = x + 0.5f * cellW, cy = y + 0.5f * cellH;
                    auto r = 0.6f * std::min (cellW, cellH);
                    Points quad;

                    for (int k = 0; k < 4; ++k)
                    {
                        auto angle = 0.4f + static_cast<float> (k) * 1.5707963f;
                        quad.push_back ({ cx + r * std::cos (angle), cy + r * std::sin (angle) });
                    }

                    slices.push_back (Slice (quad));
                    break;
                }
                default: slices.push_back (Slice ({ { x, y + cellH }, { x + 0.5f * cellW, y - 0.2f * cellH }, { x + cellW * 1.2f, y + cellH } }));
            }
        }

        return { Screen (std::move (slices)) };
    }

    juce::Image PaintFast (const std::vector<ScreenInfo>& screens, int width, int height,
                           const OutlinePolygons::Switches& switches)
    {
        std::unique_ptr<juce::Image> image;
        EXPECT_TRUE (DistanceImage::Rebuild (image, screens, width, height, switches));
        return image != nullptr ? *image : juce::Image();
    }

    juce::Image PaintPlain (const std::vector<ScreenInfo>& screens, int width, int height,
                            const OutlinePolygons::Switches& switches)
    {
        juce::Image image (juce::Image::ARGB, width, height, false);
        StraightforwardDistanceImage::Paint (image, OutlinePolygons::Collect (screens, width, height, switches));
        return image;
    }

    int Grey (const juce::Image& image, int x, int y)
    {
        auto colour = image.getPixelAt (x, y);
        EXPECT_EQ (colour.getAlpha(), 255) << "at " << x << ", " << y;
        EXPECT_EQ (colour.getRed(), colour.getGreen()) << "at " << x << ", " << y;
        EXPECT_EQ (colour.getRed(), colour.getBlue()) << "at " << x << ", " << y;
        return colour.getRed();
    }

    int MaxDifference (const juce::Image& a, const juce::Image& b)
    {
        EXPECT_EQ (a.getBounds(), b.getBounds());
        juce::Image::BitmapData da (a, juce::Image::BitmapData::readOnly);
        juce::Image::BitmapData db (b, juce::Image::BitmapData::readOnly);
        int worst = 0;

        for (int y = 0; y < a.getHeight(); ++y)
        {
            auto* ra = da.getLinePointer (y);
            auto* rb = db.getLinePointer (y);

            for (int i = 0; i < a.getWidth() * 4; ++i)
                worst = std::max (worst, std::abs (static_cast<int> (ra[i]) - static_cast<int> (rb[i])));
        }

        return worst;
    }

    int CountDifferences (const juce::Image& a, const juce::Image& b, int tolerance)
    {
        EXPECT_EQ (a.getBounds(), b.getBounds());
        juce::Image::BitmapData da (a, juce::Image::BitmapData::readOnly);
        juce::Image::BitmapData db (b, juce::Image::BitmapData::readOnly);
        int count = 0;

        for (int y = 0; y < a.getHeight(); ++y)
        {
            auto* ra = da.getLinePointer (y);
            auto* rb = db.getLinePointer (y);

            for (int x = 0; x < a.getWidth(); ++x)
            {
                bool differs = false;

                for (int c = 0; c < 4; ++c)
                    differs = differs || std::abs (static_cast<int> (ra[x * 4 + c]) - static_cast<int> (rb[x * 4 + c])) > tolerance;

                count += differs ? 1 : 0;
            }
        }

        return count;
    }

    bool SamePixels (const juce::Image& a, const juce::Image& b)
    {
        if (a.getBounds() != b.getBounds())
            return false;

        juce::Image::BitmapData da (a, juce::Image::BitmapData::readOnly);
        juce::Image::BitmapData db (b, juce::Image::BitmapData::readOnly);

        for (int y = 0; y < a.getHeight(); ++y)
            if (std::memcmp (da.getLinePointer (y), db.getLinePointer (y), static_cast<size_t> (a.getWidth()) * 4) != 0)
                return false;

        return true;
    }
}
