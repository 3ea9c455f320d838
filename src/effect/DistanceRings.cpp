#include "DistanceRings.h"

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

    numRings = static_cast<int> (offsets.size());
    bands.resize (offsets.size());

    // The cut-out is shrunk from the next ring itself rather than taken from a
    // deeper ring: mitred offsets of the source are not always nested (a corner
    // may switch between mitre and square from one distance to the next, and
    // overlapping slices leave notches that stay put), so only the next ring
    // tells which pixels it covers completely.
    ClipperLib::Paths cutout;

    for (size_t n = 0; n < offsets.size(); ++n)
    {
        bands[n] = offsets[n];

        if (n + 1 == offsets.size())
            break;

        ClipperLib::ClipperOffset shrinker (2.0, 0.25);
        shrinker.AddPaths (offsets[n + 1], ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
        shrinker.Execute (cutout, -cutoutMargin);

        // The cut-out goes in reversed instead of through a polygon difference,
        // which costs as much as the offset itself. Where the cut-out pokes out of
        // this ring, the non-zero fill paints it too, but it lies wholly inside the
        // next ring, which paints over it.
        for (auto& polygon : cutout)
        {
            ClipperLib::ReversePath (polygon);
            bands[n].push_back (std::move (polygon));
        }
    }
}
