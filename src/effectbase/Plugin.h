#pragma once

// Both plug-in libraries compile this class, each with its own PluginBuild.h
// (host object class, shader wrapper, quad and the rules that differ).
#include "PluginBuild.h"
#include "ValueSlots.h"

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

/**
    The base of a shader effect: it turns the host's parameters into shader
    input and owns the program and the full-screen quad the effect draws with.

    Every parameter a derived class adds gets one float value slot and one GLSL
    uniform name, both at the parameter's index. InitGL compiles the two shader
    sources, resolves each uniform name to a location in the program, sets the
    "resolution" uniform to the viewport size, looks up "maxst" and builds the
    quad; the derived class's frame sends the values to the uniforms and draws.

    Usage, in a derived class's constructor:
        AddParam ("Inside", "inside", FF_TYPE_STANDARD, 0.1f);
        AddHueColorParam ("Color", "cR", "cG", "cB", 0.3f);
        SetShaderSources (vertexText, fragmentText);

    Values are kept as given: the parameter table may clamp its copy of a
    default, the value slots never clamp. (The FFGL 1.5 list clamps every
    default, so a default of 2.0 reaches new instances there as 1.0.) GL objects
    exist only between InitGL and DeInitGL; the destructor makes no GL call.

    In the FFGL 1.5 build the quad is drawn in immediate mode and holds no GL
    objects, and a colour group has no alpha member (see PluginBuild.h).
*/
class Plugin : public PluginHostObject, protected ValueSlots
{
public:
    /**
        Sets both input-frame limits from the FFGL plug-in type: 1 for an
        effect, 0 for a source; a mixer gets 2 in the FFGL 2.1 build and 0 in
        the FFGL 1.5 build. hasInputs follows.
    */
    explicit Plugin(const int32_t& pluginType);
    ~Plugin() override;

    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    /** Compiles the program, resolves the uniforms and sets "resolution" when it built, builds the quad; 0. */
    int32_t InitGL(const FFGLViewport* viewport) override;

    /** Deletes the GL objects of both programs and of the quad; 0. */
    int32_t DeInitGL() override;

    /** Stores the value in its slot; an index past the slots is ignored. Always 0. */
    int32_t SetFloatParameter(uint32_t index, float value) override;

    /** The slot's value, or 0 for an index past the slots. */
    float GetFloatParameter(uint32_t index) override;

    /** Sets "resolution" to the new viewport size and keeps the size; 0. */
    int32_t Resize(const FFGLViewport* viewport) override;

    /** Converts whole-degree hue, saturation and brightness to red, green and blue (see ::HsbToRgb). */
    static std::array<float, 3> HsbToRgb(int32_t hue, double saturation, double brightness);

protected:
    /**
        Registers a parameter in the table and gives it a value slot and a
        uniform name; an empty uniform name means the value has no uniform.
        Returns the new parameter's index.
    */
    int32_t AddParam(const juce::String& name, const juce::String& uniformName, int32_t type, float defaultValue);

    /**
        Adds a value slot with no uniform and no table record, for a parameter
        the derived class records in the table itself, so that slots and ids
        stay aligned.
    */
    void AddValueSlot();

    /**
        Adds a colour group: hue, saturation and brightness parameters named
        name, name + "_saturation" and name + "_brighthness", carrying the
        given uniform names (the red, green and blue the frame computes), and
        in the FFGL 2.1 build an alpha parameter name + "_alpha" with none.
    */
    void AddHueColorParam(const juce::String& name, const juce::String& redUniform, const juce::String& greenUniform,
                          const juce::String& blueUniform, float hueDefault);

    /** Keeps the two sources; InitGL compiles them. */
    void SetShaderSources(const juce::String& vertex, const juce::String& fragment);

    /** The GL name of the main program, 0 when there is none. */
    GLuint GetMainProgram() const;

    /** Whether the plug-in takes input frames; the effect then sends texture coordinates with its vertices. */
    bool hasInputs = false;
    juce::String vertexSource;
    juce::String fragmentSource;
    int32_t viewportWidth = 0;
    int32_t viewportHeight = 0;
    /** -1 until the program is built: uniform calls on it are no-ops. */
    int32_t resolutionLocation = -1;
    int32_t maxstLocation = -1;
    // paramValues, uniformNames, uniformLocations and colorGroups come from ValueSlots.
    PluginShader mainShader;
    /** A second program object that nothing builds; released with the first. */
    PluginShader secondShader;
    PluginQuad quad;

private:
    /**
        With a built program: makes it current, resolves the uniform locations
        when asked to, sets "resolution" to the viewport size and leaves no
        program current. Then keeps the viewport size.
    */
    void ApplyViewport(const FFGLViewport& newViewport, bool resolveUniforms);
};

} // namespace ZM_BUILD_NAMESPACE
