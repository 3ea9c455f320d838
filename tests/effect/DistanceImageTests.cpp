#include "DistanceImageTestSupport.h"
#include "RebuildBudget.h"
#include "WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>

using namespace DistanceTest;

namespace
{
OutlinePolygons::Switches Unmerged()
{
    OutlinePolygons::Switches switches;
    switches.mergeShapesOn = false;
    return switches;
}
} // namespace

// The table of levels: 255 beyond 50 px outside, 204 on the border, one level per pixel.
TEST(DistanceImageLevels, WithoutScreensTheViewportIsTheShape)
{
    auto image = PaintFast({}, 500, 460);

    for (int x = 0; x < 250; ++x)
        ASSERT_EQ(Grey(image, x, 230), std::max(0, 204 - x)) << "column " << x;

    for (int y = 0; y < 230; ++y)
        ASSERT_EQ(Grey(image, 250, y), std::max(0, 204 - y)) << "row " << y;

    EXPECT_EQ(Grey(image, 499, 230), 204);
    EXPECT_EQ(Grey(image, 250, 459), 204);
    EXPECT_EQ(Grey(image, 0, 0), 204);
}

TEST(DistanceImageLevels, OneRectangleFollowsTheTable)
{
    auto image = PaintFast({ Screen({ Rectangle(200, 200, 200, 200) }) }, 600, 600);

    // Left half of the middle row: grey 404 - x from 50 px outside to the middle.
    for (int x = 0; x < 300; ++x)
        ASSERT_EQ(Grey(image, x, 300), std::min(255, 404 - x)) << "column " << x;

    EXPECT_NEAR(Grey(image, 190, 300), 214, 1); // 10 px outside
    EXPECT_EQ(Grey(image, 149, 300), 255);      // beyond 50 px
    EXPECT_EQ(Grey(image, 150, 300), 254);
    EXPECT_EQ(Grey(image, 200, 300), 204);      // on the border
    EXPECT_NEAR(Grey(image, 230, 300), 174, 1); // 30 px inside
    EXPECT_EQ(Grey(image, 300, 300), 105);      // thin shape: the last ring's level stays
    EXPECT_EQ(Grey(image, 0, 0), 255);

    // Mitred corners stay square outside the shape.
    EXPECT_EQ(Grey(image, 150, 150), 254);
    EXPECT_EQ(Grey(image, 170, 180), 234); // the further of the two sides counts
}

TEST(DistanceImageLevels, MergedAndUnmergedOverlap)
{
    std::vector<ScreenInfo> screens { Screen({ Rectangle(100, 100, 200, 500), Rectangle(250, 100, 200, 500) }) };
    auto merged = PaintFast(screens, 600, 700);
    auto separate = PaintFast(screens, 600, 700, Unmerged());

    // Merged: one 350 wide shape, graded from its own outer border only.
    EXPECT_NEAR(Grey(merged, 275, 350), 30, 1);
    EXPECT_NEAR(Grey(merged, 200, 350), 104, 1);

    // Unmerged: each slice graded from its own border; in the overlap the darker
    // level wins, so a bright ridge marks where the slices meet.
    EXPECT_NEAR(Grey(separate, 275, 350), 179, 1);
    EXPECT_NEAR(Grey(separate, 199, 350), 105, 1);
    EXPECT_NEAR(Grey(separate, 260, 350), 165, 1);
    EXPECT_NEAR(Grey(separate, 290, 350), 164, 1);

    // Outside both are the same.
    EXPECT_EQ(Grey(merged, 80, 350), Grey(separate, 80, 350));
}

TEST(DistanceImageLevels, NothingTakenLeavesWhite)
{
    OutlinePolygons::Switches beyond;
    beyond.screenSelection = 2;
    auto image = PaintFast({ Screen({ Rectangle(10, 10, 50, 50) }) }, 64, 48, beyond);

    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(Grey(image, x, y), 255);

    auto disabled = PaintFast({ Screen({ Rectangle(10, 10, 50, 50) }, false) }, 64, 48);
    EXPECT_TRUE(SamePixels(image, disabled));
}

