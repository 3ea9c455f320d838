#include "Plugin.h"

#include "../effectbase/HsbToRgb.h"

Plugin::Plugin(const int32_t& pluginType)
{
    // Only an effect (type 0) takes an input frame in this build; sources and mixers get none.
    const int32_t frames = pluginType == FF_EFFECT ? 1 : 0;
    SetMinInputFrames(frames);
    SetMaxInputFrames(frames);
    hasInputs = frames > 0;
}

Plugin::~Plugin() = default;

int32_t Plugin::AddParam(const juce::String& name, const juce::String& uniformName, int32_t type, float defaultValue)
{
    const int32_t index = GetNumSlots();
    SetParamInfo(static_cast<uint32_t>(index), name.toRawUTF8(), type, defaultValue);
    return AddSlot(uniformName, defaultValue);
}

void Plugin::AddHueColorParam(const juce::String& name, const juce::String& redUniform,
                              const juce::String& greenUniform, const juce::String& blueUniform, float hueDefault)
{
    const int32_t hueIndex = AddParam(name, redUniform, FF_TYPE_HUE, hueDefault);
    AddColorGroup(hueIndex);
    AddParam(name + "_saturation", greenUniform, FF_TYPE_SATURATION, 2.0f);
    AddParam(name + "_brighthness", blueUniform, FF_TYPE_BRIGHTNESS, 2.0f);
}

void Plugin::SetShaderSources(const juce::String& vertex, const juce::String& fragment)
{
    vertexSource = vertex;
    fragmentSource = fragment;
}

std::array<float, 3> Plugin::HsbToRgb(int32_t hue, double saturation, double brightness)
{
    return ::HsbToRgb(hue, saturation, brightness);
}

int32_t Plugin::InitGL(const FFGLViewport* newViewport)
{
    if (newViewport == nullptr)
        return FF_FAIL;

    if (vertexSource.isNotEmpty() && fragmentSource.isNotEmpty())
        mainShader.Compile(vertexSource.toStdString(), fragmentSource.toStdString());

    if (mainShader.IsValid())
    {
        zmgl::glUseProgram(mainShader.GetProgram());

        ResolveUniformLocations([this](const char* uniformName) { return mainShader.UniformLocation(uniformName); });
        resolutionLocation = mainShader.UniformLocation("resolution");
        maxstLocation = mainShader.UniformLocation("maxst");
        zmgl::glUniform2f(resolutionLocation, static_cast<float>(newViewport->width),
                          static_cast<float>(newViewport->height));
        zmgl::glUseProgram(0);
    }

    viewportWidth = static_cast<int32_t>(newViewport->width);
    viewportHeight = static_cast<int32_t>(newViewport->height);
    return FF_SUCCESS;
}

int32_t Plugin::DeInitGL()
{
    mainShader.DeleteObjects();
    secondShader.DeleteObjects();
    return FF_SUCCESS;
}

int32_t Plugin::SetFloatParameter(uint32_t index, float value)
{
    SetSlotValue(index, value);
    return FF_SUCCESS;
}

float Plugin::GetFloatParameter(uint32_t index)
{
    return GetSlotValue(index);
}

int32_t Plugin::Resize(const FFGLViewport* newViewport)
{
    if (newViewport == nullptr)
        return FF_FAIL;

    // A program that did not link cannot be made current, and a uniform call
    // with no program in use would leave GL_INVALID_OPERATION in the host's
    // context; without a linked program there is no uniform to set anyway.
    if (mainShader.IsValid())
    {
        zmgl::glUseProgram(mainShader.GetProgram());
        zmgl::glUniform2f(resolutionLocation, static_cast<float>(newViewport->width),
                          static_cast<float>(newViewport->height));
        zmgl::glUseProgram(0);
    }

    viewportWidth = static_cast<int32_t>(newViewport->width);
    viewportHeight = static_cast<int32_t>(newViewport->height);
    return FF_SUCCESS;
}
