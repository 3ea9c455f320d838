// The shading of one build's shader pair, drawn on llvmpipe. Compiled once per
// build: ZM_SHADER_SUITE names the suite, ZM_SHADER_COMPATIBILITY picks the
// context, ZM_VERTEX_SOURCE / ZM_FRAGMENT_SOURCE are the readable sources and
// ZM_SHADER_KEY_LENGTH the build's key length.
#include "ShaderTestSupport.h"

#include "ShaderText.h"

#include <algorithm>

using namespace shadertest;

namespace
{
constexpr int borderLevel = 204;

// One texel per grey level: column x holds level x, so x - 204 is the distance.
std::vector<uint8_t> Ramp(int rows)
{
    std::vector<uint8_t> levels;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < 256; ++x)
            levels.push_back(static_cast<uint8_t>(x));
    return levels;
}
} // namespace

class ZM_SHADER_SUITE : public GLTest
{
protected:
    void SetUp() override
    {
        const auto profile = ZM_SHADER_COMPATIBILITY ? EglContext::Profile::Compatibility : EglContext::Profile::Core33;
        ASSERT_TRUE(context.Create(profile)) << context.GetError();
        std::string log;
        program = BuildProgram(GetVertexShaderText(), GetFragmentShaderText(), log);
        ASSERT_NE(program, 0u) << log;
    }

    void TearDown() override
    {
        glDeleteProgram(program);
        if (!textures.empty())
            glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
        GLTest::TearDown();
    }

    /** Draws a texture of the given levels into a framebuffer of the given size. */
    std::vector<uint8_t> Shade(int texWidth, int texHeight, const std::vector<uint8_t>& levels, const Shading& shading,
                               int width, int height)
    {
        textures.push_back(MakeDistanceTexture(texWidth, texHeight, levels));
        if (target.GetId() == 0)
            BindFramebuffer(width, height);
        Draw(program, textures.back(), shading, width, height);
        return ReadPixels(width, height);
    }

    /** Alpha of each column of the ramp drawn with the given shading. */
    std::vector<int> RampAlpha(const Shading& shading)
    {
        const auto pixels = Shade(256, 2, Ramp(2), shading, 256, 2);
        std::vector<int> alpha;
        for (int x = 0; x < 256; ++x)
            alpha.push_back(PixelFromTop(pixels, 256, 2, x, 0).a);
        return alpha;
    }

    GLuint program = 0;
    std::vector<GLuint> textures;
};

TEST_F(ZM_SHADER_SUITE, TextsAreTheSourcesUnscrambledWithThisBuildsKey)
{
    EXPECT_EQ(ShaderTextKey.size(), static_cast<size_t>(ZM_SHADER_KEY_LENGTH));
    const std::string vertex = ReadFile(ZM_VERTEX_SOURCE);
    const std::string fragment = ReadFile(ZM_FRAGMENT_SOURCE);
    ASSERT_FALSE(vertex.empty());
    ASSERT_FALSE(fragment.empty());
    EXPECT_EQ(GetVertexShaderText(), vertex);
    EXPECT_EQ(GetFragmentShaderText(), fragment);
    EXPECT_EQ(GetFragmentShaderText(), GetFragmentShaderText());
}

TEST_F(ZM_SHADER_SUITE, ProgramOffersTheUniformsTheFrameSets)
{
    for (const char* name : { "maxst", "inside", "outline", "blur", "cR", "cG", "cB" })
        EXPECT_GE(glGetUniformLocation(program, name), 0) << name;
}

TEST_F(ZM_SHADER_SUITE, BorderShowsAsAThinLineInTheColourOnTransparentBlack)
{
    const auto pixels = Shade(256, 2, Ramp(2), Shading {}, 256, 2);
    const Rgba border = PixelFromTop(pixels, 256, 2, borderLevel, 0);
    EXPECT_EQ(border.r, 255);
    EXPECT_NEAR(border.g, 128, 1);
    EXPECT_NEAR(border.b, 64, 1);
    EXPECT_EQ(border.a, 255);

    for (const int x : { 0, 100, borderLevel - 1, borderLevel + 1, 254, 255 })
    {
        const Rgba p = PixelFromTop(pixels, 256, 2, x, 1);
        EXPECT_EQ(p.r + p.g + p.b + p.a, 0) << "column " << x;
    }
}