TEST(DistanceImageLevels, WindingDirectionDoesNotMatter)
{
    Points triangle { { 40, 300 }, { 330, 60 }, { 370, 380 } };
    Points reversed(triangle.rbegin(), triangle.rend());
    Points rectangle { { 50, 50 }, { 50, 250 }, { 350, 250 }, { 350, 50 } };

    EXPECT_TRUE(SamePixels(PaintFast({ Screen({ Slice(triangle) }) }, 400, 400),
                           PaintFast({ Screen({ Slice(reversed) }) }, 400, 400)));
    EXPECT_TRUE(SamePixels(PaintFast({ Screen({ Slice(rectangle) }) }, 400, 300, Unmerged()),
                           PaintFast({ Screen({ Rectangle(50, 50, 300, 200) }) }, 400, 300, Unmerged())));
}

TEST(DistanceImageLevels, HostileCoordinatesPaintSafely)
{
    auto inf = std::numeric_limits<float>::infinity();
    auto nan = std::numeric_limits<float>::quiet_NaN();

    // A huge quad reaching past every edge: the clamped shape still covers the image.
    auto image = PaintFast({ Screen({ Slice({ { -1e30f, -inf }, { inf, -1e30f }, { 3e9f, 1e38f }, { -inf, inf } }) }) },
                           200, 100);
    EXPECT_EQ(Grey(image, 100, 50), 0);

    // NaN points are dropped: the remaining three corners still make a triangle.
    auto withNan =
        PaintFast({ Screen({ Slice({ { 10, 10 }, { nan, 5 }, { 190, 10 }, { 100, nan }, { 100, 90 } }) }) }, 200, 100);
    auto triangle = PaintFast({ Screen({ Slice({ { 10, 10 }, { 190, 10 }, { 100, 90 } }) }) }, 200, 100);
    EXPECT_TRUE(SamePixels(withNan, triangle));

    auto allNan = PaintFast({ Screen({ Slice({ { nan, nan }, { nan, nan }, { nan, nan } }) }) }, 20, 10);
    EXPECT_EQ(Grey(allNan, 5, 5), 255);
}

namespace
{
// The plug-in's image must be the plain loop's, byte for byte: see PaintRings for why
// skipping the pixels that a later ring replaces cannot change any of them.
void ExpectSameAsPlainLoop(const std::vector<ScreenInfo>& screens, int width, int height,
                           const OutlinePolygons::Switches& switches, const std::string& name)
{
    auto fast = PaintFast(screens, width, height, switches);
    auto plain = PaintPlain(screens, width, height, switches);
    const auto difference = CompareImages(fast, plain);
    EXPECT_EQ(difference.pixels, 0) << name << " (largest difference " << difference.largest << ")";
}

// Layouts first to end - 1 of a seeded series at one size: three screens of 6 or 30
// slices each, 30 in half of them when often, else in one in four (they cost the
// most). A series can be split over several tests, which then run side by side.
void ExpectRandomLayoutsSameAsPlainLoop(juce::int64 seed, int first, int end, int width, int height, bool oftenThirty)
{
    juce::Random random(seed);

    for (int layout = 0; layout < end; ++layout)
    {
        auto thirty = oftenThirty ? !random.nextBool() : random.nextInt(4) == 0;
        auto screens = RandomLayout(random, width, height, 3, thirty ? 30 : 6);
        auto switches = RandomSwitches(random, 3);

        if (layout >= first)
            ExpectSameAsPlainLoop(screens, width, height, switches,
                                  "layout " + std::to_string(layout) + " of seed " + std::to_string(seed) +
                                      (switches.mergeShapesOn ? ", merged" : ", unmerged"));
    }
}
} // namespace

