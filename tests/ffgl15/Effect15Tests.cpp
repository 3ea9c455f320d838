#include "CompatGLTest.h"

#include "EffectTestHome.h"
#include "GLCallRecorder.h"
#include "HostUploadState.h"
#include "PlugMainResults.h"
#include "ThrowingParameterReads.h"
#include "Zephyrmantle.h"

#include <gtest/gtest.h>

#include <memory>

// The effect as the FFGL 1.5 library builds it, driven directly on a
// compatibility context: each check is a place where it differs from the FFGL
// 2.1 build of the same source.

namespace
{
/** Opens up the effect's state for the checks. */
class Zephyrmantle15Probe : public ThrowingParameterReads<Zephyrmantle>
{
public:
    using Zephyrmantle::colorGroups;
    using Zephyrmantle::hiddenScreensOn;
    using Zephyrmantle::outlineImage;
    using Zephyrmantle::outlineTexture;
    using Zephyrmantle::outputSetupReader;
    using Zephyrmantle::paramValues;
    using Zephyrmantle::screenSelection;
    using Zephyrmantle::screensParam;
    using Zephyrmantle::textureHeight;
    using Zephyrmantle::textureWidth;
    using Zephyrmantle::uniformNames;

    GLuint Program() const { return mainShader.GetProgram(); }
    bool ProgramIsValid() const { return mainShader.IsValid(); }
    /** Makes the driver reject the chosen stages. */
    void BreakShaders(bool vertex, bool fragment)
    {
        SetShaderSources(vertex ? "not glsl" : vertexSource, fragment ? "not glsl either" : fragmentSource);
    }
};

/** Moves the settings file the home wrote into the folder of FFGL 1.5 hosts. */
void MoveLayoutToArena6(const EffectTestHome& home)
{
    const juce::File written = home.SettingsFile();
    const juce::File documents = written.getParentDirectory().getParentDirectory().getParentDirectory();
    const juce::File target = documents.getChildFile("Resolume Arena 6/Preferences/AdvancedOutput.xml");
    ASSERT_TRUE(target.getParentDirectory().createDirectory());
    ASSERT_TRUE(written.moveFileTo(target));
}

float ListedDefault(const CFFGLPluginManager& list, uint32_t index)
{
    return results::AsFloat(list.FindParamDefault(index));
}

TEST(Effect15, NineParametersWithoutScreensOrAlpha)
{
    EffectTestHome home;
    Zephyrmantle15Probe effect;

    struct Expected
    {
        const char* name;
        int32_t type;
        float listedDefault;
        float keptValue;
        const char* uniform;
    };
    const Expected expected[] = {
        { "Hidden Screens", FF_TYPE_BOOLEAN, 0.0f, 0.0f, "" },
        { "Hidden Slices", FF_TYPE_BOOLEAN, 0.0f, 0.0f, "" },
        { "Merge shapes", FF_TYPE_BOOLEAN, 1.0f, 1.0f, "" },
        { "Inside", FF_TYPE_STANDARD, 0.1f, 0.1f, "inside" },
        { "Outside", FF_TYPE_STANDARD, 0.0f, 0.0f, "outline" },
        { "Softness", FF_TYPE_STANDARD, 0.0f, 0.0f, "blur" },
        { "Color", FF_TYPE_HUE, 0.3f, 0.3f, "cR" },
        { "Color_saturation", FF_TYPE_SATURATION, 1.0f, 2.0f, "cG" },
        { "Color_brighthnes", FF_TYPE_BRIGHTNESS, 1.0f, 2.0f, "cB" },
    };

    ASSERT_EQ(effect.GetNumParams(), 9);
    ASSERT_EQ(effect.paramValues.size(), 9);
    for (uint32_t i = 0; i < 9; ++i)
    {
        const auto& e = expected[i];
        EXPECT_EQ(std::string(effect.FindParamName(i), strnlen(effect.FindParamName(i), 16)), e.name) << i;
        EXPECT_EQ(effect.FindParamType(i), e.type) << i;
        EXPECT_FLOAT_EQ(ListedDefault(effect, i), e.listedDefault) << i;
        EXPECT_FLOAT_EQ(effect.paramValues[static_cast<int>(i)], e.keptValue) << i;
        EXPECT_EQ(effect.uniformNames[static_cast<int>(i)], e.uniform) << i;
    }
    EXPECT_EQ(effect.FindParamType(9), -1);
    ASSERT_EQ(effect.colorGroups.size(), 1);
    EXPECT_EQ(effect.colorGroups[0], 6);
    EXPECT_EQ(effect.screensParam, 0) << "names no parameter in this build";
    EXPECT_EQ(effect.GetMaxInputFrames(), 0);
}

TEST(Effect15, ReadsTheLayoutOfResolumeArena6)
{
    EffectTestHome home;
    home.WriteLayout(EffectTestHome::NamedScreens({ "Six A", "Six B" }));
    MoveLayoutToArena6(home);
    // The FFGL 2.1 host's folder holds another layout, which this build must not read.
    home.WriteLayout(EffectTestHome::NamedScreens({ "Arena only" }));

    Zephyrmantle15Probe effect;
    ASSERT_NE(effect.outputSetupReader, nullptr);
    const auto& screens = effect.outputSetupReader->screens;
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].name, "Six A");
    EXPECT_EQ(screens[1].name, "Six B");
}

