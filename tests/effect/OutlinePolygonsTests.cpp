#include "DistanceImageTestSupport.h"
#include "EdgeSweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace DistanceTest;

namespace
{
ClipperLib::cInt Pixel(float v)
{
    ClipperLib::cInt result = -12345;
    EXPECT_TRUE(OutlinePolygons::ToPixel(v, result)) << v;
    return result;
}

// Each slice gets a distinct x so that the collected polygons tell which slices were taken.
SliceInfo Marker(int id, bool enabled = true)
{
    return Rectangle(static_cast<float>(id * 100), 0, 50, 50, enabled);
}

std::vector<int> TakenMarkers(const std::vector<ScreenInfo>& screens, OutlinePolygons::Switches switches)
{
    switches.mergeShapesOn = false;
    std::vector<int> ids;

    for (auto& polygon : OutlinePolygons::Collect(screens, 640, 480, switches))
    {
        auto minX = polygon[0].X;

        for (auto& p : polygon)
            minX = std::min(minX, p.X);

        ids.push_back(static_cast<int>(minX / 100));
    }

    return ids;
}
} // namespace

TEST(OutlinePolygonsCoordinates, RoundHalfAwayFromZero)
{
    EXPECT_EQ(Pixel(10.5f), 11);
    EXPECT_EQ(Pixel(-10.5f), -11);
    EXPECT_EQ(Pixel(10.49f), 10);
    EXPECT_EQ(Pixel(-10.49f), -10);
    EXPECT_EQ(Pixel(2.5f), 3);
    EXPECT_EQ(Pixel(0.0f), 0);
    EXPECT_EQ(Pixel(-0.4f), 0);
    EXPECT_EQ(Pixel(1919.6f), 1920);
}

TEST(OutlinePolygonsCoordinates, OutOfRangeValuesAreClampedAndNaNDropped)
{
    const auto limit = static_cast<ClipperLib::cInt>(OutlinePolygons::coordinateLimit);
    EXPECT_EQ(Pixel(1e30f), limit);
    EXPECT_EQ(Pixel(-1e30f), -limit);
    EXPECT_EQ(Pixel(std::numeric_limits<float>::infinity()), limit);
    EXPECT_EQ(Pixel(-std::numeric_limits<float>::infinity()), -limit);
    EXPECT_EQ(Pixel(3e9f), limit);
    EXPECT_EQ(Pixel(std::numeric_limits<float>::max()), limit);
    EXPECT_EQ(Pixel(999999.4f), 999999);

    ClipperLib::cInt untouched = 7;
    EXPECT_FALSE(OutlinePolygons::ToPixel(std::numeric_limits<float>::quiet_NaN(), untouched));

    auto polygon = OutlinePolygons::MakePolygon({ { 0, 0 }, { std::nanf(""), 3 }, { 10, 0 }, { 10, 10 } });
    ASSERT_EQ(polygon.size(), 3u);
}

TEST(OutlinePolygonsCoordinates, PolygonsComeOutPositive)
{
    auto clockwise = OutlinePolygons::MakePolygon({ { 10.5f, 0 }, { 20, 0 }, { 20, 10.49f } });
    auto anticlockwise = OutlinePolygons::MakePolygon({ { 20, 10.49f }, { 20, 0 }, { 10.5f, 0 } });

    EXPECT_TRUE(ClipperLib::Orientation(clockwise));
    EXPECT_TRUE(ClipperLib::Orientation(anticlockwise));
    EXPECT_EQ(clockwise.front(), (ClipperLib::IntPoint { 11, 0 }));
    EXPECT_EQ(std::abs(ClipperLib::Area(clockwise)), 45.0);
}

TEST(OutlinePolygonsCollect, NoScreensGivesTheViewport)
{
    for (bool merge : { true, false })
    {
        OutlinePolygons::Switches switches;
        switches.mergeShapesOn = merge;
        auto source = OutlinePolygons::Collect({}, 320, 200, switches);
        ASSERT_EQ(source.size(), 1u);
        EXPECT_EQ(ClipperLib::Area(source[0]), 320.0 * 200.0);
    }
}

