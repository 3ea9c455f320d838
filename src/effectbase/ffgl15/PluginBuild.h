#pragma once

// Everything that sets the FFGL 1.5 build apart, in one place; its twin is
// ../ffgl21/PluginBuild.h. Plugin, the effect and its registration are written
// once against these names, and each build puts its own folder on the include
// path.
#include "CFreeFrameGLPlugin.h"
#include "FFGLShader.h"
#include "GLEntryPoints15.h"
#include "ImmediateQuad.h"
#include "PluginInfo15.h"

#include <cstdint>
#include <cstdio>

inline namespace ZM_BUILD_NAMESPACE
{
/** The host interface's object class the effect base derives from. */
using PluginHostObject = CFreeFrameGLPlugin;
/** The GL program wrapper the effect base builds and draws with. */
using PluginShader = FFGLShader;
/** The geometry the effect draws: an immediate-mode quad, which holds no GL objects. */
using PluginQuad = ImmediateQuad;

namespace PluginBuild
{
/** The FFGL API version the plug-in record announces. */
constexpr uint32_t apiMajor = 1, apiMinor = 5;

/** FFGL 1.5 hosts keep their files below "Resolume Arena 6/". */
constexpr bool useArena6Folder = true;

/** No screen choice: the table has no option parameters, every enabled screen is drawn. */
constexpr bool hasScreenChoice = false;

/** A colour group is hue, saturation and brightness only. */
constexpr bool colourGroupsHaveAlpha = false;

/** Input frames of a plug-in type: only an effect takes one; sources and mixers get none. */
inline int32_t InputFramesForType(int32_t pluginType)
{
    return pluginType == FF_EFFECT ? 1 : 0;
}

/** Never called (hasScreenChoice is false): the table has no option parameters. */
template <typename Screens>
void AddScreenChoice(CFFGLPluginManager&, int32_t, const char*, const Screens&)
{
}

/** Every context of an FFGL 1.5 host has fixed-function texturing. */
inline bool ContextHasTexture2DCapability()
{
    return true;
}

/** Reports a failure where this build's shader errors go: standard output. */
inline void Report(const char* prefix, const char* message)
{
    std::printf("%s%s \n", prefix, message);
}

/** The program's GL name, 0 when there is none. */
inline GLuint ProgramOf(const FFGLShader& shader)
{
    return shader.GetProgram();
}

/** The program's location of a uniform; -1 for a name that is no active uniform. */
inline GLint UniformLocationIn(const FFGLShader& shader, const char* name)
{
    return shader.UniformLocation(name);
}

/** Deletes the fragment shader, vertex shader and program. */
inline void ReleaseShader(FFGLShader& shader)
{
    shader.DeleteObjects();
}

/** Draws the quad in immediate mode, with texture coordinates when the plug-in takes input frames. */
inline void DrawQuad(ImmediateQuad& quad, float maxS, float maxT, bool sendTexCoords)
{
    quad.Draw(maxS, maxT, sendTexCoords);
}
} // namespace PluginBuild

} // namespace ZM_BUILD_NAMESPACE
