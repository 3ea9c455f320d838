#include "GLCallRecorder.h"
#include "OpenPlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

TEST(Plugin, InputFrameLimitsFollowThePluginType)
{
    const std::pair<int32_t, int32_t> expected[] = {
        { FF_EFFECT, 1 }, { FF_SOURCE, 0 }, { FF_MIXER, 2 }, { 7, 0 }, { -1, 0 }
    };
    for (const auto& [type, frames] : expected)
    {
        OpenPlugin plugin(type);
        EXPECT_EQ(plugin.GetMinInputFrames(), frames) << type;
        EXPECT_EQ(plugin.GetMaxInputFrames(), frames) << type;
        EXPECT_EQ(plugin.GetNumParams(), 0u);
    }
}

TEST(Plugin, ValueSlotsStayAlignedWithParameterIds)
{
    OpenPlugin plugin;
    EXPECT_EQ(plugin.AddParam("A", "a", FF_TYPE_BOOLEAN, 1.0f), 0);
    plugin.AddValueSlot(); // index 1, defined in the table by the derived class
    EXPECT_EQ(plugin.AddParam("B", "b", FF_TYPE_STANDARD, 0.5f), 2);
    EXPECT_EQ(plugin.AddParam("Inside", "inside", FF_TYPE_STANDARD, 0.1f), 3);

    ASSERT_EQ(plugin.paramValues.size(), 4);
    ASSERT_EQ(plugin.uniformNames.size(), 4);
    EXPECT_EQ(plugin.uniformNames[1], juce::String());
    EXPECT_FLOAT_EQ(plugin.paramValues[1], 0.0f);
    EXPECT_EQ(plugin.uniformNames[3], "inside");
    EXPECT_FLOAT_EQ(plugin.paramValues[3], 0.1f);
    EXPECT_EQ(plugin.FindParam(1), nullptr);
    ASSERT_NE(plugin.FindParam(3), nullptr);
    EXPECT_EQ(plugin.FindParam(3)->type, FF_TYPE_STANDARD);
    EXPECT_FLOAT_EQ(plugin.FindParam(3)->defaultValue, 0.1f);

    // The table clamps its copy of a standard default; the value slot keeps it unclamped.
    const int32_t big = plugin.AddParam("Big", "big", FF_TYPE_STANDARD, 1.5f);
    EXPECT_FLOAT_EQ(plugin.FindParam(big)->defaultValue, 1.0f);
    EXPECT_FLOAT_EQ(plugin.GetFloatParameter(static_cast<uint32_t>(big)), 1.5f);
}

TEST(Plugin, ColourGroupsAddFourParametersAndRememberTheirStart)
{
    OpenPlugin plugin;
    for (int i = 0; i < 7; ++i)
        plugin.AddValueSlot();
    plugin.AddHueColorParam("Color", "cR", "cG", "cB", 0.3f);
    plugin.AddHueColorParam("Tint", "tR", "tG", "tB", 0.0f);

    ASSERT_EQ(plugin.colorGroups.size(), 2);
    EXPECT_EQ(plugin.colorGroups[0], 7);
    EXPECT_EQ(plugin.colorGroups[1], 11);

    const int32_t types[] = { FF_TYPE_HUE, FF_TYPE_SATURATION, FF_TYPE_BRIGHTNESS, FF_TYPE_ALPHA };
    const float defaults[] = { 0.3f, 2.0f, 2.0f, 1.0f };
    const char* uniforms[] = { "cR", "cG", "cB", "" };
    const char* names[] = { "Color", "Color_saturation", "Color_brighthnes", "Color_alpha" };
    for (int i = 0; i < 4; ++i)
    {
        const ParamInfo* record = plugin.FindParam(7 + i);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->type, types[i]);
        EXPECT_FLOAT_EQ(record->defaultValue, defaults[i]); // colour types are not clamped by the table
        EXPECT_FLOAT_EQ(plugin.paramValues[7 + i], defaults[i]);
        EXPECT_EQ(plugin.uniformNames[7 + i], uniforms[i]);
        EXPECT_EQ(std::string(record->name, strnlen(record->name, sizeof(record->name))), names[i]);
    }
}

