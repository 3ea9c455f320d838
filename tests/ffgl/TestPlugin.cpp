#include "TestPlugin.h"

#include "PluginInfo.h"
#include "ThumbnailInfo.h"

#include <algorithm>
#include <new>
#include <stdexcept>

TestPluginControl testControl;

int TestPluginControl::Count(const std::string& operation) const
{
    return static_cast<int>(std::count(log.begin(), log.end(), operation));
}

TestPlugin::TestPlugin()
{
    SetParamInfo(0, "Amount", FF_TYPE_STANDARD, 1.5f);
    FindParam(0)->min = 0.25f;
    FindParam(0)->max = 0.75f;

    SetOptionParamInfo(1, "Mode", 3, 2.0f);
    SetParamElementInfo(1, 0, "Off", 0.0f);
    SetParamElementInfo(1, 1, "Low", 0.5f);
    SetParamElementInfo(1, 2, "High", 1.0f);
    FindParam(1)->code32Value = 7;

    SetParamInfo(2, "Enabled", FF_TYPE_BOOLEAN, 1.0f);
    FindParam(2)->code45Flag = false;

    SetParamInfo(3, "Saturation", FF_TYPE_SATURATION, 2.0f);
    SetParamInfo(4, "Sixteen chars ab", FF_TYPE_STANDARD, 0.0f);
    SetParamInfo(2, "Shadowed", FF_TYPE_TEXT, 0.5f);

    if (testControl.withTextParam)
    {
        SetParamInfo(5, "Caption", FF_TYPE_TEXT, 0.0f);
        FindParam(5)->defaultText = "hello";
        FindParam(5)->fileExtensions = { "txt", "md" };
    }
    ++testControl.liveObjects;
}

TestPlugin::~TestPlugin()
{
    --testControl.liveObjects;
    testControl.log.push_back("Destroy");
}

int32_t TestPlugin::InitGL(const FFGLViewport* vp)
{
    testControl.log.push_back("InitGL");
    CFFGLPlugin::InitGL(vp);
    if (testControl.initGLThrows)
        throw std::runtime_error("InitGL");
    return testControl.initGLResult;
}

int32_t TestPlugin::DeInitGL()
{
    testControl.log.push_back("DeInitGL");
    if (testControl.deInitGLThrows)
        throw std::runtime_error("DeInitGL");
    return FF_FAIL; // ignored by the host interface
}

const char* TestPlugin::GetParameterDisplay(uint32_t)
{
    if (testControl.processThrows)
        throw std::runtime_error("GetParameterDisplay");
    return "display";
}

int32_t TestPlugin::SetFloatParameter(uint32_t index, float value)
{
    testControl.floatSets.emplace_back(index, value);
    if (index < 8)
        values[index] = value;
    return FF_SUCCESS;
}

int32_t TestPlugin::SetTextParameter(uint32_t index, const char* text)
{
    if (!testControl.acceptText)
        return CFFGLPlugin::SetTextParameter(index, text);
    testControl.textSets.emplace_back(index, text);
    return FF_SUCCESS;
}

float TestPlugin::GetFloatParameter(uint32_t index)
{
    return index < 8 ? values[index] : 0.0f;
}

const char* TestPlugin::GetTextParameter(uint32_t index)
{
    return testControl.acceptText ? "text value" : CFFGLPlugin::GetTextParameter(index);
}

int32_t TestPlugin::ProcessOpenGL(ProcessOpenGLStruct*)
{
    testControl.log.push_back("ProcessOpenGL");
    if (testControl.processThrows)
        throw std::runtime_error("ProcessOpenGL");
    return testControl.processResult;
}

namespace
{
int32_t CreateTestPlugin(CFFGLPlugin** object)
{
    ++testControl.factoryCalls;
    if (testControl.factoryThrows)
        throw std::bad_alloc();
    if (testControl.factoryFailFromCall != 0 && testControl.factoryCalls >= testControl.factoryFailFromCall)
        return FF_FAIL;
    if (testControl.factoryLeavesNull)
        return FF_SUCCESS;
    *object = new TestPlugin();
    return FF_SUCCESS;
}

uint32_t testThumbnailPixels[4 * 3];

bool FillTestThumbnail()
{
    for (uint32_t i = 0; i < 12; ++i)
        StoreThumbnailPixel(&testThumbnailPixels[i], 0x10203000u + i);
    return true;
}

PluginInfo testPluginInfo(CreateTestPlugin, "TST1", "Test Plugin", 2, 1, 1, 0, FF_SOURCE, "A test", "Tests");
const bool testThumbnailFilled = FillTestThumbnail();
ThumbnailInfo testThumbnailInfo(4, 3, testThumbnailPixels);
} // namespace
