// What a rebuild of the distance image costs inside the host's frame: the plug-in's
// rebuild (on the worker pool, and on the calling thread alone) beside the plain loop
// that fills every ring whole, split into offsetting, filling and uploading, at three
// output sizes, for the bundled example, 40 slices, and the layouts that used to stall
// the host: 90 overlapping concave slices, a face-mapping show's 38 slices, 1,000
// identical stacked slices and 1,000 scattered ones. Then the layouts by which the
// work budget is judged, each printed as refused or drawn, beside the plain loop.
#include "DistanceImageTestSupport.h"
#include "StraightforwardDistanceImage.h"

#include "EglContext.h"
#include "OutputSetupReader.h"
#include "WorkerPool.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{
enum Layout
{
    exampleLayout,
    fortySlices,
    denseSlices,
    showSlices,
    stackedSlices,
    scatteredSlices
};
const char* const layoutNames[] = { "example", "forty", "dense 90", "show 38", "stacked 1000", "scattered 1000" };

std::vector<ScreenInfo> LoadLayout(int layout, int width, int height)
{
    switch (layout)
    {
        case fortySlices: return DistanceTest::FortySlices(width, height);
        case denseSlices: return DistanceTest::DenseSlices(width, height);
        case showSlices: return DistanceTest::ShowSlices(width, height);
        case stackedSlices: return DistanceTest::StackedSlices(width, height, 1000);
        case scatteredSlices: return DistanceTest::ScatteredSlices(width, height, 1000);
        default: break;
    }

    // The reader finds the host's files under $HOME/Documents.
    ::setenv("HOME", ZM_EXAMPLE_HOME, 1);
    OutputSetupReader reader(false);
    return reader.screens;
}

// Arguments: layout, width, height, merging on.
struct Fixture
{
    explicit Fixture(benchmark::State& state)
        : width(static_cast<int>(state.range(1))), height(static_cast<int>(state.range(2))),
          screens(LoadLayout(static_cast<int>(state.range(0)), width, height)),
          image(juce::Image::ARGB, width, height, false)
    {
        switches.mergeShapesOn = state.range(3) != 0;
        plainSwitches.mergeShapesOn = switches.mergeShapesOn;
        state.SetLabel(std::string(layoutNames[state.range(0)]) + (switches.mergeShapesOn ? " merged " : " unmerged ") +
                       std::to_string(width) + "x" + std::to_string(height));
    }

    ClipperLib::Paths Source() const { return OutlinePolygons::Collect(screens, width, height, switches); }
    ClipperLib::Paths PlainSource() const
    {
        return StraightforwardDistanceImage::Collect(screens, width, height, plainSwitches);
    }

    int width, height;
    std::vector<ScreenInfo> screens;
    juce::Image image;
    OutlinePolygons::Switches switches;
    StraightforwardDistanceImage::Switches plainSwitches;
    WorkerPool pool { WorkerPool::WorkersFor(static_cast<size_t>(width) * static_cast<size_t>(height)) };
};

// Whole CPU rebuild: collect, offset, paint; on the worker pool, and on the calling thread alone.
void BM_Ours_Rebuild(benchmark::State& state)
{
    Fixture f(state);
    std::unique_ptr<juce::Image> image;

    for (auto _ : state)
        benchmark::DoNotOptimize(DistanceImage::Rebuild(image, f.screens, f.width, f.height, f.switches));
}

void BM_Ours_Rebuild_OneThread(benchmark::State& state)
{
    WorkerPool::SetNumWorkers(0);
    BM_Ours_Rebuild(state);
    WorkerPool::SetNumWorkers(-1);
}

void BM_Plain_Rebuild(benchmark::State& state)
{
    Fixture f(state);

    for (auto _ : state)
        StraightforwardDistanceImage::Paint(f.image, f.screens, f.plainSwitches);
}

// Offsetting: ours on the worker pool, from the slices without repeats; the plain loop one ring after the other.
void BM_Ours_Offset(benchmark::State& state)
{
    Fixture f(state);

    for (auto _ : state)
    {
        DistanceRings rings(f.Source(), f.pool);
        benchmark::DoNotOptimize(rings.GetNumRings());
    }
}

