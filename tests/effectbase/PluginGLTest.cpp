#include "GLTestEnvironment.h"

#include "GLCallRecorder.h"
#include "OpenPlugin.h"

namespace
{
const char* const vertexText = "#version 330 core\n"
                               "layout(location = 0) in vec3 position;\n"
                               "void main() { gl_Position = vec4(position, 1.0); }\n";
const char* const fragmentText = "#version 330 core\n"
                                 "uniform float inside;\n"
                                 "uniform vec3 cR;\n"
                                 "uniform vec2 resolution;\n"
                                 "uniform vec2 maxst;\n"
                                 "out vec4 colour;\n"
                                 "void main() { colour = vec4(cR * inside, resolution.x + maxst.y); }\n";

std::array<float, 2> Resolution(OpenPlugin& plugin)
{
    std::array<float, 2> value { -1.0f, -1.0f };
    glGetUniformfv(plugin.mainShader.GetProgramId(), plugin.resolutionLocation, value.data());
    return value;
}
} // namespace

class PluginGLTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ASSERT_NE(LoadGLEntryPoints(), 0);
        plugin.AddParam("Inside", "inside", FF_TYPE_STANDARD, 0.1f);
        plugin.AddValueSlot();
        plugin.AddParam("Unused", "notInTheShader", FF_TYPE_STANDARD, 0.5f);
        plugin.AddHueColorParam("Color", "cR", "cG", "cB", 0.3f);
    }

    OpenPlugin plugin;
};

TEST_F(PluginGLTest, InitGLResolvesEverySlotAndResolutionFollowsResize)
{
    plugin.SetShaderSources(vertexText, fragmentText);
    const FFGLViewport viewport { 0, 0, 1920, 1080 };
    ASSERT_EQ(plugin.InitGL(&viewport), FF_SUCCESS);
    ASSERT_TRUE(plugin.mainShader.IsValid());
    const GLuint program = plugin.mainShader.GetProgramId();

    ASSERT_EQ(plugin.uniformLocations.size(), plugin.uniformNames.size());
    for (int i = 0; i < plugin.uniformNames.size(); ++i)
        EXPECT_EQ(plugin.uniformLocations[i], glGetUniformLocation(program, plugin.uniformNames[i].toRawUTF8())) << i;
    EXPECT_NE(plugin.uniformLocations[0], -1);
    EXPECT_EQ(plugin.uniformLocations[1], -1); // value slot without a uniform
    EXPECT_EQ(plugin.uniformLocations[2], -1); // a name the shader does not have
    EXPECT_EQ(plugin.uniformLocations[6], -1); // alpha has no uniform
    EXPECT_NE(plugin.maxstLocation, -1);

    EXPECT_EQ(Resolution(plugin), (std::array<float, 2> { 1920.0f, 1080.0f }));
    EXPECT_EQ(plugin.viewportWidth, 1920);
    EXPECT_EQ(plugin.viewportHeight, 1080);
    EXPECT_NE(plugin.quad.GetVertexArray(), 0u);

    const FFGLViewport resized { 0, 0, 640, 480 };
    EXPECT_EQ(plugin.Resize(&resized), FF_SUCCESS);
    EXPECT_EQ(Resolution(plugin), (std::array<float, 2> { 640.0f, 480.0f }));
    EXPECT_EQ(plugin.viewportWidth, 640);
    EXPECT_EQ(plugin.viewportHeight, 480);
    EXPECT_EQ(plugin.uniformLocations.size(), plugin.uniformNames.size());

    EXPECT_EQ(plugin.DeInitGL(), FF_SUCCESS);
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(plugin.mainShader.IsValid());
    EXPECT_EQ(plugin.quad.GetVertexArray(), 0u);

    GLCallRecorder recorder(true);
    EXPECT_EQ(plugin.DeInitGL(), FF_SUCCESS);
    EXPECT_EQ(recorder.calls, (std::vector<std::string> { "glDeleteBuffers", "glDeleteVertexArrays" }));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // A second life in the same object keeps one location per slot.
    ASSERT_EQ(plugin.InitGL(&viewport), FF_SUCCESS);
    EXPECT_EQ(plugin.uniformLocations.size(), plugin.uniformNames.size());
    plugin.DeInitGL();
}

TEST_F(PluginGLTest, AFailedProgramStillGivesAnInstanceWithAQuad)
{
    plugin.SetShaderSources(vertexText, "#version 330 core\nvoid main() { broken }\n");
    const FFGLViewport viewport { 0, 0, 320, 200 };
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(plugin.InitGL(&viewport), FF_SUCCESS);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("Fragment Shader error: ", 0), 0u);

    EXPECT_FALSE(plugin.mainShader.IsValid());
    EXPECT_TRUE(plugin.uniformLocations.isEmpty());
    EXPECT_NE(plugin.quad.GetVertexArray(), 0u);
    EXPECT_EQ(plugin.viewportWidth, 320);

    GLCallRecorder recorder(true);
    const FFGLViewport resized { 0, 0, 100, 50 };
    EXPECT_EQ(plugin.Resize(&resized), FF_SUCCESS); // keeps the size, sets no uniform
    EXPECT_EQ(plugin.viewportHeight, 50);
    EXPECT_EQ(plugin.DeInitGL(), FF_SUCCESS);
    EXPECT_EQ(recorder.calls, (std::vector<std::string> { "glDeleteBuffers", "glDeleteVertexArrays" }));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