TEST(Plugin, FloatParametersAcceptAnyIndexAndValueSafely)
{
    OpenPlugin empty;
    EXPECT_EQ(empty.SetFloatParameter(0, 1.0f), FF_SUCCESS);
    EXPECT_EQ(empty.GetFloatParameter(0), 0.0f);

    OpenPlugin plugin;
    plugin.AddParam("A", "a", FF_TYPE_STANDARD, 0.25f);
    plugin.AddParam("B", "b", FF_TYPE_STANDARD, 0.75f);

    EXPECT_EQ(plugin.SetFloatParameter(2, 9.0f), FF_SUCCESS); // past the end: dropped, still success
    EXPECT_EQ(plugin.SetFloatParameter(std::numeric_limits<uint32_t>::max(), 9.0f), FF_SUCCESS);
    EXPECT_EQ(plugin.GetFloatParameter(2), 0.0f);
    EXPECT_EQ(plugin.GetFloatParameter(std::numeric_limits<uint32_t>::max()), 0.0f);
    EXPECT_FLOAT_EQ(plugin.GetFloatParameter(0), 0.25f);
    EXPECT_FLOAT_EQ(plugin.GetFloatParameter(1), 0.75f);

    EXPECT_EQ(plugin.SetFloatParameter(0, std::numeric_limits<float>::quiet_NaN()), FF_SUCCESS);
    EXPECT_TRUE(std::isnan(plugin.GetFloatParameter(0)));
    EXPECT_EQ(plugin.SetFloatParameter(1, -std::numeric_limits<float>::infinity()), FF_SUCCESS);
    EXPECT_EQ(plugin.GetFloatParameter(1), -std::numeric_limits<float>::infinity());
}

TEST(Plugin, GLCallsWithoutAProgram)
{
    GLCallRecorder recorder(false);
    {
        OpenPlugin plugin;
        plugin.AddParam("A", "a", FF_TYPE_STANDARD, 0.25f);
        plugin.SetFloatParameter(0, 0.5f);
    }
    EXPECT_TRUE(recorder.calls.empty()) << "construction, parameters and destruction make no GL call";

    OpenPlugin plugin;
    plugin.AddParam("A", "a", FF_TYPE_STANDARD, 0.25f);
    const FFGLViewport viewport { 0, 0, 1920, 1080 };
    EXPECT_EQ(plugin.InitGL(&viewport), FF_SUCCESS); // no sources: nothing compiled
    for (const auto& call : recorder.calls)
        EXPECT_TRUE(call.find("Shader") == std::string::npos && call.find("Program") == std::string::npos &&
                    call.find("Uniform") == std::string::npos)
            << call;
    EXPECT_TRUE(plugin.uniformLocations.isEmpty());
    EXPECT_EQ(plugin.viewportWidth, 1920);
    EXPECT_EQ(plugin.viewportHeight, 1080);

    // A null viewport is refused without touching GL or the kept size.
    recorder.calls.clear();
    EXPECT_EQ(plugin.InitGL(nullptr), FF_FAIL);
    EXPECT_EQ(plugin.Resize(nullptr), FF_FAIL);
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(plugin.viewportWidth, 1920);

    // Releasing without a program: only the two quad deletions, every time.
    const std::vector<std::string> quadRelease = { "glDeleteBuffers", "glDeleteVertexArrays" };
    EXPECT_EQ(plugin.DeInitGL(), FF_SUCCESS);
    EXPECT_EQ(recorder.calls, quadRelease);
    recorder.calls.clear();
    EXPECT_EQ(plugin.DeInitGL(), FF_SUCCESS);
    EXPECT_EQ(recorder.calls, quadRelease);
}
