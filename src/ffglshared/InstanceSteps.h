#pragma once

#include "FFGLTypes.h"
#include "FirstUseLock.h"

#include <cstdint>
#include <utility>

/*
    The steps of a plug-in object's life that both builds take alike: making an
    object through the registered factory, turning a new object into the
    host's instance, connecting and disconnecting it, and its end. Each build's life-cycle source supplies its
    own object type and its own preparation of a new instance.

    An object the host has not been given (or has let go of) is ours to
    delete whatever its own operations do; nothing they throw leaves here.

    The host runs each instance on one thread, but two host threads may make
    their first instances at the same moment: what exists once per process (the
    prototype here, the GL entry points in each build's preparation) is made
    under FirstUseLock, once, while the other caller waits. Nothing else is
    locked.

    Usage, in an instance life-cycle or entry-point source:
        EnsurePrototypeFrom (PrototypeInstance, CurrentPluginInfo);
        return InstantiateForHost (PrototypeInstance, CurrentPluginInfo, viewport, prepare);
        ConnectBeforeFrame (instance);    // then the frame
        DeInstantiate (instance);         // the host's de-instantiation
        DeletePrototype (PrototypeInstance);
*/

/** Calls the record's factory; nullptr when there is no record or factory, or when the factory fails or throws. */
template <typename PluginObject, typename Info>
PluginObject* CreateFromFactory(const Info* info) noexcept
{
    if (info == nullptr || info->Factory() == nullptr)
        return nullptr;
    PluginObject* object = nullptr;
    try
    {
        if (info->Factory()(&object) == FF_FAIL)
            return nullptr;
    }
    catch (...)
    {
        return nullptr;
    }
    return object;
}

/** Deletes an instance, first letting it release its GL resources when deInitGL is set. */
template <typename PluginObject>
void DiscardInstance(PluginObject* instance, bool deInitGL) noexcept
{
    if (deInitGL)
    {
        try
        {
            instance->DeInitGL();
        }
        catch (...)
        {
        }
    }
    delete instance;
}

/**
    Makes the host's instance: a new object from the factory that knows itself
    as the instance, prepare (object) for what the build must do before GL
    (false refuses the object), then InitGL. Returns the instance's address,
    or FF_FAIL64 after deleting what was made (with DeInitGL once InitGL ran,
    since it may have stopped half-way).
*/
template <typename PluginObject, typename Info, typename Prepare>
FFResult InstantiateFromFactory(const Info* info, const FFGLViewport* viewport, Prepare&& prepare) noexcept
{
    PluginObject* object = CreateFromFactory<PluginObject>(info);
    if (object == nullptr)
        return FF_FAIL64;

    object->self = object;
    bool prepared = false;
    try
    {
        prepared = prepare(*object);
    }
    catch (...)
    {
    }
    if (!prepared)
    {
        DiscardInstance(object, false);
        return FF_FAIL64;
    }

    int32_t initResult = FF_FAIL;
    try
    {
        initResult = object->InitGL(viewport);
    }
    catch (...)
    {
    }
    if (initResult != FF_SUCCESS)
    {
        DiscardInstance(object, true);
        return FF_FAIL64;
    }
    return reinterpret_cast<uintptr_t>(object);
}

/** Makes the prototype from the record's factory when there is none: 0, or -1 when it cannot be made
    (the next call tries again). */
template <typename PluginObject, typename Info>
int32_t EnsurePrototypeFrom(PluginObject*& prototype, const Info* info) noexcept
{
    return FirstUseLock::Run(
        [&]
        {
            if (prototype == nullptr)
                prototype = CreateFromFactory<PluginObject>(info);
            return prototype != nullptr ? FF_SUCCESS : FF_FAIL;
        });
}

/** The host's instantiation: refused without a viewport or a prototype, otherwise InstantiateFromFactory. */
template <typename PluginObject, typename Info, typename Prepare>
FFResult InstantiateForHost(PluginObject*& prototype, const Info* info, const FFGLViewport* viewport,
                            Prepare&& prepare) noexcept
{
    if (viewport == nullptr || EnsurePrototypeFrom(prototype, info) != FF_SUCCESS)
        return FF_FAIL64;
    return InstantiateFromFactory<PluginObject>(info, viewport, prepare);
}

/** The host's connect: the instance's own Connect, and the flag set when it gives 0. Returns Connect's result. */
template <typename PluginObject>
int32_t ConnectInstance(PluginObject& instance)
{
    const int32_t result = instance.Connect();
    if (result == FF_SUCCESS)
        instance.connected = true;
    return result;
}

/** The host's disconnect: the instance's own Disconnect, and the flag cleared when it gives 0. */
template <typename PluginObject>
int32_t DisconnectInstance(PluginObject& instance)
{
    const int32_t result = instance.Disconnect();
    if (result == FF_SUCCESS)
        instance.connected = false;
    return result;
}

/** Before a frame: hosts need not connect, so an instance not yet connected is, whatever Connect says. */
template <typename PluginObject>
void ConnectBeforeFrame(PluginObject& instance)
{
    if (!instance.connected)
    {
        instance.Connect();
        instance.connected = true;
    }
}

/** Disconnects an instance the host connected, then releases its GL resources and deletes it. */
template <typename PluginObject>
void ReleaseInstance(PluginObject* instance) noexcept
{
    try
    {
        if (instance->connected)
        {
            instance->Disconnect();
            instance->connected = false;
        }
    }
    catch (...)
    {
    }
    DiscardInstance(instance, true);
}

/** The host's de-instantiation: -1 without an instance, otherwise ReleaseInstance and 0. */
template <typename PluginObject>
int32_t DeInstantiate(PluginObject* instance) noexcept
{
    if (instance == nullptr)
        return FF_FAIL;
    ReleaseInstance(instance);
    return FF_SUCCESS;
}

/** Deletes the prototype, if any; the pointer is cleared first so nothing reached from the destructor sees it.
    Returns 0. */
template <typename PluginObject>
int32_t DeletePrototype(PluginObject*& prototype) noexcept
{
    PluginObject* object = FirstUseLock::Run([&] { return std::exchange(prototype, nullptr); });
    delete object;
    return FF_SUCCESS;
}
