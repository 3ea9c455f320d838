#pragma once

#include "EglContext.h"
#include "HostFramebuffer.h"

#include <gtest/gtest.h>

// Tests call GL directly (read-backs, state queries) through the system's libOpenGL.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

#include <array>
#include <cstdint>
#include <vector>

/*
    A fixture base for tests that need a current OpenGL context: each test gets
    a fresh 3.3 core context on llvmpipe and, optionally, a framebuffer object
    to draw into and read back.
*/
class GLTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /** Creates and binds an RGBA8 framebuffer of the given size; the viewport is set to it. */
    void BindFramebuffer(int width, int height);

    /** Reads the bound framebuffer back, RGBA bytes, row 0 at the bottom (GL order). */
    std::vector<uint8_t> ReadPixels(int width, int height);

    /** How many pixels of the bound framebuffer differ from the RGBA bytes given. */
    long CountPixelsOtherThan(int width, int height, const std::array<uint8_t, 4>& rgba);

    EglContext context;
    HostFramebuffer target; ///< the framebuffer BindFramebuffer makes; GetId () is 0 until then
};
