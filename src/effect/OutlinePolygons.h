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
        bool hiddenScreensOn = false; ///< take screens that the host has switched off too
        bool hiddenSlicesOn = false;  ///< take slices that the host has switched off too
        bool mergeShapesOn = true;    ///< unite all taken slices before the rings are made
        int screenSelection = 0;      ///< 0 = every screen, k = only the k-th screen (from 1)
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
    static constexpr size_t maxSquaredPoints = 256 * 256; ///< sum over the taken slices of their points squared
    static constexpr size_t maxRepeatedSlices = 100;      ///< taken slices whose points repeat an earlier one's

    /** Limit on how crowded the polygons to offset are. Each offset unites its
        pieces, which costs with the crossings between their edges: slices laid
        over one another cross in every ring, far more than a show's slices that
        only touch. Counted over pairs of edges whose bounds, grown by the outermost
        offset, overlap, each pair as often as both polygons can have rings (half
        the narrower side inwards, all rings for holes).
        Measured as count: rebuild time (release, pooled, 1920 x 1080, best of 3
        with the machine at load 8-16 from other builds). Unmerged: the bundled
        example 7.7 K: 0.003 s; 40 slices 0.12 M: 0.02 s; dense 90 concave slices
        10.5 M: 0.14 s; 38 show slices 1.3 M: 0.05 s; 1,000 scattered slices
        24 M: 0.23 s (39 M: 0.5 s at 1280 x 720, the most of any real layout);
        100, 200, 300 random 8-point slices over one area 18 M: 0.2 s, 84 M:
        0.85-1.1 s, 184 M: 2.2-4 s; 64 wobbly circles of 32 points over one area
        72 M: 2.5 s; 120 of 16 points 91 M: 2.7-3.7 s. Merged, the union is
        offset: 120 such circles 66 K: 0.02 s, but 16 self-crossing 64-point
        slices unite into 6,371 points, 272 M: 6-12 s. Overlapping circles cost
        most per count: 70 of 16 points, 31 M, take 0.63 s at load 5 (1.2-1.6 s
        at load 11), 45 of 32 points, 34 M, 0.56 s (1.2-1.4 s), 80 of 16 points,
        40.1 M, just refused, 0.82 s; random slices below the limit take less.
        Weighing pairs by the square of their rings would halve only the
        unmerged scattered slices; merged, they stay at 38 M at 1280 x 720.
    */
    static constexpr size_t maxCloseEdgeRings = 40000000;

    /** Limit on the pairs of slice edges, with merging on, whose bounds overlap:
        the union before offsetting costs with their crossings. Measured as count:
        union time (release, load 16): 1,000 scattered slices 24 K: 0.02 s; dense 90 concave slices
        12 K: 0.003 s; 300 random 8-point slices over one area 1.3 M: 0.2 s; 250 of
        16 points 3.5 M: 0.9 s; 400 of 12 points 5.2 M: 2.4 s; 650 of 10 points
        9.2 M: 5.8 s, all within the limits above.
    */
    static constexpr size_t maxCrossingEdges = 1000000;

    /** Why the taken slices exceed the limits above, or null when they do not. */
    static const char* FindExcess(const std::vector<ScreenInfo>& screens, const Switches& switches) noexcept;

    /** Why the polygons to offset, as Collect returns them, are too crowded (see
        maxCloseEdgeRings), or null when they are not.
    */
    static const char* FindExcess(const ClipperLib::Paths& polygons);

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
