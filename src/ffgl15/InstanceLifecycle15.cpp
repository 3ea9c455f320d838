#include "InstanceLifecycle15.h"

#include "CFreeFrameGLPlugin.h"
#include "PluginInfo15.h"
#include "../ffgl/InstanceTeardown.h"

#include <cstring>

CFreeFrameGLPlugin* PrototypeInstance = nullptr;

namespace
{
// The factory belongs to the effect; whatever it throws stays on our side.
int32_t CallFactory(CFreeFrameGLPlugin** object)
{
    try
    {
        return CurrentPluginInfo->Factory()(object);
    }
    catch (...)
    {
        return FF_FAIL;
    }
}

// Pushes every listed default of the prototype into a new instance; false as
// soon as the instance refuses one.
bool PushDefaults(CFreeFrameGLPlugin& instance)
{
    for (uint32_t i = 0; i < static_cast<uint32_t>(PrototypeInstance->GetNumParams()); ++i)
    {
        const int32_t type = PrototypeInstance->FindParamType(i);
        const uint64_t value = PrototypeInstance->FindParamDefault(i);

        int32_t result = FF_FAIL;
        if (type == FF_TYPE_TEXT)
        {
            result = instance.SetTextParameter(i, reinterpret_cast<const char*>(static_cast<uintptr_t>(value)));
        }
        else
        {
            const auto bits = static_cast<uint32_t>(value);
            float number = 0.0f;
            std::memcpy(&number, &bits, sizeof(number));
            result = instance.SetFloatParameter(i, number);
        }
        if (result == FF_FAIL)
            return false;
    }
    return true;
}
} // namespace

int32_t EnsurePrototype()
{
    if (CurrentPluginInfo == nullptr)
        return FF_FAIL;
    if (PrototypeInstance != nullptr)
        return FF_SUCCESS;
    if (CallFactory(&PrototypeInstance) == FF_FAIL || PrototypeInstance == nullptr)
        return FF_FAIL;
    return FF_SUCCESS;
}

FFResult InstantiateGL(const FFGLViewport* viewport)
{
    if (CurrentPluginInfo == nullptr || viewport == nullptr)
        return FF_FAIL64;
    if (PrototypeInstance == nullptr && (EnsurePrototype() == FF_FAIL || PrototypeInstance == nullptr))
        return FF_FAIL64;

    CFreeFrameGLPlugin* instance = nullptr;
    if (CallFactory(&instance) == FF_FAIL || instance == nullptr)
        return FF_FAIL64;

    instance->self = instance;

    bool defaultsTaken = false;
    try
    {
        defaultsTaken = PushDefaults(*instance);
    }
    catch (...) {}
    if (! defaultsTaken)
    {
        DiscardInstance(instance, false);
        return FF_FAIL64;
    }

    int32_t initResult = FF_FAIL;
    try
    {
        initResult = instance->InitGL(viewport);
    }
    catch (...) {}
    if (initResult != FF_SUCCESS)
    {
        DiscardInstance(instance, true);
        return FF_FAIL64;
    }
    return reinterpret_cast<uintptr_t>(instance);
}

int32_t DeInstantiateGL(CFreeFrameGLPlugin* instance)
{
    if (instance == nullptr)
        return FF_FAIL;

    ReleaseInstance(instance);
    return FF_SUCCESS;
}

int32_t Deinitialise()
{
    if (PrototypeInstance != nullptr)
    {
        delete PrototypeInstance;
        PrototypeInstance = nullptr;
    }
    return FF_SUCCESS;
}

int32_t GetParamType(uint32_t index)
{
    if (PrototypeInstance == nullptr && EnsurePrototype() == FF_FAIL)
        return FF_FAIL;
    return PrototypeInstance->FindParamType(index);
}
