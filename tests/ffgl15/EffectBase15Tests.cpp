#include "CompatGLTest.h"

#include "GLCallRecorder.h"
#include "OpenPlugin.h"
#include "PlugMainResults.h"

#include <gtest/gtest.h>

#include <string>

// The FFGL 1.5 effect base on its own: how it differs from the FFGL 2.1 base.

namespace
{
const char* const vertexText = "#version 120\n"
                               "uniform vec2 resolution;\n"
                               "uniform vec2 maxst;\n"
                               "void main() { gl_Position = vec4(gl_Vertex.xy * maxst / resolution, 0.0, 1.0); }\n";
const char* const fragmentText = "#version 120\n"
                                 "uniform float inside;\n"
                                 "uniform float cR; uniform float cG; uniform float cB;\n"
                                 "void main() { gl_FragColor = vec4(cR, cG, cB, inside); }\n";

TEST(EffectBase15, InputFramesFollowThePluginType)
{
    struct Case
    {
        int32_t type;
        int32_t frames;
        bool hasInputs;
    };
    // A mixer gets no input frames here, unlike in the FFGL 2.1 base.
    for (const Case c : { Case { FF_EFFECT, 1, true }, Case { FF_SOURCE, 0, false }, Case { FF_MIXER, 0, false } })
    {
        OpenPlugin plugin(c.type);
        EXPECT_EQ(plugin.GetMinInputFrames(), c.frames) << c.type;
        EXPECT_EQ(plugin.GetMaxInputFrames(), c.frames) << c.type;
        EXPECT_EQ(plugin.hasInputs, c.hasInputs) << c.type;
    }
}

TEST(EffectBase15, ColourGroupHasNoAlphaAndTheListClampsItsDefaults)
{
    OpenPlugin plugin;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(plugin.AddParam("p" + juce::String(i), {}, FF_TYPE_BOOLEAN, 0.0f), i);

    plugin.AddHueColorParam("Color", "cR", "cG", "cB", 0.3f);

    EXPECT_EQ(plugin.GetNumParams(), 9);
    ASSERT_EQ(plugin.colorGroups.size(), 1);
    EXPECT_EQ(plugin.colorGroups[0], 6);

    const int32_t types[] = { FF_TYPE_HUE, FF_TYPE_SATURATION, FF_TYPE_BRIGHTNESS };
    const char* const uniforms[] = { "cR", "cG", "cB" };
    const float listed[] = { 0.3f, 1.0f, 1.0f };
    const float kept[] = { 0.3f, 2.0f, 2.0f };
    for (uint32_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(plugin.FindParamType(6 + i), types[i]);
        EXPECT_EQ(plugin.uniformNames[static_cast<int>(6 + i)], uniforms[i]);
        // The list answers the clamped default; the slot keeps what was given.
        EXPECT_FLOAT_EQ(results::AsFloat(plugin.FindParamDefault(6 + i)), listed[i]) << i;
        EXPECT_FLOAT_EQ(plugin.GetFloatParameter(6 + i), kept[i]) << i;
    }
    EXPECT_EQ(std::string(plugin.FindParamName(7), 16), "Color_saturation");
    EXPECT_EQ(std::string(plugin.FindParamName(8), 16), "Color_brighthnes");
    EXPECT_EQ(plugin.FindParamType(9), -1);

    EXPECT_EQ(plugin.AddParam("Next", "next", FF_TYPE_STANDARD, 1.5f), 9);
    EXPECT_FLOAT_EQ(plugin.GetFloatParameter(9), 1.5f);
}

TEST(EffectBase15, ValuesOutsideTheSlotsAreIgnored)
{
    OpenPlugin plugin;
    plugin.AddParam("Inside", "inside", FF_TYPE_STANDARD, 0.1f);

    EXPECT_EQ(plugin.SetFloatParameter(0, 7.5f), FF_SUCCESS);
    EXPECT_FLOAT_EQ(plugin.GetFloatParameter(0), 7.5f); // slots never clamp
    EXPECT_EQ(plugin.SetFloatParameter(1, 3.0f), FF_SUCCESS);
    EXPECT_EQ(plugin.SetFloatParameter(0xFFFFFFFFu, 3.0f), FF_SUCCESS);
    EXPECT_EQ(plugin.paramValues.size(), 1);
    EXPECT_FLOAT_EQ(plugin.GetFloatParameter(1), 0.0f);
    EXPECT_FLOAT_EQ(plugin.GetFloatParameter(0xFFFFFFFFu), 0.0f);
}

TEST(EffectBase15, DeInitGLBeforeInitGLMakesNoGLCall)
{
    OpenPlugin plugin;
    GLCallRecorder log;
    EXPECT_EQ(plugin.DeInitGL(), FF_SUCCESS);
    EXPECT_TRUE(log.calls.empty());
}

class EffectBase15GL : public CompatGLTest
{
protected:
    static std::array<float, 2> UniformPair(GLuint program, GLint location)
    {
        std::array<float, 2> value {};
        glGetUniformfv(program, location, value.data());
        return value;
    }
};

TEST_F(EffectBase15GL, InitGLResolvesEverySlotAndSetsResolution)
{
    OpenPlugin plugin;
    plugin.AddParam("Hidden", {}, FF_TYPE_BOOLEAN, 0.0f);
    plugin.AddParam("Inside", "inside", FF_TYPE_STANDARD, 0.1f);
    plugin.AddParam("Missing", "notInTheShader", FF_TYPE_STANDARD, 0.0f);
    plugin.AddHueColorParam("Color", "cR", "cG", "cB", 0.3f);
    plugin.SetShaderSources(vertexText, fragmentText);

    const FFGLViewport viewport { 0, 0, 1920, 1080 };
    ASSERT_EQ(plugin.InitGL(&viewport), FF_SUCCESS);
    ASSERT_TRUE(plugin.mainShader.IsValid());
    const GLuint program = plugin.mainShader.GetProgram();

    ASSERT_EQ(plugin.uniformLocations.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(plugin.uniformLocations[i], glGetUniformLocation(program, plugin.uniformNames[i].toRawUTF8())) << i;
    EXPECT_EQ(plugin.uniformLocations[0], -1);
    EXPECT_NE(plugin.uniformLocations[1], -1);
    EXPECT_EQ(plugin.uniformLocations[2], -1);
    EXPECT_NE(plugin.maxstLocation, -1);

    const auto resolution = UniformPair(program, plugin.resolutionLocation);
    EXPECT_FLOAT_EQ(resolution[0], 1920.0f);
    EXPECT_FLOAT_EQ(resolution[1], 1080.0f);
    EXPECT_EQ(plugin.viewportWidth, 1920);
    EXPECT_EQ(plugin.viewportHeight, 1080);

    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);

    const FFGLViewport smaller { 0, 0, 640, 360 };
    EXPECT_EQ(plugin.Resize(&smaller), FF_SUCCESS);
    const auto resized = UniformPair(program, plugin.resolutionLocation);
    EXPECT_FLOAT_EQ(resized[0], 640.0f);
    EXPECT_FLOAT_EQ(resized[1], 360.0f);
    EXPECT_EQ(plugin.viewportWidth, 640);
    EXPECT_EQ(plugin.viewportHeight, 360);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    {
        GLCallRecorder log;
        EXPECT_EQ(plugin.DeInitGL(), FF_SUCCESS);
        // The main shader's three objects, fragment first; the second shader has none.
        EXPECT_EQ(log.calls, (std::vector<std::string> { "glDeleteShader", "glDeleteShader", "glDeleteProgram" }));
        EXPECT_EQ(log.arguments[2][0], double(program));
    }
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_EQ(plugin.mainShader.GetProgram(), 0u);
}

TEST_F(EffectBase15GL, UnlinkedProgramGetsNoLocationsAndLeavesNoGLError)
{
    OpenPlugin plugin;
    plugin.AddParam("Inside", "inside", FF_TYPE_STANDARD, 0.1f);
    // Both stages compile, but the fragment stage calls a function nobody defines: the link fails.
    plugin.SetShaderSources(vertexText, "#version 120\nuniform float inside;\nfloat nowhere(float x);\n"
                                        "void main() { gl_FragColor = vec4(nowhere(inside)); }\n");

    const FFGLViewport viewport { 0, 0, 320, 240 };
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(plugin.InitGL(&viewport), FF_SUCCESS);
    ::testing::internal::GetCapturedStdout();

    EXPECT_NE(plugin.mainShader.GetProgram(), 0u);
    EXPECT_FALSE(plugin.mainShader.IsValid());
    EXPECT_TRUE(plugin.uniformLocations.isEmpty());
    EXPECT_EQ(plugin.resolutionLocation, -1);
    EXPECT_EQ(plugin.maxstLocation, -1);
    EXPECT_EQ(plugin.viewportWidth, 320);

    // Putting an unlinked program in use would leave an error in the host's context.
    const FFGLViewport resized { 0, 0, 100, 50 };
    EXPECT_EQ(plugin.Resize(&resized), FF_SUCCESS);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(plugin.viewportWidth, 100);
    EXPECT_EQ(plugin.viewportHeight, 50);

    // Whatever the shader object made is still released.
    GLCallRecorder log;
    plugin.DeInitGL();
    EXPECT_EQ(log.Count("glDeleteProgram"), 1);
    EXPECT_EQ(log.Count("glDeleteShader"), 2);
}

TEST_F(EffectBase15GL, EmptySourcesCompileNothing)
{
    OpenPlugin plugin;
    plugin.AddParam("Inside", "inside", FF_TYPE_STANDARD, 0.1f);
    plugin.SetShaderSources(vertexText, {});

    const FFGLViewport viewport { 0, 0, 64, 64 };
    EXPECT_EQ(plugin.InitGL(&viewport), FF_SUCCESS);
    EXPECT_EQ(plugin.mainShader.GetProgram(), 0u);
    EXPECT_TRUE(plugin.uniformLocations.isEmpty());
    EXPECT_EQ(plugin.viewportHeight, 64);
}
} // namespace
