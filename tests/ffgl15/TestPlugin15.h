#pragma once

#include "CFreeFrameGLPlugin.h"
#include "HostCallsReported.h"

#include <string>
#include <vector>

/*
    What the tests tell the FFGL 1.5 test plug-in to do, and what it saw. One
    global instance (testControl15); Reset() restores the defaults.
*/
struct TestPluginControl15
{
    // Factory behaviour.
    bool factoryFails = false;
    bool factoryThrows = false;

    // Operation results.
    int32_t initGLResult = 0;
    bool initGLThrows = false;
    int32_t connectResult = 0;
    int32_t disconnectResult = 0;
    uint32_t rejectFloatIndex = 0xFFFFFFFFu; ///< SetFloatParameter answers -1 for this index
    const char* shortName = nullptr;

    // What happened.
    int factoryCalls = 0;
    int liveObjects = 0;
    std::vector<std::string> log; ///< operation names in call order ("InitGL", "Destroy", ...)

    void Reset() { *this = TestPluginControl15(); }
};

extern TestPluginControl15 testControl15;

/*
    A plug-in object whose parameter list covers the lookup rules of this
    build and whose operations report to testControl15.

    Nodes, in order: 0 "Amount" (type 10, default 2.0 -> 1.0), 1 "Enabled"
    (boolean 1), 2 "Saturation" (type 201, default 2.0 -> 1.0), 3 "Brightness"
    (type 202, default -0.5 -> 0.0), 4 "Caption" (type 100), 5 "File" (type 14,
    default 0.25), and a second node with id 1 (type 100, never found).
*/
class TestPlugin15 : public HostCallsReported<CFreeFrameGLPlugin, testControl15>
{
public:
    TestPlugin15();
    ~TestPlugin15() override;

    int32_t InitGL(const FFGLViewport* viewport) override;
    int32_t DeInitGL() override;
    int32_t SetFloatParameter(uint32_t index, float value) override;
    int32_t SetTextParameter(uint32_t index, const char* text) override;
    float GetFloatParameter(uint32_t index) override;
    const char* GetTextParameter(uint32_t index) override;
    int32_t ProcessOpenGL(ProcessOpenGLStruct* frame) override;
    int32_t Resize(const FFGLViewport* viewport) override;

    float values[6] = { -7.0f, -7.0f, -7.0f, -7.0f, -7.0f, -7.0f };
    std::string caption = "caption";
};