TEST(OutlinePolygonsCollect, EnabledTestsAndSwitches)
{
    std::vector<ScreenInfo> screens {
        Screen({ Marker(0), Marker(1, false) }),
        Screen({ Marker(2), Marker(3, false) }, false),
        Screen({ Marker(4) }),
    };

    OutlinePolygons::Switches s;
    EXPECT_EQ(TakenMarkers(screens, s), (std::vector<int> { 0, 4 }));

    s.hiddenSlicesOn = true;
    EXPECT_EQ(TakenMarkers(screens, s), (std::vector<int> { 0, 1, 4 }));

    s.hiddenSlicesOn = false;
    s.hiddenScreensOn = true;
    EXPECT_EQ(TakenMarkers(screens, s), (std::vector<int> { 0, 2, 4 }));

    s.hiddenSlicesOn = true;
    EXPECT_EQ(TakenMarkers(screens, s), (std::vector<int> { 0, 1, 2, 3, 4 }));
}

TEST(OutlinePolygonsCollect, ScreenSelection)
{
    std::vector<ScreenInfo> screens {
        Screen({ Marker(0) }),
        Screen({ Marker(1) }, false),
        Screen({ Marker(2), Marker(3) }),
    };

    OutlinePolygons::Switches s;
    auto take = [&](int k)
    {
        s.screenSelection = k;
        return TakenMarkers(screens, s);
    };

    EXPECT_EQ(take(0), (std::vector<int> { 0, 2, 3 }));
    EXPECT_EQ(take(1), (std::vector<int> { 0 }));
    EXPECT_EQ(take(2), (std::vector<int> {})); // disabled screen
    EXPECT_EQ(take(3), (std::vector<int> { 2, 3 }));
    EXPECT_EQ(take(4), (std::vector<int> {})); // beyond the count
    EXPECT_EQ(take(-1), (std::vector<int> {}));
    EXPECT_EQ(take(std::numeric_limits<int>::min()), (std::vector<int> {}));

    s.hiddenScreensOn = true;
    EXPECT_EQ(take(2), (std::vector<int> { 1 }));
}

TEST(OutlinePolygonsCollect, MergingUnitesOverlappingSlices)
{
    std::vector<ScreenInfo> screens { Screen(
        { Rectangle(0, 0, 100, 100), Rectangle(50, 0, 100, 100), Rectangle(300, 0, 10, 10) }) };

    OutlinePolygons::Switches s;
    auto merged = OutlinePolygons::Collect(screens, 640, 480, s);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_DOUBLE_EQ(std::abs(ClipperLib::Area(merged[0])) + std::abs(ClipperLib::Area(merged[1])),
                     150.0 * 100.0 + 100.0);

    s.mergeShapesOn = false;
    EXPECT_EQ(OutlinePolygons::Collect(screens, 640, 480, s).size(), 3u);
}

TEST(OutlinePolygonsCollect, UnmergedSlicesAreCleanedOneByOne)
{
    OutlinePolygons::Switches s;
    s.mergeShapesOn = false;

    // Fewer than three distinct vertices enclose nothing and add nothing.
    std::vector<ScreenInfo> degenerate { Screen({ Slice({}), Slice({ { 5, 5 } }),
                                                  Slice({ { 0, 0 }, { 10, 10 }, { 0, 0 } }),
                                                  Slice({ { 0, 0 }, { 5, 5 }, { 10, 10 } }) }) };
    EXPECT_TRUE(OutlinePolygons::Collect(degenerate, 100, 100, s).empty());

    // Two squares joined by a doubled bridge fall apart into two pieces; only the
    // first is kept when each slice stands alone.
    std::vector<ScreenInfo> joined { Screen({ Slice({ { 0, 0 },
                                                      { 40, 0 },
                                                      { 40, 20 },
                                                      { 60, 20 },
                                                      { 60, 0 },
                                                      { 100, 0 },
                                                      { 100, 40 },
                                                      { 60, 40 },
                                                      { 60, 20 },
                                                      { 40, 20 },
                                                      { 40, 40 },
                                                      { 0, 40 } }) }) };
    auto pieces = OutlinePolygons::Collect(joined, 200, 200, s);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_DOUBLE_EQ(std::abs(ClipperLib::Area(pieces[0])), 1600.0);

    s.mergeShapesOn = true;
    EXPECT_EQ(OutlinePolygons::Collect(joined, 200, 200, s).size(), 2u);
}

