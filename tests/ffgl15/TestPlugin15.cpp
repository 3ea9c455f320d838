#include "TestPlugin15.h"

#include "PluginInfo15.h"

#include <stdexcept>

TestPluginControl15 testControl15;

TestPlugin15::TestPlugin15()
{
    SetParamInfo(0, "Amount", FF_TYPE_STANDARD, 2.0f);
    SetParamInfo(1, "Enabled", FF_TYPE_BOOLEAN, 1.0f);
    SetParamInfo(2, "Saturation", FF_TYPE_SATURATION, 2.0f);
    SetParamInfo(3, "Brightness", FF_TYPE_BRIGHTNESS, -0.5f);
    SetParamInfo(4, "Caption", FF_TYPE_TEXT, 0.0f);
    SetParamInfo(5, "File", FF_TYPE_FILE, 0.25f);
    SetParamInfo(1, "Shadowed", FF_TYPE_TEXT, 0.5f);
    ++testControl15.liveObjects;
}

TestPlugin15::~TestPlugin15()
{
    --testControl15.liveObjects;
    testControl15.log.push_back("Destroy");
}

int32_t TestPlugin15::InitGL(const FFGLViewport*)
{
    testControl15.log.push_back("InitGL");
    if (testControl15.initGLThrows)
        throw std::runtime_error("InitGL");
    return testControl15.initGLResult;
}

int32_t TestPlugin15::DeInitGL()
{
    testControl15.log.push_back("DeInitGL");
    return FF_SUCCESS;
}

int32_t TestPlugin15::SetFloatParameter(uint32_t index, float value)
{
    testControl15.log.push_back("SetFloat " + std::to_string(index));
    if (index == testControl15.rejectFloatIndex)
        return FF_FAIL;
    if (index < 6)
        values[index] = value;
    return FF_SUCCESS;
}

int32_t TestPlugin15::SetTextParameter(uint32_t index, const char* text)
{
    testControl15.log.push_back("SetText " + std::to_string(index));
    if (index != 4)
        return FF_FAIL;
    caption = text != nullptr ? text : "(null)";
    return FF_SUCCESS;
}

float TestPlugin15::GetFloatParameter(uint32_t index)
{
    return index < 6 ? values[index] : 0.0f;
}

const char* TestPlugin15::GetTextParameter(uint32_t index)
{
    return index == 4 ? caption.c_str() : CFreeFrameGLPlugin::GetTextParameter(index);
}

int32_t TestPlugin15::ProcessOpenGL(ProcessOpenGLStruct*)
{
    testControl15.log.push_back("ProcessOpenGL");
    return FF_SUCCESS;
}

int32_t TestPlugin15::Resize(const FFGLViewport* viewport)
{
    testControl15.log.push_back("Resize " + std::to_string(viewport->width));
    return FF_SUCCESS;
}

namespace
{
int32_t CreateTestPlugin(CFreeFrameGLPlugin** object)
{
    ++testControl15.factoryCalls;
    if (testControl15.factoryThrows)
        throw std::runtime_error("factory");
    if (testControl15.factoryFails)
        return FF_FAIL;
    *object = new TestPlugin15();
    return FF_SUCCESS;
}

PluginInfo registration(CreateTestPlugin, "T15X", "Test plug-in 1.5", 1, 5, 2, 1, FF_SOURCE, "", "Tester");
} // namespace
