#include "GLTestEnvironment.h"

#include "EffectTestHome.h"
#include "GLCallRecorder.h"
#include "GLEntryPoints.h"
#include "HostUploadState.h"
#include "ThrowingParameterReads.h"
#include "Zephyrmantle.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

// The effect object driven directly, the way the host interface drives it, on a
// real (software) GL context.

namespace
{
/** Opens up the effect's state for the checks. */
class ZephyrmantleProbe : public ThrowingParameterReads<Zephyrmantle>
{
public:
    using Zephyrmantle::hiddenScreensOn;
    using Zephyrmantle::mergeShapesOn;
    using Zephyrmantle::outlineImage;
    using Zephyrmantle::outlineTexture;
    using Zephyrmantle::screenSelection;
    using Zephyrmantle::textureHeight;
    using Zephyrmantle::textureWidth;

    GLuint Program() const { return mainShader.GetProgramId(); }
    /** Makes the driver reject the chosen stages. */
    void BreakShaders(bool vertex, bool fragment)
    {
        SetShaderSources(vertex ? "not glsl" : vertexSource, fragment ? "not glsl either" : fragmentSource);
    }
};

FFGLViewport Viewport(uint32_t width, uint32_t height)
{
    return { 0, 0, width, height };
}

class ZephyrmantleFrame : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ASSERT_NE(LoadGLEntryPoints(), 0);
    }

    void TearDown() override
    {
        if (effect != nullptr)
        {
            effect->DeInitGL();
            effect.reset();
        }
        GLTest::TearDown();
    }

    void Start(uint32_t width, uint32_t height)
    {
        effect = std::make_unique<ZephyrmantleProbe>();
        const FFGLViewport viewport = Viewport(width, height);
        ASSERT_EQ(effect->InitGL(&viewport), 0);
    }

    /** Runs one frame and returns the number of rebuilds it made (one upload each). */
    long FrameRebuilds()
    {
        GLCallRecorder recorder(true);
        EXPECT_EQ(effect->ProcessOpenGL(nullptr), 0);
        return recorder.Count("glTexImage2D");
    }

    float Uniform(const char* name)
    {
        float values[2] = {};
        glGetUniformfv(effect->Program(), glGetUniformLocation(effect->Program(), name), values);
        return values[0];
    }

    std::array<float, 2> Uniform2(const char* name)
    {
        float values[2] = {};
        glGetUniformfv(effect->Program(), glGetUniformLocation(effect->Program(), name), values);
        return { values[0], values[1] };
    }

    /** Whether the distance texture holds the image's bytes as they lie in memory. */
    bool TextureHoldsImage()
    {
        glBindTexture(GL_TEXTURE_2D, effect->outlineTexture);
        const juce::Image::BitmapData image(*effect->outlineImage, juce::Image::BitmapData::readOnly);
        return TextureHoldsRows(effect->textureWidth, effect->textureHeight, image.data, image.width, image.height,
                                image.lineStride);
    }

    std::array<GLint, 2> TextureSize()
    {
        GLint width = 0, height = 0;
        glBindTexture(GL_TEXTURE_2D, effect->outlineTexture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        return { width, height };
    }

    EffectTestHome home;
    std::unique_ptr<ZephyrmantleProbe> effect;
};
} // namespace

