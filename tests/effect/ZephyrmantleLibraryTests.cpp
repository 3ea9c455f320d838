#include "DefinedDynamicSymbols.h"
#include "GLTestEnvironment.h"

#include "EffectTestHome.h"
#include "FFGLTypes.h"
#include "HostFramebuffer.h"
#include "OutputSetupReader.h"
#include "PluginIdentityCheck.h"
#include "PluginLibrary.h"
#include "ScopedHome.h"

#include <gmock/gmock.h>

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

// The two delivered libraries, FFGL 2.1 and FFGL 1.5, loaded and driven the way a host does it.

namespace
{
struct ExpectedParameter
{
    const char* name;
    uint32_t type;
    float defaultValue;
};

using Pairs = std::vector<std::pair<std::string, float>>;
using Rgb = std::array<float, 3>;

/** One delivered library and what it tells a host. */
struct Build
{
    const char* name;
    const char* path;
    EglContext::Profile profile; ///< the context its hosts draw in
    uint32_t apiMajor, apiMinor;
    uint32_t initialiseCode; ///< the code that makes the prototype
    bool hasThumbnail;
    /** The parameter table with the example's three screens in the host's files. */
    std::vector<ExpectedParameter> parameters;
    Pairs screensOption;     ///< the elements of "Screens", where there is one
    float newInstanceColour; ///< the saturation and brightness a new instance receives
    Rgb defaultColour;       ///< red, green and blue of hue 0.3 (108 degrees) with those
};

std::ostream& operator<<(std::ostream& out, const Build& build)
{
    return out << build.name;
}

// FFGL 2.1 reports the colour group's defaults of 2.0 unclamped and hands them to
// each instance, so C = 4, X = 0.8, m = -2; FFGL 1.5 clamps them to 1.0 (C = 1, X = 0.2, m = 0).
const Build builds[] = {
    { "FFGL21",
      ZM_PLUGIN21_PATH,
      EglContext::Profile::Core33,
      2,
      1,
      FF_INITIALISE_PROTOTYPE,
      true,
      { { "Hidden Screens", 0, 0.0f },
        { "Hidden Slices", 0, 0.0f },
        { "Merge shapes", 0, 1.0f },
        { "Screens", 11, 0.0f },
        { "Inside", 10, 0.1f },
        { "Outside", 10, 0.0f },
        { "Softness", 10, 0.0f },
        { "Color", 200, 0.3f },
        { "Color_saturation", 201, 2.0f },
        { "Color_brighthnes", 202, 2.0f },
        { "Color_alpha", 203, 1.0f } },
      { { "All", 0 }, { "Main Wall", 1 }, { "Side Screen", 2 }, { "Backstage Monitor", 3 } },
      2.0f,
      { -1.2f, 2.0f, -2.0f } },
    { "FFGL15",
      ZM_PLUGIN15_PATH,
      EglContext::Profile::Compatibility,
      1,
      5,
      FF_INITIALISE,
      false,
      { { "Hidden Screens", 0, 0.0f },
        { "Hidden Slices", 0, 0.0f },
        { "Merge shapes", 0, 1.0f },
        { "Inside", 10, 0.1f },
        { "Outside", 10, 0.0f },
        { "Softness", 10, 0.0f },
        { "Color", 200, 0.3f },
        { "Color_saturation", 201, 1.0f },
        { "Color_brighthnes", 202, 1.0f } },
      {},
      1.0f,
      { 0.2f, 1.0f, 0.0f } },
};

const PluginLibrary::Parameter* Find(const std::vector<PluginLibrary::Parameter>& parameters, const std::string& name)
{
    const auto found = std::find_if(parameters.begin(), parameters.end(),
                                    [&name](const PluginLibrary::Parameter& p) { return p.name == name; });
    return found == parameters.end() ? nullptr : &*found;
}

Pairs Elements(const PluginLibrary::Parameter& parameter)
{
    Pairs elements;
    for (const auto& element : parameter.elements)
        elements.emplace_back(element.name, element.value);
    return elements;
}

uint64_t Address(const void* pointer)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}

/** One host run: a GL context, its framebuffer and a library, taken down in reverse. */
class HostRun
{
public:
    HostRun() = default;
    HostRun(const HostRun&) = delete;
    HostRun& operator=(const HostRun&) = delete;

    ~HostRun()
    {
        if (instance != 0)
            lib.Deinstantiate(instance);
        target.Destroy();
        if (lib.IsLoaded())
        {
            lib.Deinitialise();
            lib.Unload();
        }
        gl.Destroy();
    }

