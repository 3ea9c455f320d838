#include "Zephyrmantle.h"

#include "DistanceImage.h"
#include "OutlinePolygons.h"
#include "ScopedPixelUnpackState.h"
#include "ScopedTextureBinding.h"
#include "ShaderText.h"

#include <atomic>
#include <exception>
#include <limits>
#include <new>
#include <string>

inline namespace ZM_BUILD_NAMESPACE
{

namespace
{
std::atomic<int> liveObjects { 0 };

juce::String FromBytes(const std::string& text)
{
    return juce::String::fromUTF8(text.data(), static_cast<int>(text.size()));
}

// A uniform location by value slot; -1 (ignored by GL) past the end.
GLint LocationAt(const juce::Array<int32_t>& locations, int index)
{
    return juce::isPositiveAndBelow(index, locations.size()) ? locations.getUnchecked(index) : -1;
}
} // namespace

Zephyrmantle::Zephyrmantle() : Plugin(FF_SOURCE)
{
    outputSetupReader = std::make_unique<OutputSetupReader>(PluginBuild::useArena6Folder);

    hiddenScreensParam = AddParam("Hidden Screens", {}, FF_TYPE_BOOLEAN, 0.0f);
    hiddenSlicesParam = AddParam("Hidden Slices", {}, FF_TYPE_BOOLEAN, 0.0f);
    mergeShapesParam = AddParam("Merge shapes", {}, FF_TYPE_BOOLEAN, 1.0f);

    if (PluginBuild::hasScreenChoice)
    {
        // The screen choice: "All", then every screen the host had when this object was made.
        // The list is never rebuilt; a later layout only changes what the numbers select.
        screensParam = paramValues.size();
        PluginBuild::AddScreenChoice(*this, screensParam, "Screens", outputSetupReader->screens);
        AddValueSlot();
    }

    AddParam("Inside", "inside", FF_TYPE_STANDARD, 0.1f);
    AddParam("Outside", "outline", FF_TYPE_STANDARD, 0.0f);
    AddParam("Softness", "blur", FF_TYPE_STANDARD, 0.0f);
    AddHueColorParam("Color", "cR", "cG", "cB", 0.3f);

    SetShaderSources(FromBytes(GetVertexShaderText()), FromBytes(GetFragmentShaderText()));

    // Counted only once nothing can throw any more, so that the destructor always pairs with it.
    ++liveObjects;
}

Zephyrmantle::~Zephyrmantle()
{
    outputSetupReader.reset();
    outlineImage.reset();

    // JUCE keeps caches (fonts, image types) as process-wide singletons; when the
    // last of our objects goes, nothing of ours needs them any more.
    if (--liveObjects == 0)
        juce::DeletedAtShutdown::deleteAll();
}

int Zephyrmantle::GetLiveObjectCount() noexcept
{
    return liveObjects.load();
}

int32_t Zephyrmantle::TruncateToInt32(float value) noexcept
{
    // The negated test also catches NaN.
    if (!(value >= -2147483648.0f && value < 2147483648.0f))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t Zephyrmantle::HueDegrees(float value) noexcept
{
    return TruncateToInt32(value * 360.0f);
}

int32_t Zephyrmantle::InitGL(const FFGLViewport* newViewport)
{
    try
    {
        Plugin::InitGL(newViewport);
        contextHasTexture2DCapability = PluginBuild::ContextHasTexture2DCapability();
    }
    catch (...)
    {
        ReportSwallowedException("InitGL");
    }
    RebuildOutline();
    return FF_SUCCESS;
}

int32_t Zephyrmantle::DeInitGL()
{
    if (outlineTexture != 0)
    {
        zmgl::glDeleteTextures(1, &outlineTexture);
        outlineTexture = 0;
    }

    try
    {
        return Plugin::DeInitGL();
    }
    catch (...)
    {
        ReportSwallowedException("DeInitGL");
        return FF_SUCCESS;
    }
}

int32_t Zephyrmantle::Resize(const FFGLViewport* newViewport)
{
    try
    {
        Plugin::Resize(newViewport);
    }
    catch (...)
    {
        ReportSwallowedException("Resize");
    }
    RebuildOutline();
    return FF_SUCCESS;
}

int32_t Zephyrmantle::ProcessOpenGL(ProcessOpenGLStruct*)
{
    try
    {
        bool changed = false;

        // A switch is on for any value but 0 (NaN included).
        const auto followSwitch = [this, &changed](int32_t index, bool& cached)
        {
            const bool on = GetFloatParameter(static_cast<uint32_t>(index)) != 0.0f;
            if (on != cached)
            {
                cached = on;
                changed = true;
            }
        };
        followSwitch(mergeShapesParam, mergeShapesOn);
        followSwitch(hiddenScreensParam, hiddenScreensOn);
        followSwitch(hiddenSlicesParam, hiddenSlicesOn);

        if (PluginBuild::hasScreenChoice)
        {
            const int32_t selection = TruncateToInt32(GetFloatParameter(static_cast<uint32_t>(screensParam)));
            if (selection != screenSelection)
            {
                screenSelection = selection;
                changed = true;
            }
        }

        // Polled every frame, whatever the switches did, so that its stored times stay current.
        const bool reloaded = outputSetupReader != nullptr && outputSetupReader->Poll();
        if (reloaded || changed)
            RebuildOutline();

        // A quad drawn without our program would be filled by whatever the context does
        // without one (opaque white over the host's whole output in a compatibility
        // context): unless both stages compiled and linked, nothing is drawn or bound.
        if (!mainShader.IsValid())
            return FF_SUCCESS;

        zmgl::glUseProgram(GetMainProgram());

        for (int j = 0; j < uniformLocations.size();)
        {
            if (colorGroups.contains(j))
            {
                const int32_t hue = HueDegrees(GetFloatParameter(static_cast<uint32_t>(j)));
                const double saturation = GetFloatParameter(static_cast<uint32_t>(j + 1));
                const double brightness = GetFloatParameter(static_cast<uint32_t>(j + 2));
                const auto rgb = HsbToRgb(hue, saturation, brightness);
                for (int c = 0; c < 3; ++c)
                    zmgl::glUniform1f(LocationAt(uniformLocations, j + c), rgb[static_cast<size_t>(c)]);
                j += 3;
            }
            else
            {
                zmgl::glUniform1f(LocationAt(uniformLocations, j), GetFloatParameter(static_cast<uint32_t>(j)));
                ++j;
            }
        }

        // Without an image (the viewport size could not be painted) there is nothing to draw.
        if (outlineImage != nullptr && textureWidth > 0 && textureHeight > 0)
        {
            const float maxS = static_cast<float>(viewportWidth) / static_cast<float>(textureWidth);
            const float maxT = static_cast<float>(viewportHeight) / static_cast<float>(textureHeight);
            zmgl::glUniform2f(maxstLocation, maxS, maxT);

            zmgl::glActiveTexture(GL_TEXTURE0);
            zmgl::glBindTexture(GL_TEXTURE_2D, outlineTexture);
            PluginBuild::DrawQuad(quad, maxS, maxT, hasInputs);
        }

        if (contextHasTexture2DCapability)
            zmgl::glDisable(GL_TEXTURE_2D);
        zmgl::glBindTexture(GL_TEXTURE_2D, 0);
        zmgl::glUseProgram(0);
    }
    catch (...)
    {
        ReportSwallowedException("frame");
    }
    return FF_SUCCESS;
}

void Zephyrmantle::ReportSwallowedException(const char* operation) noexcept
{
    // The host sees success either way; the first failure is enough to
    // diagnose the instance, and a failing frame would repeat it every frame.
    if (exceptionReported)
        return;
    exceptionReported = true;
    try
    {
        try
        {
            throw;
        }
        catch (const std::exception& e)
        {
            PluginBuild::Report("Zephyrmantle error: ", (std::string(operation) + ": " + e.what()).c_str());
        }
        catch (...)
        {
            PluginBuild::Report("Zephyrmantle error: ", (std::string(operation) + ": unknown exception").c_str());
        }
    }
    catch (...)
    {
        // Not even the report could be made (out of memory): nothing more to do.
    }
}

void Zephyrmantle::RebuildOutline() noexcept
{
    OutlinePolygons::Switches switches;
    switches.hiddenScreensOn = hiddenScreensOn;
    switches.hiddenSlicesOn = hiddenSlicesOn;
    switches.mergeShapesOn = mergeShapesOn;
    switches.screenSelection = screenSelection;

    static const std::vector<ScreenInfo> noScreens;
    const auto& screens = outputSetupReader != nullptr ? outputSetupReader->screens : noScreens;

    // Without a usable image there is none: frames then skip the texture and the quad.
    if (DistanceImage::Rebuild(outlineImage, screens, viewportWidth, viewportHeight, switches))
        UploadOutline();
}

void Zephyrmantle::UploadOutline() noexcept
{
    const int width = outlineImage->getWidth();
    const int height = outlineImage->getHeight();

    // The image's rows are contiguous and top row first, so image row 0 (the host's
    // y = 0) becomes texture row 0. Its bytes go up as they lie (BGRA read as RGBA):
    // every pixel is an opaque grey, so the swap does not matter.
    const juce::Image::BitmapData pixels(*outlineImage, juce::Image::BitmapData::readOnly);

    const bool newTexture = outlineTexture == 0;
    if (newTexture)
        zmgl::glGenTextures(1, &outlineTexture);

    // Uploads happen at instantiation, resize and inside a frame before our draw,
    // on whatever unit the host left active: its texture there is back when this scope ends.
    const ScopedTextureBinding binding(outlineTexture);

    if (newTexture)
    {
        zmgl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        zmgl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        zmgl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        zmgl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }

    // The host's unpack settings would reshape the upload; they are back when this scope ends.
    const ScopedPixelUnpackState unpack;

    textureWidth = DistanceImage::PaddedTextureSize(width);
    textureHeight = DistanceImage::PaddedTextureSize(height);

    if (textureWidth == width && textureHeight == height)
    {
        zmgl::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data);
    }
    else
    {
        // Storage at the padded size first, then the image into its corner.
        zmgl::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                           nullptr);
        zmgl::glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data);
    }
}

int32_t CreatePluginInstance(PluginHostObject** object)
{
    if (object == nullptr)
        return FF_FAIL;

    try
    {
        auto* created = new Zephyrmantle();
        *object = created;
        return FF_SUCCESS;
    }
    catch (...)
    {
        // Out of memory, or a part of the object could not be built: nothing is stored.
        return FF_FAIL;
    }
}

} // namespace ZM_BUILD_NAMESPACE
