#include "EdgeSweep.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace
{
using ClipperLib::cInt;
using ClipperLib::IntPoint;

// One edge, its ends ordered by x so that the sweep can sort by the left end,
// with the point count of its polygon.
struct Edge
{
    IntPoint a, b;
    cInt top, bottom;
    uint64_t polygonPoints;
};

// The sign of the turn from p to q to r. Coordinates are clamped to a few
// million pixels, so the products fit in 64 bits.
int Turn(const IntPoint& p, const IntPoint& q, const IntPoint& r) noexcept
{
    auto cross = (q.X - p.X) * (r.Y - p.Y) - (q.Y - p.Y) * (r.X - p.X);
    return (cross > 0) - (cross < 0);
}

// Only a crossing at a point inside both edges counts: edges meeting at their
// ends or running along one another cost the library no crossing.
bool Cross(const Edge& e, const Edge& f) noexcept
{
    return Turn(e.a, e.b, f.a) * Turn(e.a, e.b, f.b) < 0 && Turn(f.a, f.b, e.a) * Turn(f.a, f.b, e.b) < 0;
}

// Identical slices stack their corners on one point. Offsetting them, the library
// crosses every copy's corner with every other copy's on that point and orders
// those crossings in time that grows with the 4th power of the copies. Square
// corners are spared: their offsets run along one another instead of crossing.
uint64_t CountStackedCorners(const ClipperLib::Paths& polygons)
{
    std::vector<std::pair<cInt, cInt>> corners;

    for (auto& polygon : polygons)
    {
        const auto n = polygon.size();

        for (size_t k = 0; k < n; ++k)
        {
            auto& p = polygon[(k + n - 1) % n];
            auto& q = polygon[k];
            auto& r = polygon[(k + 1) % n];

            if ((q.X - p.X) * (r.X - q.X) + (q.Y - p.Y) * (r.Y - q.Y) != 0)
                corners.emplace_back(q.X, q.Y);
        }
    }

    std::sort(corners.begin(), corners.end());
    uint64_t sum = 0;

    for (size_t i = 0; i < corners.size();)
    {
        auto j = i + 1;

        while (j < corners.size() && corners[j] == corners[i])
            ++j;

        // Beyond 65,535 copies the 4th power leaves 64 bits; the sum saturates then.
        auto k = static_cast<uint64_t>(j - i);
        auto power = k > 65535 ? std::numeric_limits<uint64_t>::max() : k * k * k * k;
        sum = power > std::numeric_limits<uint64_t>::max() - sum ? std::numeric_limits<uint64_t>::max() : sum + power;
        i = j;
    }

    return sum;
}
} // namespace

EdgeSweep::Counts EdgeSweep::Measure(const ClipperLib::Paths& polygons, uint64_t maxCrossings, uint64_t maxPairs)
{
    Counts counts;
    std::vector<Edge> edges;

    for (auto& polygon : polygons)
    {
        for (size_t k = 0; k < polygon.size(); ++k)
        {
            auto a = polygon[k], b = polygon[(k + 1) % polygon.size()];

            if (a == b)
                continue;

            if (b.X < a.X || (b.X == a.X && b.Y < a.Y))
                std::swap(a, b);

            edges.push_back({ a, b, std::min(a.Y, b.Y), std::max(a.Y, b.Y), polygon.size() });
        }
    }

    counts.edges = edges.size();
    counts.stackedCorners = CountStackedCorners(polygons);

    // Sorted by their left ends, each edge is tested against the following ones
    // that start before it ends and share some of its heights.
    std::sort(edges.begin(), edges.end(), [](const Edge& e, const Edge& f) { return e.a.X < f.a.X; });

    for (size_t i = 0; i < edges.size(); ++i)
    {
        auto& e = edges[i];

        for (size_t j = i + 1; j < edges.size() && edges[j].a.X <= e.b.X; ++j)
        {
            auto& f = edges[j];

            if (f.bottom < e.top || e.bottom < f.top)
                continue;

            if (Cross(e, f))
            {
                ++counts.crossings;
                counts.crossingPoints += (e.polygonPoints + f.polygonPoints) / 2;
            }
            else if (Turn(e.a, e.b, f.a) == 0 && Turn(e.a, e.b, f.b) == 0)
                ++counts.pairsInLine;

            if (++counts.pairsTested > maxPairs || counts.crossings > maxCrossings)
            {
                counts.reachedLimit = true;
                return counts;
            }
        }
    }

    return counts;
}
