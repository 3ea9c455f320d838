#include "GLTestEnvironment.h"

#include "FFGLTypes.h"
#include "GLEntryPoints.h"
#include "InstanceLifecycle.h"
#include "PlugMainResults.h"
#include "PluginInfo.h"
#include "TestPlugin.h"
#include "ThumbnailInfo.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

extern "C" uint64_t plugMain(uint32_t functionCode, uint64_t input, uint64_t instance);

namespace
{
using namespace results;

const char* AsText(uint64_t result)
{
    return reinterpret_cast<const char*>(result);
}

// Asks code 46 for the pending events with room for capacity entries; the count it wrote back.
uint32_t CollectEvents(uint64_t instance, uint32_t capacity, ParamEventEntry* entries)
{
    EventListInput list { capacity, 0, entries };
    EXPECT_EQ(Low(plugMain(46, Address(&list), instance)), 0u);
    return list.count;
}

TestPlugin* AsPlugin(uint64_t handle)
{
    return reinterpret_cast<TestPlugin*>(handle);
}

// Every test runs with a current GL context, since the first instantiation of
// the process resolves the GL entry points once and for all.
class PlugMainTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        plugMain(2, 0, 0);
        testControl.Reset();
    }

    void TearDown() override
    {
        plugMain(2, 0, 0);
        EXPECT_EQ(testControl.liveObjects, 0) << "an object was leaked";
        GLTest::TearDown();
    }

    uint64_t Instantiate()
    {
        FFGLViewport viewport { 1, 2, 64, 48 };
        return plugMain(18, Address(&viewport), 0);
    }

    void Release(uint64_t instance) { EXPECT_EQ(Low(plugMain(19, 0, instance)), 0u); }
};

using UnhandledCodes = PlugMainTest;
using InstanceCodes = PlugMainTest;
using PrototypeCodes = PlugMainTest;
using Instantiation = PlugMainTest;
using FrameAndConnection = PlugMainTest;
using ParameterValues = PlugMainTest;
using ParameterEvents = PlugMainTest;
using Thumbnail = PlugMainTest;
using NullRecords = PlugMainTest;
using Exceptions = PlugMainTest;
} // namespace

TEST_F(UnhandledCodes, FailAndChangeNothingWithOrWithoutInstance)
{
    const uint64_t instance = Instantiate();
    ASSERT_NE(instance, FF_FAIL64);
    testControl.log.clear();
    const int factoryCalls = testControl.factoryCalls;

    const uint32_t codes[] = { 1, 3, 11, 12, 14, 24, 25, 26, 27, 28, 29, 30, 47, 100, 0xFFFFFFFFu };
    for (uint32_t code : codes)
    {
        EXPECT_EQ(Low(plugMain(code, 0, 0)), 0xFFFFFFFFu) << code;
        EXPECT_EQ(Low(plugMain(code, 0, instance)), 0xFFFFFFFFu) << code;
    }
    EXPECT_TRUE(testControl.log.empty());
    EXPECT_EQ(testControl.factoryCalls, factoryCalls);
    Release(instance);
}

TEST_F(InstanceCodes, FailWithoutAnInstanceAndMakeNoPrototype)
{
    ParamValueInput paramValue { 0, 0, 0 };
    ElementValueInput elementValue { 1, 0, 0.5f };
    BeatInput beat { 120.0f, 0.5f };
    HostInfoInput host { "Host", "1.0" };
    EventListInput events { 0, 0, nullptr };
    FFGLViewport viewport { 0, 0, 8, 8 };
    ProcessOpenGLStruct frame {};
    double hostTime = 1.0;

    EXPECT_EQ(plugMain(7, 0, 0), FF_FAIL64);
    const std::pair<uint32_t, uint64_t> calls[] = {
        { 8, Address(&paramValue) },
        { 9, 0 },
        { 16, 0 },
        { 17, Address(&frame) },
        { 19, 0 },
        { 20, Address(&hostTime) },
        { 21, 0 },
        { 22, 0 },
        { 23, Address(&viewport) },
        { 37, Address(&elementValue) },
        { 38, Address(&beat) },
        { 39, Address(&host) },
        { 40, 44100 },
        { 46, Address(&events) },
    };
    for (const auto& call : calls)
        EXPECT_EQ(Low(plugMain(call.first, call.second, 0)), 0xFFFFFFFFu) << call.first;
    EXPECT_EQ(testControl.factoryCalls, 0);
}

