#pragma once

#include "FFGLTypes.h"

#include <cstdint>

inline namespace ZM_BUILD_NAMESPACE
{

class CFFGLPlugin;

/*
    The life of plug-in objects on the host's behalf: the prototype that
    answers the host's instance-less queries and supplies every instance's
    defaults, the making of an instance (with the one-time OpenGL entry-point
    load) and its end. plugMain calls these; objects are made only through the
    factory of the registered PluginInfo.

    The host runs each instance on one thread; only the making of the
    prototype and the one-time GL entry-point load are guarded, for two host
    threads that make their first instances at once.
*/

/** The prototype, made on first need and deleted by Deinitialise; nullptr when absent. */
extern CFFGLPlugin* PrototypeInstance;

/** Set just before the one attempt to resolve the OpenGL entry points. */
extern bool glLoadAttempted;
/** Set when that attempt succeeded. */
extern bool glLoadSucceeded;

/** Makes the prototype when it is absent: 0, or -1 when it cannot be made (the next call tries again). */
int32_t EnsurePrototype();

/**
    Makes an instance for the host: prototype defaults pushed, GL entry points
    resolved once per process, InitGL called. Returns the instance's address,
    or FF_FAIL64 after undoing whatever was made.
*/
FFResult InstantiateGL(const FFGLViewport* viewport);

/** Disconnects (when connected), de-initialises GL and deletes the instance: 0, or -1 for no instance. */
int32_t DeInstantiateGL(CFFGLPlugin* instance);

/** Deletes the prototype if there is one; 0. Instances, records and GL entry points stay. */
int32_t Deinitialise();

/** True for the parameter types whose values are texts (text and file): they go through the text operations. */
bool IsTextParamType(int32_t type);

/** The type code of the prototype's parameter with this id; -1 when there is none or no prototype. */
int32_t GetParamType(uint32_t index);

} // namespace ZM_BUILD_NAMESPACE
