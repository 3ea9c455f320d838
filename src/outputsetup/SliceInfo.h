#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

/**
    One slice of an output screen, as the host's Advanced Output layout describes it.

    A plain value: the reader fills it and appends a copy to its screen; users only
    read it. The points are the slice polygon's vertices in the host's output pixel
    coordinates, exactly as the host wrote them (no closing point, no flip).
*/
struct SliceInfo
{
    /** The slice's name as the host shows it (may be empty). */
    juce::String name;

    /** False when the host has the slice switched off. */
    bool enabled = true;

    /** The polygon's vertices in document order; may hold any number, none included. */
    std::vector<juce::Point<float>> points;
};
