#include "StraightforwardDistanceImage.h"

namespace
{
    void FillWhole (juce::Graphics& g, const ClipperLib::Paths& ring, int n)
    {
        juce::Path path;

        for (auto& polygon : ring)
        {
            if (polygon.empty())
                continue;

            path.startNewSubPath (static_cast<float> (polygon[0].X), static_cast<float> (polygon[0].Y));

            for (size_t i = 1; i < polygon.size(); ++i)
                path.lineTo (static_cast<float> (polygon[i].X), static_cast<float> (polygon[i].Y));

            path.closeSubPath();
        }

        auto level = static_cast<juce::uint8> (254 - n);
        g.setColour (juce::Colour (level, level, level));
        g.fillPath (path);
    }
}

void StraightforwardDistanceImage::Paint (juce::Image& image, const ClipperLib::Paths& source)
{
    juce::Graphics g (image);
    g.setColour (juce::Colour (static_cast<juce::uint8> (255), static_cast<juce::uint8> (255), static_cast<juce::uint8> (255)));
    g.fillAll();

    ClipperLib::ClipperOffset offsetter (2.0, 0.25);
    offsetter.AddPaths (source, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);

    for (int n = 0; 50 - n > -205; ++n)
    {
        ClipperLib::Paths ring;
        offsetter.Execute (ring, static_cast<double> (50 - n));

        if (ring.empty())
            break;

        FillWhole (g, ring, n);
    }
}

void StraightforwardDistanceImage::PaintRings (juce::Image& image, const DistanceRings& rings)
{
    juce::Graphics g (image);
    g.fillAll (juce::Colours::white);

    for (int n = 0; n < rings.GetNumRings(); ++n)
        FillWhole (g, rings.GetRing (n), n);
}
