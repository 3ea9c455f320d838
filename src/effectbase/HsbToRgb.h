#pragma once

#include <array>
#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

/**
    Converts a colour given as hue, saturation and brightness into red, green
    and blue, the way the colour groups of an effect are turned into shader
    uniforms once per frame.

    The hue is in whole degrees; 0 to 359 covers the circle, and any other value
    falls into the last (magenta to red) sector with its chroma ramp taken from
    the unwrapped hue, so 360 gives the same red as 0. Saturation and brightness
    multiply each other and are not clamped: values outside 0 to 1 give
    components outside 0 to 1. All arithmetic is done in double precision.

    This file is shared by both plug-in builds, so it depends on nothing but the
    standard library.

    @returns red, green and blue, in that order
*/
std::array<float, 3> HsbToRgb(int32_t hue, double saturation, double brightness);

} // namespace ZM_BUILD_NAMESPACE
