#include <gtest/gtest.h>

#include "GLTestEnvironment.h"

#include <algorithm>

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

long GLTest::CountPixelsOtherThan(int width, int height, const std::array<uint8_t, 4>& rgba)
{
    const auto pixels = ReadPixels(width, height);
    long others = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        others += !std::equal(rgba.begin(), rgba.end(), &pixels[i]);
    return others;
}
