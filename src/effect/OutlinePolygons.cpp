#include "OutlinePolygons.h"
#include "EdgeSweep.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

OutlinePolygons::Taken OutlinePolygons::CountTaken(const std::vector<ScreenInfo>& screens,
                                                   const Switches& switches) noexcept
{
    Taken taken;

    for (size_t i = 0; i < screens.size(); ++i)
        if (IsScreenTaken(screens[i], static_cast<int>(i), switches))
            for (auto& slice : screens[i].slices)
                if (slice.enabled || switches.hiddenSlicesOn)
                {
                    ++taken.slices;
                    taken.points += slice.points.size();
                }

    return taken;
}

const char* OutlinePolygons::FindExcess(const std::vector<ScreenInfo>& screens, const Switches& switches)
{
    // Unmerged, each slice is united by itself, so only its own crossings count;
    // merged, all of them are united in one go.
    ClipperLib::Paths polygons;
    EdgeSweep::Counts sum;

    auto excess = [&]() -> const char*
    {
        if (sum.pairsTested > maxTestedPairs)
            return "the slices' edges lie over one another too much (more than 50 million pairs to test for "
                   "crossings)";

        if (sum.crossings > maxCrossings)
            return switches.mergeShapesOn ? "the slices to merge cross themselves and one another more than 30000 times"
                                          : "the taken slices cross themselves more than 30000 times";

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

            polygons.push_back(MakePolygon(slice.points));

            if (switches.mergeShapesOn)
                continue;

            auto counts = EdgeSweep::Measure(polygons, maxCrossings - sum.crossings, maxTestedPairs - sum.pairsTested);
            sum.crossings += counts.crossings;
            sum.pairsTested += counts.pairsTested;
            polygons.clear();

            if (auto* reason = excess())
                return reason;
        }
    }

    if (switches.mergeShapesOn)
        sum = EdgeSweep::Measure(polygons, maxCrossings, maxTestedPairs);

    return excess();
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
