#include "CompatGLTest.h"

#include "CountOccurrences.h"
#include "FFGLShader.h"
#include "GLCallRecorder.h"
#include "GLEntryPoints15.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
const char* const goodVertex = "#version 120\nvoid main() { gl_Position = gl_Vertex; }\n";
const char* const goodFragment = "#version 120\nuniform float inside;\nvoid main() { gl_FragColor = vec4(inside); }\n";
const char* const badVertex = "#version 120\nvoid main() { gl_Position = undefinedVertexThing; }\n";
const char* const badFragment = "#version 120\nvoid main() { gl_FragColor = undefinedFragmentThing; }\n";

class FFGLShaderGL : public CompatGLTest
{
protected:
    void TearDown() override
    {
        shader.DeleteObjects();
        CompatGLTest::TearDown();
    }

    std::string CompileCapturing(const char* vertex, const char* fragment)
    {
        ::testing::internal::CaptureStdout();
        result = shader.Compile(vertex, fragment);
        return ::testing::internal::GetCapturedStdout();
    }

    FFGLShader shader;
    int32_t result = -5;
};

TEST_F(FFGLShaderGL, ValidSourcesLinkAndFindTheirUniforms)
{
    EXPECT_EQ(CompileCapturing(goodVertex, goodFragment), "");
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(shader.IsValid());
    EXPECT_GE(shader.UniformLocation("inside"), 0);
    EXPECT_EQ(shader.UniformLocation("notAUniform"), -1);
    EXPECT_EQ(zmgl::glGetUniformLocation(shader.GetProgram(), "inside"), shader.UniformLocation("inside"));
}

TEST_F(FFGLShaderGL, FragmentFailureIsReportedAndTheVertexStageLinksButIsNoValidShader)
{
    const std::string output = CompileCapturing(goodVertex, badFragment);
    EXPECT_EQ(output.rfind("Fragment Shader error: ", 0), 0u) << output;
    EXPECT_EQ(CountOccurrences(output, "Shader error: "), 1u);
    EXPECT_EQ(output.substr(output.size() - 2), " \n");

    GLint attached = 0;
    glGetProgramiv(shader.GetProgram(), GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 1) << "only the vertex stage is attached";
    // A compatibility context links a vertex-only program, with fixed function in
    // place of the fragment stage, which would paint the host's output.
    GLint linked = -1;
    glGetProgramiv(shader.GetProgram(), GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, 1);
    EXPECT_EQ(result, linked);
    EXPECT_FALSE(shader.IsValid());
    EXPECT_NE(shader.GetFragmentShader(), 0u) << "a failed stage keeps its object";
}

TEST_F(FFGLShaderGL, BothFailuresAreReportedFragmentFirstAndNothingLinks)
{
    const std::string output = CompileCapturing(badVertex, badFragment);
    const size_t fragmentAt = output.find("Fragment Shader error: ");
    const size_t vertexAt = output.find("Vertex Shader error: ");
    ASSERT_NE(fragmentAt, std::string::npos) << output;
    ASSERT_NE(vertexAt, std::string::npos) << output;
    EXPECT_EQ(fragmentAt, 0u);
    EXPECT_LT(fragmentAt, vertexAt);
    EXPECT_NE(output.find("undefinedVertexThing"), std::string::npos) << "the driver's log follows the prefix";

    EXPECT_EQ(result, 0);
    EXPECT_FALSE(shader.IsValid());
    EXPECT_NE(shader.GetProgram(), 0u) << "nothing is deleted on failure";
    GLint attached = -1;
    glGetProgramiv(shader.GetProgram(), GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 0);
}

TEST_F(FFGLShaderGL, EmptyOrNullSourcesAreSkippedSilently)
{
    EXPECT_EQ(CompileCapturing("", nullptr), "");
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(shader.IsValid());
    EXPECT_NE(shader.GetProgram(), 0u);
    EXPECT_NE(shader.GetVertexShader(), 0u);
    EXPECT_NE(shader.GetFragmentShader(), 0u);
}

TEST_F(FFGLShaderGL, LinkFailureIsSilentAndLeavesTheShaderInvalid)
{
    // Both stages compile; the fragment stage has no main, so the link fails.
    EXPECT_EQ(CompileCapturing(goodVertex, "#version 120\nvoid helper() {}\n"), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(shader.GetLinkStatus(), 0);
    EXPECT_FALSE(shader.IsValid());
    GLint attached = 0;
    glGetProgramiv(shader.GetProgram(), GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 2);

    // Compiling again, from standard strings, on the same objects recovers.
    EXPECT_EQ(shader.Compile(std::string(goodVertex), std::string(goodFragment)), 1);
    EXPECT_TRUE(shader.IsValid());
}

TEST_F(FFGLShaderGL, DeleteObjectsReleasesEverythingOnce)
{
    CompileCapturing(goodVertex, goodFragment);
    const GLuint program = shader.GetProgram();
    const GLuint vertex = shader.GetVertexShader();
    const GLuint fragment = shader.GetFragmentShader();
    shader.DeleteObjects();

    EXPECT_FALSE(shader.IsValid());
    EXPECT_EQ(shader.GetLinkStatus(), 1) << "the link status is kept";
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(vertex));
    EXPECT_FALSE(glIsShader(fragment));
}

// Fakes for the calls whose answers matter; the recorder logs them with every other call.
GLuint nextName = 0;

GLuint APIENTRY FakeCreateObject()
{
    return ++nextName;
}
GLuint APIENTRY FakeCreateShader(GLenum)
{
    return ++nextName;
}
void APIENTRY FakeGetShaderivFailing(GLuint, GLenum, GLint* value)
{
    *value = 0;
}
// A driver that claims a longer log than the buffer it was given.
void APIENTRY FakeGetShaderInfoLogOverlong(GLuint, GLsizei capacity, GLsizei* length, GLchar* log)
{
    for (GLsizei i = 0; i < capacity - 1; ++i)
        log[i] = 'x';
    log[capacity - 1] = '\0';
    *length = 5000;
}