TEST(DistanceImageSameAsPlainLoop, ChosenLayouts)
{
    Points star;

    for (int k = 0; k < 10; ++k)
    {
        auto radius = (k % 2 == 0) ? 230.0f : 70.0f;
        auto angle = static_cast<float>(k) * 0.6283185f;
        star.push_back({ 320.0f + radius * std::sin(angle), 240.0f - radius * std::cos(angle) });
    }

    Points frame { { 20, 20 }, { 620, 20 }, { 620, 460 }, { 20, 460 } };
    Points hole { { 200, 150 }, { 200, 330 }, { 440, 330 }, { 440, 150 } }; // reversed: a hole after the union

    struct Case
    {
        const char* name;
        std::vector<ScreenInfo> screens;
        int w, h;
        OutlinePolygons::Switches switches;
    };
    std::vector<Case> cases {
        { "no screens", {}, 640, 360, {} },
        { "star", { Screen({ Slice(star) }) }, 640, 480, {} },
        { "tilted triangle",
          { Screen({ Slice({ { 13.3f, 400.7f }, { 610.2f, 37.9f }, { 500.5f, 470.1f } }) }) },
          640,
          480,
          {} },
        { "frame with hole", { Screen({ Slice(frame), Slice(hole) }) }, 640, 480, {} },
        { "forty merged", FortySlices(640, 360), 640, 360, {} },
        { "forty separate", FortySlices(640, 360), 640, 360, Unmerged() },
        { "forty odd size", FortySlices(333, 517), 333, 517, {} },
        { "dense separate", DenseSlices(480, 270), 480, 270, Unmerged() },
        { "stacked separate", StackedSlices(300, 200, 7), 300, 200, Unmerged() },
        { "rings cut off by every image edge",
          { Screen({ Slice({ { -150, -80 }, { 700, -40 }, { 660, 450 }, { -60, 400 } }) }) },
          640,
          360,
          {} },
        { "one pixel", { Screen({ Rectangle(0, 0, 1, 1) }) }, 1, 1, {} },
        { "one row", { Screen({ Rectangle(30, 0, 200, 1) }) }, 300, 1, {} },
        { "one column past the right edge", { Screen({ Rectangle(-10, 3, 40, 60) }) }, 1, 70, {} },
    };

    for (auto& c : cases)
        ExpectSameAsPlainLoop(c.screens, c.w, c.h, c.switches, c.name);
}

// 204 random layouts over five sizes, most of them small to keep the run short. The
// series of 480 x 360 holds the layouts on which cut-outs shrunk from a later ring used
// to leave holes; those of 1920 x 1080 had the last column two levels off.
struct RandomSeries
{
    const char* name;
    juce::int64 seed;
    int first, end, width, height;
    bool oftenThirty;
};

void PrintTo(const RandomSeries& series, std::ostream* stream)
{
    *stream << series.name;
}

class DistanceImageRandomSeries : public testing::TestWithParam<RandomSeries>
{
};

TEST_P(DistanceImageRandomSeries, SameAsPlainLoop)
{
    const auto& series = GetParam();
    ExpectRandomLayoutsSameAsPlainLoop(series.seed, series.first, series.end, series.width, series.height,
                                       series.oftenThirty);
}

INSTANTIATE_TEST_SUITE_P(RandomLayouts, DistanceImageRandomSeries,
                         testing::Values(RandomSeries { "Small", 20261209, 0, 60, 331, 187, false },
                                         RandomSeries { "Wide", 15, 0, 40, 517, 211, false },
                                         RandomSeries { "Medium1", 7, 0, 42, 480, 360, true },
                                         RandomSeries { "Medium2", 7, 42, 84, 480, 360, true },
                                         RandomSeries { "Size720", 1280, 0, 14, 1280, 720, false },
                                         RandomSeries { "Size1080", 1920, 0, 4, 1920, 1080, false },
                                         RandomSeries { "Size2160", 3840, 0, 2, 3840, 2160, false }),
                         [](const testing::TestParamInfo<RandomSeries>& series)
                         { return std::string(series.param.name); });

// Layouts that look crowded by their counts yet take a fraction of a second: each is
// drawn, merged and unmerged, at 1920 x 1080, exactly as the plain loop draws it.
struct DrawnLayout
{
    const char* name;
    std::vector<ScreenInfo> (*make)();
};

void PrintTo(const DrawnLayout& layout, std::ostream* stream)
{
    *stream << layout.name;
}

class DistanceImageDrawnLayouts : public testing::TestWithParam<DrawnLayout>
{
};

