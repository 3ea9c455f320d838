#include "CFreeFrameGLPlugin.h"
#include "CompatGLTest.h"
#include "InstanceLifecycle15.h"
#include "PlugMainResults.h"
#include "PluginInfo15.h"
#include "TestPlugin15.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

extern "C" uint64_t plugMain(uint32_t code, uint64_t input, uint64_t instance);

using namespace results;

namespace
{
constexpr uint32_t FAIL32 = 0xFFFFFFFFu;

// Instances are made in a compatibility context, as an FFGL 1.5 host makes them.
class PlugMain15 : public CompatGLTest
{
protected:
    void SetUp() override
    {
        CompatGLTest::SetUp();
        plugMain(2, 0, 0);
        testControl15.Reset();
    }

    void TearDown() override
    {
        for (uint64_t handle : instances)
            plugMain(19, 0, handle);
        plugMain(2, 0, 0);
        EXPECT_EQ(testControl15.liveObjects, 0);
        CompatGLTest::TearDown();
    }

    uint64_t Instantiate(uint32_t width = 640, uint32_t height = 480)
    {
        FFGLViewport viewport { 0, 0, width, height };
        const uint64_t handle = plugMain(18, Address(&viewport), 0);
        if (handle != FF_FAIL64)
            instances.push_back(handle);
        return handle;
    }

    void Forget(uint64_t handle)
    {
        instances.erase(std::remove(instances.begin(), instances.end(), handle), instances.end());
    }

    static TestPlugin15& Plugin(uint64_t handle) { return *reinterpret_cast<TestPlugin15*>(handle); }

    static uint64_t SetFloat(uint64_t handle, uint32_t index, float value)
    {
        ParamValueInput record { index, 0, FloatBits(value) };
        return plugMain(8, Address(&record), handle);
    }

