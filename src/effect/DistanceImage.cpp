#include "DistanceImage.h"

#include "DebugOutput.h"
#include "EdgeSweep.h"
#include "RebuildBudget.h"
#include "WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

bool DistanceImage::IsUsableSize(int width, int height) noexcept
{
    return width > 0 && height > 0 && width <= maxSide && height <= maxSide;
}

bool DistanceImage::PrepareImage(std::unique_ptr<juce::Image>& image, int width, int height) noexcept
{
    if (!IsUsableSize(width, height))
    {
        image.reset();
        return false;
    }

    if (image != nullptr && image->getWidth() == width && image->getHeight() == height)
        return true;

    try
    {
        auto fresh = std::make_unique<juce::Image>(juce::Image::ARGB, width, height, false);

        // JUCE reports a failed pixel allocation only as a null pixel pointer.
        juce::Image::BitmapData pixels(*fresh, juce::Image::BitmapData::readOnly);

        if (pixels.data == nullptr)
        {
            image.reset();
            return false;
        }

        image = std::move(fresh);
        return true;
    }
    catch (...)
    {
        image.reset();
        return false;
    }
}

namespace
{
// Reuses the path's storage.
void ToPath(const ClipperLib::Paths& polygons, juce::Path& path)
{
    path.clear();

    for (auto& polygon : polygons)
    {
        if (polygon.empty())
            continue;

        path.startNewSubPath(static_cast<float>(polygon[0].X), static_cast<float>(polygon[0].Y));

        for (size_t i = 1; i < polygon.size(); ++i)
            path.lineTo(static_cast<float>(polygon[i].X), static_cast<float>(polygon[i].Y));

        path.closeSubPath();
    }
}

// Most of a rebuild's pixels are runs of one colour: the C library's wide-character
// fill stores them many at a time where wchar_t is a 32-bit pixel.
void FillPixels(void* destination, int count, juce::PixelARGB colour) noexcept
{
    if constexpr (sizeof(wchar_t) == sizeof(juce::PixelARGB))
        std::wmemset(static_cast<wchar_t*>(destination), static_cast<wchar_t>(colour.getNativeARGB()),
                     static_cast<size_t>(count));
    else
        std::fill_n(static_cast<juce::PixelARGB*>(destination), count, colour);
}

// Runs of pixels [first, second) of one row, in increasing order.
using Spans = std::vector<std::pair<int, int>>;

// Collects the pixels that a fill through an edge table replaces outright:
// those whose coverage is full, so that an opaque colour is stored as it is
// and whatever lay there before no longer counts.
class FullCoverage
{
public:
    FullCoverage(std::vector<Spans>& rowsToFill, int firstRow) noexcept : rows(rowsToFill), top(firstRow) {}

    void setEdgeTableYPos(int y) noexcept { row = &rows[static_cast<size_t>(y - top)]; }

    void handleEdgeTablePixel(int, int) const noexcept {} // below full coverage by definition
    void handleEdgeTablePixelFull(int x) const { Add(x, 1); }
    void handleEdgeTableLine(int x, int width, int alpha) const
    {
        if (alpha >= 0xff)
            Add(x, width);
    }
    void handleEdgeTableLineFull(int x, int width) const { Add(x, width); }

private:
    void Add(int x, int width) const
    {
        if (!row->empty() && row->back().second == x)
            row->back().second = x + width;
        else
            row->emplace_back(x, x + width);
    }

    std::vector<Spans>& rows;
    int top;
    Spans* row = nullptr;
};

// Blends an opaque colour over an ARGB image through an edge table's coverage,
// with the same pixel arithmetic as a Graphics solid-colour fill, except on the
// pixels that a later ring covers fully (the spans given per row): that ring's
// fill replaces them whatever lies there, so they are left alone here.
class FillOutsideSpans
{
public:
    FillOutsideSpans(const juce::Image::BitmapData& pixels, juce::PixelARGB colour,
                     const std::vector<Spans>& skippedRows, int firstRow) noexcept
        : destination(pixels), source(colour), skipped(skippedRows), top(firstRow)
    {
    }