TEST_P(DistanceImageDrawnLayouts, SameAsPlainLoop)
{
    auto screens = GetParam().make();

    for (auto switches : { OutlinePolygons::Switches(), Unmerged() })
    {
        std::unique_ptr<juce::Image> image;
        const char* refusal = "not rebuilt";
        ASSERT_TRUE(
            DistanceImage::Rebuild(image, screens, 1920, 1080, switches, RebuildBudget::standardBudget, &refusal));
        EXPECT_EQ(refusal, nullptr) << refusal;
        auto difference = CompareImages(*image, PaintPlain(screens, 1920, 1080, switches));
        EXPECT_EQ(difference.pixels, 0) << (switches.mergeShapesOn ? "merged" : "unmerged") << " (largest difference "
                                        << difference.largest << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Crowded, DistanceImageDrawnLayouts,
    testing::Values(DrawnLayout { "RoundMask300", [] { return RoundMasks(1920, 1080, 1, 300); } },
                    DrawnLayout { "RoundMask1000", [] { return RoundMasks(1920, 1080, 1, 1000); } },
                    DrawnLayout { "RoundMask2000", [] { return RoundMasks(1920, 1080, 1, 2000); } },
                    DrawnLayout { "TracedOutline300", [] { return TracedOutline(1920, 1080, 300); } },
                    DrawnLayout { "TracedOutline800", [] { return TracedOutline(1920, 1080, 800); } },
                    DrawnLayout { "FourRoundMasks200", [] { return RoundMasks(1920, 1080, 4, 200); } },
                    DrawnLayout { "RoundSlices72", [] { return RoundSlices(1920, 1080, 72, 32); } },
                    DrawnLayout { "LedWall32x32", [] { return LedWall(1920, 1080, 32, 32); } },
                    DrawnLayout { "RepeatedScreens8x20", [] { return RepeatedScreens(1920, 1080, 8, 20); } },
                    DrawnLayout { "IdenticalFullFrame150",
                                  [] {
                                      return std::vector<ScreenInfo> { Screen(
                                          std::vector<SliceInfo>(150, Rectangle(0, 0, 1920, 1080))) };
                                  } },
                    DrawnLayout { "Strips250At60", [] { return DiagonalStrips(1920, 1080, 250, 60, 3); } },
                    DrawnLayout { "Strips210At30", [] { return DiagonalStrips(1920, 1080, 210, 30, 3); } },
                    DrawnLayout { "LedNodes900", [] { return LedNodes(1920, 1080, 900, 4, 16); } }),
    [](const testing::TestParamInfo<DrawnLayout>& layout) { return std::string(layout.param.name); });

// The pool only decides who does which part: any number of workers gives the same bytes.
TEST(DistanceImageRebuild, SameImageWithAnyNumberOfWorkers)
{
    auto screens = DenseSlices(900, 500);
    auto pooled = PaintFast(screens, 900, 500, Unmerged());

    for (int workers : { 0, 1, 6 })
    {
        WorkerPool::SetNumWorkers(workers);
        EXPECT_TRUE(SamePixels(PaintFast(screens, 900, 500, Unmerged()), pooled)) << workers << " workers";
    }

    WorkerPool::SetNumWorkers(-1);
}

// A job that throws ends the rebuild's pool like any other: the exception reaches the
// caller after the other parts, the pool still works, and its end leaves no thread.
TEST(DistanceImageRebuild, WorkersEndWithTheirPoolAlsoAfterAJobThrows)
{
    auto countThreads = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/task"), {}); };
    const auto before = countThreads();

    {
        WorkerPool pool(3);
        std::atomic<int> done { 0 };
        EXPECT_THROW(pool.ForEach(64,
                                  [&](size_t i)
                                  {
                                      if (i == 5)
                                          throw std::runtime_error("part 5");
                                      ++done;
                                  }),
                     std::runtime_error);
        EXPECT_LT(done.load(), 64);

        done = 0;
        pool.ForEach(64, [&](size_t) { ++done; });
        EXPECT_EQ(done.load(), 64);
    }

    EXPECT_EQ(countThreads(), before);
}

namespace
{
// The rebuild's threads: the calling thread and count - 1 workers.
void UseThreads(int count)
{
    WorkerPool::SetNumWorkers(count - 1);
}

struct Outcome
{
    const char* refusal = nullptr;
    juce::Image image;
};

Outcome Rebuild(const std::vector<ScreenInfo>& screens, int width, int height,
                const OutlinePolygons::Switches& switches, uint64_t budget = RebuildBudget::standardBudget)
{
    std::unique_ptr<juce::Image> image;
    Outcome outcome;
    EXPECT_TRUE(DistanceImage::Rebuild(image, screens, width, height, switches, budget, &outcome.refusal));
    outcome.image = image != nullptr ? *image : juce::Image();
    return outcome;
}

Points Star(int numPoints, float cx, float cy, float radius)
{
    // Each point reaches almost half way round (numPoints odd): every edge crosses
    // almost every other.
    Points star;

    for (int k = 0; k < numPoints; ++k)
    {
        auto angle = static_cast<float>(k * (numPoints / 2) % numPoints) * 6.2831853f / static_cast<float>(numPoints);
        star.push_back({ cx + radius * std::cos(angle), cy + radius * std::sin(angle) });
    }

    return star;
}
} // namespace

// A layout that takes too long is drawn as no layout is: the whole viewport is the shape.
TEST(DistanceImageRebuild, LayoutsTooHeavyAreDrawnAsNoScreens)
{
    auto noScreens = PaintFast({}, 200, 120);

    // One slice crossing itself many times would take minutes in one union: refused
    // before any work, merged or not. A smooth slice of 2,000 points crosses nothing.
    for (auto switches : { OutlinePolygons::Switches(), Unmerged() })
    {
        std::vector<ScreenInfo> star { Screen({ Slice(Star(513, 100, 60, 50)) }) };
        EXPECT_NE(OutlinePolygons::FindExcess(star, switches), nullptr);
        auto refused = Rebuild(star, 200, 120, switches);
        EXPECT_NE(refused.refusal, nullptr);
        EXPECT_TRUE(SamePixels(refused.image, noScreens));

        // Only taken slices count.
        star[0].slices[0].enabled = false;
        EXPECT_EQ(OutlinePolygons::FindExcess(star, switches), nullptr);

        EXPECT_EQ(OutlinePolygons::FindExcess({ Screen({ Slice(Star(101, 100, 60, 50)) }) }, switches), nullptr);
        EXPECT_EQ(OutlinePolygons::FindExcess(RoundMasks(1920, 1080, 1, 2000), switches), nullptr);
    }

    // Slices crossing one another many times: refused before they are united when
    // merging, while each of them alone is simple.
    auto overlapping = OverlappingSlices(1920, 1080, 250, 16);
    EXPECT_NE(OutlinePolygons::FindExcess(overlapping, {}), nullptr);
    EXPECT_EQ(OutlinePolygons::FindExcess(OverlappingCircles(1920, 1080, 100, 16), {}), nullptr);

    // Unmerged, each ring's offset unites them: they are refused by the work of the
    // rings, as 100 circles laid over one another are; merged, those are one shape.
    EXPECT_NE(Rebuild(overlapping, 200, 120, Unmerged()).refusal, nullptr);
    auto circles = OverlappingCircles(1920, 1080, 100, 16);
    auto separate = Rebuild(circles, 1920, 1080, Unmerged());
    EXPECT_NE(separate.refusal, nullptr);
    EXPECT_TRUE(SamePixels(separate.image, PaintFast({}, 1920, 1080, Unmerged())));
    EXPECT_EQ(Rebuild(circles, 1920, 1080, {}).refusal, nullptr);

    // Identical slanted slices stack their corners: their offsets cost with the 4th
    // power of the copies, refused before the first ring. Square ones are cheap.
    EXPECT_NE(Rebuild(StackedSlices(300, 200, 100), 300, 200, Unmerged()).refusal, nullptr);
    EXPECT_EQ(Rebuild(StackedSlices(300, 200, 100), 300, 200, {}).refusal, nullptr);
    EXPECT_EQ(Rebuild(StackedSlices(300, 200, 10), 300, 200, Unmerged()).refusal, nullptr);
}

// The same layout and size always get the same answer: the work is counted in ring
// order from what the rings hold, so neither the number of threads nor which of them
// finishes first can change it. Budgets from generous to tight cut the rebuild before
// the rings, after some of them, or not at all.
TEST(DistanceImageRebuild, RefusalsAreTheSameWithAnyNumberOfThreads)
{
    struct Case
    {
        std::vector<ScreenInfo> screens;
        OutlinePolygons::Switches switches;
    };
    std::vector<Case> cases { { DenseSlices(480, 270), Unmerged() },
                              { OverlappingCircles(480, 270, 40, 16), Unmerged() },
                              { ScatteredSlices(480, 270, 300), {} },
                              { RoundMasks(480, 270, 1, 1000), {} } };

    for (auto& c : cases)
    {
        int refused = 0, drawn = 0;

        for (uint64_t budget = RebuildBudget::standardBudget; budget >= 1000000; budget = budget * 2 / 3)
        {
            UseThreads(1);
            auto one = Rebuild(c.screens, 480, 270, c.switches, budget);
            UseThreads(8);
            auto eight = Rebuild(c.screens, 480, 270, c.switches, budget);

            EXPECT_EQ(one.refusal, eight.refusal) << budget;
            EXPECT_TRUE(SamePixels(one.image, eight.image)) << budget;
            (one.refusal != nullptr ? refused : drawn) += 1;
        }

        EXPECT_GT(refused, 0);
        EXPECT_GT(drawn, 0);
    }

    UseThreads(0); // back to the default
}

TEST(DistanceImageRebuild, ImageKeptAtTheSameSizeAndReplacedAtAnother)
{
    std::vector<ScreenInfo> screens { Screen({ Rectangle(20, 20, 60, 40) }) };
    std::unique_ptr<juce::Image> image;

    ASSERT_TRUE(DistanceImage::Rebuild(image, screens, 100, 80, {}));
    auto* first = image.get();
    auto firstPixels = juce::Image::BitmapData(*image, juce::Image::BitmapData::readOnly).data;
    juce::Image copy = image->createCopy();

    ASSERT_TRUE(DistanceImage::Rebuild(image, screens, 100, 80, {}));
    EXPECT_EQ(image.get(), first);
    EXPECT_EQ(juce::Image::BitmapData(*image, juce::Image::BitmapData::readOnly).data, firstPixels);
    EXPECT_TRUE(SamePixels(*image, copy)); // two rebuilds, same pixels

    ASSERT_TRUE(DistanceImage::Rebuild(image, screens, 120, 80, {}));
    EXPECT_EQ(image->getWidth(), 120);
    EXPECT_EQ(image->getHeight(), 80);
    EXPECT_EQ(image->getFormat(), juce::Image::ARGB);
}

TEST(DistanceImageRebuild, UnusableSizesReportFalseAndReleaseTheImage)
{
    std::vector<ScreenInfo> screens { Screen({ Rectangle(0, 0, 10, 10) }) };
    std::unique_ptr<juce::Image> image;
    ASSERT_TRUE(DistanceImage::Rebuild(image, screens, 1, 1, {}));
    EXPECT_NE(image, nullptr);

    for (auto size :
         std::vector<std::pair<int, int>> { { 0, 100 },
                                            { 100, 0 },
                                            { -5, 100 },
                                            { 100, -1 },
                                            { 20000, 10 },
                                            { 10, 16385 },
                                            { std::numeric_limits<int>::max(), std::numeric_limits<int>::max() },
                                            { std::numeric_limits<int>::min(), 5 } })
    {
        EXPECT_FALSE(DistanceImage::Rebuild(image, screens, size.first, size.second, {}))
            << size.first << " x " << size.second;
        EXPECT_EQ(image, nullptr);
        EXPECT_FALSE(DistanceImage::Rebuild(image, {}, size.first, size.second, {}));
    }

    // A usable size afterwards works again.
    EXPECT_TRUE(DistanceImage::Rebuild(image, screens, 16, 16, {}));
    EXPECT_NE(image, nullptr);
}

TEST(DistanceImageTextureSize, RoundsUpToMultiplesOfSixteen)
{
    EXPECT_EQ(DistanceImage::PaddedTextureSize(1280), 1280);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(720), 720);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(1920), 1920);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(1080), 1088);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(100), 112);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(1), 16);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(16), 16);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(17), 32);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(0), 0);
    EXPECT_EQ(DistanceImage::PaddedTextureSize(16384), 16384);

    // Near the top of the range the result must stay a representable multiple of 16.
    auto top = DistanceImage::PaddedTextureSize(std::numeric_limits<int>::max());
    EXPECT_GT(top, 0);
    EXPECT_EQ(top % 16, 0);
}

namespace
{
// JUCE keeps a few process-wide objects (typeface cache, events), which the plug-in
// releases with its last object; this test program releases them at its end so the
// leak detector of a debug build reports only real leaks.
class ReleaseJuceSingletons : public testing::Environment
{
public:
    void TearDown() override { juce::DeletedAtShutdown::deleteAll(); }
};

[[maybe_unused]] auto* const releaseJuceSingletons = testing::AddGlobalTestEnvironment(new ReleaseJuceSingletons);
} // namespace
