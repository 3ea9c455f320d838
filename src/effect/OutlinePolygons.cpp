#include "OutlinePolygons.h"
#include "DistanceRings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <utility>

bool OutlinePolygons::ToPixel(float coordinate, ClipperLib::cInt& result) noexcept
{
    if (std::isnan(coordinate))
        return false;

    // Clamping before the integer conversion keeps values such as 1e30 or inf
    // from the host's files out of undefined territory.
    auto rounded = std::round(coordinate);

    if (rounded > coordinateLimit)
        rounded = coordinateLimit;
    else if (rounded < -coordinateLimit)
        rounded = -coordinateLimit;

    result = static_cast<ClipperLib::cInt>(static_cast<int32_t>(rounded));
    return true;
}

ClipperLib::Path OutlinePolygons::MakePolygon(const std::vector<juce::Point<float>>& points)
{
    ClipperLib::Path polygon;
    polygon.reserve(points.size());

    for (auto& p : points)
    {
        ClipperLib::IntPoint point;

        if (ToPixel(p.x, point.X) && ToPixel(p.y, point.Y))
            polygon.push_back(point);
    }

    if (!ClipperLib::Orientation(polygon))
        ClipperLib::ReversePath(polygon);

    return polygon;
}

bool OutlinePolygons::IsScreenTaken(const ScreenInfo& screen, int index, const Switches& switches) noexcept
{
    return (screen.enabled || switches.hiddenScreensOn) &&
           (switches.screenSelection == 0 || switches.screenSelection == index + 1);
}

namespace
{
uint32_t Bits(float value) noexcept
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

// One edge's bounds, and how often a pair of edges whose bounds overlap counts.
struct EdgeBox
{
    ClipperLib::cInt left, top, right, bottom;
    size_t weight;
};

void AddEdges(std::vector<EdgeBox>& edges, const ClipperLib::Path& polygon, ClipperLib::cInt grow, size_t weight)
{
    for (size_t k = 0; k < polygon.size(); ++k)
    {
        auto& p = polygon[k];
        auto& q = polygon[(k + 1) % polygon.size()];
        edges.push_back({ std::min(p.X, q.X) - grow, std::min(p.Y, q.Y) - grow, std::max(p.X, q.X) + grow,
                          std::max(p.Y, q.Y) + grow, weight });
    }
}

// Adds up the pairs of edges whose bounds overlap, each by the smaller weight:
// sorted by their left sides and swept from left to right, stopping once past the limit.
size_t SumOverlaps(std::vector<EdgeBox>& edges, size_t limit) noexcept
{
    std::sort(edges.begin(), edges.end(), [](const EdgeBox& a, const EdgeBox& b) { return a.left < b.left; });
    size_t sum = 0;

    for (size_t i = 0; i < edges.size(); ++i)
        for (size_t j = i + 1; j < edges.size() && edges[j].left <= edges[i].right; ++j)
            if (edges[j].top <= edges[i].bottom && edges[i].top <= edges[j].bottom &&
                (sum += std::min(edges[i].weight, edges[j].weight)) > limit)
                return sum;

    return sum;
}

// A polygon's offsets vanish once the inward distance passes half its
// narrower side; a hole's last as long as the shape around it, so all of them.
size_t CountPossibleRings(const ClipperLib::Path& polygon) noexcept
{
    const auto maxRings = static_cast<ClipperLib::cInt>(DistanceRings::maxNumRings);

    if (!ClipperLib::Orientation(polygon))
        return static_cast<size_t>(maxRings);

    auto xs = std::minmax_element(polygon.begin(), polygon.end(), [](auto& a, auto& b) { return a.X < b.X; });
    auto ys = std::minmax_element(polygon.begin(), polygon.end(), [](auto& a, auto& b) { return a.Y < b.Y; });
    auto halfSide = std::min(xs.second->X - xs.first->X, ys.second->Y - ys.first->Y) / 2;
    return static_cast<size_t>(std::min(maxRings, DistanceRings::outermostDistance + 1 + halfSide));
}
} // namespace