// No call reaches GL: the shader object sees only the fakes' answers.
class FFGLShaderCalls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nextName = 0;
        recorder.Fake(zmgl::glCreateProgram, &FakeCreateObject);
        recorder.Fake(zmgl::glCreateShader, &FakeCreateShader);
        recorder.Fake(zmgl::glGetShaderiv, &FakeGetShaderivFailing);
        recorder.Fake(zmgl::glGetShaderInfoLog, &FakeGetShaderInfoLogOverlong);
    }

    /** The calls to the named entry points, each with its first argument when it has one. */
    std::vector<std::string> Calls(const std::vector<std::string>& names) const
    {
        std::vector<std::string> calls;
        for (size_t i = 0; i < recorder.calls.size(); ++i)
            if (std::find(names.begin(), names.end(), recorder.calls[i]) != names.end())
                calls.push_back(recorder.calls[i] + (recorder.arguments[i].empty()
                                                         ? std::string()
                                                         : " " + std::to_string(GLuint(recorder.arguments[i][0]))));
        return calls;
    }

    GLCallRecorder recorder { false };
};

TEST_F(FFGLShaderCalls, ObjectsAreMadeAndReleasedInOrder)
{
    FFGLShader shader;
    shader.DeleteObjects();
    EXPECT_TRUE(recorder.calls.empty()) << "a new object has nothing to delete";

    ::testing::internal::CaptureStdout();
    shader.Compile("vertex", "fragment");
    const std::string output = ::testing::internal::GetCapturedStdout();

    // Program 1, vertex shader 2, fragment shader 3; the fragment stage goes first.
    const std::string vertex = std::to_string(GL_VERTEX_SHADER), fragment = std::to_string(GL_FRAGMENT_SHADER);
    EXPECT_EQ(Calls({ "glCreateProgram", "glCreateShader", "glShaderSource" }),
              (std::vector<std::string> { "glCreateProgram", "glCreateShader " + vertex, "glCreateShader " + fragment,
                                          "glShaderSource 3", "glShaderSource 2" }));

    // The claimed length is not trusted: each report carries the 1022 characters that fit.
    const std::string fragmentReport = "Fragment Shader error: " + std::string(1022, 'x') + " \n";
    const std::string vertexReport = "Vertex Shader error: " + std::string(1022, 'x') + " \n";
    EXPECT_EQ(output, fragmentReport + vertexReport);

    recorder.Clear();
    shader.DeleteObjects();
    EXPECT_EQ(recorder.calls.size(), 3u);
    EXPECT_EQ(Calls({ "glDeleteShader", "glDeleteProgram" }),
              (std::vector<std::string> { "glDeleteShader 3", "glDeleteShader 2", "glDeleteProgram 1" }));
    recorder.Clear();
    shader.DeleteObjects();
    EXPECT_TRUE(recorder.calls.empty()) << "a second DeleteObjects makes no call";
}

TEST_F(FFGLShaderCalls, CreateObjectsMakesOnlyWhatIsMissing)
{
    FFGLShader shader;
    shader.CreateObjects();
    shader.CreateObjects();
    EXPECT_EQ(recorder.calls.size(), 3u);
    shader.DeleteObjects();
}

TEST_F(CompatGLTest, EntryPointsBindInACompatibilityContext)
{
    const GLuint program = zmgl::glCreateProgram();
    EXPECT_NE(program, 0u);
    EXPECT_TRUE(glIsProgram(program));
    zmgl::glDeleteProgram(program);

    GLuint texture = 0;
    zmgl::glGenTextures(1, &texture);
    EXPECT_NE(texture, 0u);
    zmgl::glBindTexture(GL_TEXTURE_2D, texture);
    zmgl::glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    zmgl::glDeleteTextures(1, &texture);
}

TEST_F(FFGLShaderGL, ImmediateModeQuadDrawsThroughTheProgram)
{
    BindFramebuffer(4, 4);

    CompileCapturing(goodVertex, goodFragment);
    ASSERT_TRUE(shader.IsValid());
    zmgl::glUseProgram(shader.GetProgram());
    zmgl::glUniform1f(shader.UniformLocation("inside"), 0.5f);
    zmgl::glBegin(GL_QUADS);
    zmgl::glVertex2f(-1.0f, -1.0f);
    zmgl::glVertex2f(-1.0f, 1.0f);
    zmgl::glVertex2f(1.0f, 1.0f);
    zmgl::glVertex2f(1.0f, -1.0f);
    zmgl::glEnd();
    zmgl::glUseProgram(0);

    unsigned char pixel[4] = {};
    glReadPixels(2, 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_NEAR(pixel[0], 128, 1);
    EXPECT_NEAR(pixel[3], 128, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(LazyEntryPoints, AnEntryPointFirstCalledAfterTheContextWentAwayDoesNothing)
{
    {
        EglContext context;
        ASSERT_TRUE(context.Create(EglContext::Profile::Compatibility)) << context.GetError();
        EXPECT_NE(zmgl::glCreateShader(GL_VERTEX_SHADER), 0u);
    }
    // Never called before in this program: the loader would abort the process
    // if it were asked to bind it now.
    zmgl::glMultiTexCoord2f(GL_TEXTURE0, 0.0f, 1.0f);
    EXPECT_EQ(zmgl::glCreateShader(GL_VERTEX_SHADER), 0u) << "bound already, and GL without a context does nothing";
}
} // namespace
