#pragma once

#include "WorkerPool.h"

#include <clipper.hpp>

#include <functional>
#include <vector>

/**
    The offset rings of the distance image: the outline polygons grown and shrunk
    with mitred joins, one pixel apart, from 50 pixels outside to 204 inside.

    Ring n is the outline offset by 50 - n pixels and is painted in grey 254 - n.
    The rings stop at the first offset that comes out empty. Each ring is offset
    from the source by itself, so the offsets are spread over the worker pool.
    A caller may look at each ring as it is made, in ring order whatever thread
    made it, and stop the rest.

    Usage:
        DistanceRings rings (OutlinePolygons::Collect (...), pool);
        for (int n = 0; n < rings.GetNumRings(); ++n)
            fill (rings.GetRing (n), DistanceRings::GetGreyLevel (n));
*/
class DistanceRings
{
public:
    /** Called with each non-empty ring, n = 0, 1, ... in order, one call at a time;
        returning false stops the making of rings.
    */
    using RingCheck = std::function<bool(int n, const ClipperLib::Paths& ring)>;

    /** Offset distance of ring 0, in pixels outside the outline. */
    static constexpr int outermostDistance = 50;

    /** Offsets 50 down to -204: at most this many rings. */
    static constexpr int maxNumRings = 255;

    /** Offsets the source polygons for every ring on the pool's threads, handing
        each ring to check (if any) in order; once it returns false no ring is left
        (see WasStopped).
    */
    DistanceRings(const ClipperLib::Paths& source, WorkerPool& rebuildPool, const RingCheck& check = nullptr);

    /** True when the check stopped the rings; there are none then. */
    bool WasStopped() const noexcept { return stopped; }

    /** The number of non-empty rings (0 to maxNumRings). */
    int GetNumRings() const noexcept { return static_cast<int>(offsets.size()); }

    /** Ring n's polygons (positive orientation; holes negative). */
    const ClipperLib::Paths& GetRing(int n) const { return offsets[static_cast<size_t>(n)]; }

    /** The grey level in which ring n is painted. */
    static int GetGreyLevel(int n) noexcept { return 254 - n; }

    /** The offset distance of ring n, in pixels (positive outside the outline). */
    static double GetDistance(int n) noexcept { return static_cast<double>(outermostDistance - n); }

private:
    std::vector<ClipperLib::Paths> offsets;
    bool stopped = false;
};
