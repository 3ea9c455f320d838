#include "DistanceImageTestSupport.h"

#include "StraightforwardDistanceImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace DistanceTest
{
SliceInfo Slice(Points points, bool enabled)
{
    SliceInfo slice;
    slice.enabled = enabled;
    slice.points = std::move(points);
    return slice;
}

SliceInfo Rectangle(float x, float y, float w, float h, bool enabled)
{
    return Slice({ { x, y }, { x + w, y }, { x + w, y + h }, { x, y + h } }, enabled);
}

ScreenInfo Screen(std::vector<SliceInfo> slices, bool enabled)
{
    ScreenInfo screen;
    screen.enabled = enabled;
    screen.slices = std::move(slices);
    return screen;
}

std::vector<ScreenInfo> FortySlices(int width, int height)
{
    // A deterministic mix: a grid of rectangles, some rotated quads, some
    // triangles, with neighbours overlapping or touching.
    std::vector<SliceInfo> slices;
    auto cellW = static_cast<float>(width) / 8.0f;
    auto cellH = static_cast<float>(height) / 5.0f;

    for (int i = 0; i < 40; ++i)
    {
        auto x = static_cast<float>(i % 8) * cellW;
        auto y = static_cast<float>(i / 8) * cellH;

        switch (i % 4)
        {
            case 0: slices.push_back(Rectangle(x, y, cellW, cellH)); break;
            case 1: slices.push_back(Rectangle(x - 0.2f * cellW, y + 0.1f * cellH, cellW * 1.1f, cellH * 0.7f)); break;
            case 2:
            {
                auto cx = x + 0.5f * cellW, cy = y + 0.5f * cellH;
                auto r = 0.6f * std::min(cellW, cellH);
                Points quad;

                for (int k = 0; k < 4; ++k)
                {
                    auto angle = 0.4f + static_cast<float>(k) * 1.5707963f;
                    quad.push_back({ cx + r * std::cos(angle), cy + r * std::sin(angle) });
                }

                slices.push_back(Slice(quad));
                break;
            }
            default:
                slices.push_back(Slice(
                    { { x, y + cellH }, { x + 0.5f * cellW, y - 0.2f * cellH }, { x + cellW * 1.2f, y + cellH } }));
        }
    }

    return { Screen(std::move(slices)) };
}

namespace
{
Points Star(float cx, float cy, float outer, float inner, int tips, float turn)
{
    Points star;

    for (int k = 0; k < 2 * tips; ++k)
    {
        auto radius = (k % 2 == 0) ? outer : inner;
        auto angle = turn + static_cast<float>(k) * 3.14159265f / static_cast<float>(tips);
        star.push_back({ cx + radius * std::cos(angle), cy + radius * std::sin(angle) });
    }

    return star;
}

Points RotatedRectangle(float cx, float cy, float halfW, float halfH, float angle)
{
    Points corners;
    auto c = std::cos(angle), s = std::sin(angle);

    for (auto corner : { juce::Point<float>(-1, -1), { 1, -1 }, { 1, 1 }, { -1, 1 } })
        corners.push_back(
            { cx + corner.x * halfW * c - corner.y * halfH * s, cy + corner.x * halfW * s + corner.y * halfH * c });

    return corners;
}
} // namespace

std::vector<ScreenInfo> RandomLayout(juce::Random& random, int width, int height, int numScreens, int slicesPerScreen)
{
    auto w = static_cast<float>(width), h = static_cast<float>(height);
    auto size = std::min(w, h);
    std::vector<ScreenInfo> screens;

    for (int s = 0; s < numScreens; ++s)
    {
        std::vector<SliceInfo> slices;

        for (int i = 0; i < slicesPerScreen; ++i)
        {
            auto cx = (random.nextFloat() * 1.3f - 0.15f) * w;
            auto cy = (random.nextFloat() * 1.3f - 0.15f) * h;
            auto radius = (0.04f + 0.6f * random.nextFloat()) * size;
            auto turn = random.nextFloat() * 6.2831853f;
            Points points;

            switch (random.nextInt(4))
            {
                case 0: points = RotatedRectangle(cx, cy, radius, radius * (0.1f + random.nextFloat()), turn); break;
                case 1: // the inner radius goes down to a hair, so the tips become thin spikes
                    points =
                        Star(cx, cy, radius, radius * (0.02f + 0.5f * random.nextFloat()), 3 + random.nextInt(7), turn);
                    break;
                case 2: // random points in random order: self-intersecting
                    for (int k = 3 + random.nextInt(7); --k >= 0;)
                        points.push_back({ cx + (random.nextFloat() * 2.0f - 1.0f) * radius,
                                           cy + (random.nextFloat() * 2.0f - 1.0f) * radius });
                    break;
                default: // a repeat of an earlier slice, or a thin sliver
                    if (!slices.empty())
                        points = slices[static_cast<size_t>(random.nextInt(static_cast<int>(slices.size())))].points;
                    else
                        points = RotatedRectangle(cx, cy, radius, 1.5f, turn);
            }

            slices.push_back(Slice(points, random.nextInt(5) != 0));
        }

        screens.push_back(Screen(std::move(slices), random.nextInt(4) != 0));
    }

    return screens;
}

OutlinePolygons::Switches RandomSwitches(juce::Random& random, int numScreens)
{
    OutlinePolygons::Switches switches;
    switches.mergeShapesOn = random.nextBool();
    switches.hiddenScreensOn = random.nextBool();
    switches.hiddenSlicesOn = random.nextBool();
    switches.screenSelection = random.nextInt(4) == 0 ? 1 + random.nextInt(numScreens) : 0;
    return switches;
}

std::vector<ScreenInfo> DenseSlices(int width, int height)
{
    // A 10 x 9 grid of stars, each reaching well into its neighbours' cells.
    std::vector<SliceInfo> slices;
    auto cellW = static_cast<float>(width) / 10.0f, cellH = static_cast<float>(height) / 9.0f;

    for (int i = 0; i < 90; ++i)
    {
        auto cx = (static_cast<float>(i % 10) + 0.5f) * cellW, cy = (static_cast<float>(i / 10) + 0.5f) * cellH;
        auto outer = 1.6f * std::max(cellW, cellH);
        slices.push_back(Slice(Star(cx, cy, outer, 0.45f * outer, 5 + i % 3, 0.37f * static_cast<float>(i))));
    }

    return { Screen(std::move(slices)) };
}

std::vector<ScreenInfo> ShowSlices(int width, int height)
{
    // Face-mapping: 38 overlapping polygons of 7 to 9 points (5 x 8 + 27 x 9 + 6 x 7 = 325)
    // over the middle of the output.
    std::vector<SliceInfo> slices;
    auto w = static_cast<float>(width), h = static_cast<float>(height);

    for (int i = 0; i < 38; ++i)
    {
        auto count = i < 5 ? 8 : (i < 32 ? 9 : 7);
        auto angle = static_cast<float>(i) * 0.61f;
        auto cx = w * (0.5f + 0.3f * std::cos(angle) * static_cast<float>(i % 7) / 6.0f);
        auto cy = h * (0.5f + 0.3f * std::sin(angle) * static_cast<float>(i % 5) / 4.0f);
        auto radius = 0.12f * h * (1.0f + static_cast<float>(i % 3) * 0.4f);
        Points points;

        for (int k = 0; k < count; ++k)
        {
            auto a = angle + static_cast<float>(k) * 6.2831853f / static_cast<float>(count);
            auto r = radius * (k % 2 == 0 ? 1.0f : 0.8f);
            points.push_back({ cx + r * std::cos(a) + 0.25f, cy + r * 0.8f * std::sin(a) + 0.75f });
        }

        slices.push_back(Slice(points));
    }

    return { Screen(std::move(slices)) };
}

std::vector<ScreenInfo> StackedSlices(int width, int height, int count)
{
    auto w = static_cast<float>(width), h = static_cast<float>(height);
    return { Screen(std::vector<SliceInfo>(static_cast<size_t>(count), Slice({ { 0.1f * w, 0.2f * h },
                                                                               { 0.9f * w, 0.1f * h },
                                                                               { 0.8f * w, 0.9f * h },
                                                                               { 0.5f * w, 0.6f * h },
                                                                               { 0.2f * w, 0.8f * h } }))) };
}

std::vector<ScreenInfo> ScatteredSlices(int width, int height, int count)
{
    juce::Random random(count);
    std::vector<SliceInfo> slices;
    auto w = static_cast<float>(width), h = static_cast<float>(height);

    for (int i = 0; i < count; ++i)
    {
        auto cx = random.nextFloat() * w, cy = random.nextFloat() * h;
        auto radius = (0.01f + 0.05f * random.nextFloat()) * h;

        if (i % 2 == 0)
            slices.push_back(Slice(RotatedRectangle(cx, cy, radius, radius * 0.6f, random.nextFloat() * 3.0f)));
        else
            slices.push_back(Slice(Star(cx, cy, radius, 0.5f * radius, 3, random.nextFloat() * 3.0f)));
    }

    return { Screen(std::move(slices)) };
}

std::vector<ScreenInfo> OverlappingSlices(int width, int height, int count, int pointsPerSlice)
{
    juce::Random random(count);
    std::vector<SliceInfo> slices;
    auto w = static_cast<float>(width), h = static_cast<float>(height);

    for (int i = 0; i < count; ++i)
    {
        Points points;

        for (int k = 0; k < pointsPerSlice; ++k)
            points.push_back({ (0.1f + 0.8f * random.nextFloat()) * w, (0.1f + 0.8f * random.nextFloat()) * h });

        slices.push_back(Slice(std::move(points)));
    }

    return { Screen(std::move(slices)) };
}

namespace
{
// A circle whose radius follows wobble (angle) times radius.
template <typename Wobble>
Points Round(float cx, float cy, float radius, int numPoints, Wobble&& wobble)
{
    Points points;

    for (int k = 0; k < numPoints; ++k)
    {
        auto angle = static_cast<float>(k) * 6.2831853f / static_cast<float>(numPoints);
        auto r = radius * wobble(angle);
        points.push_back({ cx + r * std::cos(angle), cy + r * std::sin(angle) });
    }

    return points;
}

Points Circle(float cx, float cy, float radius, int numPoints)
{
    return Round(cx, cy, radius, numPoints, [](float) { return 1.0f; });
}
} // namespace

std::vector<ScreenInfo> RoundMasks(int width, int height, int count, int pointsPerMask)
{
    auto w = static_cast<float>(width), h = static_cast<float>(height);
    auto radius = std::min(0.4f * h, 0.45f * w / static_cast<float>(count));
    std::vector<SliceInfo> slices;

    for (int i = 0; i < count; ++i)
        slices.push_back(Slice(
            Circle(w * (static_cast<float>(i) + 0.5f) / static_cast<float>(count), 0.5f * h, radius, pointsPerMask)));

    return { Screen(std::move(slices)) };
}

std::vector<ScreenInfo> TracedOutline(int width, int height, int numPoints)
{
    auto w = static_cast<float>(width), h = static_cast<float>(height);
    auto outline =
        Round(0.5f * w, 0.5f * h, 0.3f * h, numPoints,
              [](float a) { return 1.0f + 0.25f * std::sin(5.0f * a) + 0.08f * std::sin(17.0f * a + 1.0f); });

    for (auto& p : outline)
        p = { std::round(p.x), std::round(p.y) };

    return { Screen({ Slice(std::move(outline)) }) };
}

std::vector<ScreenInfo> RoundSlices(int width, int height, int count, int pointsPerSlice)
{
    auto columns = static_cast<int>(std::ceil(std::sqrt(static_cast<float>(count) * 16.0f / 9.0f)));
    auto rows = (count + columns - 1) / columns;
    auto cellW = static_cast<float>(width) / static_cast<float>(columns);
    auto cellH = static_cast<float>(height) / static_cast<float>(rows);
    std::vector<SliceInfo> slices;

    for (int i = 0; i < count; ++i)
        slices.push_back(Slice(Circle((static_cast<float>(i % columns) + 0.5f) * cellW,
                                      (static_cast<float>(i / columns) + 0.5f) * cellH, 0.4f * std::min(cellW, cellH),
                                      pointsPerSlice)));

    return { Screen(std::move(slices)) };
}

std::vector<ScreenInfo> LedWall(int width, int height, int columns, int rows)
{
    auto tileW = static_cast<float>(width) / static_cast<float>(columns);
    auto tileH = static_cast<float>(height) / static_cast<float>(rows);
    std::vector<SliceInfo> slices;

    for (int i = 0; i < columns * rows; ++i)
        slices.push_back(
            Rectangle(static_cast<float>(i % columns) * tileW, static_cast<float>(i / columns) * tileH, tileW, tileH));

    return { Screen(std::move(slices)) };
}

std::vector<ScreenInfo> RepeatedScreens(int width, int height, int numScreens, int slicesPerScreen)
{
    auto slices = FortySlices(width, height)[0].slices;
    slices.resize(static_cast<size_t>(slicesPerScreen));
    return std::vector<ScreenInfo>(static_cast<size_t>(numScreens), Screen(std::move(slices)));
}

std::vector<ScreenInfo> DiagonalStrips(int width, int height, int count, float degrees, float stripWidth)
{
    // Each strip runs along the direction through a point of the line across the
    // middle at right angles to it, far enough both ways to leave the size.
    auto w = static_cast<float>(width), h = static_cast<float>(height);
    auto angle = degrees * 0.017453293f;
    juce::Point<float> along(std::cos(angle), -std::sin(angle)), across(std::sin(angle), std::cos(angle));
    auto reach = w + h;
    auto spread = std::abs(across.x) * w + std::abs(across.y) * h;
    std::vector<SliceInfo> slices;

    for (int i = 0; i < count; ++i)
    {
        auto offset = (static_cast<float>(i) + 0.5f) / static_cast<float>(count) - 0.5f;
        auto centre = juce::Point<float>(0.5f * w, 0.5f * h) + across * (offset * spread);
        auto side = across * (0.5f * stripWidth);
        slices.push_back(Slice({ centre - along * reach - side, centre + along * reach - side,
                                 centre + along * reach + side, centre - along * reach + side }));
    }

    return { Screen(std::move(slices)) };
}

std::vector<ScreenInfo> LedNodes(int width, int height, int count, float size, float pitch)
{
    auto columns = static_cast<int>(std::ceil(std::sqrt(static_cast<float>(count))));
    auto rows = (count + columns - 1) / columns;
    auto left = 0.5f * (static_cast<float>(width) - pitch * static_cast<float>(columns));
    auto top = 0.5f * (static_cast<float>(height) - pitch * static_cast<float>(rows));
    std::vector<SliceInfo> slices;

    for (int i = 0; i < count; ++i)
        slices.push_back(Rectangle(left + static_cast<float>(i % columns) * pitch,
                                   top + static_cast<float>(i / columns) * pitch, size, size));

    return { Screen(std::move(slices)) };
}

std::vector<ScreenInfo> OverlappingCircles(int width, int height, int count, int pointsPerCircle)
{
    juce::Random random(count * 1000 + pointsPerCircle);
    auto w = static_cast<float>(width), h = static_cast<float>(height);
    std::vector<SliceInfo> slices;

    for (int i = 0; i < count; ++i)
    {
        auto cx = (0.3f + 0.4f * random.nextFloat()) * w, cy = (0.3f + 0.4f * random.nextFloat()) * h;
        auto radius = (0.1f + 0.2f * random.nextFloat()) * h;
        auto phase = random.nextFloat() * 6.2831853f;
        slices.push_back(Slice(Round(cx, cy, radius, pointsPerCircle,
                                     [phase](float a) { return 1.0f + 0.08f * std::sin(3.0f * a + phase); })));
    }

    return { Screen(std::move(slices)) };
}

juce::Image PaintFast(const std::vector<ScreenInfo>& screens, int width, int height,
                      const OutlinePolygons::Switches& switches)
{
    std::unique_ptr<juce::Image> image;
    EXPECT_TRUE(DistanceImage::Rebuild(image, screens, width, height, switches));
    return image != nullptr ? *image : juce::Image();
}

juce::Image PaintPlain(const std::vector<ScreenInfo>& screens, int width, int height,
                       const OutlinePolygons::Switches& switches)
{
    StraightforwardDistanceImage::Switches plain;
    plain.hiddenScreensOn = switches.hiddenScreensOn;
    plain.hiddenSlicesOn = switches.hiddenSlicesOn;
    plain.mergeShapesOn = switches.mergeShapesOn;
    plain.screenSelection = switches.screenSelection;

    juce::Image image(juce::Image::ARGB, width, height, false);
    StraightforwardDistanceImage::Paint(image, screens, plain);
    return image;
}

int Grey(const juce::Image& image, int x, int y)
{
    auto colour = image.getPixelAt(x, y);
    EXPECT_EQ(colour.getAlpha(), 255) << "at " << x << ", " << y;
    EXPECT_EQ(colour.getRed(), colour.getGreen()) << "at " << x << ", " << y;
    EXPECT_EQ(colour.getRed(), colour.getBlue()) << "at " << x << ", " << y;
    return colour.getRed();
}

ImageDifference CompareImages(const juce::Image& a, const juce::Image& b)
{
    EXPECT_EQ(a.getBounds(), b.getBounds());
    juce::Image::BitmapData da(a, juce::Image::BitmapData::readOnly);
    juce::Image::BitmapData db(b, juce::Image::BitmapData::readOnly);
    ImageDifference difference;

    for (int y = 0; y < a.getHeight(); ++y)
    {
        auto* ra = da.getLinePointer(y);
        auto* rb = db.getLinePointer(y);

        for (int x = 0; x < a.getWidth(); ++x)
        {
            int worst = 0;

            for (int c = 0; c < 4; ++c)
                worst = std::max(worst, std::abs(static_cast<int>(ra[x * 4 + c]) - static_cast<int>(rb[x * 4 + c])));

            difference.pixels += worst > 0 ? 1 : 0;
            difference.largest = std::max(difference.largest, worst);
        }
    }

    return difference;
}

bool SamePixels(const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;

    juce::Image::BitmapData da(a, juce::Image::BitmapData::readOnly);
    juce::Image::BitmapData db(b, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < a.getHeight(); ++y)
        if (std::memcmp(da.getLinePointer(y), db.getLinePointer(y), static_cast<size_t>(a.getWidth()) * 4) != 0)
            return false;

    return true;
}
} // namespace DistanceTest
