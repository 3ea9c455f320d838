#include "GLTestEnvironment.h"

#include "EffectTestHome.h"
#include "ScopedHome.h"
#include "FFGLTypes.h"
#include "HostFramebuffer.h"
#include "OutputSetupReader.h"
#include "PluginLibrary.h"

#include <gmock/gmock.h>

#include <cmath>

// The delivered FFGL 2.1 library, loaded and driven the way a host does it.

namespace
{
struct LoadedPlugin
{
    LoadedPlugin()
    {
        loaded = lib.Load(ZM_PLUGIN21_PATH);
        EXPECT_TRUE(loaded) << lib.GetError();
    }

    ~LoadedPlugin()
    {
        lib.Deinitialise();
        lib.Unload();
    }

    /** The parameter table as the host reads it, from a prototype made for the current HOME. */
    std::vector<PluginLibrary::Parameter> Parameters()
    {
        lib.Deinitialise();
        std::vector<PluginLibrary::Parameter> parameters;
        EXPECT_TRUE(lib.GetParameters(parameters)) << lib.GetError();
        return parameters;
    }

    PluginLibrary lib;
    bool loaded = false;
};

std::vector<std::pair<std::string, float>> Elements(const PluginLibrary::Parameter& parameter)
{
    std::vector<std::pair<std::string, float>> elements;
    for (const auto& element : parameter.elements)
        elements.emplace_back(element.name, element.value);
    return elements;
}

using Pairs = std::vector<std::pair<std::string, float>>;
} // namespace

TEST(ZephyrmantleLibrary, ParameterTableInIndexOrder)
{
    EffectTestHome home;
    LoadedPlugin plugin;
    ASSERT_TRUE(plugin.loaded);
    const auto parameters = plugin.Parameters();
    ASSERT_EQ(parameters.size(), 11u);

    struct Expected
    {
        const char* name;
        int32_t type;
        float defaultValue;
    };
    const Expected expected[] = { { "Hidden Screens", 0, 0.0f }, { "Hidden Slices", 0, 0.0f },
                                  { "Merge shapes", 0, 1.0f },   { "Screens", 11, 0.0f },
                                  { "Inside", 10, 0.1f },        { "Outside", 10, 0.0f },
                                  { "Softness", 10, 0.0f },      { "Color", 200, 0.3f },
                                  { "Color_saturation", 201, 2.0f }, { "Color_brighthnes", 202, 2.0f },
                                  { "Color_alpha", 203, 1.0f } };
    for (size_t i = 0; i < parameters.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(parameters[i].index, i);
        EXPECT_EQ(parameters[i].name, expected[i].name);
        EXPECT_EQ(parameters[i].type, expected[i].type);
        EXPECT_FLOAT_EQ(parameters[i].defaultValue, expected[i].defaultValue);
    }

    // No host files: the screen choice offers "All" alone.
    EXPECT_EQ(Elements(parameters[3]), (Pairs { { "All", 0.0f } }));
}

TEST(ZephyrmantleLibrary, ScreensOptionListsTheHostsScreensWhole)
{
    EffectTestHome home;
    LoadedPlugin plugin;
    ASSERT_TRUE(plugin.loaded);

    home.WriteLayout(EffectTestHome::NamedScreens({ "A", "B", "C" }));
    EXPECT_EQ(Elements(plugin.Parameters()[3]), (Pairs { { "All", 0 }, { "A", 1 }, { "B", 2 }, { "C", 3 } }));

    home.WriteLayout(EffectTestHome::NamedScreens({ "Wall", "Wall" }));
    EXPECT_EQ(Elements(plugin.Parameters()[3]), (Pairs { { "All", 0 }, { "Wall", 1 }, { "Wall", 2 } }));

    const std::string longName = "Projector above the stage \xc3\xa9\xc3\xa9 left wing, row 2";
    home.WriteLayout(EffectTestHome::NamedScreens({ longName }));
    const auto parameters = plugin.Parameters();
    EXPECT_EQ(Elements(parameters[3]), (Pairs { { "All", 0 }, { longName, 1 } }));
    EXPECT_EQ(parameters[3].elementCount, 2u);
}

TEST(ZephyrmantleLibrary, ThumbnailBytesAreCopiedAsStored)
{
    LoadedPlugin plugin;
    ASSERT_TRUE(plugin.loaded);

    ThumbnailInput request { 0, 0, nullptr };
    EXPECT_EQ(static_cast<uint32_t>(plugin.lib.Call(42, reinterpret_cast<uint64_t>(&request), 0)), 0u);
    EXPECT_EQ(request.width, 160u);
    EXPECT_EQ(request.height, 120u);

    // A guard byte past the end tells whether exactly 76,800 bytes were written.
    std::vector<uint8_t> pixels(76800 + 1, 0xAB);
    request.pixels = pixels.data();
    EXPECT_EQ(static_cast<uint32_t>(plugin.lib.Call(42, reinterpret_cast<uint64_t>(&request), 0)), 0u);
    for (size_t i = 0; i < 76800; i += 4)
        ASSERT_EQ(pixels[i], 255) << "pixel " << i / 4;
    EXPECT_EQ(pixels[76800], 0xAB);
}

