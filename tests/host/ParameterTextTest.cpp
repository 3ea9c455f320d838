#include "ParameterText.h"
#include "FFGLTypes.h"

#include <gtest/gtest.h>

namespace
{
PluginLibrary::Parameter MakeParameter(uint32_t index, const std::string& name, int32_t type, float defaultValue = 0.0f)
{
    PluginLibrary::Parameter parameter;
    parameter.index = index;
    parameter.name = name;
    parameter.type = type;
    parameter.defaultValue = defaultValue;
    parameter.elementCount = 1;
    return parameter;
}

PluginLibrary::Parameter Screens()
{
    auto parameter = MakeParameter(3, "Screens", FF_TYPE_OPTION);
    parameter.elementCount = 3;
    parameter.elements = { { "All", 0.0f }, { "Main Stage", 1.0f }, { "main stage", 2.0f } };
    return parameter;
}
} // namespace

TEST(ParameterText, TypeNames)
{
    EXPECT_EQ(ParameterText::GetTypeName(FF_TYPE_BOOLEAN), "boolean");
    EXPECT_EQ(ParameterText::GetTypeName(FF_TYPE_STANDARD), "standard");
    EXPECT_EQ(ParameterText::GetTypeName(FF_TYPE_OPTION), "option");
    EXPECT_EQ(ParameterText::GetTypeName(FF_TYPE_FILE), "file");
    EXPECT_EQ(ParameterText::GetTypeName(FF_TYPE_TEXT), "text");
    EXPECT_EQ(ParameterText::GetTypeName(FF_TYPE_ALPHA), "alpha");
    EXPECT_EQ(ParameterText::GetTypeName(13), "type 13");
}

TEST(ParameterText, NumbersPrintInShortestExactForm)
{
    EXPECT_EQ(ParameterText::FormatNumber(0.5f), "0.5");
    EXPECT_EQ(ParameterText::FormatNumber(0.1f), "0.1");
    EXPECT_EQ(ParameterText::FormatNumber(1.0f), "1");
    EXPECT_EQ(ParameterText::FormatNumber(2.0f / 3.0f), "0.6666667");
}

TEST(ParameterText, DescribesEveryKind)
{
    const std::string standard = ParameterText::Describe(MakeParameter(5, "Inside", FF_TYPE_STANDARD, 0.25f), 2);
    EXPECT_EQ(standard, "  5  Inside            standard    0.25");

    EXPECT_NE(ParameterText::Describe(Screens(), 2).find("{All=0, Main Stage=1, main stage=2}"), std::string::npos);

    auto unnamed = MakeParameter(1, "Mode", FF_TYPE_OPTION);
    unnamed.elementCount = 4;
    EXPECT_NE(ParameterText::Describe(unnamed, 1).find("(4 elements)"), std::string::npos);

    auto text = MakeParameter(2, "Caption", FF_TYPE_TEXT);
    text.defaultText = "hi";
    EXPECT_NE(ParameterText::Describe(text, 2).find("\"hi\""), std::string::npos);
}

TEST(ParameterText, FindsByExactNameFirstThenIgnoringCase)
{
    const std::vector<PluginLibrary::Parameter> parameters = { MakeParameter(0, "inside", FF_TYPE_STANDARD),
                                                               MakeParameter(1, "Inside", FF_TYPE_STANDARD),
                                                               MakeParameter(2, "Outside", FF_TYPE_STANDARD) };
    ASSERT_NE(ParameterText::Find(parameters, "Inside"), nullptr);
    EXPECT_EQ(ParameterText::Find(parameters, "Inside")->index, 1u);
    EXPECT_EQ(ParameterText::Find(parameters, "OUTSIDE")->index, 2u);
    EXPECT_EQ(ParameterText::Find(parameters, "Softness"), nullptr);
}

TEST(ParameterText, ParsesBooleansAndNumbers)
{
    const auto flag = MakeParameter(0, "Merge shapes", FF_TYPE_BOOLEAN);
    float value = -1.0f;
    std::string error;
    for (const char* yes : { "true", "On", "YES", "1" })
    {
        ASSERT_TRUE(ParameterText::ParseValue(flag, yes, value, error)) << yes;
        EXPECT_EQ(value, 1.0f);
    }
    for (const char* no : { "false", "off", "No", "0" })
    {
        ASSERT_TRUE(ParameterText::ParseValue(flag, no, value, error)) << no;
        EXPECT_EQ(value, 0.0f);
    }

    const auto standard = MakeParameter(1, "Inside", FF_TYPE_STANDARD);
    ASSERT_TRUE(ParameterText::ParseValue(standard, "0.75", value, error));
    EXPECT_EQ(value, 0.75f);
    ASSERT_TRUE(ParameterText::ParseValue(standard, "-2e-1", value, error));
    EXPECT_EQ(value, -0.2f);

    for (const char* junk : { "", "true", "1.5x", " 1", "nan", "inf", "1e999", "0x" })
    {
        EXPECT_FALSE(ParameterText::ParseValue(standard, junk, value, error)) << junk;
        EXPECT_NE(error.find("'Inside'"), std::string::npos);
    }
}

TEST(ParameterText, ParsesOptionsByElementNameOrNumber)
{
    const auto option = Screens();
    float value = -1.0f;
    std::string error;
    ASSERT_TRUE(ParameterText::ParseValue(option, "main stage", value, error));
    EXPECT_EQ(value, 2.0f) << "an exact name wins over a case-insensitive one";
    ASSERT_TRUE(ParameterText::ParseValue(option, "MAIN STAGE", value, error));
    EXPECT_EQ(value, 1.0f);
    ASSERT_TRUE(ParameterText::ParseValue(option, "all", value, error));
    EXPECT_EQ(value, 0.0f);
    ASSERT_TRUE(ParameterText::ParseValue(option, "2", value, error));
    EXPECT_EQ(value, 2.0f);

    EXPECT_FALSE(ParameterText::ParseValue(option, "Side", value, error));
    EXPECT_NE(error.find("'All', 'Main Stage', 'main stage' or a number"), std::string::npos) << error;
}