    void setEdgeTableYPos(int y) noexcept
    {
        line = reinterpret_cast<juce::PixelARGB*>(destination.getLinePointer(y));
        spans = &skipped[static_cast<size_t>(y - top)];
        next = 0;
    }

    void handleEdgeTablePixel(int x, int alpha) noexcept
    {
        if (!IsSkipped(x))
            line[x].blend(source, static_cast<juce::uint32>(alpha));
    }

    void handleEdgeTablePixelFull(int x) noexcept
    {
        if (!IsSkipped(x))
            line[x].blend(source);
    }

    void handleEdgeTableLine(int x, int width, int alpha) noexcept
    {
        auto colour = source;
        colour.multiplyAlpha(alpha);
        ForEachRun(x, width,
                   [this, colour](int start, int count)
                   {
                       if (colour.getAlpha() >= 0xff)
                           FillPixels(line + start, count, colour);
                       else
                           for (auto *p = line + start, *end = p + count; p != end; ++p)
                               p->blend(colour);
                   });
    }

    void handleEdgeTableLineFull(int x, int width) noexcept
    {
        ForEachRun(x, width, [this](int start, int count) { FillPixels(line + start, count, source); });
    }

private:
    // The edge table hands over each row from left to right, so one index
    // walks the row's spans once.
    void SkipSpansBefore(int x) noexcept
    {
        while (next < spans->size() && (*spans)[next].second <= x)
            ++next;
    }

    bool IsSkipped(int x) noexcept
    {
        SkipSpansBefore(x);
        return next < spans->size() && (*spans)[next].first <= x;
    }

    template <typename Paint>
    void ForEachRun(int x, int width, Paint&& paint) noexcept
    {
        const int end = x + width;

        while (x < end)
        {
            SkipSpansBefore(x);

            if (next < spans->size() && (*spans)[next].first <= x)
            {
                x = (*spans)[next].second;
                continue;
            }

            auto runEnd = next < spans->size() ? std::min(end, (*spans)[next].first) : end;
            paint(x, runEnd - x);
            x = runEnd;
        }
    }

    const juce::Image::BitmapData& destination;
    juce::PixelARGB source;
    const std::vector<Spans>& skipped;
    int top;
    juce::PixelARGB* line = nullptr;
    const Spans* spans = nullptr;
    size_t next = 0;
};

// Rows per strip of the painting: several strips per thread so that a thread
// whose strips hold little work takes more, yet not so thin that rebuilding
// every ring's edge table for each strip costs more than the painting.
constexpr int minStripRows = 16;
constexpr int stripsPerThread = 2;

// What a rebuild has to do, in pixels painted, to decide how many threads share
// it: offsetting one outline point for every ring costs about as much as
// painting this many pixels.
constexpr size_t pointWeight = 16384;

size_t RebuildWork(const ClipperLib::Paths& polygons, int width, int height) noexcept
{
    size_t points = 0;

    for (auto& polygon : polygons)
        points += polygon.size();

    return static_cast<size_t>(width) * static_cast<size_t>(height) + points * pointWeight;
}

// Paints rows [top, bottom) of the image: white, then every ring's band.
void PaintStrip(const juce::Image::BitmapData& pixels, const std::vector<juce::Path>& paths,
                const std::vector<juce::Range<int>>& ringRows, int top, int bottom)
{
    for (int y = top; y < bottom; ++y)
        std::memset(pixels.getLinePointer(y), 0xff, static_cast<size_t>(pixels.width) * 4);

    const auto stripRows = juce::Range<int>(top, bottom);

    // The edge table of ring n over this strip, clamped at the image's left and
    // right edges as a fill of the whole image clamps it.
    auto makeTable = [&](size_t n) -> std::unique_ptr<juce::EdgeTable>
    {
        auto rows = ringRows[n].getIntersectionWith(stripRows);

        if (rows.isEmpty())
            return nullptr;

        return std::make_unique<juce::EdgeTable>(
            juce::Rectangle<int>(0, rows.getStart(), pixels.width, rows.getLength()), paths[n],
            juce::AffineTransform());
    };

    std::vector<Spans> fullInNext(static_cast<size_t>(bottom - top));
    auto current = paths.empty() ? nullptr : makeTable(0);

    for (size_t n = 0; n < paths.size(); ++n)
    {
        auto next = n + 1 < paths.size() ? makeTable(n + 1) : nullptr;

        for (auto& row : fullInNext)
            row.clear();

        if (next != nullptr)
        {
            FullCoverage collect(fullInNext, top);
            next->iterate(collect);
        }

        if (current != nullptr)
        {
            auto level = static_cast<juce::uint8>(DistanceRings::GetGreyLevel(static_cast<int>(n)));
            FillOutsideSpans fill(pixels, juce::PixelARGB(0xff, level, level, level), fullInNext, top);
            current->iterate(fill);
        }

        current = std::move(next);
    }
}
} // namespace

