#include "Zephyrmantle.h"

#include "DistanceImage.h"
#include "OutlinePolygons.h"
#include "ShaderText.h"
#include "WorkerPool.h"

#include <atomic>
#include <limits>
#include <new>

namespace
{
std::atomic<int> liveObjects { 0 };

// ---- What differs between the two plug-in builds -------------------------------------
#ifdef ZEPHYRMANTLE_FFGL15
// FFGL 1.5 hosts keep their files below "Resolume Arena 6/".
constexpr bool useArena6Folder = true;
#else
// FFGL 2.1 hosts keep their files below "Resolume Arena/".
constexpr bool useArena6Folder = false;
#endif

// GL_TEXTURE_2D is a capability only where fixed-function texturing exists: every
// context of an FFGL 1.5 host, but not a core-profile context of an FFGL 2.1 host,
// where disabling it would leave GL_INVALID_ENUM behind in the host's context.
bool HasTexture2DCapability()
{
#ifdef ZEPHYRMANTLE_FFGL15
    return true;
#else
    GLint major = 0, minor = 0;
    zmgl::glGetIntegerv(GL_MAJOR_VERSION, &major);
    zmgl::glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (major < 3 || (major == 3 && minor < 2))
        return true; // no profiles before 3.2
    GLint profile = 0;
    zmgl::glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    return (profile & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT) != 0;
#endif
}
// ---------------------------------------------------------------------------------------

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

Zephyrmantle::Zephyrmantle()
    : Plugin(FF_SOURCE)
{
    outputSetupReader = std::make_unique<OutputSetupReader>(useArena6Folder);

    hiddenScreensParam = AddParam("Hidden Screens", {}, FF_TYPE_BOOLEAN, 0.0f);
    hiddenSlicesParam = AddParam("Hidden Slices", {}, FF_TYPE_BOOLEAN, 0.0f);
    mergeShapesParam = AddParam("Merge shapes", {}, FF_TYPE_BOOLEAN, 1.0f);

#ifndef ZEPHYRMANTLE_FFGL15
    // The screen choice: "All", then every screen the host had when this object was made.
    // The list is never rebuilt; a later layout only changes what the numbers select.
    screensParam = paramValues.size();
    const auto& screens = outputSetupReader->screens;
    SetOptionParamInfo(screensParam, "Screens", static_cast<uint32_t>(screens.size() + 1), 0.0f);
    SetParamElementInfo(screensParam, 0, "All", 0.0f);
    for (size_t i = 0; i < screens.size(); ++i)
        SetParamElementInfo(screensParam, static_cast<uint32_t>(i + 1), screens[i].name.toRawUTF8(),
                            static_cast<float>(i + 1));
    AddValueSlot();
#endif

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

    // JUCE keeps caches (fonts, image types) as process-wide singletons, and the
    // distance image its worker threads; when the last of our objects goes, nothing
    // of ours needs them any more, and no thread may be left running our code once
    // the host unloads the library.
    if (--liveObjects == 0)
    {
        WorkerPool::Shutdown();
        juce::DeletedAtShutdown::deleteAll();
    }
}

int Zephyrmantle::GetLiveObjectCount() noexcept
{
    return liveObjects.load();
}

int32_t Zephyrmantle::TruncateToInt32(float value) noexcept
{
    // The negated test also catches NaN.
    if (! (value >= -2147483648.0f && value < 2147483648.0f))
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
        contextHasTexture2DCapability = HasTexture2DCapability();
    }
    catch (...)
    {
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

#ifndef ZEPHYRMANTLE_FFGL15
        const int32_t selection = TruncateToInt32(GetFloatParameter(static_cast<uint32_t>(screensParam)));
        if (selection != screenSelection)
        {
            screenSelection = selection;
            changed = true;
        }
#endif

        // Polled every frame, whatever the switches did, so that its stored times stay current.
        const bool reloaded = outputSetupReader != nullptr && outputSetupReader->Poll();
        if (reloaded || changed)
            RebuildOutline();

        if (mainShader.IsValid())
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
            // A uniform call with no program in use would leave GL_INVALID_OPERATION
            // in the host's context; without a program there is no uniform to set.
            if (mainShader.IsValid())
                zmgl::glUniform2f(maxstLocation, maxS, maxT);

            zmgl::glActiveTexture(GL_TEXTURE0);
            zmgl::glBindTexture(GL_TEXTURE_2D, outlineTexture);
            DrawQuad(maxS, maxT);
        }

        if (contextHasTexture2DCapability)
            zmgl::glDisable(GL_TEXTURE_2D);
        zmgl::glBindTexture(GL_TEXTURE_2D, 0);
        zmgl::glUseProgram(0);
    }
    catch (...)
    {
    }
    return FF_SUCCESS;
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

    if (outlineTexture == 0)
    {
        zmgl::glGenTextures(1, &outlineTexture);
        zmgl::glBindTexture(GL_TEXTURE_2D, outlineTexture);
        zmgl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        zmgl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        zmgl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        zmgl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    else
    {
        zmgl::glBindTexture(GL_TEXTURE_2D, outlineTexture);
    }

    zmgl::glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

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

// ---- The quad: a vertex array in the FFGL 2.1 build, immediate mode in the FFGL 1.5 build ----
#ifdef ZEPHYRMANTLE_FFGL15
void Zephyrmantle::DrawQuad(float maxS, float maxT)
{
    struct Corner
    {
        float x, y, s, t;
    };
    const Corner corners[] = { { -1.0f, -1.0f, 0.0f, 0.0f },
                               { -1.0f, 1.0f, 0.0f, maxT },
                               { 1.0f, 1.0f, maxS, maxT },
                               { 1.0f, -1.0f, maxS, 0.0f } };

    zmgl::glBegin(GL_QUADS);
    for (const auto& corner : corners)
    {
        // A source takes no input frames, so its vertex shader derives the coordinates itself.
        if (hasInputs)
            zmgl::glMultiTexCoord2f(GL_TEXTURE0, corner.s, corner.t);
        zmgl::glVertex2f(corner.x, corner.y);
    }
    zmgl::glEnd();
}
#else
void Zephyrmantle::DrawQuad([[maybe_unused]] float maxS, [[maybe_unused]] float maxT)
{
    quad.Draw();
}
#endif

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
