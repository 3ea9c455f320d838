#pragma once

#include "FFGLTypes.h"

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

class CFreeFrameGLPlugin;

/*
    The life of plug-in objects on the host's behalf in the FFGL 1.5 build: the
    prototype that answers the host's instance-less queries and supplies every
    instance's defaults, the making of an instance and its end. plugMain calls
    these; objects are made only through the factory of the registered
    PluginInfo. Making an instance looks up the GL entry points (once per
    process) and refuses a context older than OpenGL 2.1.

    The host runs each instance on one thread; only the making of the
    prototype and the one-time GL entry-point load are guarded, for two host
    threads that make their first instances at once.
*/

/** The prototype, made on first need and deleted by Deinitialise; nullptr when absent. */
extern CFreeFrameGLPlugin* PrototypeInstance;

/** Makes the prototype when it is absent: 0, or -1 when it cannot be made (the next call tries again). */
int32_t EnsurePrototype();

/**
    Makes an instance for the host: the prototype's listed defaults pushed in,
    the GL entry points looked up, InitGL called. Returns the instance's
    address, or FF_FAIL64 after deleting whatever was made (also when the
    current context is older than OpenGL 2.1).
*/
FFResult InstantiateGL(const FFGLViewport* viewport);

/** Disconnects (when connected), de-initialises GL and deletes the instance: 0, or -1 for no instance. */
int32_t DeInstantiateGL(CFreeFrameGLPlugin* instance);

/** Deletes the prototype if there is one; 0. Instances and the registered record stay. */
int32_t Deinitialise();

/** The type code of the prototype's parameter with this id; -1 when there is none or no prototype. */
int32_t GetParamType(uint32_t index);

} // namespace ZM_BUILD_NAMESPACE