class Effect15GL : public CompatGLTest
{
protected:
    void TearDown() override
    {
        if (effect != nullptr)
        {
            effect->DeInitGL();
            effect.reset();
        }
        CompatGLTest::TearDown();
    }

    void Start(uint32_t width, uint32_t height)
    {
        // The host's target: a surfaceless context has no default framebuffer to draw into.
        BindFramebuffer(static_cast<int>(width), static_cast<int>(height));
        target.BindAndClear();
        effect = std::make_unique<Zephyrmantle15Probe>();
        const FFGLViewport viewport { 0, 0, width, height };
        ASSERT_EQ(effect->InitGL(&viewport), FF_SUCCESS);
        ASSERT_NE(effect->Program(), 0u);
    }

    /** The grey level of the distance image at an output pixel (row 0 at the top). */
    int GreyAt(int x, int y) const { return effect->outlineImage->getPixelAt(x, y).getRed(); }

    EffectTestHome home;
    std::unique_ptr<Zephyrmantle15Probe> effect;
};

TEST_F(Effect15GL, EachFrameDrawsOneImmediateQuadWithoutTextureCoordinates)
{
    Start(1920, 1080);

    for (int frame = 0; frame < 2; ++frame)
    {
        GLCallRecorder log;
        ASSERT_EQ(effect->ProcessOpenGL(nullptr), FF_SUCCESS);

        EXPECT_EQ(log.Count("glMultiTexCoord2f"), 0) << "a source takes no input frames";
        ASSERT_EQ(log.Count("glBegin"), 1);
        ASSERT_EQ(log.Count("glEnd"), 1);
        EXPECT_EQ(log.ArgumentsOf("glBegin")[0][0], double(GL_QUADS));

        // The four vertices, in order, all between the one glBegin and the one glEnd.
        const auto names = log.calls;
        const auto begin = std::find(names.begin(), names.end(), "glBegin");
        const auto end = std::find(names.begin(), names.end(), "glEnd");
        EXPECT_EQ(std::count(begin, end, "glVertex2f"), 4);
        EXPECT_EQ(std::count(names.begin(), names.end(), "glVertex2f"), 4);
        const auto vertices = log.ArgumentsOf("glVertex2f");
        const double corners[4][2] = { { -1, -1 }, { -1, 1 }, { 1, 1 }, { 1, -1 } };
        for (size_t i = 0; i < vertices.size() && i < 4; ++i)
            EXPECT_EQ(vertices[i], (std::vector<double> { corners[i][0], corners[i][1] })) << i;

        // The program is put in use first and taken out of use last.
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(log.calls.front(), "glUseProgram");
        EXPECT_EQ(log.arguments.front()[0], double(effect->Program()));
        EXPECT_EQ(log.calls.back(), "glUseProgram");
        EXPECT_EQ(log.arguments.back()[0], 0.0);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Effect15GL, WithoutAValidProgramAFrameDrawsAndBindsNothing)
{
    struct Broken
    {
        bool vertex, fragment;
    };
    // One failed stage leaves a program of the other, which links.
    for (const Broken broken : { Broken { true, false }, Broken { false, true }, Broken { true, true } })
    {
        SCOPED_TRACE(testing::Message() << "vertex " << broken.vertex << ", fragment " << broken.fragment);
        // The host's picture: opaque blue, which a quad drawn without a program would paint white.
        BindFramebuffer(64, 48);
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        effect = std::make_unique<Zephyrmantle15Probe>();
        effect->BreakShaders(broken.vertex, broken.fragment);
        const FFGLViewport viewport { 0, 0, 64, 48 };
        testing::internal::CaptureStdout();
        ASSERT_EQ(effect->InitGL(&viewport), FF_SUCCESS);
        testing::internal::GetCapturedStdout();
        EXPECT_FALSE(effect->ProgramIsValid());

        GLCallRecorder recorder;
        EXPECT_EQ(effect->ProcessOpenGL(nullptr), FF_SUCCESS);
        EXPECT_EQ(recorder.calls, std::vector<std::string> {});
        EXPECT_EQ(CountPixelsOtherThan(64, 48, { 0, 0, 255, 255 }), 0) << "the host's picture is untouched";
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

        effect->DeInitGL();
        effect.reset();
        target.Destroy();
    }
}

TEST_F(Effect15GL, FirstSwallowedExceptionIsReportedOnceOnStandardOutput)
{
    Start(32, 32);
    effect->readsThrow = true;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(effect->ProcessOpenGL(nullptr), FF_SUCCESS);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no debugger channel in this build";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Zephyrmantle error: frame: parameter read failed \n");
}

