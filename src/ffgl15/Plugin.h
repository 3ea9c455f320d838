#pragma once

#include "CFreeFrameGLPlugin.h"
#include "FFGLShader.h"
#include "GLEntryPoints15.h"

// Reached by path: the FFGL 2.1 base's folder holds a Plugin.h of its own.
#include "../effectbase/ValueSlots.h"

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>

/**
    The base of a shader effect in the FFGL 1.5 library: it turns the host's
    parameters into shader input and owns the program the effect draws with.

    It does the FFGL 2.1 base's job on the FFGL 1.5 interface: every parameter
    a derived class adds gets one float value slot and one GLSL uniform name at
    its index; InitGL compiles the two shader sources, resolves each uniform
    name, sets "resolution" to the viewport size and looks up "maxst". There is
    no quad object: the effect draws its quad in immediate mode. A colour group
    is hue, saturation and brightness only (no alpha).

    Usage, in a derived class's constructor:
        AddParam ("Inside", "inside", FF_TYPE_STANDARD, 0.1f);
        AddHueColorParam ("Color", "cR", "cG", "cB", 0.3f);
        SetShaderSources (vertexText, fragmentText);

    This build's parameter list clamps every default into 0 to 1, so a default
    of 2.0 is listed (and reaches new instances) as 1.0, while the object that
    registered it keeps 2.0 in its slot. GL objects exist only between InitGL
    and DeInitGL; the destructor makes no GL call.
*/
class Plugin : public CFreeFrameGLPlugin, protected ValueSlots
{
public:
    /**
        Sets both input-frame limits from the FFGL plug-in type: 1 for an effect
        (type 0), 0 for anything else; hasInputs follows.
    */
    explicit Plugin(const int32_t& pluginType);
    ~Plugin() override;

    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    /** Compiles the program, resolves the uniforms and sets "resolution" when it linked; 0. */
    int32_t InitGL(const FFGLViewport* viewport) override;

    /** Deletes the GL objects of both shader members; 0. */
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
        Registers a parameter in the list and gives it a value slot and a
        uniform name; an empty uniform name means the value has no uniform.
        Returns the new parameter's index.
    */
    int32_t AddParam(const juce::String& name, const juce::String& uniformName, int32_t type, float defaultValue);

    /**
        Adds a colour group: hue, saturation and brightness parameters named
        name, name + "_saturation" and name + "_brighthness", carrying the
        given uniform names (the red, green and blue the frame computes).
    */
    void AddHueColorParam(const juce::String& name, const juce::String& redUniform,
                          const juce::String& greenUniform, const juce::String& blueUniform, float hueDefault);

    /** Keeps the two sources; InitGL compiles them. */
    void SetShaderSources(const juce::String& vertex, const juce::String& fragment);

    /** Whether the plug-in takes input frames; the effect then sends texture coordinates with its vertices. */
    bool hasInputs = false;
    juce::String vertexSource;
    juce::String fragmentSource;
    int32_t viewportWidth = 0;
    int32_t viewportHeight = 0;
    /** -1 until the program links: uniform calls on it are no-ops. */
    int32_t resolutionLocation = -1;
    int32_t maxstLocation = -1;
    // paramValues, uniformNames, uniformLocations and colorGroups come from ValueSlots.
    FFGLShader mainShader;
    /** A second shader object that nothing compiles; released with the first. */
    FFGLShader secondShader;
};
