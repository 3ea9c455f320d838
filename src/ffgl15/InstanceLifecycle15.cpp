#include "InstanceLifecycle15.h"

#include "CFreeFrameGLPlugin.h"
#include "GLEntryPoints15.h"
#include "InstanceSteps.h"
#include "PluginInfo15.h"

inline namespace ZM_BUILD_NAMESPACE
{

CFreeFrameGLPlugin* PrototypeInstance = nullptr;

namespace
{
// Pushes every listed default of the prototype into a new instance; false as
// soon as the instance refuses one.
bool PushDefaults(CFreeFrameGLPlugin& instance)
{
    for (uint32_t i = 0; i < static_cast<uint32_t>(PrototypeInstance->GetNumParams()); ++i)
    {
        const uint64_t value = PrototypeInstance->FindParamDefault(i);
        const int32_t result =
            PrototypeInstance->FindParamType(i) == FF_TYPE_TEXT
                ? instance.SetTextParameter(i, reinterpret_cast<const char*>(static_cast<uintptr_t>(value)))
                : instance.SetFloatParameter(i, FloatFromBits(value));
        if (result == FF_FAIL)
            return false;
    }
    return true;
}
} // namespace

int32_t EnsurePrototype()
{
    return EnsurePrototypeFrom(PrototypeInstance, CurrentPluginInfo);
}

FFResult InstantiateGL(const FFGLViewport* viewport)
{
    // Every entry point is looked up here, before any GL work of the instance,
    // and a context that cannot run the shaders is refused.
    return InstantiateForHost(PrototypeInstance, CurrentPluginInfo, viewport,
                              [](CFreeFrameGLPlugin& object)
                              { return PushDefaults(object) && FirstUseLock::Run(LoadGLEntryPoints15); });
}

int32_t DeInstantiateGL(CFreeFrameGLPlugin* instance)
{
    return DeInstantiate(instance);
}

int32_t Deinitialise()
{
    return DeletePrototype(PrototypeInstance);
}

int32_t GetParamType(uint32_t index)
{
    if (EnsurePrototype() != FF_SUCCESS)
        return FF_FAIL;
    return PrototypeInstance->FindParamType(index);
}

} // namespace ZM_BUILD_NAMESPACE