void BM_Plain_Offset(benchmark::State& state)
{
    Fixture f(state);

    for (auto _ : state)
    {
        ClipperLib::ClipperOffset offsetter(2.0, 0.25);
        offsetter.AddPaths(f.PlainSource(), ClipperLib::jtMiter, ClipperLib::etClosedPolygon);

        for (int n = 0; n < DistanceRings::maxNumRings; ++n)
        {
            ClipperLib::Paths ring;
            offsetter.Execute(ring, DistanceRings::GetDistance(n));

            if (ring.empty())
                break;

            benchmark::DoNotOptimize(ring.data());
        }
    }
}

// Filling from offsets made beforehand.
void BM_Ours_Fill(benchmark::State& state)
{
    Fixture f(state);
    DistanceRings rings(f.Source(), f.pool);

    for (auto _ : state)
        DistanceImage::PaintRings(f.image, rings, f.pool);
}

void BM_Plain_Fill(benchmark::State& state)
{
    Fixture f(state);
    DistanceRings rings(f.Source(), f.pool);

    for (auto _ : state)
        StraightforwardDistanceImage::PaintRings(f.image, rings);
}

// Uploading the finished image the way the effect does: padded storage, then the pixels.
void BM_Upload(benchmark::State& state)
{
    Fixture f(state);
    EglContext context;

    if (!context.Create(EglContext::Profile::Core33))
    {
        state.SkipWithError(context.GetError().c_str());
        return;
    }

    std::unique_ptr<juce::Image> image;
    DistanceImage::Rebuild(image, f.screens, f.width, f.height, f.switches);
    juce::Image::BitmapData pixels(*image, juce::Image::BitmapData::readOnly);
    auto textureWidth = DistanceImage::PaddedTextureSize(f.width);
    auto textureHeight = DistanceImage::PaddedTextureSize(f.height);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    for (auto _ : state)
    {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, f.width, f.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data);
        glFinish();
    }

    glDeleteTextures(1, &texture);
}

const std::pair<int, int> sizes[] = { { 1280, 720 }, { 1920, 1080 }, { 3840, 2160 } };

// The example and the 40 slices merged (the default) and unmerged; the layouts that
// used to stall the host unmerged, as they were slow; the stacked slices only when
// asked for (withStacked), as they are beyond the plug-in's limits and it draws them
// as no screens: the plain loop takes half a minute on them.
void Layouts(benchmark::internal::Benchmark* b, int lastLayout, bool withStacked,
             std::vector<std::pair<int, int>> sizeList)
{
    for (int layout = exampleLayout; layout <= lastLayout; ++layout)
        for (auto size : sizeList)
            for (int merged : { 1, 0 })
                if ((merged == 0 || layout <= fortySlices || layout == stackedSlices) &&
                    (withStacked || layout != stackedSlices))
                    b->Args({ layout, size.first, size.second, merged });

    b->Unit(benchmark::kMillisecond);
}

void AllLayouts(benchmark::internal::Benchmark* b)
{
    Layouts(b, scatteredSlices, true, { std::begin(sizes), std::end(sizes) });
}

// On one thread the dense layouts take seconds at the larger sizes: 1920 x 1080 only.
void OneThreadLayouts(benchmark::internal::Benchmark* b)
{
    Layouts(b, scatteredSlices, true, { { 1920, 1080 } });
}

// The offsetting and filling apart, without the stacked slices.
void SplitLayouts(benchmark::internal::Benchmark* b)
{
    Layouts(b, scatteredSlices, false, { std::begin(sizes), std::end(sizes) });
}

// The plain loop takes seconds on the scattered slices: they run once each, in
// SlowPlainLayouts, so that a benchmark run stays short.
void QuickPlainLayouts(benchmark::internal::Benchmark* b)
{
    Layouts(b, showSlices, false, { std::begin(sizes), std::end(sizes) });
}

void SlowPlainLayouts(benchmark::internal::Benchmark* b)
{
    for (auto size : sizes)
        b->Args({ scatteredSlices, size.first, size.second, 0 });

    b->Unit(benchmark::kMillisecond)->Iterations(1);
}

