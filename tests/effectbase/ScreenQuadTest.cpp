#include "GLTestEnvironment.h"

#include "GLCallRecorder.h"
#include "ScopedVBOBinding.h"
#include "ScreenQuad.h"
#include "ShaderProgram.h"
#include "VertexArrayBindingGuard.h"

#include <cstdlib>
#include <stdexcept>

namespace
{
GLint Binding(GLenum query)
{
    GLint value = -1;
    glGetIntegerv(query, &value);
    return value;
}

void GenNothing(GLsizei, GLuint*) {}
} // namespace

class ScreenQuadTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ASSERT_NE(LoadGLEntryPoints(), 0);
    }
};

TEST_F(ScreenQuadTest, CreateAndDrawLeaveTheirBindingsAsDocumented)
{
    BindFramebuffer(4, 4);
    GLuint otherArray = 0, otherBuffer = 0;
    glGenVertexArrays(1, &otherArray);
    glGenBuffers(1, &otherBuffer);
    glBindVertexArray(otherArray);
    glBindBuffer(GL_ARRAY_BUFFER, otherBuffer);

    ScreenQuad quad;
    ASSERT_TRUE(quad.Create());
    EXPECT_NE(quad.GetVertexArray(), 0u);
    EXPECT_NE(quad.GetVertexBuffer(), 0u);
    EXPECT_EQ(Binding(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(Binding(GL_ARRAY_BUFFER_BINDING), 0);

    glBindBuffer(GL_ARRAY_BUFFER, otherBuffer);
    quad.Draw();
    EXPECT_EQ(Binding(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(Binding(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(otherBuffer));

    const GLuint vertexArray = quad.GetVertexArray(), vertexBuffer = quad.GetVertexBuffer();
    quad.Release();
    EXPECT_EQ(quad.GetVertexArray(), 0u);
    EXPECT_EQ(quad.GetVertexBuffer(), 0u);
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    EXPECT_FALSE(glIsBuffer(vertexBuffer));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteBuffers(1, &otherBuffer);
    glDeleteVertexArrays(1, &otherArray);
}

TEST_F(ScreenQuadTest, DrawCoversEveryPixelWithTexCoordsRisingToTheTopRight)
{
    const int width = 64, height = 32;
    BindFramebuffer(width, height);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f); // blue marks a pixel the quad missed
    glClear(GL_COLOR_BUFFER_BIT);

    ShaderProgram program;
    ASSERT_TRUE(program.Compile("#version 330 core\n"
                                "layout(location = 0) in vec3 position;\n"
                                "layout(location = 1) in vec2 texCoord;\n"
                                "out vec2 uv;\n"
                                "void main() { uv = texCoord; gl_Position = vec4(position, 1.0); }\n",
                                "#version 330 core\n"
                                "in vec2 uv;\n"
                                "out vec4 colour;\n"
                                "void main() { colour = vec4(uv, 0.0, 1.0); }\n"));
    ScreenQuad quad;
    ASSERT_TRUE(quad.Create());
    glUseProgram(program.GetProgramId());
    quad.Draw();

    const auto pixels = ReadPixels(width, height);
    int misses = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const uint8_t* p = &pixels[static_cast<size_t>(y * width + x) * 4];
            const int expectedU = static_cast<int>((x + 0.5) / width * 255.0 + 0.5);
            const int expectedV = static_cast<int>((y + 0.5) / height * 255.0 + 0.5);
            if (std::abs(p[0] - expectedU) > 1 || std::abs(p[1] - expectedV) > 1 || p[2] != 0)
                ++misses;
        }
    EXPECT_EQ(misses, 0);

    quad.Release();
    program.DeleteProgram();
}

TEST_F(ScreenQuadTest, NoGeometryMeansNoGLCallFromDraw)
{
    GLCallRecorder recorder(true);
    ScreenQuad quad;
    quad.Draw(); // before Create
    EXPECT_TRUE(recorder.calls.empty());

    zmgl::glGenVertexArrays = &GenNothing; // the driver hands out no vertex-array name
    EXPECT_FALSE(quad.Create());
    EXPECT_EQ(quad.GetVertexArray(), 0u);
    EXPECT_EQ(quad.GetVertexBuffer(), 0u) << "the buffer that was generated is deleted again";
    const std::vector<std::string> expected = { "glGenBuffers", "glDeleteBuffers", "glDeleteVertexArrays" };
    EXPECT_EQ(recorder.calls, expected);

    recorder.calls.clear();
    quad.Draw(); // after a failed Create
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(ScreenQuadTest, ScopedBindingsUnbindWhenLeftByAnException)
{
    GLuint vertexArray = 0, buffer = 0, copyBuffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glGenBuffers(1, &copyBuffer);
    try
    {
        VertexArrayBindingGuard arrayGuard(vertexArray);
        ffglex::ScopedVBOBinding vboBinding(buffer);
        ffglex::ScopedBufferBinding copyBinding(GL_COPY_READ_BUFFER, copyBuffer);
        EXPECT_EQ(Binding(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(vertexArray));
        EXPECT_EQ(Binding(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer));
        EXPECT_EQ(Binding(GL_COPY_READ_BUFFER_BINDING), static_cast<GLint>(copyBuffer));
        throw std::runtime_error("leave the scope");
    }
    catch (const std::runtime_error&)
    {
    }
    EXPECT_EQ(Binding(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(Binding(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(Binding(GL_COPY_READ_BUFFER_BINDING), 0);
    glDeleteBuffers(1, &buffer);
    glDeleteBuffers(1, &copyBuffer);
    glDeleteVertexArrays(1, &vertexArray);
}
