#include "DistanceRings.h"

#include <algorithm>

namespace
{
    // Area over the rows spanned: roughly how many pixels wide the shape is
    // on each row it crosses.
    double MeanWidth (const ClipperLib::Paths& polygons)
    {
        double area = 0.0, rows = 0.0;

        for (auto& polygon : polygons)
        {
            if (polygon.empty())
                continue;

            area += ClipperLib::Area (polygon);

            if (ClipperLib::Orientation (polygon))
            {
                auto range = std::minmax_element (polygon.begin(), polygon.end(),
                                                  [] (const ClipperLib::IntPoint& a, const ClipperLib::IntPoint& b)
                                                  { return a.Y < b.Y; });
                rows += static_cast<double> (range.second->Y - range.first->Y);
            }
        }

        return rows > 0.0 ? area / rows : 0.0;
    }
}

DistanceRings::DistanceRings (const ClipperLib::Paths& source)
{
    ClipperLib::ClipperOffset offsetter (2.0, 0.25);
    offsetter.AddPaths (source, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);

    offsets.reserve (static_cast<size_t> (maxNumRings));

    for (int n = 0; n < maxNumRings; ++n)
    {
        ClipperLib::Paths offset;
        offsetter.Execute (offset, GetDistance (n));

        if (offset.empty())
            break;

        offsets.push_back (std::move (offset));
    }

    bands.resize (offsets.size());

    // The cut-out is shrunk from a later ring itself rather than offset from the
    // source: mitred offsets of the source are not always nested (a corner may
    // switch between mitre and square from one distance to the next, and
    // overlapping slices leave notches that stay put), so only the ring itself
    // tells which pixels it covers completely. One cut-out serves a group of
    // rings, which saves most of the extra offsets for a band a pixel wider.
    ClipperLib::Paths cutout;
    size_t cutterIndex = 0;

    for (size_t n = 0; n < offsets.size(); ++n)
    {
        bands[n] = offsets[n];

        if (n % cutoutInterval == 0)
        {
            cutterIndex = std::min (n + cutoutInterval, offsets.size() - 1);
            cutout.clear();

            // Each cut-out edge costs the renderer work on every row it crosses;
            // a narrow cut-out saves fewer pixels than that.
            if (cutterIndex > n && MeanWidth (offsets[cutterIndex]) < minCutoutWidth)
                cutterIndex = n;

            if (cutterIndex > n)
            {
                ClipperLib::ClipperOffset shrinker (2.0, 0.25);
                shrinker.AddPaths (offsets[cutterIndex], ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
                shrinker.Execute (cutout, -cutoutMargin);

                // The cut-out goes in reversed instead of through a polygon
                // difference, which costs as much as the offset itself. Where it
                // pokes out of this ring the non-zero fill paints it too, but it
                // lies wholly inside a later ring, which paints over it.
                for (auto& polygon : cutout)
                    ClipperLib::ReversePath (polygon);
            }
        }

        if (cutterIndex > n)
            bands[n].insert (bands[n].end(), cutout.begin(), cutout.end());
    }
}