const char* OutlinePolygons::FindExcess(const std::vector<ScreenInfo>& screens, const Switches& switches) noexcept
{
    size_t slices = 0, points = 0, squaredPoints = 0, repeats = 0;

    // Slices repeating an earlier one point for point, by their points in order. The
    // coordinates are compared by their bits, which orders NaN too.
    auto pointsOrder = [](const std::vector<juce::Point<float>>* a, const std::vector<juce::Point<float>>* b)
    {
        return std::lexicographical_compare(
            a->begin(), a->end(), b->begin(), b->end(),
            [](juce::Point<float> p, juce::Point<float> q)
            { return std::make_pair(Bits(p.x), Bits(p.y)) < std::make_pair(Bits(q.x), Bits(q.y)); });
    };
    std::set<const std::vector<juce::Point<float>>*, decltype(pointsOrder)> seen(pointsOrder);
    std::vector<EdgeBox> edges;

    auto excess = [&]() -> const char*
    {
        if (slices > maxTakenSlices)
            return "more than 1000 slices are taken";

        if (points > maxTakenPoints)
            return "the taken slices have more than 10000 points";

        if (squaredPoints > maxSquaredPoints)
            return "the taken slices have too many points for their number (their squares add up to more than 65536)";

        if (repeats > maxRepeatedSlices)
            return "more than 100 taken slices repeat another one";

        return nullptr;
    };

    for (size_t i = 0; i < screens.size(); ++i)
    {
        if (!IsScreenTaken(screens[i], static_cast<int>(i), switches))
            continue;

        for (auto& slice : screens[i].slices)
        {
            if (!(slice.enabled || switches.hiddenSlicesOn))
                continue;

            // Stopping at the first excess keeps every sum far from wrapping around.
            auto count = std::min(slice.points.size(), maxTakenPoints + 1);
            points += count;
            squaredPoints += count * count;
            ++slices;

            if (!seen.insert(&slice.points).second)
                ++repeats;

            if (auto* reason = excess())
                return reason;

            if (switches.mergeShapesOn)
                AddEdges(edges, MakePolygon(slice.points), 0, 1);
        }
    }

    // Merging unites the slices in one go, which costs with the crossings of their edges.
    if (SumOverlaps(edges, maxCrossingEdges) > maxCrossingEdges)
        return "the slices to merge cross one another too much (their edges' bounds overlap more than a million times)";

    return nullptr;
}

const char* OutlinePolygons::FindExcess(const ClipperLib::Paths& polygons)
{
    std::vector<EdgeBox> edges;

    for (auto& polygon : polygons)
        if (!polygon.empty())
            AddEdges(edges, polygon, DistanceRings::outermostDistance, CountPossibleRings(polygon));

    if (SumOverlaps(edges, maxCloseEdgeRings) > maxCloseEdgeRings)
        return "the taken slices lie over one another too much (their close edges, counted in every ring, exceed 40 "
               "million)";

    return nullptr;
}

ClipperLib::Paths OutlinePolygons::Collect(const std::vector<ScreenInfo>& screens, int viewportWidth,
                                           int viewportHeight, const Switches& switches)
{
    ClipperLib::Clipper clipper;
    ClipperLib::Paths polygons;

    if (screens.empty())
    {
        ClipperLib::cInt w = 0, h = 0;
        ToPixel(static_cast<float>(viewportWidth), w);
        ToPixel(static_cast<float>(viewportHeight), h);
        polygons.push_back({ { 0, 0 }, { w, 0 }, { w, h }, { 0, h } });
    }
    else
    {
        for (size_t i = 0; i < screens.size(); ++i)
        {
            auto& screen = screens[i];

            if (!IsScreenTaken(screen, static_cast<int>(i), switches))
                continue;

            for (auto& slice : screen.slices)
            {
                if (!(slice.enabled || switches.hiddenSlicesOn))
                    continue;

                auto polygon = MakePolygon(slice.points);

                if (switches.mergeShapesOn)
                {
                    polygons.push_back(std::move(polygon));
                    continue;
                }

                // Unmerged slices are each cleaned by themselves; of a slice that
                // falls apart into several pieces only the first piece is kept.
                ClipperLib::Paths cleaned;
                clipper.Clear();
                clipper.AddPath(polygon, ClipperLib::ptSubject, true);
                clipper.Execute(ClipperLib::ctUnion, cleaned, ClipperLib::pftPositive, ClipperLib::pftPositive);

                if (!cleaned.empty())
                    polygons.push_back(std::move(cleaned.front()));
            }
        }
    }

    if (!switches.mergeShapesOn)
        return polygons;

    ClipperLib::Paths merged;
    clipper.Clear();
    clipper.AddPaths(polygons, ClipperLib::ptSubject, true);
    clipper.Execute(ClipperLib::ctUnion, merged, ClipperLib::pftPositive, ClipperLib::pftPositive);
    return merged;
}
