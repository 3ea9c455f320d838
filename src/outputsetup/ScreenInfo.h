#pragma once

#include "SliceInfo.h"

#include <juce_core/juce_core.h>

#include <vector>

/**
    One output screen of the host's Advanced Output layout with its slices.

    A plain value: the reader fills it and appends a copy to its list of screens;
    users only read it.
*/
struct ScreenInfo
{
    /** The screen's name; "Unknow" when the layout gives none. */
    juce::String name { "Unknow" };

    /** False when the host has the screen switched off. */
    bool enabled = true;

    /** The screen's slices in document order. */
    std::vector<SliceInfo> slices;
};