TEST_F(ZephyrmantleFrame, RebuildsExactlyWhenASwitchTheScreenChoiceOrAFileChanges)
{
    home.WriteLayout(EffectTestHome::NamedScreens({ "A", "B", "C" }));
    Start(64, 48);

    EXPECT_EQ(FrameRebuilds(), 0) << "defaults equal the cached states";
    EXPECT_EQ(FrameRebuilds(), 0);

    effect->SetFloatParameter(0, 1.0f); // Hidden Screens on
    EXPECT_EQ(FrameRebuilds(), 1);
    EXPECT_TRUE(effect->hiddenScreensOn);
    EXPECT_EQ(FrameRebuilds(), 0);

    effect->SetFloatParameter(2, 0.5f); // still on
    EXPECT_EQ(FrameRebuilds(), 0);
    effect->SetFloatParameter(2, 0.0f);
    EXPECT_EQ(FrameRebuilds(), 1);
    EXPECT_FALSE(effect->mergeShapesOn);
    effect->SetFloatParameter(2, std::numeric_limits<float>::quiet_NaN()); // NaN counts as on
    EXPECT_EQ(FrameRebuilds(), 1);
    EXPECT_TRUE(effect->mergeShapesOn);

    effect->SetFloatParameter(1, 1.0f); // Hidden Slices
    EXPECT_EQ(FrameRebuilds(), 1);

    effect->SetFloatParameter(3, 2.0f);
    EXPECT_EQ(FrameRebuilds(), 1);
    EXPECT_EQ(effect->screenSelection, 2);
    effect->SetFloatParameter(3, 2.9f); // truncates to the same screen
    EXPECT_EQ(FrameRebuilds(), 0);
    effect->SetFloatParameter(3, 0.99f);
    EXPECT_EQ(FrameRebuilds(), 1);
    EXPECT_EQ(effect->screenSelection, 0);

    home.Touch();
    EXPECT_EQ(FrameRebuilds(), 1) << "a rewritten settings file is picked up in the same frame";
    EXPECT_EQ(FrameRebuilds(), 0);

    const FFGLViewport same = Viewport(64, 48);
    GLCallRecorder recorder(true);
    EXPECT_EQ(effect->Resize(&same), 0);
    EXPECT_EQ(recorder.Count("glTexImage2D"), 1) << "a resize to the same size still rebuilds";
}