    std::vector<uint64_t> instances;
};

TEST_F(PlugMain15, CodesOutsideTheInterfaceAnswerMinusOne)
{
    // The FFGL 2.1 build handles 34 to 46; this interface ends at 33.
    std::vector<uint32_t> codes = { 3, 11, 12, 14, 47, 0xFFFFFFFFu };
    for (uint32_t code = 24; code <= 30; ++code)
        codes.push_back(code);
    for (uint32_t code = 34; code <= 46; ++code)
        codes.push_back(code);

    for (uint32_t code : codes)
        EXPECT_EQ(Low(plugMain(code, 0, 0)), FAIL32) << "code " << code;
    EXPECT_EQ(testControl15.factoryCalls, 0) << "code 34 must not make a prototype here";
}

TEST_F(PlugMain15, CodeOneMakesThePrototypeOnce)
{
    EXPECT_EQ(Low(plugMain(1, 0, 0)), 0u);
    EXPECT_EQ(Low(plugMain(1, 0, 0)), 0u);
    EXPECT_EQ(testControl15.factoryCalls, 1);

    EXPECT_EQ(Low(plugMain(2, 0, 0)), 0u);
    EXPECT_EQ(Low(plugMain(2, 0, 0)), 0u);
    EXPECT_EQ(testControl15.liveObjects, 0);

    EXPECT_EQ(Low(plugMain(4, 0, 0)), 7u) << "a query after code 2 makes a new prototype";
    EXPECT_EQ(testControl15.factoryCalls, 2);
}

TEST_F(PlugMain15, FactoryFailuresReachTheHostAsFailureCodes)
{
    testControl15.factoryFails = true;
    EXPECT_EQ(Low(plugMain(1, 0, 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(4, 0, 0)), FAIL32);
    EXPECT_EQ(plugMain(5, 0, 0), 0u);
    EXPECT_EQ(plugMain(33, 0, 0), 0u);
    EXPECT_EQ(Low(plugMain(10, 4, 0)), FAIL32);
    EXPECT_EQ(Instantiate(), FF_FAIL64);

    testControl15.factoryFails = false;
    testControl15.factoryThrows = true;
    EXPECT_EQ(Low(plugMain(1, 0, 0)), FAIL32);
    EXPECT_EQ(Instantiate(), FF_FAIL64);

    testControl15.factoryThrows = false;
    EXPECT_EQ(Low(plugMain(1, 0, 0)), 0u) << "the next call tries again";
    EXPECT_EQ(PrototypeInstance != nullptr, true);
}

TEST_F(PlugMain15, ParameterQueriesAnswerFromThePrototypeList)
{
    EXPECT_EQ(Low(plugMain(4, 0, 0)), 7u);
    EXPECT_STREQ(reinterpret_cast<const char*>(plugMain(5, 0, 0)), "Amount");
    EXPECT_STREQ(reinterpret_cast<const char*>(plugMain(5, 1, 0)), "Enabled") << "the first node of a duplicate id";
    EXPECT_EQ(plugMain(5, 9, 0), 0u);

    EXPECT_EQ(Low(plugMain(15, 2, 0)), static_cast<uint32_t>(FF_TYPE_SATURATION));
    EXPECT_EQ(Low(plugMain(15, 9, 0)), FAIL32);

    // Every parameter has one element and a code-32 value of 0.
    for (uint32_t index = 0; index < 6; ++index)
    {
        EXPECT_EQ(Low(plugMain(31, index, 0)), 1u);
        EXPECT_EQ(Low(plugMain(32, index, 0)), 0u);
    }
    EXPECT_EQ(Low(plugMain(31, 9, 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(32, 9, 0)), FAIL32);
}

TEST_F(PlugMain15, DefaultsAreClampedAndOnlyTypeHundredIsText)
{
    EXPECT_EQ(AsFloat(plugMain(6, 0, 0)), 1.0f) << "type 10, registered 2.0";
    EXPECT_EQ(AsFloat(plugMain(6, 1, 0)), 1.0f);
    EXPECT_EQ(AsFloat(plugMain(6, 2, 0)), 1.0f) << "saturation, registered 2.0";
    EXPECT_EQ(AsFloat(plugMain(6, 3, 0)), 0.0f) << "brightness, registered -0.5";
    EXPECT_EQ(plugMain(6, 4, 0), 0u) << "a text parameter's default text, null as registered";
    EXPECT_EQ(AsFloat(plugMain(6, 5, 0)), 0.25f) << "a file parameter is a float here";
    EXPECT_EQ(Low(plugMain(6, 9, 0)), FAIL32);
}

TEST_F(PlugMain15, NewInstancesReceiveTheListedDefaults)
{
    const uint64_t handle = Instantiate();
    ASSERT_NE(handle, FF_FAIL64);
    TestPlugin15& plugin = Plugin(handle);

    EXPECT_EQ(plugin.values[0], 1.0f);
    EXPECT_EQ(plugin.values[2], 1.0f) << "2.0 reaches new instances as 1.0";
    EXPECT_EQ(plugin.values[3], 0.0f);
    EXPECT_EQ(plugin.values[5], 0.25f) << "type 14 goes through SetFloatParameter";
    EXPECT_EQ(plugin.caption, "(null)") << "type 100 gets its default text address";
    EXPECT_EQ(plugin.self, &plugin);
    EXPECT_FALSE(plugin.connected);

    const std::vector<std::string> expected = { "SetFloat 0", "SetFloat 1", "SetFloat 2", "SetFloat 3",
                                                "SetText 4",  "SetFloat 5", "SetFloat 6", "InitGL" };
    const std::vector<std::string> log(testControl15.log.end() - static_cast<long>(expected.size()),
                                       testControl15.log.end());
    EXPECT_EQ(log, expected);
    EXPECT_EQ(testControl15.factoryCalls, 2) << "prototype and instance";
}

TEST_F(PlugMain15, FailedInstantiationsDeleteWhatTheyMade)
{
    EXPECT_EQ(plugMain(18, 0, 0), FF_FAIL64);
    EXPECT_EQ(testControl15.factoryCalls, 0) << "a null viewport makes nothing";

    testControl15.rejectFloatIndex = 2;
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    EXPECT_EQ(testControl15.log.back(), "Destroy");
    EXPECT_EQ(std::count(testControl15.log.begin(), testControl15.log.end(), "InitGL"), 0);
    EXPECT_EQ(testControl15.liveObjects, 1) << "the prototype survives";

    testControl15.rejectFloatIndex = 0xFFFFFFFFu;
    testControl15.log.clear();
    testControl15.initGLResult = FF_FAIL;
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    const std::vector<std::string> tail(testControl15.log.end() - 3, testControl15.log.end());
    EXPECT_EQ(tail, (std::vector<std::string> { "InitGL", "DeInitGL", "Destroy" }));

    testControl15.initGLResult = FF_SUCCESS;
    testControl15.initGLThrows = true;
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    EXPECT_EQ(testControl15.liveObjects, 1);
}

TEST_F(PlugMain15, CapabilitiesOfThisInterface)
{
    EXPECT_EQ(Low(plugMain(10, 4, 0)), 1u) << "the FFGL 2.1 build answers 0";
    EXPECT_EQ(Low(plugMain(10, 5, 0)), 0u) << "time is not supported here";
    EXPECT_EQ(Low(plugMain(10, 10, 0)), 0u);
    EXPECT_EQ(Low(plugMain(10, 11, 0)), 0u);
    EXPECT_EQ(Low(plugMain(10, 0, 0)), 0u);
    EXPECT_EQ(Low(plugMain(10, 99, 0)), 0u);
}

TEST_F(PlugMain15, InstanceCodesWithoutAnInstance)
{
    EXPECT_EQ(plugMain(7, 0, 0), FF_FAIL64) << "code 7 fails in all 64 bits";
    ParamValueInput record { 0, 0, FloatBits(0.5f) };
    FFGLViewport viewport { 0, 0, 10, 10 };
    double time = 1.0;
    ProcessOpenGLStruct frame {};
    EXPECT_EQ(Low(plugMain(8, Address(&record), 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(9, 0, 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(16, 0, 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(17, Address(&frame), 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(19, 0, 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(20, Address(&time), 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(21, 0, 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(22, 0, 0)), FAIL32);
    EXPECT_EQ(Low(plugMain(23, Address(&viewport), 0)), FAIL32);
}

TEST_F(PlugMain15, NullRecordsAreRefused)
{
    const uint64_t handle = Instantiate();
    ASSERT_NE(handle, FF_FAIL64);
    testControl15.log.clear();

    EXPECT_EQ(Low(plugMain(8, 0, handle)), FAIL32);
    EXPECT_EQ(Low(plugMain(17, 0, handle)), FAIL32);
    EXPECT_EQ(Low(plugMain(20, 0, handle)), FAIL32);
    EXPECT_EQ(Low(plugMain(23, 0, handle)), FAIL32);
    EXPECT_TRUE(testControl15.log.empty()) << "nothing reached the instance";
    EXPECT_FALSE(Plugin(handle).connected);
}

TEST_F(PlugMain15, ParameterValuesTakeTheTextPathForTypeHundredOnly)
{
    const uint64_t handle = Instantiate();
    ASSERT_NE(handle, FF_FAIL64);

    EXPECT_EQ(Low(SetFloat(handle, 5, 0.75f)), 0u) << "type 14 is a float here";
    EXPECT_EQ(Plugin(handle).values[5], 0.75f);
    EXPECT_EQ(AsFloat(plugMain(9, 5, handle)), 0.75f);

    const char* text = "new caption";
    ParamValueInput textRecord { 4, 0, Address(text) };
    EXPECT_EQ(Low(plugMain(8, Address(&textRecord), handle)), 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(plugMain(9, 4, handle)), "new caption");

    // The prototype's first node for id 1 is boolean, so its text twin is never used.
    EXPECT_EQ(Low(SetFloat(handle, 1, 0.0f)), 0u);
    EXPECT_EQ(Plugin(handle).values[1], 0.0f);

    // An index without a node takes the float path.
    testControl15.log.clear();
    SetFloat(handle, 9, 0.5f);
    EXPECT_EQ(testControl15.log, std::vector<std::string> { "SetFloat 9" });
}

TEST_F(PlugMain15, DisplayTextsShareOneBuffer)
{
    const uint64_t first = Instantiate();
    const uint64_t second = Instantiate();
    ASSERT_NE(first, FF_FAIL64);
    ASSERT_NE(second, FF_FAIL64);
    SetFloat(first, 0, 0.1f);
    SetFloat(second, 0, 1.0f);

    const char* firstText = reinterpret_cast<const char*>(plugMain(7, 0, first));
    EXPECT_STREQ(firstText, "0.100000");
    const char* secondText = reinterpret_cast<const char*>(plugMain(7, 0, second));
    EXPECT_STREQ(secondText, "1.000000");
    EXPECT_EQ(firstText, secondText);
    EXPECT_STREQ(firstText, "1.000000") << "the second call overwrote the first text";
    EXPECT_EQ(firstText, ParameterDisplayBuffer);

    EXPECT_EQ(plugMain(7, 9, first), 0u) << "no such parameter";
    EXPECT_STREQ(reinterpret_cast<const char*>(plugMain(7, 4, first)), "(null)") << "a text parameter shows its text";
}

TEST_F(PlugMain15, ConnectionFollowsFramesAndHostCalls)
{
    const uint64_t handle = Instantiate();
    ASSERT_NE(handle, FF_FAIL64);
    ProcessOpenGLStruct frame {};
    testControl15.log.clear();

    testControl15.connectResult = FF_FAIL;
    EXPECT_EQ(Low(plugMain(17, Address(&frame), handle)), 0u);
    EXPECT_EQ(Low(plugMain(17, Address(&frame), handle)), 0u);
    EXPECT_EQ(testControl15.log, (std::vector<std::string> { "Connect", "ProcessOpenGL", "ProcessOpenGL" }));
    EXPECT_TRUE(Plugin(handle).connected) << "a failing Connect does not stop the first frame";

    testControl15.disconnectResult = 5;
    EXPECT_EQ(Low(plugMain(22, 0, handle)), 5u);
    EXPECT_TRUE(Plugin(handle).connected);
    testControl15.disconnectResult = FF_SUCCESS;
    EXPECT_EQ(Low(plugMain(22, 0, handle)), 0u);
    EXPECT_FALSE(Plugin(handle).connected);

    EXPECT_EQ(Low(plugMain(21, 0, handle)), FAIL32);
    EXPECT_FALSE(Plugin(handle).connected);
    testControl15.connectResult = FF_SUCCESS;
    EXPECT_EQ(Low(plugMain(21, 0, handle)), 0u);
    EXPECT_TRUE(Plugin(handle).connected);

    testControl15.log.clear();
    Forget(handle);
    EXPECT_EQ(Low(plugMain(19, 0, handle)), 0u);
    EXPECT_EQ(testControl15.log, (std::vector<std::string> { "Disconnect", "DeInitGL", "Destroy" }));
}

TEST_F(PlugMain15, TimeInputStatusAndResize)
{
    const uint64_t handle = Instantiate();
    ASSERT_NE(handle, FF_FAIL64);

    double time = 12.5;
    EXPECT_EQ(Low(plugMain(20, Address(&time), handle)), FAIL32) << "SetTime keeps its default here";
    EXPECT_EQ(Low(plugMain(16, 0, handle)), FAIL32) << "a source has no inputs";

    FFGLViewport viewport { 0, 0, 320, 200 };
    EXPECT_EQ(Low(plugMain(23, Address(&viewport), handle)), 0u);
    EXPECT_EQ(testControl15.log.back(), "Resize 320");

    Forget(handle);
    testControl15.log.clear();
    EXPECT_EQ(Low(plugMain(19, 0, handle)), 0u);
    EXPECT_EQ(testControl15.log, (std::vector<std::string> { "DeInitGL", "Destroy" })) << "never connected";
}

TEST_F(PlugMain15, InformationRecordsAndShortName)
{
    const auto* info = reinterpret_cast<const FFGLInfoStruct*>(plugMain(0, 0, 0));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->apiMajorVersion, 1u);
    EXPECT_EQ(info->apiMinorVersion, 5u);
    EXPECT_EQ(std::string(info->pluginName, 16), "Test plug-in 1.5");
    EXPECT_EQ(plugMain(13, 0, 0), plugMain(0, 0, 0) + 32);

    EXPECT_EQ(plugMain(33, 0, 0), 0u);
    testControl15.shortName = "TP15";
    EXPECT_STREQ(reinterpret_cast<const char*>(plugMain(33, 0, 0)), "TP15");
}
} // namespace
