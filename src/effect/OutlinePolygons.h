#pragma once

#include "ScreenInfo.h"

#include <clipper.hpp>

#include <vector>

/**
    Turns the host's screens and slices into the polygons that the distance
    rings are offset from.

    The screens and slices to use are chosen by the effect's switches; each taken
    slice becomes one integer polygon with positive orientation. With merging on,
    all of them are united into one shape; otherwise each slice is cleaned up by
    itself and the polygons stay separate. When the host has no screens at all,
    the whole viewport is the shape.

    Usage:
        OutlinePolygons::Switches switches;
        switches.mergeShapesOn = false;
        auto source = OutlinePolygons::Collect (reader.screens, width, height, switches);
*/
class OutlinePolygons
{
public:
    /** The effect's cached switches that decide which slices are taken and how. */
    struct Switches
    {
        bool hiddenScreensOn = false;   ///< take screens that the host has switched off too
        bool hiddenSlicesOn = false;    ///< take slices that the host has switched off too
        bool mergeShapesOn = true;      ///< unite all taken slices before the rings are made
        int screenSelection = 0;        ///< 0 = every screen, k = only the k-th screen (from 1)
    };

    /** Coordinates are clamped into +-this many pixels: far beyond any real output,
        yet small enough that offsets and the renderer's fixed-point edges never overflow.
    */
    static constexpr float coordinateLimit = 1.0e6f;

    /** Limits on the taken slices, far beyond any real show (a few dozen slices of
        a few dozen points), that keep a rebuild to about a second at most. Every
        union and offset grows with the points; a slice that crosses itself costs
        with the square of its points, and so does its cleaning, one slice after
        another. Slices repeating another one point for point make every union
        slow with their coincident edges. They cannot simply be left out: the
        clipping library's offsets of coincident polygons differ from those of one
        polygon (rings a few pixels deeper), and the image must stay the same.
        Measured (release build, 8 cores, 1920 x 1080): 1,000 scattered slices
        take about 0.2 s unmerged (0.5 s with the machine busy); one self-crossing
        star of 256 points, at the limit, about 0.6 s (busy), one of 512 points more than ten minutes; 100 repeats
        of one slice about 0.3 s on one core, 1,000 about 30 s. A layout beyond
        the limits is drawn as if there were no screens.
    */
    static constexpr size_t maxTakenSlices = 1000;
    static constexpr size_t maxTakenPoints = 10000;
    static constexpr size_t maxSquaredPoints = 256 * 256;   ///< sum over the taken slices of their points squared
    static constexpr size_t maxRepeatedSlices = 100;        ///< taken slices whose points repeat an earlier one's

    /** Why the taken slices exceed the limits above, or null when they do not. */
    static const char* FindExcess (const std::vector<ScreenInfo>& screens, const Switches& switches) noexcept;

    /** Returns the polygons to offset: the union of the taken slices when merging,
        otherwise one cleaned polygon per taken slice. Empty when nothing is taken.
    */
    static ClipperLib::Paths Collect (const std::vector<ScreenInfo>& screens,
                                      int viewportWidth, int viewportHeight,
                                      const Switches& switches);

    /** Converts one host coordinate to whole pixels: rounded half away from zero and
        clamped into +-coordinateLimit. Returns false for NaN, which has no position.
    */
    static bool ToPixel (float coordinate, ClipperLib::cInt& result) noexcept;

    /** Builds a slice's polygon in positive orientation; points with a NaN
        coordinate are left out.
    */
    static ClipperLib::Path MakePolygon (const std::vector<juce::Point<float>>& points);

private:
    static bool IsScreenTaken (const ScreenInfo& screen, int index, const Switches& switches) noexcept;
};
