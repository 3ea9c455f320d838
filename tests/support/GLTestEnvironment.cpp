#include <gtest/gtest.h>

#include "GLTestEnvironment.h"

void GLTest::SetUp()
{
    ASSERT_TRUE(context.Create(EglContext::Profile::Core33)) << context.GetError();
}

void GLTest::TearDown()
{
    target.Destroy();
    context.Destroy();
}

void GLTest::BindFramebuffer(int width, int height)
{
    ASSERT_TRUE(target.Create(static_cast<uint32_t>(width), static_cast<uint32_t>(height))) << target.GetError();
}

std::vector<uint8_t> GLTest::ReadPixels(int width, int height)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
