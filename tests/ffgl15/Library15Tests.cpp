#include "DefinedDynamicSymbols.h"
#include "GLTestEnvironment.h"

#include "FFGLTypes.h"
#include "HostFramebuffer.h"
#include "PluginLibrary.h"
#include "PluginIdentityCheck.h"
#include "ScopedHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>

// The finished FFGL 1.5 library, loaded and driven the way a host does, and
// compared with the FFGL 2.1 library built from the same sources.

namespace
{
const PluginLibrary::Parameter* Find(const std::vector<PluginLibrary::Parameter>& parameters, const std::string& name)
{
    const auto found = std::find_if(parameters.begin(), parameters.end(),
                                    [&name](const PluginLibrary::Parameter& p) { return p.name == name; });
    return found == parameters.end() ? nullptr : &*found;
}

TEST(Library15, ExportsPlugMainAlone)
{
    EXPECT_EQ(DefinedDynamicSymbols(ZM_PLUGIN15_PATH), std::vector<std::string> { "plugMain" });
}

TEST(Library15, DescribesItselfWithNineParameters)
{
    ScopedHome home(ZM_EXAMPLE_HOME);
    PluginLibrary lib;
    ASSERT_TRUE(lib.Load(ZM_PLUGIN15_PATH)) << lib.GetError();

    ASSERT_NO_FATAL_FAILURE(ExpectIdentity(lib, { "KVRN", "Zephyrmantle", 1, 5, 1, 2, 1, "Oskvar Labworks", {} }));

    std::vector<PluginLibrary::Parameter> parameters;
    ASSERT_TRUE(lib.GetParameters(parameters)) << lib.GetError();
    const char* const names[] = { "Hidden Screens", "Hidden Slices", "Merge shapes", "Inside", "Outside",
                                  "Softness", "Color", "Color_saturation", "Color_brighthnes" };
    ASSERT_EQ(parameters.size(), 9u) << "the example has three screens, yet there is no screen choice";
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(parameters[i].name, names[i]) << i;
    EXPECT_EQ(parameters[3].type, FF_TYPE_STANDARD);
    EXPECT_EQ(Find(parameters, "Screens"), nullptr);
    EXPECT_EQ(Find(parameters, "Color_alpha"), nullptr);
    // The list clamps every default, so the colour group's 2.0 is told as 1.0.
    EXPECT_FLOAT_EQ(parameters[7].defaultValue, 1.0f);
    EXPECT_FLOAT_EQ(parameters[8].defaultValue, 1.0f);

    EXPECT_TRUE(lib.Deinitialise());
    lib.Unload();
}

/** One host run: a GL context, its framebuffer and the library under test, taken down in reverse. */
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
                const std::map<std::string, float>& settings)
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

    /** The one program the plug-in made in this fresh context that has the colour uniforms. */
    GLuint FindEffectProgram()
    {
        for (GLuint name = 1; name < 256; ++name)
            if (glIsProgram(name) && glGetUniformLocation(name, "cR") != -1)
                return name;
        return 0;
    }

    EglContext gl;
    PluginLibrary lib;
    HostFramebuffer target;
    uint64_t instance = 0;
    std::vector<PluginLibrary::Parameter> parameters;
    std::vector<uint8_t> pixels;
};

TEST(Library15GL, NewInstanceStartsWithTheListedColour)
{
    ScopedHome home(ZM_EXAMPLE_HOME);
    HostRun run;
    run.Render(ZM_PLUGIN15_PATH, EglContext::Profile::Compatibility, 320, 180, {});
    ASSERT_FALSE(::testing::Test::HasFailure());

    // Instantiation pushed the listed 1.0, not the 2.0 the prototype holds.
    EXPECT_FLOAT_EQ(run.lib.GetParameterValue(run.instance, 7), 1.0f);
    EXPECT_FLOAT_EQ(run.lib.GetParameterValue(run.instance, 8), 1.0f);

    // Hue 0.3 is 108 degrees: with saturation and brightness 1 that is (0.2, 1, 0).
    const GLuint program = run.FindEffectProgram();
    ASSERT_NE(program, 0u);
    const char* const uniforms[] = { "cR", "cG", "cB" };
    const float expected[] = { 0.2f, 1.0f, 0.0f };
    for (int i = 0; i < 3; ++i)
    {
        float value = -5.0f;
        glGetUniformfv(program, glGetUniformLocation(program, uniforms[i]), &value);
        EXPECT_NEAR(value, expected[i], 1e-6f) << uniforms[i];
    }
}

/** Renders the bundled example at 1920 x 1080 through one library; the RGBA pixels, top row first. */
std::vector<uint8_t> RenderExample(const char* path, EglContext::Profile profile)
{
    // The FFGL 2.1 colour defaults differ (2.0 there, 1.0 here): both are set to 1.
    HostRun run;
    run.Render(path, profile, 1920, 1080,
               { { "Color_saturation", 1.0f }, { "Color_brighthnes", 1.0f }, { "Inside", 0.4f },
                 { "Outside", 0.3f }, { "Softness", 0.2f } });
    return run.pixels;
}

TEST(Library15EndToEnd, RendersTheExampleAsTheFFGL21LibraryDoes)
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
    std::printf("FFGL 1.5 against FFGL 2.1: %zu of %zu pixels differ, by at most %d\n", differing,
                ffgl15.size() / 4, largest);
}
} // namespace