TEST_F(InstanceCodes, SettingsReachTheInstance)
{
    const uint64_t instance = Instantiate();
    TestPlugin* plugin = AsPlugin(instance);

    double hostTime = 12.5;
    EXPECT_EQ(Low(plugMain(20, Address(&hostTime), instance)), 0u);
    EXPECT_EQ(plugin->time, 12.5);

    BeatInput beat { 98.0f, 0.25f };
    EXPECT_EQ(Low(plugMain(38, Address(&beat), instance)), 0u);
    EXPECT_EQ(plugin->bpm, 98.0f);
    EXPECT_EQ(plugin->barPhase, 0.25f);

    HostInfoInput host { "Arena", "7.1" };
    EXPECT_EQ(Low(plugMain(39, Address(&host), instance)), 0u);
    EXPECT_EQ(plugin->hostName, "Arena");
    EXPECT_EQ(plugin->hostVersion, "7.1");
    HostInfoInput missing { nullptr, nullptr };
    EXPECT_EQ(Low(plugMain(39, Address(&missing), instance)), 0u);
    EXPECT_EQ(plugin->hostName, "");
    EXPECT_EQ(plugin->hostVersion, "");

    EXPECT_EQ(Low(plugMain(40, 48000, instance)), 0u);
    EXPECT_EQ(plugin->sampleRate, 48000u);

    EXPECT_EQ(Low(plugMain(16, 0, instance)), 0xFFFFFFFFu); // a source has no inputs

    // The instance keeps the whole viewport record, from instantiation and from each resize.
    const auto viewport = [plugin]
    {
        return std::vector<uint32_t> { plugin->viewport.x, plugin->viewport.y, plugin->viewport.width,
                                       plugin->viewport.height };
    };
    EXPECT_EQ(viewport(), (std::vector<uint32_t> { 1, 2, 64, 48 }));
    FFGLViewport resized { 5, 6, 320, 200 };
    EXPECT_EQ(Low(plugMain(23, Address(&resized), instance)), 0u);
    EXPECT_EQ(viewport(), (std::vector<uint32_t> { 5, 6, 320, 200 }));

    EXPECT_STREQ(AsText(plugMain(7, 3, instance)), "display");
    Release(instance);
}

