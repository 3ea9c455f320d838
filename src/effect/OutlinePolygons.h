#pragma once

#include "ScreenInfo.h"

#include <clipper.hpp>

#include <cstdint>
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
        bool hiddenScreensOn = false; ///< take screens that the host has switched off too
        bool hiddenSlicesOn = false;  ///< take slices that the host has switched off too
        bool mergeShapesOn = true;    ///< unite all taken slices before the rings are made
        int screenSelection = 0;      ///< 0 = every screen, k = only the k-th screen (from 1)
    };

    /** Coordinates are clamped into +-this many pixels: far beyond any real output,
        yet small enough that offsets and the renderer's fixed-point edges never overflow.
    */
    static constexpr float coordinateLimit = 1.0e6f;

    /** Limit on the crossings of slice edges that a union may meet: the taken slices'
        own crossings, and with merging on their crossings with one another too. A
        union sorts the crossings of each scan line, in time that grows faster than
        their number, in one library call that cannot be stopped: one self-crossing
        star of 256 points (about 32,000 crossings) takes about 0.6 s, one of 512
        points minutes. Merged, slices that cross one another that often also unite
        into an outline of thousands of spiky points, each offset of which is slow
        (16 random 64-point slices: 115,000 crossings, 4 s). Real slices cross
        themselves rarely, and crowded shows a few thousand times (100 circles laid
        over one another: 6,700).
    */
    static constexpr uint64_t maxCrossings = 30000;

    /** Sanity bound on the pairs of edges the crossing count tests (those whose bounds
        overlap), which keeps the count itself within a few tenths of a second: far
        above any layout (1,000 identical slices, merged, are 7.5 million pairs).
    */
    static constexpr uint64_t maxTestedPairs = 50000000;

    /** How many slices are taken, and how many points they have in all. */
    struct Taken
    {
        uint64_t slices = 0, points = 0;
    };

    /** Counts the taken slices and their points. */
    static Taken CountTaken(const std::vector<ScreenInfo>& screens, const Switches& switches) noexcept;

    /** Why uniting the taken slices could take too long (see maxCrossings), or null. */
    static const char* FindExcess(const std::vector<ScreenInfo>& screens, const Switches& switches);

    /** Returns the polygons to offset: the union of the taken slices when merging,
        otherwise one cleaned polygon per taken slice. Empty when nothing is taken.
    */
    static ClipperLib::Paths Collect(const std::vector<ScreenInfo>& screens, int viewportWidth, int viewportHeight,
                                     const Switches& switches);

    /** Converts one host coordinate to whole pixels: rounded half away from zero and
        clamped into +-coordinateLimit. Returns false for NaN, which has no position.
    */
    static bool ToPixel(float coordinate, ClipperLib::cInt& result) noexcept;

    /** Builds a slice's polygon in positive orientation; points with a NaN
        coordinate are left out.
    */
    static ClipperLib::Path MakePolygon(const std::vector<juce::Point<float>>& points);

private:
    static bool IsScreenTaken(const ScreenInfo& screen, int index, const Switches& switches) noexcept;
};
