#pragma once

#include "BasicPluginInfo.h"

inline namespace ZM_BUILD_NAMESPACE
{

class CFreeFrameGLPlugin;

/** The FFGL 1.5 build's plug-in record: its factory makes CFreeFrameGLPlugin objects. */
using PluginInfo = BasicPluginInfo<CFreeFrameGLPlugin>;

/** The registered record, or nullptr before one is built. */
inline PluginInfo*& CurrentPluginInfo = PluginInfo::current;

} // namespace ZM_BUILD_NAMESPACE