void DistanceImage::PaintRings(juce::Image& image, const DistanceRings& rings, WorkerPool& rebuildPool)
{
    // The fill below writes 32-bit pixels directly; any other layout is converted first.
    if (image.getFormat() != juce::Image::ARGB)
        image = image.convertedToFormat(juce::Image::ARGB);

    juce::Image::BitmapData pixels(image, juce::Image::BitmapData::readWrite);

    if (pixels.data == nullptr || pixels.pixelStride != 4)
        return;

    // Filling every ring whole over the last is what makes the plain approach slow:
    // deep inside, each pixel is replaced up to 255 times. A pixel that ring n + 1
    // covers fully is replaced by that ring's opaque fill whatever ring n left
    // there, so ring n skips it. This is exact, not an estimate: "covers fully" is
    // read off ring n + 1's own edge table, the very coverage with which its fill
    // replaces the pixel. A pixel keeps the level of the last ring that covers it
    // fully, blended with the partial coverage of the rings after it; a skipped
    // pixel lies before such a ring, and no ring from the last full one on ever
    // skips the pixel, so every pixel ends as it would with every ring filled
    // whole. That holds wherever the rings are not nested too (overlapping or
    // spiky slices, a corner changing from mitre to square), and in the last
    // column, where the renderer clamps edges beyond the right border to 255/256
    // coverage: such pixels are never full, so no ring skips them.
    const auto numRings = static_cast<size_t>(rings.GetNumRings());
    std::vector<juce::Path> paths(numRings);
    std::vector<juce::Range<int>> ringRows(numRings);
    const juce::Range<int> imageRows(0, pixels.height);

    rebuildPool.ForEach(numRings,
                        [&](size_t n)
                        {
                            ToPath(rings.GetRing(static_cast<int>(n)), paths[n]);

                            // A row with no edge point of the path stays untouched; a margin of one
                            // row covers the renderer's rounding of edge ends.
                            auto bounds = paths[n].getBounds().getSmallestIntegerContainer().expanded(1);
                            ringRows[n] =
                                juce::Range<int>(bounds.getY(), bounds.getBottom()).getIntersectionWith(imageRows);
                        });

    const auto numStrips = rebuildPool.GetConcurrency() * stripsPerThread;
    const int stripRows =
        std::max(minStripRows, (pixels.height + static_cast<int>(numStrips) - 1) / static_cast<int>(numStrips));
    const auto stripCount = static_cast<size_t>((pixels.height + stripRows - 1) / stripRows);

    rebuildPool.ForEach(stripCount,
                        [&](size_t strip)
                        {
                            auto top = static_cast<int>(strip) * stripRows;
                            PaintStrip(pixels, paths, ringRows, top, std::min(pixels.height, top + stripRows));
                        });
}

