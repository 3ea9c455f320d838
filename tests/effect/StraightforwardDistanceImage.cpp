#include "StraightforwardDistanceImage.h"

#include <cmath>

namespace
{
void FillWhole(juce::Graphics& g, const ClipperLib::Paths& ring, int n)
{
    juce::Path path;

    for (auto& polygon : ring)
    {
        if (polygon.empty())
            continue;

        path.startNewSubPath(static_cast<float>(polygon[0].X), static_cast<float>(polygon[0].Y));

        for (size_t i = 1; i < polygon.size(); ++i)
            path.lineTo(static_cast<float>(polygon[i].X), static_cast<float>(polygon[i].Y));

        path.closeSubPath();
    }

    auto level = static_cast<juce::uint8>(254 - n);
    g.setColour(juce::Colour(level, level, level));
    g.fillPath(path);
}
} // namespace

ClipperLib::Paths StraightforwardDistanceImage::Collect(const std::vector<ScreenInfo>& screens, int width, int height,
                                                        const Switches& switches)
{
    ClipperLib::Clipper clipper;
    ClipperLib::Paths collected, merged;

    if (screens.empty())
        collected.push_back({ { 0, 0 }, { width, 0 }, { width, height }, { 0, height } });

    for (size_t i = 0; i < screens.size(); ++i)
    {
        if (!(screens[i].enabled || switches.hiddenScreensOn) ||
            !(switches.screenSelection == 0 || switches.screenSelection == static_cast<int>(i) + 1))
            continue;

        for (auto& slice : screens[i].slices)
        {
            if (!(slice.enabled || switches.hiddenSlicesOn))
                continue;

            ClipperLib::Path polygon;

            for (auto& p : slice.points)
                polygon.push_back({ static_cast<int>(roundf(p.x)), static_cast<int>(roundf(p.y)) });

            if (!ClipperLib::Orientation(polygon))
                ClipperLib::ReversePath(polygon);

            if (switches.mergeShapesOn)
            {
                collected.push_back(polygon);
                continue;
            }

            ClipperLib::Paths cleaned;
            clipper.Clear();
            clipper.AddPath(polygon, ClipperLib::ptSubject, true);
            clipper.Execute(ClipperLib::ctUnion, cleaned, ClipperLib::pftPositive, ClipperLib::pftPositive);

            if (!cleaned.empty())
                collected.push_back(cleaned[0]);
        }
    }

    if (!switches.mergeShapesOn)
        return collected;

    clipper.Clear();
    clipper.AddPaths(collected, ClipperLib::ptSubject, true);
    clipper.Execute(ClipperLib::ctUnion, merged, ClipperLib::pftPositive, ClipperLib::pftPositive);
    return merged;
}

void StraightforwardDistanceImage::Paint(juce::Image& image, const std::vector<ScreenInfo>& screens,
                                         const Switches& switches)
{
    Paint(image, Collect(screens, image.getWidth(), image.getHeight(), switches));
}

void StraightforwardDistanceImage::Paint(juce::Image& image, const ClipperLib::Paths& source)
{
    juce::Graphics g(image);
    g.setColour(
        juce::Colour(static_cast<juce::uint8>(255), static_cast<juce::uint8>(255), static_cast<juce::uint8>(255)));
    g.fillAll();

    ClipperLib::ClipperOffset offsetter(2.0, 0.25);
    offsetter.AddPaths(source, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);

    for (int n = 0; 50 - n > -205; ++n)
    {
        ClipperLib::Paths ring;
        offsetter.Execute(ring, static_cast<double>(50 - n));

        if (ring.empty())
            break;

        FillWhole(g, ring, n);
    }
}

void StraightforwardDistanceImage::PaintRings(juce::Image& image, const DistanceRings& rings)
{
    juce::Graphics g(image);
    g.fillAll(juce::Colours::white);

    for (int n = 0; n < rings.GetNumRings(); ++n)
        FillWhole(g, rings.GetRing(n), n);
}
