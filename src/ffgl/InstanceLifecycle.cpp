#include "InstanceLifecycle.h"

#include "CFFGLPlugin.h"
#include "GLEntryPoints.h"
#include "InstanceSteps.h"
#include "PluginInfo.h"

inline namespace ZM_BUILD_NAMESPACE
{

CFFGLPlugin* PrototypeInstance = nullptr;
bool glLoadAttempted = false;
bool glLoadSucceeded = false;

namespace
{
// Hands every prototype default to the new object; false when the object refuses one.
bool PushDefaults(CFFGLPlugin& object)
{
    for (uint32_t i = 0; i < PrototypeInstance->GetNumParams(); ++i)
    {
        const ParamInfo* record = PrototypeInstance->FindParam(static_cast<int32_t>(i));
        // Our plug-ins number their parameters without gaps; a gap has nothing to push.
        if (record == nullptr)
            continue;
        const int32_t result = IsTextParamType(record->type) ? object.SetTextParameter(i, record->defaultText.c_str())
                                                             : object.SetFloatParameter(i, record->defaultValue);
        if (result == FF_FAIL)
            return false;
    }
    return true;
}

// Resolves the GL entry points on the first call only; a failed load stays failed.
bool EnsureGLEntryPoints()
{
    if (!glLoadAttempted)
    {
        glLoadAttempted = true;
        if (LoadGLEntryPoints() == 0)
            return false;
        glLoadSucceeded = true;
    }
    return glLoadSucceeded;
}
} // namespace

int32_t EnsurePrototype()
{
    return EnsurePrototypeFrom(PrototypeInstance, CurrentPluginInfo);
}

FFResult InstantiateGL(const FFGLViewport* viewport)
{
    return InstantiateForHost(PrototypeInstance, CurrentPluginInfo, viewport,
                              [](CFFGLPlugin& object)
                              { return PushDefaults(object) && FirstUseLock::Run(EnsureGLEntryPoints); });
}

int32_t DeInstantiateGL(CFFGLPlugin* instance)
{
    return DeInstantiate(instance);
}

int32_t Deinitialise()
{
    return DeletePrototype(PrototypeInstance);
}

bool IsTextParamType(int32_t type)
{
    return type == FF_TYPE_TEXT || type == FF_TYPE_FILE;
}

int32_t GetParamType(uint32_t index)
{
    if (EnsurePrototype() != FF_SUCCESS)
        return FF_FAIL;
    const ParamInfo* record = PrototypeInstance->FindParam(static_cast<int32_t>(index));
    return record != nullptr ? record->type : FF_FAIL;
}

} // namespace ZM_BUILD_NAMESPACE