bool DistanceImage::Rebuild(std::unique_ptr<juce::Image>& image, const std::vector<ScreenInfo>& screens, int width,
                            int height, const OutlinePolygons::Switches& switches, uint64_t workBudget,
                            const char** refusal) noexcept
{
    if (refusal != nullptr)
        *refusal = nullptr;

    if (!PrepareImage(image, width, height))
        return false;

    try
    {
        // A layout that would take too long is drawn as if there were no screens,
        // which shows at once that something is off, and the reason is noted once.
        // The no-screens case is one rectangle: always cheap.
        static const std::vector<ScreenInfo> noScreens;
        RebuildBudget budget(workBudget);
        auto* excess = OutlinePolygons::FindExcess(screens, switches);
        auto taken = OutlinePolygons::CountTaken(screens, switches);

        // Filling the image white is not counted: drawing no screens takes it too.
        if (excess == nullptr && !budget.Spend(RebuildBudget::CollectWork(taken.slices, taken.points)))
            excess = "the slices have too many points to collect within the work a rebuild may take";

        // The threads end with the pool, before this returns, however it returns. It is
        // sized by the first polygons offset, and a refused layout's rectangle reuses it.
        std::optional<WorkerPool> pool;
        auto poolFor = [&](const ClipperLib::Paths& polygons) -> WorkerPool&
        {
            if (!pool)
                pool.emplace(WorkerPool::WorkersFor(RebuildWork(polygons, width, height)));

            return *pool;
        };

        std::unique_ptr<DistanceRings> rings;

        if (excess == nullptr)
        {
            auto polygons = OutlinePolygons::Collect(screens, width, height, switches);

            // What every ring's offset sweeps over is known before the first one: even
            // the 51 rings outside the outline, which every shape has, must fit.
            const auto minRings = static_cast<uint64_t>(DistanceRings::outermostDistance + 1);
            auto source =
                EdgeSweep::Measure(polygons, std::numeric_limits<uint64_t>::max(), budget.GetRemaining() / minRings);
            auto perRing = RebuildBudget::OffsetWork(source);

            if (source.reachedLimit || !budget.Spend(RebuildBudget::SweepWork(source)) ||
                perRing > budget.GetRemaining() / minRings)
                excess = "the slices lie over one another too much for the work a rebuild may take";
            else
            {
                rings = std::make_unique<DistanceRings>(polygons, poolFor(polygons),
                                                        [&](int, const ClipperLib::Paths& ring) {
                                                            return budget.Spend(perRing) &&
                                                                   budget.Spend(RebuildBudget::RingWork(ring, height));
                                                        });

                if (rings->WasStopped())
                    excess = "offsetting and painting the rings takes more work than a rebuild may take";
            }
        }

        if (refusal != nullptr)
            *refusal = excess;

        if (excess != nullptr)
        {
            static std::atomic<bool> reported { false };

            if (!reported.exchange(true))
                logToDebuggerOnly(
                    (juce::String("Zephyrmantle: the layout is drawn as if there were no screens: ") + excess)
                        .toRawUTF8());

            auto rectangle = OutlinePolygons::Collect(noScreens, width, height, switches);
            rings = std::make_unique<DistanceRings>(rectangle, poolFor(rectangle));
        }

        PaintRings(*image, *rings, *pool);
        return true;
    }
    catch (...)
    {
        image.reset(); // possibly half painted
        return false;
    }
}

int DistanceImage::PaddedTextureSize(int size) noexcept
{
    auto padded = std::ceil(static_cast<float>(size) * 0.0625f) * 16.0f;

    // Near the top of the int range the float result no longer fits.
    if (padded >= 2147483648.0f)
        return std::numeric_limits<int>::max() & ~15;

    return static_cast<int>(padded);
}
