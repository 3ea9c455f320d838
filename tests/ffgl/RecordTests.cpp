#include "GLTestEnvironment.h"

#include "CFFGLPlugin.h"
#include "GLEntryPoints.h"
#include "PluginInfo.h"
#include "ThumbnailInfo.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace
{
std::string Field(const char* field, size_t width)
{
    return std::string(field, width);
}

int32_t NoFactory(CFFGLPlugin**)
{
    return FF_FAIL;
}

// PluginInfo and ThumbnailInfo register themselves; each test puts the process-wide pointers back.
class RecordTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        CurrentPluginInfo = savedInfo;
        CurrentThumbnailInfo = savedThumbnail;
    }

    PluginInfo* savedInfo = CurrentPluginInfo;
    ThumbnailInfo* savedThumbnail = CurrentThumbnailInfo;
};

using PluginInfoRecord = RecordTest;
using ThumbnailRecord = RecordTest;
using GLEntryPointLoad = GLTest;
} // namespace

TEST(ParamTable, NamesAreCutToSixteenBytesAndZeroFilled)
{
    CFFGLPluginManager table;
    table.SetParamInfo(0, "Fifteen chars a", FF_TYPE_STANDARD, 0.0f);
    table.SetParamInfo(1, "Sixteen chars ab", FF_TYPE_STANDARD, 0.0f);
    table.SetParamInfo(2, "Twenty characters ab", FF_TYPE_STANDARD, 0.0f);
    table.SetParamInfo(3, "", FF_TYPE_STANDARD, 0.0f);
    table.SetOptionParamInfo(4, "Color_brighthness", 2, 0.0f);
    table.SetParamInfo(5, nullptr, FF_TYPE_STANDARD, 0.0f);

    EXPECT_EQ(Field(table.FindParam(0)->name, 16), std::string("Fifteen chars a\0", 16));
    EXPECT_EQ(Field(table.FindParam(1)->name, 16), "Sixteen chars ab");
    EXPECT_EQ(Field(table.FindParam(2)->name, 16), "Twenty character");
    EXPECT_EQ(Field(table.FindParam(3)->name, 16), std::string(16, '\0'));
    EXPECT_EQ(Field(table.FindParam(4)->name, 16), "Color_brighthnes");
    EXPECT_EQ(Field(table.FindParam(5)->name, 16), std::string(16, '\0'));
}

TEST(ParamTable, OnlyStandardDefaultsAreClamped)
{
    CFFGLPluginManager table;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    table.SetParamInfo(0, "a", FF_TYPE_STANDARD, 1.5f);
    table.SetParamInfo(1, "b", FF_TYPE_STANDARD, -0.2f);
    table.SetParamInfo(2, "c", FF_TYPE_STANDARD, nan);
    table.SetParamInfo(3, "d", FF_TYPE_BOOLEAN, 1.0f);
    table.SetParamInfo(4, "e", FF_TYPE_SATURATION, 2.0f);
    table.SetParamInfo(5, "f", FF_TYPE_HUE, -1.0f);
    table.SetOptionParamInfo(6, "g", 2, 3.0f);

    EXPECT_EQ(table.FindParam(0)->defaultValue, 1.0f);
    EXPECT_EQ(table.FindParam(1)->defaultValue, 0.0f);
    EXPECT_TRUE(std::isnan(table.FindParam(2)->defaultValue));
    EXPECT_EQ(table.FindParam(3)->defaultValue, 1.0f);
    EXPECT_EQ(table.FindParam(4)->defaultValue, 2.0f);
    EXPECT_EQ(table.FindParam(5)->defaultValue, -1.0f);
    EXPECT_EQ(table.FindParam(6)->defaultValue, 3.0f);
}

TEST(ParamTable, FreshRecordsAndElements)
{
    CFFGLPluginManager table;
    table.SetParamInfo(0, "plain", FF_TYPE_STANDARD, 0.5f);
    table.SetOptionParamInfo(1, "option", 3, 0.0f);
    table.SetOptionParamInfo(2, "empty", 0, 0.0f);

    const ParamInfo& plain = *table.FindParam(0);
    EXPECT_EQ(plain.type, FF_TYPE_STANDARD);
    ASSERT_EQ(plain.elements.size(), 1u);
    EXPECT_EQ(plain.elements[0].name, "");
    EXPECT_EQ(plain.elements[0].value, 0.0f);
    EXPECT_EQ(plain.code32Value, 0);
    EXPECT_TRUE(plain.code45Flag);
    EXPECT_EQ(plain.min, 0.0f);
    EXPECT_EQ(plain.max, 1.0f);
    EXPECT_TRUE(plain.defaultText.empty());
    EXPECT_TRUE(plain.fileExtensions.empty());
    EXPECT_EQ(plain.pendingEvents, 0u);

    EXPECT_EQ(table.FindParam(1)->type, FF_TYPE_OPTION);
    EXPECT_EQ(table.FindParam(1)->elements.size(), 3u);
    EXPECT_TRUE(table.FindParam(2)->elements.empty());
    EXPECT_EQ(table.GetNumParams(), 3u);

    const std::string longName(40, 'x');
    table.SetParamElementInfo(1, 2, longName.c_str(), 0.75f);
    EXPECT_EQ(table.FindParam(1)->elements[2].name, longName) << "element names are not cut";
    EXPECT_EQ(table.FindParam(1)->elements[2].value, 0.75f);

    table.SetParamElementInfo(1, 3, "past the end", 1.0f);
    table.SetParamElementInfo(9, 0, "no record", 1.0f);
    table.SetParamElementInfo(2, 0, "no elements", 1.0f);
    EXPECT_EQ(table.FindParam(1)->elements.size(), 3u);
    EXPECT_TRUE(table.FindParam(2)->elements.empty());
}