TEST_F(PrototypeCodes, FailWhenThePrototypeCannotBeMadeAndRetryEachTime)
{
    testControl.factoryFailFromCall = 1;
    IndexPairInput pair { 1, 0 };
    RangeInput range { 0, 9.0f, 9.0f };

    EXPECT_EQ(Low(plugMain(4, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(plugMain(5, 0, 0), 0u);
    EXPECT_EQ(Low(plugMain(6, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(10, 5, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(15, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(31, 1, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(32, 1, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(plugMain(33, 0, 0), 0u);
    EXPECT_EQ(Low(plugMain(34, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(plugMain(35, Address(&pair), 0), 0u);
    EXPECT_EQ(Low(plugMain(36, Address(&pair), 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(41, Address(&range), 0)), 0xFFFFFFFFu);
    EXPECT_EQ(range.min, 9.0f);
    EXPECT_EQ(range.max, 9.0f);
    EXPECT_EQ(Low(plugMain(43, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(plugMain(44, Address(&pair), 0), 0u);
    EXPECT_EQ(Low(plugMain(45, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(testControl.factoryCalls, 15);
    EXPECT_EQ(PrototypeInstance, nullptr);

    testControl.factoryFailFromCall = 0;
    EXPECT_EQ(Low(plugMain(34, 0, 0)), 0u);
    EXPECT_NE(PrototypeInstance, nullptr);
}

TEST_F(PrototypeCodes, AFactoryThatStoresNothingCountsAsFailure)
{
    testControl.factoryLeavesNull = true;
    EXPECT_EQ(Low(plugMain(34, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(4, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(PrototypeInstance, nullptr);
    EXPECT_EQ(Instantiate(), FF_FAIL64);
}

TEST_F(PrototypeCodes, ParameterQueriesReadThePrototypesTable)
{
    testControl.withTextParam = true;
    EXPECT_EQ(Low(plugMain(4, 0, 0)), 7u); // duplicate id included
    EXPECT_EQ(testControl.factoryCalls, 1);

    EXPECT_STREQ(AsText(plugMain(5, 0, 0)), "Amount");
    EXPECT_EQ(std::string(AsText(plugMain(5, 4, 0)), 16), "Sixteen chars ab");
    EXPECT_EQ(plugMain(5, 9, 0), 0u);

    EXPECT_EQ(AsFloat(plugMain(6, 0, 0)), 1.0f); // clamped standard default
    EXPECT_EQ(AsFloat(plugMain(6, 1, 0)), 2.0f); // option default kept
    EXPECT_EQ(AsFloat(plugMain(6, 3, 0)), 2.0f); // saturation default kept
    EXPECT_STREQ(AsText(plugMain(6, 5, 0)), "hello");
    EXPECT_EQ(Low(plugMain(6, 9, 0)), 0xFFFFFFFFu);

    EXPECT_EQ(Low(plugMain(15, 1, 0)), 11u);
    EXPECT_EQ(Low(plugMain(15, 2, 0)), 0u); // the first record with id 2 wins
    EXPECT_EQ(Low(plugMain(15, 9, 0)), 0xFFFFFFFFu);

    EXPECT_EQ(Low(plugMain(31, 0, 0)), 1u);
    EXPECT_EQ(Low(plugMain(31, 1, 0)), 3u);
    EXPECT_EQ(Low(plugMain(31, 9, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(32, 1, 0)), 7u);
    EXPECT_EQ(Low(plugMain(32, 0, 0)), 0u);
    EXPECT_EQ(Low(plugMain(32, 9, 0)), 0xFFFFFFFFu);

    IndexPairInput element { 1, 2 };
    EXPECT_STREQ(AsText(plugMain(35, Address(&element), 0)), "High");
    EXPECT_EQ(AsFloat(plugMain(36, Address(&element), 0)), 1.0f);
    IndexPairInput plain { 0, 0 };
    EXPECT_STREQ(AsText(plugMain(35, Address(&plain), 0)), "");
    EXPECT_EQ(AsFloat(plugMain(36, Address(&plain), 0)), 0.0f);
    IndexPairInput pastEnd { 1, 3 };
    EXPECT_EQ(plugMain(35, Address(&pastEnd), 0), 0u);
    EXPECT_EQ(Low(plugMain(36, Address(&pastEnd), 0)), 0xFFFFFFFFu);

    RangeInput range { 0, 0.0f, 0.0f };
    EXPECT_EQ(Low(plugMain(41, Address(&range), 0)), 0u);
    EXPECT_EQ(range.min, 0.25f);
    EXPECT_EQ(range.max, 0.75f);
    RangeInput noRecord { 9, 5.0f, 5.0f };
    EXPECT_EQ(Low(plugMain(41, Address(&noRecord), 0)), 0u);
    EXPECT_EQ(noRecord.min, 0.0f);
    EXPECT_EQ(noRecord.max, 1.0f);

    EXPECT_EQ(Low(plugMain(43, 5, 0)), 2u);
    EXPECT_EQ(Low(plugMain(43, 0, 0)), 0u);
    EXPECT_EQ(Low(plugMain(43, 9, 0)), 0u);
    IndexPairInput extension { 5, 1 };
    EXPECT_STREQ(AsText(plugMain(44, Address(&extension), 0)), "md");
    extension.itemIndex = 2;
    EXPECT_EQ(plugMain(44, Address(&extension), 0), 0u);

    EXPECT_EQ(Low(plugMain(45, 0, 0)), 1u);
    EXPECT_EQ(Low(plugMain(45, 2, 0)), 0u);
    EXPECT_EQ(Low(plugMain(45, 9, 0)), 0xFFFFFFFFu);

    EXPECT_EQ(testControl.factoryCalls, 1);
}

TEST_F(PrototypeCodes, CapabilitiesAndShortName)
{
    EXPECT_EQ(Low(plugMain(10, 5, 0)), 1u);
    EXPECT_EQ(Low(plugMain(10, 10, 0)), 0u);
    EXPECT_EQ(Low(plugMain(10, 11, 0)), 0u);
    PrototypeInstance->SetMinInputFrames(-3);
    PrototypeInstance->SetMaxInputFrames(2);
    EXPECT_EQ(Low(plugMain(10, 10, 0)), 0u);
    EXPECT_EQ(Low(plugMain(10, 11, 0)), 2u);
    EXPECT_EQ(Low(plugMain(10, 0, 0)), 0u);
    EXPECT_EQ(Low(plugMain(10, 12, 0)), 0u);

    EXPECT_EQ(plugMain(33, 0, 0), 0u);
    testControl.shortName = "TP";
    EXPECT_STREQ(AsText(plugMain(33, 0, 0)), "TP");
}

TEST_F(PrototypeCodes, DeinitialiseDeletesOnlyThePrototype)
{
    EXPECT_EQ(Low(plugMain(2, 0, 0)), 0u);
    EXPECT_EQ(Low(plugMain(2, 0, 0)), 0u);
    const uint64_t instance = Instantiate();
    ASSERT_NE(instance, FF_FAIL64);
    EXPECT_EQ(testControl.factoryCalls, 2);

    EXPECT_EQ(Low(plugMain(2, 0, 0)), 0u);
    EXPECT_EQ(PrototypeInstance, nullptr);
    EXPECT_EQ(testControl.liveObjects, 1);

    ProcessOpenGLStruct frame {};
    EXPECT_EQ(Low(plugMain(17, Address(&frame), instance)), 0u);
    EXPECT_EQ(Low(plugMain(4, 0, 0)), 6u);
    EXPECT_EQ(testControl.factoryCalls, 3);
    Release(instance);
}

TEST_F(PrototypeCodes, InformationRecordsNeedNoPrototype)
{
    const auto* info = reinterpret_cast<const FFGLInfoStruct*>(plugMain(0, 0, 0));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(std::string(info->uniqueId, 4), "TST1");
    EXPECT_STREQ(info->pluginName, "Test Plugin");
    EXPECT_EQ(plugMain(13, 0, 0), plugMain(0, 0, 0) + 32);
    const auto* extended = reinterpret_cast<const FFGLExtendedInfoStruct*>(plugMain(13, 0, 0));
    EXPECT_STREQ(extended->about, "Tests");
    EXPECT_EQ(testControl.factoryCalls, 0);
}

TEST_F(PrototypeCodes, WithoutARegisteredRecordNothingCanBeMade)
{
    PluginInfo* registered = CurrentPluginInfo;
    CurrentPluginInfo = nullptr;
    EXPECT_EQ(Low(plugMain(34, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(4, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(plugMain(0, 0, 0), 0u);
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    CurrentPluginInfo = registered;
    EXPECT_EQ(testControl.factoryCalls, 0);
}

TEST_F(Instantiation, PushesThePrototypeDefaultsThenInitialisesGL)
{
    const uint64_t instance = Instantiate();
    ASSERT_NE(instance, FF_FAIL64);
    TestPlugin* plugin = AsPlugin(instance);

    // Index 5 is below the record count (the duplicate counts) but no record has it: nothing is pushed.
    EXPECT_EQ(testControl.floatSets, (std::vector<std::pair<uint32_t, float>> {
                                         { 0, 1.0f }, { 1, 2.0f }, { 2, 1.0f }, { 3, 2.0f }, { 4, 0.0f } }));
    EXPECT_EQ(plugin->self, plugin);
    EXPECT_EQ(plugin->viewport.x, 1u);
    EXPECT_EQ(plugin->viewport.height, 48u);
    EXPECT_EQ(testControl.Count("InitGL"), 1);
    EXPECT_FALSE(plugin->connected);
    EXPECT_NE(PrototypeInstance, plugin);

    EXPECT_TRUE(glLoadAttempted);
    EXPECT_TRUE(glLoadSucceeded);
    ASSERT_NE(zmgl::glGetString, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(zmgl::glGetString(GL_VERSION)),
                 reinterpret_cast<const char*>(glGetString(GL_VERSION)));

    const uint64_t second = Instantiate();
    ASSERT_NE(second, FF_FAIL64);
    EXPECT_NE(second, instance);
    Release(second);
    Release(instance);
}

TEST_F(Instantiation, ANullViewportMakesNothing)
{
    EXPECT_EQ(plugMain(18, 0, 0), FF_FAIL64);
    EXPECT_EQ(testControl.factoryCalls, 0);
    EXPECT_EQ(PrototypeInstance, nullptr);
}

TEST_F(Instantiation, EveryFailureDeletesWhatWasMadeAndKeepsThePrototype)
{
    testControl.factoryFailFromCall = 2; // the prototype is made, the instance is not
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    EXPECT_NE(PrototypeInstance, nullptr);
    EXPECT_EQ(testControl.liveObjects, 1);

    testControl.factoryFailFromCall = 0;
    testControl.initGLResult = 5;
    testControl.log.clear();
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    EXPECT_EQ(testControl.log, (std::vector<std::string> { "InitGL", "DeInitGL", "Destroy" }));

    testControl.initGLResult = 0;
    testControl.initGLThrows = true;
    testControl.log.clear();
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    EXPECT_EQ(testControl.log, (std::vector<std::string> { "InitGL", "DeInitGL", "Destroy" }));

    testControl.initGLThrows = false;
    testControl.factoryThrows = true;
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    EXPECT_EQ(testControl.liveObjects, 1);
    EXPECT_NE(PrototypeInstance, nullptr);
}

TEST_F(Instantiation, ATextDefaultGoesThroughSetTextParameter)
{
    testControl.withTextParam = true;
    testControl.log.clear();
    EXPECT_EQ(Instantiate(), FF_FAIL64) << "the base class refuses every text";
    EXPECT_EQ(testControl.log, (std::vector<std::string> { "Destroy" })) << "no InitGL after a refused default";

    testControl.acceptText = true;
    const uint64_t instance = Instantiate();
    ASSERT_NE(instance, FF_FAIL64);
    ASSERT_EQ(testControl.textSets.size(), 1u);
    EXPECT_EQ(testControl.textSets[0].first, 5u);
    EXPECT_EQ(testControl.textSets[0].second, "hello");
    Release(instance);
}

TEST_F(FrameAndConnection, TheFirstFrameConnectsOnce)
{
    const uint64_t instance = Instantiate();
    testControl.log.clear();
    ProcessOpenGLStruct frame {};
    testControl.processResult = 3;

    EXPECT_EQ(Low(plugMain(17, Address(&frame), instance)), 3u);
    EXPECT_EQ(Low(plugMain(17, Address(&frame), instance)), 3u);
    EXPECT_EQ(testControl.log, (std::vector<std::string> { "Connect", "ProcessOpenGL", "ProcessOpenGL" }));
    EXPECT_TRUE(AsPlugin(instance)->connected);

    EXPECT_EQ(Low(plugMain(22, 0, instance)), 0u);
    EXPECT_FALSE(AsPlugin(instance)->connected);
    testControl.log.clear();
    testControl.connectResult = 9; // a failing Connect does not stop the frame
    EXPECT_EQ(Low(plugMain(17, Address(&frame), instance)), 3u);
    EXPECT_EQ(testControl.log, (std::vector<std::string> { "Connect", "ProcessOpenGL" }));
    EXPECT_TRUE(AsPlugin(instance)->connected);

    testControl.log.clear();
    EXPECT_EQ(Low(plugMain(17, 0, instance)), 0xFFFFFFFFu);
    EXPECT_TRUE(testControl.log.empty());
    Release(instance);
}

TEST_F(FrameAndConnection, ConnectAndDisconnectKeepTheFlagOnFailure)
{
    const uint64_t instance = Instantiate();
    TestPlugin* plugin = AsPlugin(instance);

    testControl.connectResult = 4;
    EXPECT_EQ(Low(plugMain(21, 0, instance)), 4u);
    EXPECT_FALSE(plugin->connected);
    testControl.connectResult = 0;
    EXPECT_EQ(Low(plugMain(21, 0, instance)), 0u);
    EXPECT_TRUE(plugin->connected);

    testControl.disconnectResult = -1;
    EXPECT_EQ(Low(plugMain(22, 0, instance)), 0xFFFFFFFFu);
    EXPECT_TRUE(plugin->connected);

    // De-instantiation disconnects a connected instance whatever Disconnect answers.
    testControl.log.clear();
    Release(instance);
    EXPECT_EQ(testControl.log, (std::vector<std::string> { "Disconnect", "DeInitGL", "Destroy" }));
}

TEST_F(FrameAndConnection, AnUnconnectedInstanceIsNotDisconnected)
{
    const uint64_t instance = Instantiate();
    testControl.log.clear();
    Release(instance);
    EXPECT_EQ(testControl.log, (std::vector<std::string> { "DeInitGL", "Destroy" }));
}

TEST_F(ParameterValues, SetAndGetFollowThePrototypesType)
{
    testControl.withTextParam = true;
    testControl.acceptText = true;
    const uint64_t instance = Instantiate();
    ASSERT_NE(instance, FF_FAIL64);
    testControl.floatSets.clear();
    testControl.textSets.clear();

    // Bytes 12-15 of the value are not part of a float.
    ParamValueInput floatValue { 0, 0xDEADBEEF, 0xABCD000000000000ull | FloatBits(0.375f) };
    EXPECT_EQ(Low(plugMain(8, Address(&floatValue), instance)), 0u);
    const char* text = "new text";
    ParamValueInput textValue { 5, 0, Address(text) };
    EXPECT_EQ(Low(plugMain(8, Address(&textValue), instance)), 0u);
    ParamValueInput unknown { 42, 0, FloatBits(0.5f) };
    EXPECT_EQ(Low(plugMain(8, Address(&unknown), instance)), 0u);

    EXPECT_EQ(testControl.floatSets, (std::vector<std::pair<uint32_t, float>> { { 0, 0.375f }, { 42, 0.5f } }));
    ASSERT_EQ(testControl.textSets.size(), 1u);
    EXPECT_EQ(testControl.textSets[0].second, "new text");

    EXPECT_EQ(AsFloat(plugMain(9, 0, instance)), 0.375f);
    EXPECT_STREQ(AsText(plugMain(9, 5, instance)), "text value");

    // The instance's own record type does not matter: it is the prototype's that decides.
    AsPlugin(instance)->FindParam(0)->type = FF_TYPE_TEXT;
    EXPECT_EQ(AsFloat(plugMain(9, 0, instance)), 0.375f);

    testControl.acceptText = false;
    EXPECT_EQ(plugMain(9, 5, instance), FF_FAIL64);
    EXPECT_EQ(Low(plugMain(8, Address(&textValue), instance)), 0xFFFFFFFFu);
    Release(instance);
}

TEST_F(ParameterValues, ElementWritesChangeOnlyTheInstancesTable)
{
    const uint64_t instance = Instantiate();
    ElementValueInput change { 1, 2, 0.8f };
    EXPECT_EQ(Low(plugMain(37, Address(&change), instance)), 0u);
    EXPECT_EQ(AsPlugin(instance)->FindParam(1)->elements[2].value, 0.8f);

    IndexPairInput query { 1, 2 };
    EXPECT_EQ(AsFloat(plugMain(36, Address(&query), 0)), 1.0f);

    ElementValueInput pastEnd { 1, 3, 0.1f };
    EXPECT_EQ(Low(plugMain(37, Address(&pastEnd), instance)), 0xFFFFFFFFu);
    ElementValueInput noRecord { 9, 0, 0.1f };
    EXPECT_EQ(Low(plugMain(37, Address(&noRecord), instance)), 0xFFFFFFFFu);
    Release(instance);
}

TEST_F(ParameterValues, Code45ReadsTheInstanceWhenGiven)
{
    const uint64_t instance = Instantiate();
    AsPlugin(instance)->FindParam(0)->code45Flag = false;
    EXPECT_EQ(Low(plugMain(45, 0, instance)), 0u);
    EXPECT_EQ(Low(plugMain(45, 0, 0)), 1u);
    EXPECT_EQ(Low(plugMain(45, 9, instance)), 0xFFFFFFFFu);
    Release(instance);
}

TEST_F(ParameterEvents, CountCapacityAndPartialCollection)
{
    const uint64_t instance = Instantiate();
    auto& records = AsPlugin(instance)->GetParams();
    records[1].pendingEvents = 0x11;
    records[3].pendingEvents = 0x100000000ull;
    records[4].pendingEvents = 0x4;

    EXPECT_EQ(CollectEvents(instance, 99, nullptr), 3u);
    EXPECT_EQ(records[1].pendingEvents, 0x11u);

    ParamEventEntry entries[3] = { { 7, 7, 7 }, { 7, 7, 7 }, { 7, 7, 7 } };
    EXPECT_EQ(CollectEvents(instance, 0, entries), 0u);
    EXPECT_EQ(records[1].pendingEvents, 0x11u);

    EXPECT_EQ(CollectEvents(instance, 2, entries), 2u);
    EXPECT_EQ(entries[0].paramId, 1u);
    EXPECT_EQ(entries[0].events, 0x11u);
    EXPECT_EQ(entries[0].unused, 7u);
    EXPECT_EQ(entries[1].paramId, 3u);
    EXPECT_EQ(entries[1].events, 0x100000000ull);
    EXPECT_EQ(entries[2].paramId, 7u);
    EXPECT_EQ(records[1].pendingEvents, 0u);
    EXPECT_EQ(records[4].pendingEvents, 0x4u);

    EXPECT_EQ(CollectEvents(instance, 3, entries), 1u);
    EXPECT_EQ(entries[0].paramId, 4u);
    EXPECT_EQ(records[4].pendingEvents, 0u);
    Release(instance);
}

TEST_F(Thumbnail, SizeOnlyCopyAndMissingThumbnail)
{
    ThumbnailInput sizeOnly { 0, 0, nullptr };
    EXPECT_EQ(Low(plugMain(42, Address(&sizeOnly), 0)), 0u);
    EXPECT_EQ(sizeOnly.width, 4u);
    EXPECT_EQ(sizeOnly.height, 3u);

    uint8_t buffer[4 * 3 * 4 + 4];
    std::memset(buffer, 0xEE, sizeof(buffer));
    ThumbnailInput copy { 0, 0, buffer };
    EXPECT_EQ(Low(plugMain(42, Address(&copy), 0)), 0u);
    EXPECT_EQ(std::memcmp(buffer, CurrentThumbnailInfo->pixels, 48), 0);
    EXPECT_EQ(buffer[0], 0x00); // little-endian: the low byte of pixel 0 comes first
    EXPECT_EQ(buffer[3], 0x10);
    EXPECT_EQ(buffer[48], 0xEE);

    EXPECT_EQ(Low(plugMain(42, 0, 0)), 0xFFFFFFFFu);

    ThumbnailInfo* registered = CurrentThumbnailInfo;
    CurrentThumbnailInfo = nullptr;
    ThumbnailInput missing { 9, 9, buffer };
    EXPECT_EQ(Low(plugMain(42, Address(&missing), 0)), 0xFFFFFFFFu);
    EXPECT_EQ(missing.width, 0u);
    EXPECT_EQ(missing.height, 0u);
    CurrentThumbnailInfo = registered;
    EXPECT_EQ(testControl.factoryCalls, 0);
}

TEST_F(NullRecords, AreAnsweredWithTheCodesFailure)
{
    const uint64_t instance = Instantiate();
    for (uint32_t code : { 8u, 23u, 36u, 37u, 38u, 39u, 41u, 46u })
        EXPECT_EQ(Low(plugMain(code, 0, instance)), 0xFFFFFFFFu) << code;
    EXPECT_EQ(plugMain(35, 0, instance), 0u);
    EXPECT_EQ(plugMain(44, 0, instance), 0u);
    EXPECT_EQ(Low(plugMain(20, 0, instance)), 0xFFFFFFFFu);
    Release(instance);
}

TEST_F(Exceptions, NeverReachTheHost)
{
    const uint64_t instance = Instantiate();
    testControl.processThrows = true;
    ProcessOpenGLStruct frame {};
    EXPECT_EQ(Low(plugMain(17, Address(&frame), instance)), 0xFFFFFFFFu);
    EXPECT_EQ(plugMain(7, 0, instance), FF_FAIL64);

    testControl.factoryThrows = true;
    plugMain(2, 0, 0);
    EXPECT_EQ(Low(plugMain(34, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(Low(plugMain(4, 0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(plugMain(5, 0, 0), 0u);
    EXPECT_EQ(PrototypeInstance, nullptr);
    testControl.factoryThrows = false;
    testControl.processThrows = false;
    Release(instance);
}

TEST_F(Exceptions, AThrowingShutdownStillDeletesTheInstance)
{
    const uint64_t instance = Instantiate();
    plugMain(21, 0, instance);
    testControl.deInitGLThrows = true;
    testControl.log.clear();
    EXPECT_EQ(Low(plugMain(19, 0, instance)), 0u);
    EXPECT_EQ(testControl.log, (std::vector<std::string> { "Disconnect", "DeInitGL", "Destroy" }));

    // A failed InitGL whose clean-up throws too must not leak the object either.
    testControl.initGLResult = 1;
    EXPECT_EQ(Instantiate(), FF_FAIL64);
    EXPECT_EQ(testControl.liveObjects, 1);
}
