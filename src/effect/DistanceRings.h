#pragma once

#include <clipper.hpp>

#include <cstddef>
#include <vector>

/**
    The offset rings of the distance image: the outline polygons grown and shrunk
    with mitred joins, one pixel apart, from 50 pixels outside to 204 inside.

    Ring n is the outline offset by 50 - n pixels and is painted in grey 254 - n.
    The rings stop at the first offset that comes out empty. Painting every ring
    whole over the last is slow, so each ring also comes as a band: the ring minus
    the inside of a later ring shrunk by a safety margin, whose pixels that ring
    covers completely and so paints over anyway.

    Usage:
        DistanceRings rings (OutlinePolygons::Collect (...));
        for (int n = 0; n < rings.GetNumRings(); ++n)
            fill (rings.GetBand (n), DistanceRings::GetGreyLevel (n));
*/
class DistanceRings
{
public:
    /** Offset distance of ring 0, in pixels outside the outline. */
    static constexpr int outermostDistance = 50;

    /** Offsets 50 down to -204: at most this many rings. */
    static constexpr int maxNumRings = 255;

    /** How far inside the next ring a band's cut-out lies, in pixels. A pixel that
        touches the cut-out must lie wholly inside the next ring, so that the next
        fill replaces it: a pixel reaches 1.42 px from a point it touches, Clipper's
        rounding adds up to 0.71 and the renderer's edge sampling up to 0.5.
    */
    static constexpr double cutoutMargin = 3.0;

    /** Rings sharing one cut-out: rings n to n + cutoutInterval - 1 (n a multiple
        of it) are cut by ring n + cutoutInterval, or by the last ring near the end.
    */
    static constexpr size_t cutoutInterval = 2;

    /** Cut-outs narrower than this on average, in pixels, are left out: filling
        the pixels they spare, stored many at a time, costs less than their edges.
    */
    static constexpr double minCutoutWidth = 512.0;

    /** Offsets the source polygons for every ring. */
    explicit DistanceRings (const ClipperLib::Paths& source);

    /** The number of non-empty rings (0 to maxNumRings). */
    int GetNumRings() const noexcept { return static_cast<int> (offsets.size()); }

    /** Ring n's polygons (positive orientation; holes negative). */
    const ClipperLib::Paths& GetRing (int n) const { return offsets[static_cast<size_t> (n)]; }

    /** What of ring n needs painting: the ring's polygons followed by its cut-out,
        a later ring (see cutoutInterval) shrunk by cutoutMargin with its
        orientation reversed, so that a non-zero fill leaves the cut-out unpainted.
        The last ring, and rings whose cut-out would be narrow (minCutoutWidth),
        are just the ring. Where the cut-out reaches outside the ring the fill
        paints it, which is harmless: it lies inside the later ring. Painting the
        bands from the outside in gives the same pixels as filling every ring
        whole, since what a band leaves out is replaced by a later fill anyway.
    */
    const ClipperLib::Paths& GetBand (int n) const { return bands[static_cast<size_t> (n)]; }

    /** The grey level in which ring n is painted. */
    static int GetGreyLevel (int n) noexcept { return 254 - n; }

    /** The offset distance of ring n, in pixels (positive outside the outline). */
    static double GetDistance (int n) noexcept { return static_cast<double> (outermostDistance - n); }

private:
    std::vector<ClipperLib::Paths> offsets, bands;
};