TEST_F(Effect15GL, MaxstIsTheUsedFractionOfThePaddedTexture)
{
    Start(1920, 1080);
    ASSERT_EQ(effect->ProcessOpenGL(nullptr), FF_SUCCESS);

    float maxst[2] = {};
    glGetUniformfv(effect->Program(), glGetUniformLocation(effect->Program(), "maxst"), maxst);
    EXPECT_FLOAT_EQ(maxst[0], 1.0f);
    EXPECT_FLOAT_EQ(maxst[1], 1080.0f / 1088.0f);
}

TEST_F(Effect15GL, UploadsWhateverStateTheHostLeftAndGivesItBack)
{
    const FFGLViewport exactSize { 0, 0, 64, 48 }; // one glTexImage2D, no padding
    // At instantiation, at a resize and in a frame after the layout changed. First
    // without an unpack buffer: a row length of 4000 would read far past the image.
    for (const int upload : { 0, 1, 2 })
    {
        HostUploadState host(upload > 0);
        if (upload == 0)
            Start(100, 100);
        else if (upload == 1)
            effect->Resize(&exactSize);
        else
        {
            home.WriteLayout(EffectTestHome::NamedScreens({ "A" }));
            MoveLayoutToArena6(home);
            GLCallRecorder log;
            ASSERT_EQ(effect->ProcessOpenGL(nullptr), FF_SUCCESS);
            EXPECT_EQ(log.Count("glTexImage2D"), 1) << "the new layout is uploaded inside the frame";
        }
        host.ExpectUnchanged(upload == 2);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

        glBindTexture(GL_TEXTURE_2D, effect->outlineTexture);
        const juce::Image::BitmapData image(*effect->outlineImage, juce::Image::BitmapData::readOnly);
        EXPECT_TRUE(TextureHoldsRows(effect->textureWidth, effect->textureHeight, image.data, image.width, image.height,
                                     image.lineStride));
    }
}

TEST_F(Effect15GL, HiddenScreensSwitchesBetweenEnabledAndEveryScreen)
{
    // Three screens with one 100 x 100 slice each, far apart; the second screen is disabled.
    std::vector<EffectTestHome::Screen> screens;
    for (int i = 0; i < 3; ++i)
        screens.push_back(
            { "S" + std::to_string(i), i != 1, { { 100.0f + 300.0f * float(i), 100.0f, 100.0f, 100.0f } } });
    home.WriteLayout(screens);
    MoveLayoutToArena6(home);

    Start(1024, 400);
    const int centres[3] = { 150, 450, 750 };

    // Off: the first and third screens only. A slice's centre lies 50 pixels inside its border.
    ASSERT_NE(effect->outlineImage, nullptr);
    EXPECT_LT(GreyAt(centres[0], 150), 204);
    EXPECT_EQ(GreyAt(centres[1], 150), 255);
    EXPECT_LT(GreyAt(centres[2], 150), 204);
    EXPECT_EQ(effect->ProcessOpenGL(nullptr), FF_SUCCESS);
    EXPECT_EQ(GreyAt(centres[1], 150), 255);

    // On: the next frame rebuilds, taking every screen. (How often the shared
    // frame code rebuilds is covered by the FFGL 2.1 effect's tests.)
    effect->SetFloatParameter(0, 1.0f);
    EXPECT_EQ(effect->ProcessOpenGL(nullptr), FF_SUCCESS);
    EXPECT_TRUE(effect->hiddenScreensOn);
    EXPECT_EQ(effect->screenSelection, 0);
    for (const int x : centres)
        EXPECT_LT(GreyAt(x, 150), 204) << x;
    EXPECT_EQ(GreyAt(centres[0], 150), GreyAt(centres[1], 150));

    effect->SetFloatParameter(0, 0.0f);
    EXPECT_EQ(effect->ProcessOpenGL(nullptr), FF_SUCCESS);
    EXPECT_EQ(GreyAt(centres[1], 150), 255);
}
} // namespace