TEST(ParamTable, TheFirstRecordWithAnIdWins)
{
    CFFGLPluginManager table;
    table.SetOptionParamInfo(4, "first", 2, 0.0f);
    table.SetParamInfo(4, "second", FF_TYPE_STANDARD, 0.5f);
    table.SetParamElementInfo(4, 1, "named", 2.0f);

    EXPECT_EQ(table.GetNumParams(), 2u);
    EXPECT_STREQ(table.FindParam(4)->name, "first");
    EXPECT_EQ(table.FindParam(4)->elements[1].name, "named");
    EXPECT_EQ(table.GetParams()[1].elements[0].name, "");
    EXPECT_EQ(table.FindParam(5), nullptr);
}

TEST(PluginBase, DefaultsOfAFreshObject)
{
    CFFGLPlugin plugin;
    EXPECT_EQ(plugin.bpm, 120.0f);
    EXPECT_EQ(plugin.barPhase, 0.0f);
    EXPECT_TRUE(plugin.hostName.empty());
    EXPECT_TRUE(plugin.hostVersion.empty());
    EXPECT_FALSE(plugin.connected);
    EXPECT_TRUE(plugin.IsTimeSupported());
    EXPECT_EQ(plugin.GetMinInputFrames(), 0);
    EXPECT_EQ(plugin.GetMaxInputFrames(), 0);
    EXPECT_EQ(plugin.GetNumParams(), 0u);

    EXPECT_EQ(plugin.SetFloatParameter(0, 1.0f), FF_FAIL);
    EXPECT_EQ(plugin.SetTextParameter(0, "x"), FF_FAIL);
    EXPECT_EQ(plugin.GetFloatParameter(7), 0.0f);
    EXPECT_EQ(reinterpret_cast<uint64_t>(plugin.GetTextParameter(0)), FF_FAIL64);
    EXPECT_EQ(plugin.ProcessOpenGL(nullptr), FF_FAIL);
    EXPECT_EQ(plugin.GetParameterDisplay(0), nullptr);
    EXPECT_EQ(plugin.GetShortName(), nullptr);
    EXPECT_EQ(plugin.Connect(), FF_SUCCESS);
    EXPECT_EQ(plugin.Disconnect(), FF_SUCCESS);
    EXPECT_EQ(plugin.DeInitGL(), FF_SUCCESS);
    EXPECT_FALSE(plugin.connected) << "Connect and Disconnect leave the flag to plugMain";
}

TEST(PluginBase, InputStatusComparesUnsigned)
{
    CFFGLPlugin plugin;
    EXPECT_EQ(plugin.GetInputStatus(0), FF_FAIL);
    plugin.SetMaxInputFrames(1);
    EXPECT_EQ(plugin.GetInputStatus(0), 1);
    EXPECT_EQ(plugin.GetInputStatus(1), FF_FAIL);
    plugin.SetMaxInputFrames(2);
    EXPECT_EQ(plugin.GetInputStatus(0xFFFFFFFFu), FF_FAIL);
}

TEST_F(PluginInfoRecord, ByteLayoutAsHostsReadIt)
{
    PluginInfo info(NoFactory, "KVRN", "Zephyrmantle", 2, 1, 3, 4, FF_SOURCE, "", "Oskvar Labworks");
    EXPECT_EQ(CurrentPluginInfo, &info);
    EXPECT_EQ(info.Factory(), &NoFactory);

    const auto* bytes = reinterpret_cast<const uint8_t*>(info.GetInfo());
    EXPECT_EQ(static_cast<const void*>(info.GetInfo()), static_cast<const void*>(&info));
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(info.ExtendedInfo()), bytes + 32);

    uint32_t word = 0;
    std::memcpy(&word, bytes + 0, 4);
    EXPECT_EQ(word, 2u);
    std::memcpy(&word, bytes + 4, 4);
    EXPECT_EQ(word, 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 8), 4), "KVRN");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 12), 16), std::string("Zephyrmantle\0\0\0\0", 16));
    std::memcpy(&word, bytes + 28, 4);
    EXPECT_EQ(word, 1u);

    std::memcpy(&word, bytes + 32, 4);
    EXPECT_EQ(word, 3u);
    std::memcpy(&word, bytes + 36, 4);
    EXPECT_EQ(word, 4u);
    const char* text = nullptr;
    std::memcpy(&text, bytes + 40, 8);
    ASSERT_NE(text, nullptr) << "an empty description is an empty text, not null";
    EXPECT_STREQ(text, "");
    std::memcpy(&text, bytes + 48, 8);
    EXPECT_STREQ(text, "Oskvar Labworks");
    std::memcpy(&word, bytes + 56, 4);
    EXPECT_EQ(word, 0u);
    const void* data = &word;
    std::memcpy(&data, bytes + 64, 8);
    EXPECT_EQ(data, nullptr);
}

