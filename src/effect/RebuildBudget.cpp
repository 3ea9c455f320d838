#include "RebuildBudget.h"

#include <algorithm>
#include <limits>

namespace
{
// Weights in units of about 10 ns, measured per item with the clipping library
// and the painting of this build (release, one core).
constexpr uint64_t perSlice = 1000;        // a union call of its own, or its share of one
constexpr uint64_t perPoint = 200;         // a point through a union or an offset
constexpr uint64_t perCrossingPoint = 30;  // a crossing, times the points of both polygons
constexpr uint64_t perPairTested = 3;      // a pair of edges sharing scan lines, per offset
constexpr uint64_t perPairInLine = 1;      // such a pair on one line, which the library passes quickly
constexpr uint64_t stackedCornersPer = 64; // a unit per this much of the 4th power of stacked corners
constexpr uint64_t perRowCovered = 10;     // an edge in one row of an edge table, collected and filled

uint64_t Add(uint64_t a, uint64_t b) noexcept
{
    return b > std::numeric_limits<uint64_t>::max() - a ? std::numeric_limits<uint64_t>::max() : a + b;
}

uint64_t Times(uint64_t a, uint64_t b) noexcept
{
    return a != 0 && b > std::numeric_limits<uint64_t>::max() / a ? std::numeric_limits<uint64_t>::max() : a * b;
}
} // namespace

bool RebuildBudget::Spend(uint64_t units) noexcept
{
    if (exceeded || units > remaining)
    {
        exceeded = true;
        remaining = 0;
        return false;
    }

    remaining -= units;
    return true;
}

uint64_t RebuildBudget::CollectWork(uint64_t slices, uint64_t points) noexcept
{
    return Add(Times(slices, perSlice), Times(points, perPoint));
}

uint64_t RebuildBudget::SweepWork(const EdgeSweep::Counts& counts) noexcept
{
    return Add(counts.pairsTested, Times(counts.edges, 16));
}

uint64_t RebuildBudget::OffsetWork(const EdgeSweep::Counts& source) noexcept
{
    auto work = Times(source.edges, perPoint);
    work = Add(work, Times(source.crossingPoints, perCrossingPoint));
    work = Add(work, Times(source.pairsTested - source.pairsInLine, perPairTested));
    work = Add(work, Times(source.pairsInLine, perPairInLine));
    return Add(work, source.stackedCorners / stackedCornersPer);
}

uint64_t RebuildBudget::RingWork(const ClipperLib::Paths& ring, int imageHeight) noexcept
{
    uint64_t points = 0, rows = 0;
    const ClipperLib::cInt bottom = std::max(imageHeight, 0);

    for (auto& polygon : ring)
    {
        points += polygon.size();

        for (size_t k = 0; k < polygon.size(); ++k)
        {
            auto& p = polygon[k];
            auto& q = polygon[(k + 1) % polygon.size()];
            auto top = std::max<ClipperLib::cInt>(std::min(p.Y, q.Y), 0);
            auto end = std::min(std::max(p.Y, q.Y), bottom);

            if (end > top)
                rows += static_cast<uint64_t>(end - top);
        }
    }

    return Add(Times(points, perPoint), Times(rows, perRowCovered));
}
