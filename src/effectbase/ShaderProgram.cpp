#include "ShaderProgram.h"

#include "DebugOutput.h"

#include <algorithm>

inline namespace ZM_BUILD_NAMESPACE
{

namespace
{
constexpr GLsizei linkLogCapacity = 1024;
} // namespace

bool ShaderProgram::Compile(const std::string& vertexSource, const std::string& fragmentSource)
{
    // Only the text up to a NUL counts, as it would for the driver.
    const char* vertexText = vertexSource.c_str();
    const char* fragmentText = fragmentSource.c_str();

    if (vertexText[0] == '\0')
        return false;

    if (fragmentText[0] == '\0' && varyings.empty())
        return false;

    if (CompileStage(vertexText, GL_VERTEX_SHADER) &&
        (fragmentText[0] == '\0' || CompileStage(fragmentText, GL_FRAGMENT_SHADER)) && Link())
        return true;

    DeleteProgram();
    return false;
}

void ShaderProgram::DeleteProgram()
{
    if (programId != 0)
    {
        zmgl::glDeleteProgram(programId);
        programId = 0;
    }
}

bool ShaderProgram::CompileStage(const char* text, GLenum stageType)
{
    const GLuint shader = zmgl::glCreateShader(stageType);
    zmgl::glShaderSource(shader, 1, &text, nullptr);
    zmgl::glCompileShader(shader);

    GLint status = 0;
    zmgl::glGetShaderiv(shader, GL_COMPILE_STATUS, &status);

    if (status == 1)
    {
        if (programId == 0)
            programId = zmgl::glCreateProgram();

        zmgl::glAttachShader(programId, shader);
        // The program keeps the attached shader alive until the program itself is deleted.
        zmgl::glDeleteShader(shader);
        return true;
    }

    GLint length = 0;
    zmgl::glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    length = std::max<GLint>(length, 0); // a driver answering nonsense must not size the buffer

    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    zmgl::glGetShaderInfoLog(shader, length, nullptr, log.data());
    log.back() = '\0';

    logToDebugOutput(stageType == GL_VERTEX_SHADER ? "Vertex Shader error: " : "Fragment Shader error: ", log.data());

    zmgl::glDeleteShader(shader);
    return false;
}

bool ShaderProgram::Link()
{
    if (programId == 0)
        programId = zmgl::glCreateProgram();

    if (!varyings.empty())
    {
        std::vector<const GLchar*> names;
        names.reserve(varyings.size());
        for (const auto& name : varyings)
            names.push_back(name.c_str());

        zmgl::glTransformFeedbackVaryings(programId, static_cast<GLsizei>(names.size()), names.data(),
                                          GL_INTERLEAVED_ATTRIBS);
    }

    GLint status = 0;
    zmgl::glLinkProgram(programId);
    zmgl::glGetProgramiv(programId, GL_LINK_STATUS, &status);

    if (status == 1)
        return true;

    char log[linkLogCapacity] = {};
    GLsizei length = 0;
    zmgl::glGetProgramInfoLog(programId, linkLogCapacity - 1, &length, log);
    // Terminate at the reported length, but never outside the buffer whatever the driver reports.
    log[std::clamp<GLsizei>(length, 0, linkLogCapacity - 2)] = '\0';

    logToDebugOutput("Fragment Shader error: ", log);
    return false;
}

} // namespace ZM_BUILD_NAMESPACE
