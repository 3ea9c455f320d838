#include "GLTestEnvironment.h"

#include "FFGLTypes.h"
#include "FakePluginLog.h"
#include "PluginIdentityCheck.h"
#include "PluginLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(PluginLibrary, ReportsLibrariesThatCannotBeUsed)
{
    PluginLibrary lib;
    EXPECT_FALSE(lib.Load("/no/such/plugin.so"));
    EXPECT_NE(lib.GetError().find("cannot load /no/such/plugin.so"), std::string::npos) << lib.GetError();
    EXPECT_FALSE(lib.IsLoaded());

    EXPECT_FALSE(lib.Load(ZM_NOENTRY_PATH));
    EXPECT_EQ(lib.GetError(), std::string("no plugMain in ") + ZM_NOENTRY_PATH);
    EXPECT_FALSE(lib.IsLoaded());
    EXPECT_EQ(lib.GetNativeHandle(), nullptr);

    // Nothing loaded: every call is a failure, never a success.
    EXPECT_TRUE(PluginLibrary::IsFailure(lib.Call(FF_DEINITIALISE, 0, 0)));
    PluginLibrary::Info info;
    EXPECT_FALSE(lib.GetInfo(info));
    EXPECT_FALSE(lib.Deinitialise());
}

TEST(PluginLibrary, ReadsInformationAndParametersOfAn21Plugin)
{
    PluginLibrary lib;
    ASSERT_TRUE(lib.Load(ZM_FAKE21_PATH)) << lib.GetError();

    ASSERT_NO_FATAL_FAILURE(
        ExpectIdentity(lib, { "FAKE", "Fake Source", 2, 1, 1, 3, 7, "fake about", "fake description" }));

    std::vector<PluginLibrary::Parameter> parameters;
    ASSERT_TRUE(lib.GetParameters(parameters)) << lib.GetError();
    ASSERT_EQ(parameters.size(), 5u);
    EXPECT_EQ(parameters[0].name, "Fail Frames");
    EXPECT_EQ(parameters[0].type, FF_TYPE_BOOLEAN);
    EXPECT_EQ(parameters[1].defaultValue, 0.5f);
    EXPECT_EQ(parameters[3].name, "SixteenCharName!") << "a full name has no NUL; reading stops at 16 bytes";
    EXPECT_EQ(parameters[3].defaultValue, 0.25f);
    EXPECT_EQ(parameters[4].type, FF_TYPE_TEXT);
    EXPECT_EQ(parameters[4].defaultText, "hello");
    EXPECT_TRUE(parameters[1].elements.empty()) << "only option parameters name their elements";

    const auto& mode = parameters[2];
    EXPECT_EQ(mode.type, FF_TYPE_OPTION);
    EXPECT_EQ(mode.elementCount, 2u);
    ASSERT_EQ(mode.elements.size(), 2u);
    EXPECT_EQ(mode.elements[1].name, "Green Tint");
    EXPECT_EQ(mode.elements[1].value, 1.0f);
    for (uint32_t i = 0; i < parameters.size(); ++i)
        EXPECT_EQ(parameters[i].index, i);

    EXPECT_TRUE(lib.Deinitialise());
}

TEST(PluginLibrary, AsksAn15PluginOnlyForCodesItHas)
{
    FakePluginLog log(ZM_FAKE15_PATH);
    ASSERT_TRUE(log.IsValid());

    PluginLibrary lib;
    ASSERT_TRUE(lib.Load(ZM_FAKE15_PATH));
    PluginLibrary::Info info;
    ASSERT_TRUE(lib.GetInfo(info));
    EXPECT_EQ(info.apiMajor, 1u);
    EXPECT_EQ(info.apiMinor, 5u);

    std::vector<PluginLibrary::Parameter> parameters;
    ASSERT_TRUE(lib.GetParameters(parameters)) << lib.GetError();
    ASSERT_EQ(parameters.size(), 5u);
    EXPECT_EQ(parameters[2].elementCount, 2u);
    EXPECT_TRUE(parameters[2].elements.empty());

    const auto codes = log.Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_LE(*std::max_element(codes.begin(), codes.end()), 33u) << "an FFGL 1.5 plug-in has no codes above 33";
}

class PluginLibraryGL : public GLTest
{
};

TEST_F(PluginLibraryGL, DrivesAnInstanceThroughItsLife)
{
    FakePluginLog log(ZM_FAKE21_PATH);
    PluginLibrary lib;
    ASSERT_TRUE(lib.Load(ZM_FAKE21_PATH));

    EXPECT_EQ(lib.Instantiate(13, 10), 0u);
    EXPECT_EQ(lib.GetError(), "instantiate failed (code 18)");

    const uint64_t instance = lib.Instantiate(32, 16);
    ASSERT_NE(instance, 0u);

    EXPECT_TRUE(lib.SetParameter(instance, 1, 0.75f));
    EXPECT_EQ(lib.GetParameterValue(instance, 1), 0.75f);
    EXPECT_FALSE(lib.SetParameter(instance, 9, 1.0f));
    EXPECT_EQ(lib.GetError(), "setting parameter 9 failed (code 8)");
    EXPECT_TRUE(lib.SetTextParameter(instance, 4, "text"));

    BindFramebuffer(32, 16);
    EXPECT_TRUE(lib.ProcessFrame(instance, target.GetId()));
    EXPECT_FALSE(lib.ProcessFrame(instance, target.GetId() + 1))
        << "the fake checks that the named framebuffer is bound";
    EXPECT_EQ(lib.GetError(), "frame failed (code 17)");

    EXPECT_TRUE(lib.Resize(instance, 8, 8));
    EXPECT_TRUE(lib.Deinstantiate(instance));
    EXPECT_TRUE(lib.Deinitialise());

    const auto codes = log.Codes();
    ASSERT_GE(codes.size(), 2u);
    const std::vector<unsigned> tail(codes.end() - 2, codes.end());
    EXPECT_EQ(tail, (std::vector<unsigned> { 19, 2 }));
}