namespace
{
struct Point
{
    double x, y;
};

using Polygon = std::vector<Point>;

double DistanceToSegment(const Point& p, const Point& a, const Point& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = std::max(0.0, std::min(1.0, t));
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double DistanceToBorder(const Point& p, const Polygon& polygon)
{
    double best = 1e30;
    for (size_t i = 0; i < polygon.size(); ++i)
        best = std::min(best, DistanceToSegment(p, polygon[i], polygon[(i + 1) % polygon.size()]));
    return best;
}

bool Inside(const Point& p, const Polygon& polygon)
{
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++)
        if ((polygon[i].y > p.y) != (polygon[j].y > p.y)
            && p.x < (polygon[j].x - polygon[i].x) * (p.y - polygon[i].y) / (polygon[j].y - polygon[i].y) + polygon[i].x)
            inside = ! inside;
    return inside;
}

/** The enabled slices of enabled screens, read the way the plug-in reads them. */
std::vector<Polygon> EnabledSlices()
{
    OutputSetupReader reader(false);
    std::vector<Polygon> polygons;
    for (const auto& screen : reader.screens)
        if (screen.enabled)
            for (const auto& slice : screen.slices)
                if (slice.enabled)
                {
                    Polygon polygon;
                    for (const auto& point : slice.points)
                        polygon.push_back({ point.x, point.y });
                    polygons.push_back(polygon);
                }
    return polygons;
}

class ZephyrmantleEndToEnd : public GLTest
{
protected:
    /** Renders one frame at the given size and returns it top row first. */
    std::vector<uint8_t> Render(uint32_t width, uint32_t height)
    {
        PluginLibrary& lib = plugin.lib;
        HostFramebuffer fbo;
        EXPECT_TRUE(fbo.Create(width, height)) << fbo.GetError();
        const uint64_t instance = lib.Instantiate(width, height);
        EXPECT_NE(instance, 0u);
        if (instance == 0)
            return {};
        fbo.BindAndClear();
        EXPECT_TRUE(lib.ProcessFrame(instance, fbo.GetId()));
        auto pixels = fbo.ReadTopDown();
        EXPECT_TRUE(lib.Deinstantiate(instance));
        return pixels;
    }

    LoadedPlugin plugin;
};
} // namespace

TEST_F(ZephyrmantleEndToEnd, ExampleLayoutLightsEveryEnabledSliceBorderAndNothingFarFromOne)
{
    ASSERT_TRUE(plugin.loaded);
    std::vector<Polygon> slices;
    std::vector<uint8_t> pixels;
    {
        ScopedHome home(ZM_EXAMPLE_HOME);
        slices = EnabledSlices();
        pixels = Render(1920, 1080);
    }

    ASSERT_EQ(slices.size(), 5u) << "the example's enabled slices of enabled screens";
    ASSERT_EQ(pixels.size(), 1920u * 1080u * 4u);
    const auto lit = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < 1920 && y < 1080 && pixels[static_cast<size_t>((y * 1920 + x) * 4 + 3)] > 128;
    };

    // Along every edge that lies on the outline of the union (not inside another
    // slice), something is lit within a few pixels.
    int samples = 0;
    for (size_t s = 0; s < slices.size(); ++s)
        for (size_t i = 0; i < slices[s].size(); ++i)
        {
            const Point a = slices[s][i], b = slices[s][(i + 1) % slices[s].size()];
            for (double t = 0.1; t < 0.95; t += 0.1)
            {
                const Point p { a.x + t * (b.x - a.x), a.y + t * (b.y - a.y) };
                bool covered = false;
                for (size_t o = 0; o < slices.size(); ++o)
                    covered = covered || (o != s && Inside(p, slices[o]) && DistanceToBorder(p, slices[o]) > 30);
                if (covered)
                    continue;
                bool found = false;
                for (int dy = -4; dy <= 4 && ! found; ++dy)
                    for (int dx = -4; dx <= 4 && ! found; ++dx)
                        found = lit(static_cast<int>(p.x) + dx, static_cast<int>(p.y) + dy);
                EXPECT_TRUE(found) << "slice " << s << " edge " << i << " at " << p.x << ", " << p.y;
                ++samples;
            }
        }
    EXPECT_GT(samples, 100);

    // Every lit pixel lies within the band ("Inside" 0.1: about 20 pixels) of some border.
    int litCount = 0, stray = 0;
    for (int y = 0; y < 1080; y += 2)
        for (int x = 0; x < 1920; x += 2)
            if (lit(x, y))
            {
                ++litCount;
                double nearest = 1e30;
                for (const auto& slice : slices)
                    nearest = std::min(nearest, DistanceToBorder({ x + 0.5, y + 0.5 }, slice));
                if (nearest > 26)
                    ++stray;
            }
    EXPECT_GT(litCount, 10000);
    EXPECT_EQ(stray, 0);
}

TEST_F(ZephyrmantleEndToEnd, HostTopLeftIsImageTopLeft)
{
    ASSERT_TRUE(plugin.loaded);
    EffectTestHome home;
    home.WriteLayout({ { "Corner", true, { { 10, 10, 60, 40, true } } } });
    const auto pixels = Render(320, 240);
    ASSERT_EQ(pixels.size(), 320u * 240u * 4u);

    int lit = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            if (pixels[static_cast<size_t>((y * 320 + x) * 4 + 3)] > 128)
            {
                ++lit;
                EXPECT_TRUE(x < 72 && y < 52) << x << ", " << y;
                if (x >= 72 || y >= 52)
                    return;
            }
    EXPECT_GT(lit, 500);
    EXPECT_GT(pixels[static_cast<size_t>((12 * 320 + 12) * 4 + 3)], 128) << "just inside the top-left corner";
}
