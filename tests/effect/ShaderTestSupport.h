#pragma once

#include "GLTestEnvironment.h"

#include <cstdint>
#include <string>
#include <vector>

/*
    Raw-GL helpers for the shader tests: build a program from two texts, make a
    distance texture of grey levels the way the effect does, and draw the
    effect's full-screen quad through the program.
*/
namespace shadertest
{
/** Compiles and links the two texts; returns the program, or 0 with the driver's log in log. */
GLuint BuildProgram(const std::string& vertexText, const std::string& fragmentText, std::string& log);

/** A width x height texture whose texel (x, y), row 0 first, has grey level levels[y * width + x]
    in red, green and blue and alpha 255, filtered and clamped like the effect's. */
GLuint MakeDistanceTexture(int width, int height, const std::vector<uint8_t>& levels);

/** The shading parameters and the used fraction of the texture. */
struct Shading
{
    float inside = 0.0f, outline = 0.0f, blur = 0.0f;
    float red = 1.0f, green = 0.5f, blue = 0.25f;
    float maxS = 1.0f, maxT = 1.0f;
};

/** Clears the bound width x height framebuffer and draws the effect's quad (u, v, x, y, z per
    vertex, stride 20) through program with the texture on unit 0. */
void Draw(GLuint program, GLuint texture, const Shading& shading, int width, int height);

/** One RGBA pixel of a read-back, addressed with row 0 at the top of the framebuffer. */
struct Rgba
{
    int r, g, b, a;
};
Rgba PixelFromTop(const std::vector<uint8_t>& pixels, int width, int height, int x, int yFromTop);

/** The whole contents of a file, or an empty string when it cannot be read. */
std::string ReadFile(const std::string& path);
} // namespace shadertest