    /** Loads the library, instantiates it at the size, applies the settings and renders two frames. */
    void Render(const char* path, EglContext::Profile profile, uint32_t width, uint32_t height,
                const std::map<std::string, float>& settings = {})
    {
        ASSERT_TRUE(gl.Create(profile)) << gl.GetError();
        ASSERT_TRUE(lib.Load(path)) << lib.GetError();
        ASSERT_TRUE(lib.GetParameters(parameters)) << lib.GetError();
        ASSERT_TRUE(target.Create(width, height)) << target.GetError();
        instance = lib.Instantiate(width, height);
        ASSERT_NE(instance, 0u) << lib.GetError();
        for (const auto& [name, value] : settings)
        {
            const auto* parameter = Find(parameters, name);
            ASSERT_NE(parameter, nullptr) << name;
            ASSERT_TRUE(lib.SetParameter(instance, parameter->index, value)) << name;
        }
        for (int frame = 0; frame < 2; ++frame)
        {
            target.BindAndClear();
            ASSERT_TRUE(lib.ProcessFrame(instance, target.GetId())) << lib.GetError();
        }
        pixels = target.ReadTopDown();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    /** The values of "cR", "cG" and "cB" in the one program the plug-in made in this fresh context. */
    Rgb ColourUniforms()
    {
        Rgb colour { -5.0f, -5.0f, -5.0f };
        GLuint program = 1;
        while (program < 256 && !(glIsProgram(program) && glGetUniformLocation(program, "cR") != -1))
            ++program;
        EXPECT_LT(program, 256u) << "no program with the colour uniforms";
        const char* const names[] = { "cR", "cG", "cB" };
        for (int i = 0; i < 3 && program < 256; ++i)
            glGetUniformfv(program, glGetUniformLocation(program, names[i]), &colour[static_cast<size_t>(i)]);
        return colour;
    }

    EglContext gl;
    PluginLibrary lib;
    HostFramebuffer target;
    uint64_t instance = 0;
    std::vector<PluginLibrary::Parameter> parameters;
    std::vector<uint8_t> pixels;
};

// Each test loads the library under test afresh.
class DeliveredLibrary : public ::testing::TestWithParam<Build>
{
protected:
    void SetUp() override { ASSERT_TRUE(lib.Load(GetParam().path)) << lib.GetError(); }

    void TearDown() override
    {
        lib.Deinitialise();
        lib.Unload();
    }

    PluginLibrary lib;
};
} // namespace

TEST_P(DeliveredLibrary, ExportsPlugMainAlone)
{
    EXPECT_EQ(DefinedDynamicSymbols(GetParam().path), std::vector<std::string> { "plugMain" });
}

