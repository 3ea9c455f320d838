#pragma once

#include <cstdint>
#include <string>

inline namespace ZM_BUILD_NAMESPACE
{

/*
    A GLSL program with its own vertex and fragment shader objects, as the FFGL
    1.5 build's effect base uses it. All three GL objects are created together
    before the first compile and kept until DeleteObjects, whatever the outcome.

    Compile tries the fragment stage, then the vertex stage (a failure of one
    does not stop the other), prints each compile failure to standard output,
    and links when at least one stage attached. A failed link prints nothing:
    IsValid is the only way to tell, and it also holds only when both stages
    compiled.

    Usage, with the host's GL context current:
        FFGLShader shader;
        shader.Compile (vertexSource, fragmentSource);
        if (shader.IsValid()) { useProgram (shader.GetProgram()); ... }
        shader.DeleteObjects();   // before the context goes away
*/
class FFGLShader
{
public:
    /** No GL work. */
    FFGLShader() = default;
    /** No GL work either: the owner calls DeleteObjects first. */
    virtual ~FFGLShader() = default;

    FFGLShader(const FFGLShader&) = delete;
    FFGLShader& operator=(const FFGLShader&) = delete;

    /** Compiles the two texts of the strings; the link status (1 = linked). */
    int32_t Compile(const std::string& vertexSource, const std::string& fragmentSource);

    /**
        Creates missing objects, compiles each non-empty stage (fragment first),
        attaches those that compiled, links when one did, and keeps the link
        status, which it returns (0 when nothing was linked). Null texts are skipped.
    */
    int32_t Compile(const char* vertexText, const char* fragmentText);

    /** Creates the program, the vertex shader and the fragment shader, each only when missing. */
    void CreateObjects();

    /** The program's location of a uniform; -1 for a name that is no active uniform. */
    int32_t UniformLocation(const char* name) const;

    /** All three objects exist, both stages compiled in the last Compile and its link succeeded. */
    bool IsValid() const;

    /** Deletes the fragment shader, the vertex shader and the program, each only when it exists. */
    void DeleteObjects();

    uint32_t GetProgram() const { return program; }
    uint32_t GetVertexShader() const { return vertexShader; }
    uint32_t GetFragmentShader() const { return fragmentShader; }
    int32_t GetLinkStatus() const { return linkStatus; }

private:
    /** Compiles one of the two shaders and attaches it; reports a failure under that shader's stage name. */
    bool CompileStage(uint32_t shader, const char* text);

    uint32_t program = 0;
    uint32_t vertexShader = 0;
    uint32_t fragmentShader = 0;
    int32_t linkStatus = 0;
    bool bothStagesCompiled = false;
};

} // namespace ZM_BUILD_NAMESPACE
