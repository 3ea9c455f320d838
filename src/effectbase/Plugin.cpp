#include "Plugin.h"

#include "HsbToRgb.h"

inline namespace ZM_BUILD_NAMESPACE
{

Plugin::Plugin(const int32_t& pluginType)
{
    const int32_t frames = PluginBuild::InputFramesForType(pluginType);
    SetMinInputFrames(frames);
    SetMaxInputFrames(frames);
    hasInputs = frames > 0;
}

Plugin::~Plugin() = default;

GLuint Plugin::GetMainProgram() const
{
    return PluginBuild::ProgramOf(mainShader);
}

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
    if (PluginBuild::colourGroupsHaveAlpha)
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

    ApplyViewport(*newViewport, true);

    quad.Create();
    return FF_SUCCESS;
}

int32_t Plugin::DeInitGL()
{
    PluginBuild::ReleaseShader(mainShader);
    PluginBuild::ReleaseShader(secondShader);
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

    ApplyViewport(*newViewport, false);
    return FF_SUCCESS;
}

void Plugin::ApplyViewport(const FFGLViewport& newViewport, bool resolveUniforms)
{
    // Without a built program there is no uniform to set, and a uniform call
    // with no program in use would leave GL_INVALID_OPERATION in the host's context.
    if (mainShader.IsValid())
    {
        zmgl::glUseProgram(GetMainProgram());
        if (resolveUniforms)
        {
            ResolveUniformLocations([this](const char* uniformName)
                                    { return PluginBuild::UniformLocationIn(mainShader, uniformName); });
            resolutionLocation = PluginBuild::UniformLocationIn(mainShader, "resolution");
            maxstLocation = PluginBuild::UniformLocationIn(mainShader, "maxst");
        }
        zmgl::glUniform2f(resolutionLocation, static_cast<float>(newViewport.width),
                          static_cast<float>(newViewport.height));
        zmgl::glUseProgram(0);
    }

    viewportWidth = static_cast<int32_t>(newViewport.width);
    viewportHeight = static_cast<int32_t>(newViewport.height);
}

} // namespace ZM_BUILD_NAMESPACE