TEST_F(ZephyrmantleFrame, ScreenChoiceOutsideTheIntRangeOrNaNSelectsNoScreen)
{
    EXPECT_EQ(Zephyrmantle::TruncateToInt32(2.9f), 2);
    EXPECT_EQ(Zephyrmantle::TruncateToInt32(-2.9f), -2);
    EXPECT_EQ(Zephyrmantle::TruncateToInt32(2147483520.0f), 2147483520);
    EXPECT_EQ(Zephyrmantle::TruncateToInt32(-2147483648.0f), std::numeric_limits<int32_t>::min());
    for (float bad : { 2147483648.0f, -2147483904.0f, 1.0e30f, -1.0e30f, std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN() })
        EXPECT_EQ(Zephyrmantle::TruncateToInt32(bad), std::numeric_limits<int32_t>::min()) << bad;

    EXPECT_EQ(Zephyrmantle::HueDegrees(0.3f), 108);
    EXPECT_EQ(Zephyrmantle::HueDegrees(0.9999f), 359);
    EXPECT_EQ(Zephyrmantle::HueDegrees(1.0f), 360);
    EXPECT_EQ(Zephyrmantle::HueDegrees(1.0e10f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Zephyrmantle::HueDegrees(std::numeric_limits<float>::quiet_NaN()), std::numeric_limits<int32_t>::min());

    // Through a frame: the selection becomes the lowest int, which takes no screen.
    home.WriteLayout(EffectTestHome::NamedScreens({ "A" }));
    Start(32, 32);
    effect->SetFloatParameter(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(FrameRebuilds(), 1);
    EXPECT_EQ(effect->screenSelection, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(FrameRebuilds(), 0);
    effect->SetFloatParameter(3, 1.0e20f);
    EXPECT_EQ(FrameRebuilds(), 0) << "same selection as NaN";
}

TEST_F(ZephyrmantleFrame, SendsEveryUniformWithTheColourUnclamped)
{
    Start(1920, 1080);
    ASSERT_NE(effect->Program(), 0u);

    effect->SetFloatParameter(4, 0.25f);
    effect->SetFloatParameter(5, 0.5f);
    effect->SetFloatParameter(6, 0.75f);
    effect->ProcessOpenGL(nullptr);

    EXPECT_FLOAT_EQ(Uniform("inside"), 0.25f);
    EXPECT_FLOAT_EQ(Uniform("outline"), 0.5f);
    EXPECT_FLOAT_EQ(Uniform("blur"), 0.75f);
    EXPECT_NEAR(Uniform("cR"), -1.2f, 1e-5f);
    EXPECT_NEAR(Uniform("cG"), 2.0f, 1e-5f);
    EXPECT_NEAR(Uniform("cB"), -2.0f, 1e-5f);
    const auto maxst = Uniform2("maxst");
    EXPECT_FLOAT_EQ(maxst[0], 1.0f);
    EXPECT_FLOAT_EQ(maxst[1], 1080.0f / 1088.0f);

    // Hue 1.0 is 360 degrees, the same red as 0; saturation and brightness 1.
    effect->SetFloatParameter(7, 1.0f);
    effect->SetFloatParameter(8, 1.0f);
    effect->SetFloatParameter(9, 1.0f);
    effect->ProcessOpenGL(nullptr);
    EXPECT_FLOAT_EQ(Uniform("cR"), 1.0f);
    EXPECT_FLOAT_EQ(Uniform("cG"), 0.0f);
    EXPECT_FLOAT_EQ(Uniform("cB"), 0.0f);

    // A NaN hue reaches the conversion as the lowest int, without undefined behaviour.
    effect->SetFloatParameter(7, std::numeric_limits<float>::quiet_NaN());
    effect->ProcessOpenGL(nullptr);
    const auto expected = Plugin::HsbToRgb(std::numeric_limits<int32_t>::min(), 1.0, 1.0);
    EXPECT_FLOAT_EQ(Uniform("cR"), expected[0]);
    EXPECT_FLOAT_EQ(Uniform("cG"), expected[1]);
    EXPECT_FLOAT_EQ(Uniform("cB"), expected[2]);
}

TEST_F(ZephyrmantleFrame, FrameCallsFollowTheDrawingOrder)
{
    Start(64, 48);
    GLCallRecorder recorder(true);
    effect->ProcessOpenGL(nullptr);

    std::vector<std::string> calls;
    for (const auto& call : recorder.calls)
        if (call != "glUniform1f")
            calls.push_back(call);
    // A core-profile context has no GL_TEXTURE_2D capability, so nothing is disabled there.
    EXPECT_THAT(calls, testing::ElementsAre("glUseProgram", "glUniform2f", "glActiveTexture", "glBindTexture",
                                            "glBindVertexArray", "glDrawArrays", "glBindVertexArray", "glBindTexture",
                                            "glUseProgram"));
    EXPECT_EQ(recorder.Count("glUniform1f"), 11) << "one per value slot, the colour as three";
}

TEST_F(ZephyrmantleFrame, FramesLeaveNoErrorInTheHostsCoreContext)
{
    BindFramebuffer(64, 48);
    Start(64, 48);
    while (glGetError() != GL_NO_ERROR)
    {
    }
    effect->ProcessOpenGL(nullptr);
    effect->ProcessOpenGL(nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ZephyrmantleFrame, TextureIsPaddedToMultiplesOfSixteen)
{
    struct Case
    {
        uint32_t width, height;
        GLint textureWidth, textureHeight;
        long subUploads;
    };
    for (const Case& c :
         { Case { 1280, 720, 1280, 720, 0 }, Case { 1920, 1080, 1920, 1088, 1 }, Case { 100, 100, 112, 112, 1 } })
    {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        effect = std::make_unique<ZephyrmantleProbe>();
        const FFGLViewport viewport = Viewport(c.width, c.height);
        {
            GLCallRecorder recorder(true); // (recorders do not nest)
            ASSERT_EQ(effect->InitGL(&viewport), 0);
            EXPECT_EQ(recorder.Count("glTexImage2D"), 1);
            EXPECT_EQ(recorder.Count("glTexSubImage2D"), c.subUploads);
        }
        EXPECT_EQ(effect->textureWidth, c.textureWidth);
        EXPECT_EQ(effect->textureHeight, c.textureHeight);
        EXPECT_EQ(TextureSize(), (std::array<GLint, 2> { c.textureWidth, c.textureHeight }));

        // No screens: the whole viewport is the shape, so its edge is the border (204)
        // and the texture holds the image's grey with alpha 255 at the same place.
        std::vector<uint8_t> texels(static_cast<size_t>(c.textureWidth * c.textureHeight * 4));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        const juce::Image::BitmapData image(*effect->outlineImage, juce::Image::BitmapData::readOnly);
        for (int y : { 0, 1, static_cast<int>(c.height) / 2, static_cast<int>(c.height) - 1 })
            for (int x : { 0, 3, static_cast<int>(c.width) / 2, static_cast<int>(c.width) - 1 })
            {
                const uint8_t* texel = &texels[static_cast<size_t>((y * c.textureWidth + x) * 4)];
                const juce::Colour pixel = image.getPixelColour(x, y);
                EXPECT_EQ(texel[0], pixel.getRed()) << x << ", " << y;
                EXPECT_EQ(texel[3], 255) << x << ", " << y;
            }
        EXPECT_GE(texels[0], 200) << "the image's top-left pixel lies on the border";

        GLCallRecorder deinit(true);
        const GLuint name = effect->outlineTexture;
        effect->DeInitGL();
        EXPECT_EQ(deinit.Count("glDeleteTextures"), 1);
        EXPECT_EQ(effect->outlineTexture, 0u);
        EXPECT_EQ(glIsTexture(name), GL_FALSE);
        effect.reset();
    }
}

TEST_F(ZephyrmantleFrame, TextureNameAndParametersAreMadeOnceAndReused)
{
    GLCallRecorder recorder(true);
    Start(100, 100);
    EXPECT_EQ(recorder.Count("glGenTextures"), 1);
    EXPECT_EQ(recorder.Count("glTexParameteri"), 4);
    const GLuint name = effect->outlineTexture;
    GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0, alignment = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_NEAREST);
    EXPECT_EQ(wrapS, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(wrapT, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(alignment, 4) << "GL's default, as the host left it";

    recorder.Clear();
    const juce::Image* image = effect->outlineImage.get();
    const FFGLViewport same = Viewport(100, 100);
    effect->Resize(&same);
    EXPECT_EQ(effect->outlineImage.get(), image) << "same size keeps the image";
    EXPECT_THAT(recorder.calls,
                testing::IsSupersetOf({ "glBindTexture", "glPixelStorei", "glTexImage2D", "glTexSubImage2D" }));
    EXPECT_EQ(recorder.Count("glGenTextures"), 0);
    EXPECT_EQ(recorder.Count("glTexParameteri"), 0);

    const FFGLViewport larger = Viewport(160, 96);
    effect->Resize(&larger);
    EXPECT_EQ(effect->outlineTexture, name);
    EXPECT_EQ(TextureSize(), (std::array<GLint, 2> { 160, 96 }));
    EXPECT_EQ(effect->outlineImage->getWidth(), 160);
}

TEST_F(ZephyrmantleFrame, UploadsWhateverStateTheHostLeftAndGivesItBack)
{
    BindFramebuffer(64, 48); // for the frame at the end
    {
        HostUploadState host(false); // a row length of 4000 would read far past the image
        Start(100, 100);
        host.ExpectUnchanged();
    }
    EXPECT_TRUE(TextureHoldsImage());

    const FFGLViewport exact = Viewport(64, 48); // one glTexImage2D, no padding
    {
        HostUploadState host(true);
        effect->Resize(&exact);
        host.ExpectUnchanged();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    EXPECT_TRUE(TextureHoldsImage());

    home.WriteLayout(EffectTestHome::NamedScreens({ "A" }));
    {
        HostUploadState host(true);
        EXPECT_EQ(FrameRebuilds(), 1) << "the new layout is uploaded inside the frame";
        host.ExpectUnchanged(HostUploadState::afterFrame);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    EXPECT_TRUE(TextureHoldsImage());
}

TEST_F(ZephyrmantleFrame, UnusableViewportDrawsNothingUntilAUsableSizeArrives)
{
    for (const FFGLViewport bad : { Viewport(0, 0), Viewport(64, 0), Viewport(0, 48), Viewport(100000, 100000),
                                    Viewport(0xFFFFFFFFu, 0xFFFFFFFFu) })
    {
        SCOPED_TRACE(testing::Message() << bad.width << " x " << bad.height);
        effect = std::make_unique<ZephyrmantleProbe>();
        GLCallRecorder recorder(true);
        EXPECT_EQ(effect->InitGL(&bad), 0);
        EXPECT_EQ(effect->ProcessOpenGL(nullptr), 0);
        EXPECT_EQ(effect->outlineImage, nullptr);
        EXPECT_EQ(recorder.Count("glTexImage2D"), 0);
        EXPECT_EQ(recorder.Count("glDrawArrays"), 0);

        const FFGLViewport good = Viewport(64, 48);
        EXPECT_EQ(effect->Resize(&good), 0);
        recorder.Clear();
        EXPECT_EQ(effect->ProcessOpenGL(nullptr), 0);
        EXPECT_EQ(recorder.Count("glDrawArrays"), 1);

        // And back to an unusable size: the old texture is not drawn any more.
        EXPECT_EQ(effect->Resize(&bad), 0);
        recorder.Clear();
        EXPECT_EQ(effect->ProcessOpenGL(nullptr), 0);
        EXPECT_EQ(recorder.Count("glDrawArrays"), 0);
        effect->DeInitGL();
        effect.reset();
    }
}

TEST_F(ZephyrmantleFrame, WithoutABuiltProgramAFrameDrawsAndBindsNothing)
{
    struct Broken
    {
        bool vertex, fragment;
    };
    // A compatibility context would fill a quad drawn without a program opaque white.
    for (const auto profile : { EglContext::Profile::Core33, EglContext::Profile::Compatibility })
        for (const Broken broken : { Broken { true, false }, Broken { false, true }, Broken { true, true } })
        {
            SCOPED_TRACE(testing::Message() << (profile == EglContext::Profile::Core33 ? "core" : "compatibility")
                                            << ", vertex " << broken.vertex << ", fragment " << broken.fragment);
            target.Destroy();
            context.Destroy();
            ASSERT_TRUE(context.Create(profile)) << context.GetError();
            BindFramebuffer(64, 48);
            glClearColor(0.0f, 0.0f, 1.0f, 1.0f); // the host's picture
            glClear(GL_COLOR_BUFFER_BIT);

            effect = std::make_unique<ZephyrmantleProbe>();
            effect->BreakShaders(broken.vertex, broken.fragment);
            const FFGLViewport viewport = Viewport(64, 48);
            testing::internal::CaptureStdout();
            EXPECT_EQ(effect->InitGL(&viewport), 0);
            testing::internal::GetCapturedStdout();
            EXPECT_EQ(effect->Program(), 0u);
            while (glGetError() != GL_NO_ERROR)
            {
            }

            GLCallRecorder recorder(true);
            EXPECT_EQ(effect->ProcessOpenGL(nullptr), 0);
            EXPECT_EQ(recorder.calls, std::vector<std::string> {});
            EXPECT_EQ(CountPixelsOtherThan(64, 48, { 0, 0, 255, 255 }), 0) << "the host's picture is untouched";
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "nothing left behind in the host's context";

            effect->DeInitGL();
            effect.reset();
        }
}

TEST_F(ZephyrmantleFrame, FirstSwallowedExceptionIsReportedOnce)
{
    Start(32, 32);
    effect->readsThrow = true;
    testing::internal::CaptureStdout();
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(effect->ProcessOpenGL(nullptr), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Zephyrmantle error: frame: parameter read failed\n");
}

TEST_F(ZephyrmantleFrame, DrawsTheBandInsideTheBorder)
{
    // No screens: the viewport itself is the shape; "Inside" 0.1 lights about 20 pixels in from its edge.
    BindFramebuffer(128, 96);
    Start(128, 96);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    effect->ProcessOpenGL(nullptr);
    const auto pixels = ReadPixels(128, 96);
    const auto green = [&](int x, int y) { return pixels[static_cast<size_t>((y * 128 + x) * 4 + 1)]; };
    EXPECT_GT(green(2, 2), 200);
    EXPECT_GT(green(64, 10), 200);
    EXPECT_EQ(green(64, 48), 0) << "48 pixels from every edge";
}

TEST(ZephyrmantleObjects, CountsLiveObjectsAndBuildsTheValueSlots)
{
    EffectTestHome home;
    const int before = Zephyrmantle::GetLiveObjectCount();
    {
        ZephyrmantleProbe first;
        ZephyrmantleProbe second;
        EXPECT_EQ(Zephyrmantle::GetLiveObjectCount(), before + 2);

        const float expected[] = { 0, 0, 1, 0, 0.1f, 0, 0, 0.3f, 2, 2, 1 };
        for (uint32_t i = 0; i < 11; ++i)
            EXPECT_FLOAT_EQ(first.GetFloatParameter(i), expected[i]) << i;
        EXPECT_EQ(first.GetFloatParameter(11), 0.0f);
        EXPECT_EQ(first.GetNumParams(), 11u);
    }
    EXPECT_EQ(Zephyrmantle::GetLiveObjectCount(), before);

    EXPECT_EQ(CreatePluginInstance(nullptr), FF_FAIL);
    CFFGLPlugin* made = nullptr;
    ASSERT_EQ(CreatePluginInstance(&made), FF_SUCCESS);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(Zephyrmantle::GetLiveObjectCount(), before + 1);
    delete made;
    EXPECT_EQ(Zephyrmantle::GetLiveObjectCount(), before);
}