TEST(DistanceRingsOffsets, StopAtTheFirstEmptyOffset)
{
    // A 20 px square: rings grow it by 50 and shrink it until it vanishes at 10 px in.
    WorkerPool pool(3);
    DistanceRings rings(ClipperLib::Paths { { { 0, 0 }, { 20, 0 }, { 20, 20 }, { 0, 20 } } }, pool);
    EXPECT_EQ(rings.GetNumRings(), 60);
    EXPECT_DOUBLE_EQ(ClipperLib::Area(rings.GetRing(0)[0]), 120.0 * 120.0);
    EXPECT_DOUBLE_EQ(ClipperLib::Area(rings.GetRing(59)[0]), 2.0 * 2.0);

    EXPECT_EQ(DistanceRings(ClipperLib::Paths {}, pool).GetNumRings(), 0);

    // A big shape gets all 255 rings.
    DistanceRings big(ClipperLib::Paths { { { 0, 0 }, { 1000, 0 }, { 1000, 1000 }, { 0, 1000 } } }, pool);
    EXPECT_EQ(big.GetNumRings(), DistanceRings::maxNumRings);
    EXPECT_DOUBLE_EQ(ClipperLib::Area(big.GetRing(254)[0]), 592.0 * 592.0);
}

// The counts that the work budget and the checks before a union rely on.
TEST(EdgeSweepCounts, CrossingsLinesAndStackedCorners)
{
    ClipperLib::Path square { { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 } };
    ClipperLib::Path shifted { { 5, 5 }, { 15, 5 }, { 15, 15 }, { 5, 15 } };
    ClipperLib::Path beside { { 10, 0 }, { 20, 0 }, { 20, 10 }, { 10, 10 } };
    ClipperLib::Path pentagram { { 0, 10 }, { 6, -8 }, { -10, 3 }, { 10, 3 }, { -6, -8 } };
    ClipperLib::Path triangle { { 0, 0 }, { 30, 0 }, { 10, 20 } };
    const auto none = std::numeric_limits<uint64_t>::max();

    auto overlapping = EdgeSweep::Measure({ square, shifted }, none, none);
    EXPECT_EQ(overlapping.crossings, 2u);
    EXPECT_EQ(overlapping.crossingPoints, 8u);
    EXPECT_EQ(overlapping.edges, 8u);
    EXPECT_EQ(overlapping.stackedCorners, 0u); // square corners do not count

    // Tiles that touch share an edge and corners but cross nowhere.
    auto touching = EdgeSweep::Measure({ square, beside }, none, none);
    EXPECT_EQ(touching.crossings, 0u);
    EXPECT_EQ(touching.pairsInLine, 3u); // the shared side, and the top and bottom sides in line

    EXPECT_EQ(EdgeSweep::Measure({ pentagram }, none, none).crossings, 5u);

    // k identical slanted slices put k corners on each of three points.
    ClipperLib::Paths stack(7, triangle);
    auto stacked = EdgeSweep::Measure(stack, none, none);
    EXPECT_EQ(stacked.stackedCorners, 3u * 7 * 7 * 7 * 7);
    EXPECT_EQ(stacked.crossings, 0u);
    EXPECT_EQ(stacked.pairsInLine, 3u * 7 * 6 / 2);
    EXPECT_EQ(EdgeSweep::Measure({ triangle, square }, none, none).stackedCorners, 3u);

    // The sweep stops just past either limit.
    auto cut = EdgeSweep::Measure({ pentagram }, 2, none);
    EXPECT_TRUE(cut.reachedLimit);
    EXPECT_EQ(cut.crossings, 3u);
    EXPECT_TRUE(EdgeSweep::Measure(stack, none, 10).reachedLimit);
    EXPECT_FALSE(EdgeSweep::Measure(stack, none, 1000).reachedLimit);
}
