#include "FFGLShader.h"

#include "GLEntryPoints15.h"

#include <cstdio>

inline namespace ZM_BUILD_NAMESPACE
{

namespace
{
// The compile report: the driver's log, cut to what fits the buffer.
constexpr GLsizei CompileLogCapacity = 1024;
} // namespace

int32_t FFGLShader::Compile(const std::string& vertexSource, const std::string& fragmentSource)
{
    return Compile(vertexSource.c_str(), fragmentSource.c_str());
}

int32_t FFGLShader::Compile(const char* vertexText, const char* fragmentText)
{
    if (program == 0)
        CreateObjects();

    const bool fragmentAttached = CompileStage(fragmentShader, fragmentText);
    const bool vertexAttached = CompileStage(vertexShader, vertexText);
    bothStagesCompiled = fragmentAttached && vertexAttached;

    GLint status = 0;
    if (fragmentAttached || vertexAttached)
    {
        zmgl::glLinkProgram(program);
        zmgl::glGetProgramiv(program, GL_LINK_STATUS, &status);
    }
    linkStatus = status;
    return linkStatus;
}

bool FFGLShader::CompileStage(uint32_t shader, const char* text)
{
    if (shader == 0 || program == 0 || text == nullptr || text[0] == '\0')
        return false;

    zmgl::glShaderSource(shader, 1, &text, nullptr);
    zmgl::glCompileShader(shader);
    GLint status = 0;
    zmgl::glGetShaderiv(shader, GL_COMPILE_STATUS, &status);

    if (status == GL_TRUE)
    {
        zmgl::glAttachShader(program, shader);
        return true;
    }

    char log[CompileLogCapacity] = {};
    GLsizei length = 0;
    zmgl::glGetShaderInfoLog(shader, CompileLogCapacity - 1, &length, log);
    // Never trust the reported length further than the buffer goes.
    if (length < 0 || length >= CompileLogCapacity)
        length = length < 0 ? 0 : CompileLogCapacity - 1;
    log[length] = '\0';

    if (shader == fragmentShader)
        std::printf("Fragment Shader error: %s \n", log);
    else
        std::printf("Vertex Shader error: %s \n", log);
    std::fflush(stdout);
    return false;
}

void FFGLShader::CreateObjects()
{
    if (program == 0)
        program = zmgl::glCreateProgram();
    if (vertexShader == 0)
        vertexShader = zmgl::glCreateShader(GL_VERTEX_SHADER);
    if (fragmentShader == 0)
        fragmentShader = zmgl::glCreateShader(GL_FRAGMENT_SHADER);
}

int32_t FFGLShader::UniformLocation(const char* name) const
{
    return zmgl::glGetUniformLocation(program, name);
}

bool FFGLShader::IsValid() const
{
    // A program left with one stage still links in a compatibility context, and the
    // fixed-function stage in the other's place would paint the host's output.
    return program != 0 && vertexShader != 0 && fragmentShader != 0 && bothStagesCompiled && linkStatus == GL_TRUE;
}

void FFGLShader::DeleteObjects()
{
    if (fragmentShader != 0)
    {
        zmgl::glDeleteShader(fragmentShader);
        fragmentShader = 0;
    }
    if (vertexShader != 0)
    {
        zmgl::glDeleteShader(vertexShader);
        vertexShader = 0;
    }
    if (program != 0)
    {
        zmgl::glDeleteProgram(program);
        program = 0;
    }
}

} // namespace ZM_BUILD_NAMESPACE