TEST_F(PluginInfoRecord, FixedWidthFieldsAndOwnedTexts)
{
    char about[] = "About text";
    char description[] = "A long description that no fixed field could hold";
    PluginInfo full(NoFactory, "ABCDEF", "Sixteen chars ab", 2, 1, 1, 0, FF_EFFECT, description, about);
    PluginInfo longName(NoFactory, "AB", "Twenty characters ab", 2, 1, 1, 0, FF_EFFECT, nullptr, nullptr);
    EXPECT_EQ(CurrentPluginInfo, &longName);

    EXPECT_EQ(Field(full.GetInfo()->uniqueId, 4), "ABCD");
    EXPECT_EQ(Field(full.GetInfo()->pluginName, 16), "Sixteen chars ab");
    EXPECT_EQ(Field(longName.GetInfo()->uniqueId, 4), std::string("AB\0\0", 4));
    EXPECT_EQ(Field(longName.GetInfo()->pluginName, 16), "Twenty character");
    EXPECT_STREQ(longName.ExtendedInfo()->about, "");
    EXPECT_STREQ(longName.ExtendedInfo()->description, "");

    // The record keeps its own copies: the caller's buffers may change or go away.
    about[0] = 'X';
    description[0] = 'X';
    EXPECT_STREQ(full.ExtendedInfo()->about, "About text");
    EXPECT_STREQ(full.ExtendedInfo()->description, "A long description that no fixed field could hold");
}

TEST_F(PluginInfoRecord, FixedWidthCopyStopsAtTheTerminator)
{
    char field[8];
    std::memset(field, '#', sizeof(field));
    ::CopyFixedWidth(field, sizeof(field), "abc");
    EXPECT_EQ(std::string(field, 8), std::string("abc\0####", 8));
}

TEST_F(PluginInfoRecord, ExtendedDataNeedsBothSizeAndAddress)
{
    static const uint8_t block[4] = { 1, 2, 3, 4 };
    PluginInfo sizeOnly(NoFactory, "A", "a", 2, 1, 1, 0, 0, "", "", 4, nullptr);
    PluginInfo addressOnly(NoFactory, "B", "b", 2, 1, 1, 0, 0, "", "", 0, block);
    PluginInfo both(NoFactory, "C", "c", 2, 1, 1, 0, 0, "", "", 4, block);

    EXPECT_EQ(sizeOnly.ExtendedInfo()->extendedDataSize, 0u);
    EXPECT_EQ(sizeOnly.ExtendedInfo()->extendedData, nullptr);
    EXPECT_EQ(addressOnly.ExtendedInfo()->extendedDataSize, 0u);
    EXPECT_EQ(addressOnly.ExtendedInfo()->extendedData, nullptr);
    EXPECT_EQ(both.ExtendedInfo()->extendedDataSize, 4u);
    EXPECT_EQ(both.ExtendedInfo()->extendedData, block);
}

TEST_F(ThumbnailRecord, RegistersAndPointsAtThePixels)
{
    uint32_t pixels[2] = {};
    EXPECT_EQ(StoreThumbnailPixel(&pixels[1], 0xAABBCCFFu), &pixels[1]);
    EXPECT_EQ(pixels[1], 0xAABBCCFFu);
    EXPECT_EQ(pixels[0], 0u);

    ThumbnailInfo thumbnail(2, 1, pixels);
    EXPECT_EQ(CurrentThumbnailInfo, &thumbnail);
    EXPECT_EQ(thumbnail.width, 2);
    EXPECT_EQ(thumbnail.height, 1);
    EXPECT_EQ(thumbnail.pixels, pixels);
}

TEST(GLEntryPointLoadWithoutContext, Fails)
{
    EXPECT_EQ(LoadGLEntryPoints(), 0);
}

TEST_F(GLEntryPointLoad, ResolvesEveryEntryPointInACoreContext)
{
    ASSERT_NE(LoadGLEntryPoints(), 0);
#define ZM_EXPECT_RESOLVED(type, name) EXPECT_NE(zmgl::name, nullptr) << #name;
    ZM_GL_ENTRY_POINTS(ZM_EXPECT_RESOLVED)
#undef ZM_EXPECT_RESOLVED

    GLint major = 0;
    zmgl::glGetIntegerv(GL_MAJOR_VERSION, &major);
    EXPECT_GE(major, 3);

    // The resolved pointers drive the same context the test sees.
    GLuint texture = 0;
    zmgl::glGenTextures(1, &texture);
    EXPECT_TRUE(glIsTexture(texture) == GL_FALSE); // named but not yet bound
    zmgl::glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_TRUE(glIsTexture(texture) == GL_TRUE);
    zmgl::glDeleteTextures(1, &texture);
}