// The layouts by which the work budget is judged: those that a rebuild draws in a
// fraction of a second, which it must not refuse, and those that take seconds,
// which it must refuse or draw within about one. Each prints whether it was refused
// or drawn, with our time beside the plain loop's.
struct BudgetLayout
{
    const char* name;
    int width, height;
    std::vector<ScreenInfo> (*make)(int width, int height);
};

const BudgetLayout budgetLayouts[] = {
    { "round mask 300", 1920, 1080, [](int w, int h) { return DistanceTest::RoundMasks(w, h, 1, 300); } },
    { "round mask 1000", 1920, 1080, [](int w, int h) { return DistanceTest::RoundMasks(w, h, 1, 1000); } },
    { "round mask 2000", 1920, 1080, [](int w, int h) { return DistanceTest::RoundMasks(w, h, 1, 2000); } },
    { "traced outline 300", 1920, 1080, [](int w, int h) { return DistanceTest::TracedOutline(w, h, 300); } },
    { "traced outline 800", 1920, 1080, [](int w, int h) { return DistanceTest::TracedOutline(w, h, 800); } },
    { "4 round masks 200", 1920, 1080, [](int w, int h) { return DistanceTest::RoundMasks(w, h, 4, 200); } },
    { "72 round slices 32", 1920, 1080, [](int w, int h) { return DistanceTest::RoundSlices(w, h, 72, 32); } },
    { "LED wall 32 x 32", 1920, 1080, [](int w, int h) { return DistanceTest::LedWall(w, h, 32, 32); } },
    { "8 screens of 20 slices", 1920, 1080, [](int w, int h) { return DistanceTest::RepeatedScreens(w, h, 8, 20); } },
    { "150 full-frame slices", 1920, 1080,
      [](int w, int h)
      {
          return std::vector<ScreenInfo> { DistanceTest::Screen(std::vector<SliceInfo>(
              150, DistanceTest::Rectangle(0, 0, static_cast<float>(w), static_cast<float>(h)))) };
      } },
    { "250 strips at 60 deg", 1920, 1080, [](int w, int h) { return DistanceTest::DiagonalStrips(w, h, 250, 60, 3); } },
    { "210 strips at 30 deg", 1920, 1080, [](int w, int h) { return DistanceTest::DiagonalStrips(w, h, 210, 30, 3); } },
    { "900 LED nodes", 1920, 1080, [](int w, int h) { return DistanceTest::LedNodes(w, h, 900, 4, 16); } },
    { "100 circles of 16", 1920, 1080, [](int w, int h) { return DistanceTest::OverlappingCircles(w, h, 100, 16); } },
    { "60 circles of 32", 1920, 1080, [](int w, int h) { return DistanceTest::OverlappingCircles(w, h, 60, 32); } },
    { "78 circles of 16", 1920, 1080, [](int w, int h) { return DistanceTest::OverlappingCircles(w, h, 78, 16); } },
    { "1000 scattered 4K", 3840, 2160, [](int w, int h) { return DistanceTest::ScatteredSlices(w, h, 1000); } },
    { "1000 scattered 8K", 7680, 4320, [](int w, int h) { return DistanceTest::ScatteredSlices(w, h, 1000); } },
};

// Arguments: layout, merging on.
struct BudgetFixture
{
    explicit BudgetFixture(benchmark::State& state)
        : layout(budgetLayouts[state.range(0)]), screens(layout.make(layout.width, layout.height))
    {
        switches.mergeShapesOn = state.range(1) != 0;
        plainSwitches.mergeShapesOn = switches.mergeShapesOn;
    }

    std::string Label(const char* outcome) const
    {
        return std::string(layout.name) + (switches.mergeShapesOn ? " merged " : " unmerged ") +
               std::to_string(layout.width) + "x" + std::to_string(layout.height) + ": " + outcome;
    }

    const BudgetLayout& layout;
    std::vector<ScreenInfo> screens;
    OutlinePolygons::Switches switches;
    StraightforwardDistanceImage::Switches plainSwitches;
};

void BM_Budget_Ours(benchmark::State& state)
{
    BudgetFixture f(state);
    std::unique_ptr<juce::Image> image;
    const char* refusal = nullptr;

    for (auto _ : state)
        DistanceImage::Rebuild(image, f.screens, f.layout.width, f.layout.height, f.switches,
                               RebuildBudget::standardBudget, &refusal);

    state.SetLabel(f.Label(refusal != nullptr ? refusal : "drawn"));
}