TEST_P(DeliveredLibrary, LoadsUnloadsAndLoadsAgain)
{
    lib.Unload();
    for (int round = 0; round < 3; ++round)
    {
        ASSERT_TRUE(lib.Load(GetParam().path)) << lib.GetError();
        EXPECT_NE(lib.Call(FF_GET_INFO, 0, 0), 0u);
        EXPECT_EQ(static_cast<uint32_t>(lib.Call(GetParam().initialiseCode, 0, 0)), 0u);
        EXPECT_TRUE(lib.Deinitialise());
        lib.Unload();
        EXPECT_EQ(dlopen(GetParam().path, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the library stayed in memory";
    }
}

TEST_P(DeliveredLibrary, DescribesItselfInRecordsLaidOutForTheHost)
{
    ASSERT_NO_FATAL_FAILURE(ExpectIdentity(
        lib, { "KVRN", "Zephyrmantle", GetParam().apiMajor, GetParam().apiMinor, 1, 2, 1, "Oskvar Labworks", "" }));

    // What the reading above cannot tell: the name's field is zero-filled, the extended
    // record follows the first directly, and the empty description is a text, not null.
    const auto* info = reinterpret_cast<const char*>(lib.Call(FF_GET_INFO, 0, 0));
    EXPECT_EQ(std::string(info + 12, 16), std::string("Zephyrmantle\0\0\0\0", 16));
    const auto* extended = reinterpret_cast<const char*>(lib.Call(13, 0, 0));
    EXPECT_EQ(extended, info + 32);
    const char* description = nullptr;
    std::memcpy(&description, extended + 8, sizeof(description));
    EXPECT_NE(description, nullptr);
}

TEST_P(DeliveredLibrary, ParameterTableInIndexOrder)
{
    ScopedHome home(ZM_EXAMPLE_HOME);
    std::vector<PluginLibrary::Parameter> parameters;
    ASSERT_TRUE(lib.GetParameters(parameters)) << lib.GetError();
    const auto& expected = GetParam().parameters;
    ASSERT_EQ(parameters.size(), expected.size());
    for (size_t i = 0; i < parameters.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(parameters[i].index, i);
        EXPECT_EQ(parameters[i].name, expected[i].name);
        EXPECT_EQ(parameters[i].type, expected[i].type);
        EXPECT_FLOAT_EQ(parameters[i].defaultValue, expected[i].defaultValue);
        if (parameters[i].type == FF_TYPE_OPTION)
        {
            EXPECT_EQ(parameters[i].elements.size(), parameters[i].elementCount);
        }
    }
    const auto* screens = Find(parameters, "Screens");
    EXPECT_EQ(screens != nullptr ? Elements(*screens) : Pairs {}, GetParam().screensOption);
}

TEST_P(DeliveredLibrary, ThumbnailIsCopiedAsStoredWhereTheBuildHasOne)
{
    ThumbnailInput request { 0, 0, nullptr };
    const uint64_t sizeOnly = lib.Call(42, Address(&request), 0);
    if (!GetParam().hasThumbnail)
    {
        EXPECT_TRUE(PluginLibrary::IsFailure(sizeOnly));
        EXPECT_EQ(request.width, 0u);
        return;
    }
    EXPECT_EQ(static_cast<uint32_t>(sizeOnly), 0u);
    EXPECT_EQ(request.width, 160u);
    EXPECT_EQ(request.height, 120u);

    // A guard byte past the end tells whether exactly 76,800 bytes were written.
    std::vector<uint8_t> pixels(76800 + 1, 0xAB);
    request.pixels = pixels.data();
    EXPECT_EQ(static_cast<uint32_t>(lib.Call(42, Address(&request), 0)), 0u);
    for (size_t i = 0; i < 76800; i += 4)
        ASSERT_EQ(pixels[i], 255) << "every pixel's first byte is its alpha; pixel " << i / 4;
    EXPECT_EQ(pixels[76800], 0xAB);
}

TEST_P(DeliveredLibrary, ColourUniformsTellSaturationFromBrightness)
{
    ScopedHome home(ZM_EXAMPLE_HOME);
    // The values travel as floats (0.3 and 0.8 are not exact), hence the float comparisons.
    const auto expectColour = [](const Rgb& actual, const Rgb& expected)
    {
        for (size_t i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(actual[i], expected[i]) << "component " << i;
    };
    {
        HostRun run;
        run.Render(GetParam().path, GetParam().profile, 320, 180);
        ASSERT_FALSE(HasFailure());
        EXPECT_FLOAT_EQ(run.lib.GetParameterValue(run.instance, Find(run.parameters, "Color_saturation")->index),
                        GetParam().newInstanceColour);
        EXPECT_FLOAT_EQ(run.lib.GetParameterValue(run.instance, Find(run.parameters, "Color_brighthnes")->index),
                        GetParam().newInstanceColour);
        expectColour(run.ColourUniforms(), GetParam().defaultColour);
    }

    // Hue 108 degrees, saturation 0.5, brightness 0.8: C = 0.4, X = 0.08, m = 0.4, so
    // (X + m, C + m, m). Swapped, the two would give (0.18, 0.5, 0.1).
    HostRun run;
    run.Render(GetParam().path, GetParam().profile, 320, 180,
               { { "Color_saturation", 0.5f }, { "Color_brighthnes", 0.8f } });
    ASSERT_FALSE(HasFailure());
    expectColour(run.ColourUniforms(), { 0.48f, 0.8f, 0.4f });
}

INSTANTIATE_TEST_SUITE_P(Builds, DeliveredLibrary, ::testing::ValuesIn(builds),
                         [](const ::testing::TestParamInfo<Build>& build) { return std::string(build.param.name); });

TEST(ZephyrmantleLibrary, ScreensOptionListsTheHostsScreensWhole)
{
    EffectTestHome home;
    PluginLibrary lib;
    ASSERT_TRUE(lib.Load(ZM_PLUGIN21_PATH)) << lib.GetError();
    // The "Screens" option as the host reads it, from a prototype made for the current files.
    const auto screens = [&lib]
    {
        lib.Deinitialise();
        std::vector<PluginLibrary::Parameter> parameters;
        EXPECT_TRUE(lib.GetParameters(parameters)) << lib.GetError();
        return parameters.size() > 3 ? parameters[3] : PluginLibrary::Parameter {};
    };

    EXPECT_EQ(Elements(screens()), (Pairs { { "All", 0.0f } })) << "no host files: \"All\" alone";

    home.WriteLayout(EffectTestHome::NamedScreens({ "A", "B", "C" }));
    EXPECT_EQ(Elements(screens()), (Pairs { { "All", 0 }, { "A", 1 }, { "B", 2 }, { "C", 3 } }));

    home.WriteLayout(EffectTestHome::NamedScreens({ "Wall", "Wall" }));
    EXPECT_EQ(Elements(screens()), (Pairs { { "All", 0 }, { "Wall", 1 }, { "Wall", 2 } }));

    const std::string longName = "Projector above the stage \xc3\xa9\xc3\xa9 left wing, row 2";
    home.WriteLayout(EffectTestHome::NamedScreens({ longName }));
    const auto withLongName = screens();
    EXPECT_EQ(Elements(withLongName), (Pairs { { "All", 0 }, { longName, 1 } }));
    EXPECT_EQ(withLongName.elementCount, 2u);
    lib.Deinitialise();
    lib.Unload();
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
        if ((polygon[i].y > p.y) != (polygon[j].y > p.y) &&
            p.x < (polygon[j].x - polygon[i].x) * (p.y - polygon[i].y) / (polygon[j].y - polygon[i].y) + polygon[i].x)
            inside = !inside;
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

/** Renders one layout through the FFGL 2.1 library; the RGBA pixels, top row first. */
std::vector<uint8_t> Render21(uint32_t width, uint32_t height)
{
    HostRun run;
    run.Render(ZM_PLUGIN21_PATH, EglContext::Profile::Core33, width, height);
    return run.pixels;
}

/** Renders the bundled example at 1920 x 1080 through one library; the RGBA pixels, top row first. */
std::vector<uint8_t> RenderExample(const char* path, EglContext::Profile profile)
{
    // The FFGL 2.1 colour defaults differ (2.0 there, 1.0 here): both are set to 1.
    HostRun run;
    run.Render(path, profile, 1920, 1080,
               { { "Color_saturation", 1.0f },
                 { "Color_brighthnes", 1.0f },
                 { "Inside", 0.4f },
                 { "Outside", 0.3f },
                 { "Softness", 0.2f } });
    return run.pixels;
}
} // namespace

TEST(ZephyrmantleEndToEnd, ExampleLayoutLightsEveryEnabledSliceBorderAndNothingFarFromOne)
{
    std::vector<Polygon> slices;
    std::vector<uint8_t> pixels;
    {
        ScopedHome home(ZM_EXAMPLE_HOME);
        slices = EnabledSlices();
        pixels = Render21(1920, 1080);
    }

    ASSERT_EQ(slices.size(), 5u) << "the example's enabled slices of enabled screens";
    ASSERT_EQ(pixels.size(), 1920u * 1080u * 4u);
    const auto lit = [&](int x, int y)
    { return x >= 0 && y >= 0 && x < 1920 && y < 1080 && pixels[static_cast<size_t>((y * 1920 + x) * 4 + 3)] > 128; };

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
                for (int dy = -4; dy <= 4 && !found; ++dy)
                    for (int dx = -4; dx <= 4 && !found; ++dx)
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

TEST(ZephyrmantleEndToEnd, HostTopLeftIsImageTopLeft)
{
    EffectTestHome home;
    home.WriteLayout({ { "Corner", true, { { 10, 10, 60, 40, true } } } });
    const auto pixels = Render21(320, 240);
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

TEST(ZephyrmantleEndToEnd, BothLibrariesRenderTheExampleAlike)
{
    ScopedHome home(ZM_EXAMPLE_HOME);
    const auto ffgl15 = RenderExample(ZM_PLUGIN15_PATH, EglContext::Profile::Compatibility);
    const auto ffgl21 = RenderExample(ZM_PLUGIN21_PATH, EglContext::Profile::Core33);
    ASSERT_FALSE(::testing::Test::HasFailure());
    ASSERT_EQ(ffgl15.size(), size_t(1920) * 1080 * 4);
    ASSERT_EQ(ffgl21.size(), ffgl15.size());

    int largest = 0;
    size_t differing = 0;
    size_t lit = 0;
    for (size_t i = 0; i < ffgl15.size(); i += 4)
    {
        int pixelLargest = 0;
        for (size_t c = 0; c < 4; ++c)
            pixelLargest = std::max(pixelLargest, std::abs(int(ffgl15[i + c]) - int(ffgl21[i + c])));
        largest = std::max(largest, pixelLargest);
        differing += pixelLargest > 0 ? 1 : 0;
        lit += ffgl15[i + 1] > 128 && ffgl15[i] < 128 ? 1 : 0;
    }
    EXPECT_GT(lit, size_t(10000)) << "the contours are drawn in the green of hue 108";
    EXPECT_LE(largest, 2);
    EXPECT_LE(differing, ffgl15.size() / 4 / 1000) << "at most one pixel in a thousand may differ at all";
    std::printf("FFGL 1.5 against FFGL 2.1: %zu of %zu pixels differ, by at most %d\n", differing, ffgl15.size() / 4,
                largest);
}
