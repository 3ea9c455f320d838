#include "Plugin.h"

#include "HsbToRgb.h"

namespace
{
int32_t inputFramesForType(int32_t pluginType)
{
    switch (pluginType)
    {
        case FF_EFFECT: return 1;
        case FF_MIXER: return 2;
        default: return 0;
    }
}
} // namespace

Plugin::Plugin(const int32_t& pluginType)
{
    const int32_t frames = inputFramesForType(pluginType);
    SetMinInputFrames(frames);
    SetMaxInputFrames(frames);
}

Plugin::~Plugin() = default;

int32_t Plugin::AddParam(const juce::String& name, const juce::String& uniformName, int32_t type, float defaultValue)
{
    const int32_t index = GetNumSlots();
    SetParamInfo(index, name.toRawUTF8(), type, defaultValue);
    return AddSlot(uniformName, defaultValue);
}

void Plugin::AddValueSlot()
{
    AddSlot(juce::String(), 0.0f);
}

void Plugin::AddHueColorParam(const juce::String& name, const juce::String& redUniform,
                              const juce::String& greenUniform, const juce::String& blueUniform, float hueDefault)
{
    const int32_t hueIndex = AddParam(name, redUniform, FF_TYPE_HUE, hueDefault);
    AddColorGroup(hueIndex);
    AddParam(name + "_saturation", greenUniform, FF_TYPE_SATURATION, 2.0f);
    AddParam(name + "_brighthness", blueUniform, FF_TYPE_BRIGHTNESS, 2.0f);
    AddParam(name + "_alpha", juce::String(), FF_TYPE_ALPHA, 1.0f);
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

    if (mainShader.GetProgramId() != 0)
    {
        const GLuint program = mainShader.GetProgramId();
        zmgl::glUseProgram(program);

        ResolveUniformLocations([program](const char* uniformName)
                                { return zmgl::glGetUniformLocation(program, uniformName); });

        resolutionLocation = zmgl::glGetUniformLocation(program, "resolution");
        maxstLocation = zmgl::glGetUniformLocation(program, "maxst");
        zmgl::glUniform2f(resolutionLocation, static_cast<float>(newViewport->width),
                          static_cast<float>(newViewport->height));
        zmgl::glUseProgram(0);
    }

    quad.Create();

    viewportWidth = static_cast<int32_t>(newViewport->width);
    viewportHeight = static_cast<int32_t>(newViewport->height);
    return FF_SUCCESS;
}

int32_t Plugin::DeInitGL()
{
    mainShader.DeleteProgram();
    secondShader.DeleteProgram();
    quad.Release();
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

    // Without a program there is no uniform to set, and a uniform call with no
    // program in use would leave GL_INVALID_OPERATION in the host's context.
    if (mainShader.IsValid())
    {
        zmgl::glUseProgram(mainShader.GetProgramId());
        zmgl::glUniform2f(resolutionLocation, static_cast<float>(newViewport->width),
                          static_cast<float>(newViewport->height));
        zmgl::glUseProgram(0);
    }

    viewportWidth = static_cast<int32_t>(newViewport->width);
    viewportHeight = static_cast<int32_t>(newViewport->height);
    return FF_SUCCESS;
}
