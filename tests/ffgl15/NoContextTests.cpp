#include "GLTestEnvironment.h"

#include "FFGLShader.h"
#include "GLEntryPoints15.h"

namespace
{
// Runs first in its own program: nothing has been bound yet and no context exists.
TEST(NoContext, LazyEntryPointsDoNothingAndAnswerZero)
{
    EXPECT_EQ(zmgl::glCreateProgram(), 0u);
    EXPECT_EQ(zmgl::glCreateShader(GL_FRAGMENT_SHADER), 0u);
    EXPECT_EQ(zmgl::glGetUniformLocation(1, "resolution"), 0);
    zmgl::glUseProgram(1);
    zmgl::glUniform1f(0, 1.0f);
    zmgl::glUniform2f(0, 1.0f, 2.0f);
    zmgl::glActiveTexture(GL_TEXTURE0);
    zmgl::glMultiTexCoord2f(GL_TEXTURE0, 0.0f, 0.0f);
    zmgl::glDeleteProgram(1);

    ::testing::internal::CaptureStdout();
    FFGLShader shader;
    EXPECT_EQ(shader.Compile("void main() {}", "void main() {}"), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(shader.IsValid());
    EXPECT_EQ(shader.GetProgram(), 0u);
    EXPECT_EQ(shader.GetVertexShader(), 0u);
    shader.DeleteObjects();

    // The stubs try again on the next call, so a context made later is used.
    EglContext context;
    ASSERT_TRUE(context.Create(EglContext::Profile::Compatibility)) << context.GetError();
    const GLuint program = zmgl::glCreateProgram();
    EXPECT_NE(program, 0u);
    zmgl::glDeleteProgram(program);
}
} // namespace
