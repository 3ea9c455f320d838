#pragma once

// Everything that sets the FFGL 2.1 build apart, in one place; its twin is
// ../ffgl15/PluginBuild.h. Plugin, the effect and its registration are written
// once against these names, and each build puts its own folder on the include
// path.
#include "CFFGLPlugin.h"
#include "DebugOutput.h"
#include "GLEntryPoints.h"
#include "PluginInfo.h"
#include "ScreenQuad.h"
#include "ShaderProgram.h"

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{
/** The host interface's object class the effect base derives from. */
using PluginHostObject = CFFGLPlugin;
/** The GL program wrapper the effect base builds and draws with. */
using PluginShader = ShaderProgram;
/** The geometry the effect draws: a vertex array of two triangles. */
using PluginQuad = ScreenQuad;

namespace PluginBuild
{
/** The FFGL API version the plug-in record announces. */
constexpr uint32_t apiMajor = 2, apiMinor = 1;

/** FFGL 2.1 hosts keep their files below "Resolume Arena/". */
constexpr bool useArena6Folder = false;

/** The effect offers the "Screens" choice; its table has option parameters. */
constexpr bool hasScreenChoice = true;

/** A colour group ends with an alpha parameter (without a uniform). */
constexpr bool colourGroupsHaveAlpha = true;

/** Input frames of a plug-in type: 1 for an effect, 2 for a mixer, 0 for a source. */
inline int32_t InputFramesForType(int32_t pluginType)
{
    switch (pluginType)
    {
        case FF_EFFECT: return 1;
        case FF_MIXER: return 2;
        default: return 0;
    }
}

/** Adds the option parameter `name` at `index` with "All" (0) and then each screen's name (1, 2, ...). */
template <typename Screens>
void AddScreenChoice(CFFGLPluginManager& table, int32_t index, const char* name, const Screens& screens)
{
    table.SetOptionParamInfo(index, name, static_cast<uint32_t>(screens.size() + 1), 0.0f);
    table.SetParamElementInfo(index, 0, "All", 0.0f);
    for (size_t i = 0; i < screens.size(); ++i)
        table.SetParamElementInfo(index, static_cast<uint32_t>(i + 1), screens[i].name.toRawUTF8(),
                                  static_cast<float>(i + 1));
}

/** Whether the current context has fixed-function texturing (GL_TEXTURE_2D as a capability):
    contexts before 3.2 and compatibility profiles do, core profiles do not. */
inline bool ContextHasTexture2DCapability()
{
    GLint major = 0, minor = 0;
    zmgl::glGetIntegerv(GL_MAJOR_VERSION, &major);
    zmgl::glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (major < 3 || (major == 3 && minor < 2))
        return true; // no profiles before 3.2
    GLint profile = 0;
    zmgl::glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    return (profile & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT) != 0;
}

/** Reports a failure where a developer looks: the debugger output (and standard output). */
inline void Report(const char* prefix, const char* message)
{
    logToDebugOutput(prefix, message);
}

/** The program's GL name, 0 when there is none. */
inline GLuint ProgramOf(const ShaderProgram& shader)
{
    return shader.GetProgramId();
}

/** The program's location of a uniform; -1 for a name that is no active uniform. */
inline GLint UniformLocationIn(const ShaderProgram& shader, const char* name)
{
    return zmgl::glGetUniformLocation(shader.GetProgramId(), name);
}

/** Deletes the program's GL objects. */
inline void ReleaseShader(ShaderProgram& shader)
{
    shader.DeleteProgram();
}

/** Draws the quad; the vertex array carries its own texture coordinates. */
inline void DrawQuad(ScreenQuad& quad, float /*maxS*/, float /*maxT*/, bool /*sendTexCoords*/)
{
    quad.Draw();
}
} // namespace PluginBuild

} // namespace ZM_BUILD_NAMESPACE
