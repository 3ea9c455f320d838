#include "GLTestEnvironment.h"

#include "CountOccurrences.h"
#include "DebugOutput.h"
#include "GLCallRecorder.h"
#include "ShaderProgram.h"

#include <algorithm>

namespace
{
const char* const goodVertex = "#version 330 core\n"
                               "layout(location = 0) in vec3 position;\n"
                               "out vec4 tint;\n"
                               "void main() { tint = vec4(position, 1.0); gl_Position = tint; }\n";
const char* const goodFragment = "#version 330 core\n"
                                 "in vec4 tint;\n"
                                 "out vec4 colour;\n"
                                 "void main() { colour = tint; }\n";
const char* const brokenSource = "#version 330 core\nvoid main() { this is not glsl; }\n";

// Compiles with everything written to standard output and the debugger stand-in captured.
struct CompileResult
{
    bool ok;
    std::string out, debug;
};

CompileResult CompileCapturing(ShaderProgram& program, const std::string& vertex, const std::string& fragment)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool ok = program.Compile(vertex, fragment);
    std::string debug = testing::internal::GetCapturedStderr();
    return { ok, testing::internal::GetCapturedStdout(), debug };
}
} // namespace

class ShaderProgramTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ASSERT_NE(LoadGLEntryPoints(), 0);
    }
};

TEST_F(ShaderProgramTest, GoodPairLinksAndLeavesOnlyTheProgramHoldingItsShaders)
{
    ShaderProgram program;
    const auto result = CompileCapturing(program, goodVertex, goodFragment);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(program.IsValid());
    EXPECT_TRUE(glIsProgram(program.GetProgramId()));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.debug, "");

    GLuint shaders[4] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program.GetProgramId(), 4, &count, shaders);
    ASSERT_EQ(count, 2);
    for (GLsizei i = 0; i < count; ++i)
    {
        GLint flagged = 0;
        glGetShaderiv(shaders[i], GL_DELETE_STATUS, &flagged);
        EXPECT_EQ(flagged, GL_TRUE);
    }
    program.DeleteProgram();
    EXPECT_EQ(program.GetProgramId(), 0u);
}

TEST_F(ShaderProgramTest, EachFailureIsReportedOnceWithItsStagePrefixAndLeavesNoProgram)
{
    struct Case
    {
        const char *vertex, *fragment, *prefix;
        int shadersCreated;
    };
    // A function declared but defined nowhere compiles, but cannot link.
    const char* const unlinkable = "#version 330 core\nvec4 missing();\nout vec4 c;\nvoid main() { c = missing(); }\n";
    const Case cases[] = { { brokenSource, goodFragment, "Vertex Shader error: ", 1 },
                           { goodVertex, brokenSource, "Fragment Shader error: ", 2 },
                           { goodVertex, unlinkable, "Fragment Shader error: ", 2 } };
    for (const auto& c : cases)
    {
        GLCallRecorder recorder(true);
        ShaderProgram program;
        const auto result = CompileCapturing(program, c.vertex, c.fragment);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(program.IsValid());
        EXPECT_EQ(recorder.Count("glCreateShader"), c.shadersCreated) << c.prefix;
        EXPECT_EQ(recorder.Count("glCreateProgram"), recorder.Count("glDeleteProgram"));

        EXPECT_EQ(result.out.rfind(c.prefix, 0), 0u) << result.out;
        EXPECT_GT(result.out.size(), std::string(c.prefix).size() + 1) << "the driver's log follows the prefix";
        EXPECT_EQ(CountOccurrences(result.out, "Shader error: "), 1u) << result.out;
        EXPECT_TRUE(!result.out.empty() && result.out.back() == '\n');
        EXPECT_EQ(result.debug, result.out) << "debugger channel: the text, then a separate line end";
    }
}

TEST_F(ShaderProgramTest, EmptySourcesAreRefusedWithoutGLCallsUnlessVaryingsAreCaptured)
{
    {
        GLCallRecorder recorder(true);
        ShaderProgram program;
        EXPECT_FALSE(CompileCapturing(program, "", goodFragment).ok);
        EXPECT_FALSE(CompileCapturing(program, std::string("\0x", 2), goodFragment).ok);
        EXPECT_FALSE(CompileCapturing(program, goodVertex, "").ok);
        EXPECT_TRUE(recorder.calls.empty());
    }
    ShaderProgram capture;
    capture.varyings = { "tint" };
    const auto result = CompileCapturing(capture, goodVertex, "");
    ASSERT_TRUE(result.ok) << result.out;
    GLint captured = 0;
    glGetProgramiv(capture.GetProgramId(), GL_TRANSFORM_FEEDBACK_VARYINGS, &captured);
    EXPECT_EQ(captured, 1);
    capture.DeleteProgram();
}

namespace
{
std::string fakeLinkLog;
GLsizei fakeReportedLength = 0;

void FailLinkStatus(GLuint, GLenum, GLint* value)
{
    *value = 0;
}

void FakeProgramLog(GLuint, GLsizei bufSize, GLsizei* length, GLchar* log)
{
    const size_t written = std::min(fakeLinkLog.size(), static_cast<size_t>(bufSize - 1));
    std::copy_n(fakeLinkLog.data(), written, log);
    log[written] = '\0';
    *length = fakeReportedLength != 0 ? fakeReportedLength : static_cast<GLsizei>(written);
}

void FailCompileStatus(GLuint, GLenum, GLint* value)
{
    *value = 0;
}
} // namespace

TEST_F(ShaderProgramTest, LinkLogIsCutTo1022CharactersWhateverLengthTheDriverReports)
{
    GLCallRecorder recorder(true);
    zmgl::glGetProgramiv = &FailLinkStatus;
    zmgl::glGetProgramInfoLog = &FakeProgramLog;
    fakeLinkLog = std::string(700, 'a') + std::string(700, 'b');

    for (GLsizei reported : { 0, 5000, -3 }) // 0: the true length
    {
        fakeReportedLength = reported;
        ShaderProgram program;
        const auto result = CompileCapturing(program, goodVertex, goodFragment);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(program.GetProgramId(), 0u);
        const std::string prefix = "Fragment Shader error: ";
        const std::string expected = reported < 0 ? "" : fakeLinkLog.substr(0, 1022);
        EXPECT_EQ(result.out, prefix + expected + "\n") << reported;
    }
}

TEST_F(ShaderProgramTest, EmptyOrNonsenseCompileLogGivesThePrefixAlone)
{
    GLCallRecorder recorder(true);
    zmgl::glGetShaderiv = &FailCompileStatus; // status 0 and an info-log length of 0
    ShaderProgram program;
    const auto result = CompileCapturing(program, goodVertex, goodFragment);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.out, "Vertex Shader error: \n");
    EXPECT_EQ(result.debug, "Vertex Shader error: \n");
    EXPECT_EQ(recorder.Count("glCreateProgram"), 0);
}

TEST(DebugOutput, WritesTheTextUnchangedToBothChannels)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    logToDebugOutput("Vertex Shader error: ", "0:1(2): error\n0:3(4): another");
    logToDebugOutput(nullptr, nullptr);
    const std::string debug = testing::internal::GetCapturedStderr();
    const std::string expected = "Vertex Shader error: 0:1(2): error\n0:3(4): another\n\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    EXPECT_EQ(debug, expected);
}
