#pragma once

#include <clipper.hpp>

#include <cstdint>

/**
    Measures, in a set of polygons, what makes the clipping library's scan-line
    sweeps over them slow: edges crossing one another, edges whose bounds overlap,
    and corners that identical slices stack on one point.

    A union or an offset sweeps over the polygons; these counts follow its work
    where counts of slices or points do not. Measuring is a sweep too, over the
    pairs of edges whose bounds overlap, so it stops as soon as a count passes its
    limit, and says so.

    Usage:
        auto counts = EdgeSweep::Measure (polygons, maxCrossings, maxPairs);
        if (counts.reachedLimit)
            refuse();
*/
class EdgeSweep
{
public:
    /** What one sweep found. */
    struct Counts
    {
        uint64_t edges = 0;          ///< edges of nonzero length
        uint64_t crossings = 0;      ///< pairs of edges that cross at a point inside both
        uint64_t crossingPoints = 0; ///< over the crossings, the mean of both polygons' point counts
        uint64_t pairsTested = 0;    ///< pairs of edges whose bounds overlap
        uint64_t pairsInLine = 0;    ///< of those, pairs on one line (edges of identical slices)
        uint64_t stackedCorners = 0; ///< over every point, the 4th power of the slanted corners on it
        bool reachedLimit = false;   ///< stopped early: crossings or pairsTested passed its limit
    };

    /** Sweeps the closed polygons, stopping once crossings passes maxCrossings or
        pairsTested passes maxPairs.
    */
    static Counts Measure(const ClipperLib::Paths& polygons, uint64_t maxCrossings, uint64_t maxPairs);
};
