#pragma once

#include "DistanceRings.h"

#include <juce_graphics/juce_graphics.h>

#include <clipper.hpp>

/**
    The plain way to paint the distance image, kept for comparison only: every
    ring offset from the source and filled whole over the previous one. Tests
    hold the plug-in's band painting against it; the benchmark times both.
*/
namespace StraightforwardDistanceImage
{
    /** Paints the white background and every offset ring whole, stopping at the first empty offset. */
    void Paint (juce::Image& image, const ClipperLib::Paths& source);

    /** The same fills from offsets already made (so a benchmark can time the fills alone). */
    void PaintRings (juce::Image& image, const DistanceRings& rings);
}
