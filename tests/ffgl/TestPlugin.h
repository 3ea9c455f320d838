#pragma once

#include "CFFGLPlugin.h"
#include "HostCallsReported.h"

#include <string>
#include <utility>
#include <vector>

/*
    What the tests tell the test plug-in to do, and what it saw. One global
    instance (testControl); Reset() restores the defaults before each test.
*/
struct TestPluginControl
{
    // Factory behaviour.
    int factoryFailFromCall = 0;    ///< the factory answers -1 from this call on (1-based); 0: never
    bool factoryLeavesNull = false; ///< the factory answers 0 but stores nothing
    bool factoryThrows = false;
    bool withTextParam = false; ///< new objects declare text parameter 5 (default "hello")

    // Operation results.
    bool acceptText = false; ///< SetTextParameter / GetTextParameter succeed instead of the defaults
    int32_t initGLResult = 0;
    bool initGLThrows = false;
    bool deInitGLThrows = false;
    int32_t connectResult = 0;
    int32_t disconnectResult = 0;
    int32_t processResult = 0;
    bool processThrows = false;
    const char* shortName = nullptr;

    // What happened.
    int factoryCalls = 0;
    int liveObjects = 0;
    std::vector<std::string> log; ///< operation names in call order ("InitGL", "Destroy", ...)
    std::vector<std::pair<uint32_t, float>> floatSets;
    std::vector<std::pair<uint32_t, std::string>> textSets;

    void Reset() { *this = TestPluginControl(); }
    int Count(const std::string& operation) const;
};

extern TestPluginControl testControl;

/*
    A plug-in object whose parameter table exercises every lookup rule and
    whose operations report to testControl.

    Records, in order: 0 "Amount" (type 10, default 1.5 -> clamped, range
    0.25..0.75), 1 "Mode" (option: "Off" 0, "Low" 0.5, "High" 1; default 2;
    code32Value 7), 2 "Enabled" (boolean 1, code45Flag false), 3 "Saturation"
    (type 201, default 2), 4 "Sixteen chars ab" (type 10), a second record with
    id 2 (never found), and, with withTextParam, 5 "Caption" (type 100,
    default "hello", extensions "txt" and "md").
*/
class TestPlugin : public HostCallsReported<CFFGLPlugin, testControl>
{
public:
    TestPlugin();
    ~TestPlugin() override;

    int32_t InitGL(const FFGLViewport* viewport) override;
    int32_t DeInitGL() override;
    const char* GetParameterDisplay(uint32_t index) override;
    int32_t SetFloatParameter(uint32_t index, float value) override;
    int32_t SetTextParameter(uint32_t index, const char* text) override;
    float GetFloatParameter(uint32_t index) override;
    const char* GetTextParameter(uint32_t index) override;
    int32_t ProcessOpenGL(ProcessOpenGLStruct* frame) override;

    float values[8] = {};
};
