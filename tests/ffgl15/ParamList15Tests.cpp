#include "CFreeFrameGLPlugin.h"
#include "PlugMainResults.h"
#include "PluginInfo15.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

using namespace results;

namespace
{
// A base object that keeps a value per index, so the display text can be checked.
class ValuePlugin : public CFreeFrameGLPlugin
{
public:
    float GetFloatParameter(uint32_t index) override { return index < 4 ? values[index] : 0.0f; }
    float values[4] = {};
};

TEST(ParamList15, EveryDefaultIsClampedIntoZeroToOne)
{
    CFFGLPluginManager list;
    list.SetParamInfo(0, "Standard", FF_TYPE_STANDARD, 2.0f);
    list.SetParamInfo(1, "Boolean", FF_TYPE_BOOLEAN, -0.5f);
    list.SetParamInfo(2, "Saturation", FF_TYPE_SATURATION, 2.0f);
    list.SetParamInfo(3, "Hue", FF_TYPE_HUE, 0.1f);
    list.SetParamInfo(4, "NaN", FF_TYPE_STANDARD, std::numeric_limits<float>::quiet_NaN());
    list.SetParamInfo(5, "Option", FF_TYPE_OPTION, 3.0f);

    EXPECT_EQ(AsFloat(list.FindParamDefault(0)), 1.0f);
    EXPECT_EQ(AsFloat(list.FindParamDefault(1)), 0.0f);
    EXPECT_EQ(AsFloat(list.FindParamDefault(2)), 1.0f) << "the FFGL 2.1 table keeps 2.0 for colour types";
    EXPECT_EQ(AsFloat(list.FindParamDefault(3)), 0.1f);
    EXPECT_TRUE(std::isnan(AsFloat(list.FindParamDefault(4)))) << "a NaN passes both comparisons";
    EXPECT_EQ(AsFloat(list.FindParamDefault(5)), 1.0f) << "option defaults are clamped too";
    EXPECT_EQ(list.FindParamDefault(6) & 0xFFFFFFFFu, 0xFFFFFFFFu);
}

TEST(ParamList15, NamesKeepAtMostSixteenBytes)
{
    CFFGLPluginManager list;
    list.SetParamInfo(0, "Sixteen chars ab", FF_TYPE_STANDARD, 0.0f);
    list.SetParamInfo(1, "Twenty characters!!!", FF_TYPE_STANDARD, 0.0f);
    list.SetParamInfo(2, "", FF_TYPE_STANDARD, 0.0f);
    list.SetParamInfo(3, nullptr, FF_TYPE_STANDARD, 0.0f);
    list.SetParamInfo(4, "Short", FF_TYPE_STANDARD, 0.0f);

    EXPECT_EQ(std::memcmp(list.FindParamName(0), "Sixteen chars ab", 16), 0);
    EXPECT_EQ(std::memcmp(list.FindParamName(1), "Twenty character", 16), 0);
    const char zeros[16] = {};
    EXPECT_EQ(std::memcmp(list.FindParamName(2), zeros, 16), 0);
    EXPECT_EQ(std::memcmp(list.FindParamName(3), zeros, 16), 0) << "a null name counts as empty";
    const char shortName[16] = { 'S', 'h', 'o', 'r', 't' };
    EXPECT_EQ(std::memcmp(list.FindParamName(4), shortName, 16), 0);
}

TEST(ParamList15, LookupsFindTheFirstNodeOfAnId)
{
    CFFGLPluginManager list;
    EXPECT_EQ(list.GetNumParams(), 0);
    EXPECT_EQ(list.FindParamName(0), nullptr);
    EXPECT_EQ(list.FindParamType(0), -1);
    EXPECT_EQ(list.FindParamElementCount(0), -1);
    EXPECT_EQ(list.FindParamCode32Value(0), -1);
    EXPECT_EQ(list.FindParamDefault(0) & 0xFFFFFFFFu, 0xFFFFFFFFu);

    list.SetParamInfo(7, "First", FF_TYPE_BOOLEAN, 1.0f);
    list.SetParamInfo(7, "Second", FF_TYPE_TEXT, 0.5f);
    list.SetParamInfo(0xFFFFFFFFu, "All ones", FF_TYPE_STANDARD, 0.5f);

    EXPECT_EQ(list.GetNumParams(), 3) << "duplicates are counted";
    EXPECT_STREQ(list.FindParamName(7), "First");
    EXPECT_EQ(list.FindParamType(7), FF_TYPE_BOOLEAN);
    EXPECT_EQ(AsFloat(list.FindParamDefault(7)), 1.0f);
    EXPECT_EQ(list.FindParamElementCount(7), 1);
    EXPECT_EQ(list.FindParamCode32Value(7), 0);
    EXPECT_STREQ(list.FindParamName(0xFFFFFFFFu), "All ones");

    const ParamInfo* node = list.GetFirstParam();
    ASSERT_NE(node, nullptr);
    ASSERT_NE(node->next, nullptr);
    EXPECT_STREQ(node->next->name, "Second");
    EXPECT_EQ(node->next->next->next, nullptr);
}

TEST(ParamList15, TextNodesReleaseTheirDefaultText)
{
    // The sanitizer build reports a leak or a double free here.
    auto* list = new CFFGLPluginManager();
    list->SetParamInfo(0, "Caption", FF_TYPE_TEXT, 0.0f);
    list->SetParamInfo(1, "Amount", FF_TYPE_STANDARD, 0.0f);
    EXPECT_EQ(list->FindParamDefault(0), 0u) << "null as registered";

    auto* node = const_cast<ParamInfo*>(list->GetFirstParam());
    node->defaultText = strdup("hello");
    EXPECT_EQ(list->FindParamDefault(0), Address(node->defaultText));
    delete list;
}

TEST(ParamList15, BaseOperationsDefaults)
{
    ValuePlugin plugin;
    FFGLViewport viewport { 0, 0, 8, 8 };
    EXPECT_EQ(plugin.InitGL(&viewport), 0);
    EXPECT_EQ(plugin.Resize(&viewport), 0);
    EXPECT_EQ(plugin.DeInitGL(), 0);
    EXPECT_EQ(plugin.SetTime(3.0), -1);
    EXPECT_EQ(plugin.SetFloatParameter(0, 1.0f), -1);
    EXPECT_EQ(plugin.SetTextParameter(0, "x"), -1);
    EXPECT_EQ(plugin.ProcessOpenGL(nullptr), -1);
    EXPECT_EQ(Address(plugin.GetTextParameter(0)), FF_FAIL64);
    EXPECT_EQ(plugin.GetShortName(), nullptr);
    EXPECT_EQ(plugin.Connect(), 0);
    EXPECT_EQ(plugin.Disconnect(), 0);
    EXPECT_FALSE(plugin.IsTimeSupported());
    EXPECT_FALSE(plugin.connected);
    EXPECT_EQ(plugin.GetMinInputFrames(), 0);
    EXPECT_EQ(plugin.GetMaxInputFrames(), 0);

    EXPECT_EQ(plugin.GetInputStatus(0), -1);
    plugin.SetMaxInputFrames(1);
    EXPECT_EQ(plugin.GetInputStatus(0), 1);
    EXPECT_EQ(plugin.GetInputStatus(1), -1);
    EXPECT_EQ(plugin.GetInputStatus(0xFFFFFFFFu), -1);
}

TEST(ParamList15, DisplayTextsFitTheSharedBuffer)
{
    ValuePlugin plugin;
    plugin.SetParamInfo(0, "A", FF_TYPE_STANDARD, 0.0f);
    plugin.SetParamInfo(1, "B", FF_TYPE_STANDARD, 0.0f);
    plugin.SetParamInfo(2, "C", FF_TYPE_STANDARD, 0.0f);
    plugin.SetParamInfo(3, "D", FF_TYPE_STANDARD, 0.0f);

    EXPECT_EQ(plugin.GetParameterDisplay(5), nullptr);
    EXPECT_STREQ(plugin.GetParameterDisplay(0), "0.000000")
        << "an object that never became an instance answers for itself";

    // The longest "%f" text of a float: 47 characters and the terminator.
    plugin.values[1] = -FLT_MAX;
    const char* text = plugin.GetParameterDisplay(1);
    EXPECT_EQ(text, ParameterDisplayBuffer);
    EXPECT_EQ(std::strlen(text), 47u);
    EXPECT_EQ(std::string(text).substr(0, 4), "-340");
    EXPECT_EQ(std::string(text).substr(40), ".000000");

    plugin.values[2] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_NE(std::string(plugin.GetParameterDisplay(2)).find("nan"), std::string::npos);
    plugin.values[3] = -std::numeric_limits<float>::infinity();
    EXPECT_STREQ(plugin.GetParameterDisplay(3), "-inf");
}

TEST(PluginInfo15, RecordHoldsHeapCopiesAndCutFields)
{
    PluginInfo* const previous = CurrentPluginInfo;
    int32_t (*factory)(CFreeFrameGLPlugin**) = [](CFreeFrameGLPlugin**) { return 0; };
    std::string about = "Oskvar Labworks";
    std::string description;
    static const unsigned char block[4] = { 1, 2, 3, 4 };
    {
        PluginInfo info(factory, "KVRNX", "Twenty characters!!!", 1, 5, 2, 1, 1, description.c_str(), about.c_str(), 0,
                        block);
        EXPECT_EQ(CurrentPluginInfo, &info);
        EXPECT_EQ(static_cast<const void*>(info.GetInfo()), static_cast<const void*>(&info));
        EXPECT_EQ(Address(info.ExtendedInfo()), Address(info.GetInfo()) + 32);
        EXPECT_EQ(info.Factory(), factory);

        const FFGLInfoStruct& head = *info.GetInfo();
        EXPECT_EQ(std::string(head.uniqueId, 4), "KVRN");
        EXPECT_EQ(std::string(head.pluginName, 16), "Twenty character");
        EXPECT_EQ(head.pluginType, 1u);

        const FFGLExtendedInfoStruct& extended = *info.ExtendedInfo();
        EXPECT_EQ(extended.pluginMajorVersion, 2u);
        EXPECT_EQ(extended.pluginMinorVersion, 1u);
        about[0] = 'X';
        EXPECT_STREQ(extended.about, "Oskvar Labworks") << "a copy, not the caller's text";
        ASSERT_NE(extended.description, nullptr);
        EXPECT_STREQ(extended.description, "");
        EXPECT_EQ(extended.extendedDataSize, 0u) << "a block without a size is dropped";
        EXPECT_EQ(extended.extendedData, nullptr);
    }
    {
        PluginInfo info(factory, "AB", "Zephyrmantle", 1, 5, 2, 1, 1, nullptr, nullptr, 4, block);
        const char expectedName[16] = { 'Z', 'e', 'p', 'h', 'y', 'r', 'm', 'a', 'n', 't', 'l', 'e' };
        EXPECT_EQ(std::memcmp(info.GetInfo()->pluginName, expectedName, 16), 0);
        EXPECT_STREQ(info.ExtendedInfo()->about, "");
        EXPECT_EQ(info.ExtendedInfo()->extendedDataSize, 4u);
        EXPECT_EQ(info.ExtendedInfo()->extendedData, block);
    }
    CurrentPluginInfo = previous;
}
} // namespace