// The plain loop knows no budget: it always draws, taking seconds where ours refuses.
void BM_Budget_Plain(benchmark::State& state)
{
    BudgetFixture f(state);
    juce::Image image(juce::Image::ARGB, f.layout.width, f.layout.height, false);

    for (auto _ : state)
        StraightforwardDistanceImage::Paint(image, f.screens, f.plainSwitches);

    state.SetLabel(f.Label("drawn"));
}

void BudgetLayouts(benchmark::internal::Benchmark* b)
{
    for (int layout = 0; layout < static_cast<int>(std::size(budgetLayouts)); ++layout)
        for (int merged : { 1, 0 })
            b->Args({ layout, merged });

    b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->DisplayAggregatesOnly(true);
}

void PlainBudgetLayouts(benchmark::internal::Benchmark* b)
{
    for (int layout = 0; layout < static_cast<int>(std::size(budgetLayouts)); ++layout)
        for (int merged : { 1, 0 })
            b->Args({ layout, merged });

    b->Unit(benchmark::kMillisecond)->Iterations(1);
}
} // namespace

BENCHMARK(BM_Ours_Rebuild)->Apply(AllLayouts);
BENCHMARK(BM_Ours_Rebuild_OneThread)->Apply(OneThreadLayouts);
BENCHMARK(BM_Plain_Rebuild)->Apply(QuickPlainLayouts);
BENCHMARK(BM_Plain_Rebuild)->Apply(SlowPlainLayouts);
BENCHMARK(BM_Ours_Offset)->Apply(SplitLayouts);
BENCHMARK(BM_Plain_Offset)->Apply(QuickPlainLayouts);
BENCHMARK(BM_Ours_Fill)->Apply(SplitLayouts);
BENCHMARK(BM_Plain_Fill)->Apply(QuickPlainLayouts);
BENCHMARK(BM_Upload)->Apply(QuickPlainLayouts);
BENCHMARK(BM_Budget_Ours)->Apply(BudgetLayouts);
BENCHMARK(BM_Budget_Plain)->Apply(PlainBudgetLayouts);

// What a rebuild pays for owning its threads: starting a pool's workers and joining
// them again, with a job that waits until every thread has taken a part of it
// (argument: workers).
namespace
{
void BM_WorkerPool_StartAndJoin(benchmark::State& state)
{
    const auto workers = static_cast<size_t>(state.range(0));

    for (auto _ : state)
    {
        std::atomic<size_t> arrived { 0 };
        WorkerPool pool(workers);
        pool.ForEach(workers + 1,
                     [&](size_t)
                     {
                         ++arrived;

                         while (arrived.load() <= workers)
                             std::this_thread::yield();
                     });
    }
}

// Rebuilds small enough that the number of threads matters: the example at small
// viewports, with the workers the rebuild picks, on the calling thread alone, and
// with every worker the machine offers.
void BM_Small_Rebuild(benchmark::State& state)
{
    BM_Ours_Rebuild(state);
}

void BM_Small_Rebuild_OneThread(benchmark::State& state)
{
    BM_Ours_Rebuild_OneThread(state);
}

void BM_Small_Rebuild_AllWorkers(benchmark::State& state)
{
    const auto hardware = static_cast<int>(std::thread::hardware_concurrency());
    WorkerPool::SetNumWorkers(hardware > 1 ? hardware - 1 : 0);
    BM_Ours_Rebuild(state);
    WorkerPool::SetNumWorkers(-1);
}

void SmallSizes(benchmark::internal::Benchmark* b)
{
    for (auto size : std::vector<std::pair<int, int>> { { 160, 90 }, { 320, 180 }, { 640, 360 } })
        b->Args({ exampleLayout, size.first, size.second, 1 });

    b->Unit(benchmark::kMicrosecond);
}
} // namespace

BENCHMARK(BM_WorkerPool_StartAndJoin)->Arg(1)->Arg(3)->Arg(7)->Arg(15)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Small_Rebuild)->Apply(SmallSizes);
BENCHMARK(BM_Small_Rebuild_OneThread)->Apply(SmallSizes);
BENCHMARK(BM_Small_Rebuild_AllWorkers)->Apply(SmallSizes);
