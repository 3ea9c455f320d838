#pragma once

#include "DistanceImage.h"

#include <juce_graphics/juce_graphics.h>

#include <initializer_list>
#include <vector>

/*
    Small builders and readers shared by the distance image tests: layouts made
    in code, both painting methods, and pixel access by grey level.
*/
namespace DistanceTest
{
    using Points = std::vector<juce::Point<float>>;

    SliceInfo Slice (Points points, bool enabled = true);
    SliceInfo Rectangle (float x, float y, float w, float h, bool enabled = true);
    ScreenInfo Screen (std::vector<SliceInfo> slices, bool enabled = true);

    /** A screen of 40 overlapping and touching slices of assorted shapes spread over the size. */
    std::vector<ScreenInfo> FortySlices (int width, int height);

    /** Paints with the plug-in's method into a fresh image (fails the test if it reports false). */
    juce::Image PaintFast (const std::vector<ScreenInfo>& screens, int width, int height,
                           const OutlinePolygons::Switches& switches = {});

    /** Paints every ring whole, the plain way. */
    juce::Image PaintPlain (const std::vector<ScreenInfo>& screens, int width, int height,
                            const OutlinePolygons::Switches& switches = {});

    /** The grey level at a pixel (the red channel; checks that the pixel is an opaque grey). */
    int Grey (const juce::Image& image, int x, int y);

    /** The largest per-channel difference between two images of the same size. */
    int MaxDifference (const juce::Image& a, const juce::Image& b);

    /** The number of pixels where some channel differs by more than the tolerance. */
    int CountDifferences (const juce::Image& a, const juce::Image& b, int tolerance);

    /** True when both images hold the same bytes. */
    bool SamePixels (const juce::Image& a, const juce::Image& b);
}
