#pragma once

#include "DistanceRings.h"
#include "ScreenInfo.h"

#include <juce_graphics/juce_graphics.h>

#include <clipper.hpp>

#include <vector>

/**
    The plain way to make the distance image, kept for comparison only: the taken
    slices collected and united step by step, every ring offset from them and
    filled whole over the previous one. It shares no code with the plug-in's
    rebuild, so tests can hold the plug-in against it; the benchmark times both.
*/
namespace StraightforwardDistanceImage
{
/** The choices that decide which slices are taken and how. */
struct Switches
{
    bool hiddenScreensOn = false, hiddenSlicesOn = false, mergeShapesOn = true;
    int screenSelection = 0;
};

/** The polygons the rings are offset from, collected slice by slice (no screens: the viewport). */
ClipperLib::Paths Collect(const std::vector<ScreenInfo>& screens, int width, int height, const Switches& switches);

/** The whole plain rebuild of an image of the image's size. */
void Paint(juce::Image& image, const std::vector<ScreenInfo>& screens, const Switches& switches);

/** Paints the white background and every offset ring whole, stopping at the first empty offset. */
void Paint(juce::Image& image, const ClipperLib::Paths& source);

/** The same fills from offsets already made (so a benchmark can time the fills alone). */
void PaintRings(juce::Image& image, const DistanceRings& rings);
} // namespace StraightforwardDistanceImage
