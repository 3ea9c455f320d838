#pragma once

#include "Plugin.h"

#include "OutputSetupReader.h"

#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <memory>

inline namespace ZM_BUILD_NAMESPACE
{

/**
    The contour effect: the plug-in object the host creates, drives every frame
    and deletes.

    It reads the host's Advanced Output layout through its own OutputSetupReader,
    turns the chosen slices into a grey distance image (255 far outside, 204 on a
    slice's border, darker inward), keeps that image as a texture and draws it
    every frame through its shader, whose uniforms carry the user's "Inside",
    "Outside", "Softness" and colour.

    The image is rebuilt only when it must be: at GL initialisation, on resize,
    and on a frame that finds a switch or the screen choice changed or the host's
    files rewritten.

    The host-facing operations never let an exception reach the host; the first
    one an instance catches is reported on the build's developer channel (the
    debugger output in the FFGL 2.1 build, standard output in the FFGL 1.5 build).

    Objects are made by CreatePluginInstance (the factory of the registration
    record); the host interface then pushes the defaults, calls InitGL, frames,
    Resize, DeInitGL and deletes the object.

    Without a program whose two stages compiled and linked, frames draw nothing.

    The same source is compiled into both plug-in builds; what the FFGL 1.5 build
    does differently (no screen choice, another host folder) comes from each
    build's PluginBuild.h.
*/
class Zephyrmantle : public Plugin
{
public:
    /** Builds the parameter table and reads the host's files (the "Screens" options come from them). */
    Zephyrmantle();

    /** Releases the reader and the image; no GL call. The last object to go also
        releases JUCE's process-wide singletons, so an unloaded library leaves nothing behind. */
    ~Zephyrmantle() override;

    /** The base's initialisation, then the first rebuild of the distance image; always 0. */
    int32_t InitGL(const FFGLViewport* viewport) override;

    /** Deletes the distance texture, then the base's GL objects; the base's result. */
    int32_t DeInitGL() override;

    /** Rebuilds when something changed, sets the uniforms and draws the quad; always 0. */
    int32_t ProcessOpenGL(ProcessOpenGLStruct* frame) override;

    /** The base's resize, then a rebuild at the new size; always 0. */
    int32_t Resize(const FFGLViewport* viewport) override;

    /** Paints the distance image at the viewport size and uploads it as the texture.
        At a size that cannot be painted (0, or too large to allocate) the image is
        dropped and nothing is uploaded; frames then draw nothing until a usable
        size arrives. Never throws.
    */
    void RebuildOutline() noexcept;

    /** Truncates toward zero into int32; NaN and values outside the int32 range
        give -2147483648 (the screen choice and the hue use this). */
    static int32_t TruncateToInt32(float value) noexcept;

    /** The whole-degree hue of a hue parameter value: value x 360 in single
        precision, truncated as TruncateToInt32 does. */
    static int32_t HueDegrees(float value) noexcept;

    /** The number of Zephyrmantle objects alive in this process. */
    static int GetLiveObjectCount() noexcept;

protected:
    int32_t screensParam = 0;
    int32_t mergeShapesParam = 0;
    int32_t hiddenScreensParam = 0;
    int32_t hiddenSlicesParam = 0;
    bool hiddenSlicesOn = false;
    bool hiddenScreensOn = false;
    bool mergeShapesOn = true;
    /** 0 = every screen, k = only the k-th screen of the reader (from 1). */
    int32_t screenSelection = 0;
    /** The distance image; null before the first rebuild and while the viewport size is unusable. */
    std::unique_ptr<juce::Image> outlineImage;
    std::unique_ptr<OutputSetupReader> outputSetupReader;
    /** The distance texture's GL name; 0 until the first upload and after DeInitGL. */
    GLuint outlineTexture = 0;
    /** The texture's storage size: the image size rounded up to multiples of 16. */
    int32_t textureWidth = 0;
    int32_t textureHeight = 0;
    /** Whether the host's context has fixed-function texturing to switch off after a frame;
        decided once by InitGL. */
    bool contextHasTexture2DCapability = false;

private:
    void UploadOutline() noexcept;

    /** Called inside a catch block of a host-facing operation: reports the exception being
        handled on the build's developer channel, the first time only. */
    void ReportSwallowedException(const char* operation) noexcept;

    bool exceptionReported = false;

    JUCE_DECLARE_NON_COPYABLE(Zephyrmantle)
};

/** The factory of the registration record: makes a Zephyrmantle and stores its
    address through the argument; 0, or -1 (nothing stored) when it cannot. */
int32_t CreatePluginInstance(PluginHostObject** object);

} // namespace ZM_BUILD_NAMESPACE
