#include "GLTestEnvironment.h"

#include "HostFramebuffer.h"

class HostFramebufferTest : public GLTest
{
};

TEST_F(HostFramebufferTest, ReadsBackWithTheTopRowFirst)
{
    HostFramebuffer fbo;
    ASSERT_TRUE(fbo.Create(3, 4)) << fbo.GetError();
    EXPECT_EQ(fbo.GetWidth(), 3u);
    EXPECT_EQ(fbo.GetHeight(), 4u);
    fbo.BindAndClear();

    // Paint GL's top row (y = 3) only.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 3, 3, 1);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    // Pixel-transfer state a plug-in might leave behind must not disturb the read-back.
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    glPixelStorei(GL_PACK_ROW_LENGTH, 7);
    glPixelStorei(GL_PACK_SKIP_ROWS, 2);

    const std::vector<uint8_t> pixels = fbo.ReadTopDown();
    ASSERT_EQ(pixels.size(), 3u * 4u * 4u);
    for (size_t x = 0; x < 3; ++x)
    {
        EXPECT_EQ(pixels[x * 4 + 0], 255) << x;
        EXPECT_EQ(pixels[x * 4 + 3], 255) << x;
    }
    for (size_t i = 12; i < pixels.size(); ++i)
        EXPECT_EQ(pixels[i], 0) << i;
}

TEST_F(HostFramebufferTest, ClearsWhateverStateThePluginLeft)
{
    HostFramebuffer fbo;
    ASSERT_TRUE(fbo.Create(4, 4));
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glViewport(0, 0, 1, 1);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    fbo.BindAndClear();
    GLint bound = 0, viewport[4] = {};
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(static_cast<uint32_t>(bound), fbo.GetId());
    EXPECT_EQ(viewport[2], 4);
    EXPECT_EQ(viewport[3], 4);

    for (uint8_t byte : fbo.ReadTopDown())
        ASSERT_EQ(byte, 0);
}

TEST_F(HostFramebufferTest, RemakesAtANewSizeAndRefusesImpossibleSizes)
{
    HostFramebuffer fbo;
    ASSERT_TRUE(fbo.Create(8, 2));
    const uint32_t first = fbo.GetId();
    ASSERT_TRUE(fbo.Create(2, 8));
    EXPECT_EQ(fbo.GetWidth(), 2u);
    EXPECT_EQ(fbo.ReadTopDown().size(), 2u * 8u * 4u);
    EXPECT_TRUE(glIsFramebuffer(first) == GL_FALSE || first == fbo.GetId());

    EXPECT_FALSE(fbo.Create(0, 5));
    EXPECT_FALSE(fbo.Create(1u << 20, 1));
    EXPECT_NE(fbo.GetError().find("not supported"), std::string::npos);
    EXPECT_EQ(fbo.GetId(), 0u);
    EXPECT_TRUE(fbo.ReadTopDown().empty());
}
