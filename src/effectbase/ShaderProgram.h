#pragma once

#include "GLEntryPoints.h"

#include <string>
#include <vector>

inline namespace ZM_BUILD_NAMESPACE
{

/**
    One GLSL program object built from a vertex and a fragment source.

    Compile() compiles the vertex stage, then the fragment stage, and links
    them; the first failure ends the attempt, is reported with the driver's
    log through logToDebugOutput, and leaves no program behind. The program
    object is created by the first stage that compiles.

    Usage, with the GL context current:
        ShaderProgram program;
        program.Compile (vertexText, fragmentText);
        if (program.IsValid())
            zmgl::glUseProgram (program.GetProgramId());
        ...
        program.DeleteProgram();   // before the context goes away

    Destroying the object makes no GL call; the owner deletes the program.
*/
class ShaderProgram
{
public:
    ShaderProgram() = default;

    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    /**
        Builds and links the program. An empty vertex source, or an empty
        fragment source when no varyings are to be captured, gives false
        without any GL call. On any failure the program is deleted and the id
        is 0.
    */
    bool Compile(const std::string& vertexSource, const std::string& fragmentSource);

    /** True while there is a linked program. */
    bool IsValid() const { return programId != 0; }

    /** The GL program name, 0 when there is none. */
    GLuint GetProgramId() const { return programId; }

    /** Deletes the GL program if there is one and sets the id to 0. */
    void DeleteProgram();

    /**
        Names of the transform-feedback varyings declared (interleaved) before
        linking. A program that captures varyings may have no fragment stage.
    */
    std::vector<std::string> varyings;

private:
    bool CompileStage(const char* text, GLenum stageType);
    bool Link();

    GLuint programId = 0;
};

} // namespace ZM_BUILD_NAMESPACE
