#pragma once

#include "BasicPluginInfo.h"

inline namespace ZM_BUILD_NAMESPACE
{

class CFFGLPlugin;

/** The FFGL 2.1 build's plug-in record: its factory makes CFFGLPlugin objects. */
using PluginInfo = BasicPluginInfo<CFFGLPlugin>;

/** The registered record, or nullptr before one is built. */
inline PluginInfo*& CurrentPluginInfo = PluginInfo::current;

} // namespace ZM_BUILD_NAMESPACE