TEST_F(ZM_SHADER_SUITE, InsideSetsTheBandsDepthAndOutlineItsWidth)
{
    Shading shading;
    shading.inside = 0.5f; // 102 px in
    auto alpha = RampAlpha(shading);
    EXPECT_EQ(alpha[borderLevel - 102], 255);
    EXPECT_EQ(alpha[borderLevel - 103], 0);
    EXPECT_EQ(alpha[borderLevel], 255);
    EXPECT_EQ(alpha[borderLevel + 1], 0);

    shading.inside = 1.0f; // everything inside
    alpha = RampAlpha(shading);
    EXPECT_EQ(alpha[0], 255);

    shading = Shading {};
    shading.outline = 0.5f; // 25 px out
    alpha = RampAlpha(shading);
    EXPECT_EQ(alpha[borderLevel + 25], 255);
    EXPECT_EQ(alpha[borderLevel + 26], 0);
    EXPECT_EQ(alpha[borderLevel - 1], 0);

    shading.outline = 1.0f; // out to the last ring, never beyond it
    alpha = RampAlpha(shading);
    EXPECT_EQ(alpha[254], 255);
    EXPECT_EQ(alpha[255], 0);
}

TEST_F(ZM_SHADER_SUITE, BlurWidensTheFeatherOnBothSidesOfTheBand)
{
    const auto lit = [](const std::vector<int>& alpha)
    { return std::count_if(alpha.begin(), alpha.end(), [](int a) { return a > 0; }); };
    Shading shading;
    EXPECT_EQ(lit(RampAlpha(shading)), 1);

    shading.blur = 1.0f;
    const auto alpha = RampAlpha(shading);
    EXPECT_GT(lit(alpha), 60);
    EXPECT_EQ(alpha[borderLevel], 255);
    EXPECT_EQ(alpha[255], 0);
    for (int x = borderLevel; x < 254; ++x)
        EXPECT_GE(alpha[static_cast<size_t>(x)], alpha[static_cast<size_t>(x + 1)]) << "outward at " << x;
    for (int x = borderLevel; x > 1; --x)
        EXPECT_GE(alpha[static_cast<size_t>(x)], alpha[static_cast<size_t>(x - 1)]) << "inward at " << x;
}

TEST_F(ZM_SHADER_SUITE, FeatheredColourIsPremultiplied)
{
    Shading shading;
    shading.blur = 1.0f;
    const auto pixels = Shade(256, 2, Ramp(2), shading, 256, 2);
    const Rgba p = PixelFromTop(pixels, 256, 2, borderLevel + 20, 0);
    ASSERT_GT(p.a, 20);
    ASSERT_LT(p.a, 235);
    EXPECT_NEAR(p.r, p.a, 2);
    EXPECT_NEAR(p.g, p.a / 2, 2);
    EXPECT_NEAR(p.b, p.a / 4, 2);
}

TEST_F(ZM_SHADER_SUITE, FullOutlineWithFullBlurLeavesEverythingBeyondTheRingsTransparent)
{
    Shading shading;
    shading.outline = 1.0f;
    shading.blur = 1.0f;
    const auto alpha = RampAlpha(shading);
    EXPECT_GT(alpha[254], 0);
    EXPECT_EQ(alpha[255], 0);
}

TEST_F(ZM_SHADER_SUITE, ColourOutsideTheUnitRangeReachesTheFramebuffer)
{
    Shading shading;
    shading.red = -1.2f;
    shading.green = 2.0f;
    shading.blue = -2.0f;
    const auto pixels = Shade(256, 2, Ramp(2), shading, 256, 2);
    const Rgba border = PixelFromTop(pixels, 256, 2, borderLevel, 0);
    EXPECT_EQ(border.r, 0);
    EXPECT_EQ(border.g, 255);
    EXPECT_EQ(border.b, 0);
    EXPECT_EQ(border.a, 255);
}

TEST_F(ZM_SHADER_SUITE, TextureRowZeroIsTheTopLine)
{
    std::vector<uint8_t> levels(16 * 16, 255);
    std::fill(levels.begin(), levels.begin() + 16, static_cast<uint8_t>(borderLevel));
    const auto pixels = Shade(16, 16, levels, Shading {}, 16, 16);
    for (int x = 0; x < 16; ++x)
    {
        EXPECT_EQ(PixelFromTop(pixels, 16, 16, x, 0).a, 255) << x;
        for (int y = 1; y < 16; ++y)
            EXPECT_EQ(PixelFromTop(pixels, 16, 16, x, y).a, 0) << x << ", " << y;
    }
}

TEST_F(ZM_SHADER_SUITE, SamplingStaysInsideTheUsedRegion)
{
    // A 32 x 32 texture of which 16 x 16 is used: the padding holds border levels
    // that must not show, and the used region's last column must.
    std::vector<uint8_t> levels(32 * 32, borderLevel);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 15; ++x)
            levels[static_cast<size_t>(y * 32 + x)] = 255;
    Shading shading;
    shading.maxS = shading.maxT = 0.5f;
    const auto pixels = Shade(32, 32, levels, shading, 16, 16);
    for (int y = 0; y < 16; ++y)
    {
        EXPECT_EQ(PixelFromTop(pixels, 16, 16, 15, y).a, 255) << y;
        for (int x = 0; x < 15; ++x)
            EXPECT_EQ(PixelFromTop(pixels, 16, 16, x, y).a, 0) << x << ", " << y;
    }
}
