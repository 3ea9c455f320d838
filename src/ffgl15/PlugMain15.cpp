// The one export of an FFGL 1.5 plug-in. Each plug-in library compiles this
// file itself (it is not part of zm_ffgl15) next to its own registration.

#include "CFreeFrameGLPlugin.h"
#include "InstanceLifecycle15.h"
#include "PluginInfo15.h"
#include "FFGLEntryPoint.h"
#include "InstanceSteps.h"

namespace
{
FFResult GetPluginCaps(uint32_t capability)
{
    switch (capability)
    {
        case FF_CAP_PROCESS_OPENGL: return Result32(1);
        case FF_CAP_SET_TIME: return Result32(PrototypeInstance->IsTimeSupported() ? 1 : 0);
        case FF_CAP_MIN_INPUT_FRAMES: return Result32(NonNegativeFrames(PrototypeInstance->GetMinInputFrames()));
        case FF_CAP_MAX_INPUT_FRAMES: return Result32(NonNegativeFrames(PrototypeInstance->GetMaxInputFrames()));
        default: return Result32(0);
    }
}

FFResult SetParameter(CFreeFrameGLPlugin& object, const ParamValueInput& record)
{
    if (GetParamType(record.index) == FF_TYPE_TEXT)
        return Result32(object.SetTextParameter(record.index,
                                                reinterpret_cast<const char*>(static_cast<uintptr_t>(record.value))));
    return Result32(object.SetFloatParameter(record.index, FloatFromBits(record.value)));
}

FFResult GetParameter(CFreeFrameGLPlugin& object, uint32_t index)
{
    if (GetParamType(index) == FF_TYPE_TEXT)
        return PointerResult(object.GetTextParameter(index));
    return FloatResult(object.GetFloatParameter(index));
}

FFResult ProcessFrame(CFreeFrameGLPlugin& object, ProcessOpenGLStruct* frame)
{
    ConnectBeforeFrame(object);
    return Result32(object.ProcessOpenGL(frame));
}

// The failure answer of each code, also used when an exception reaches plugMain.
FFResult FailureOf(uint32_t code)
{
    switch (code)
    {
        case FF_GET_PARAMETER_NAME:
        case FF_GET_PLUGIN_SHORT_NAME: return 0;
        case FF_GET_PARAMETER_DISPLAY:
        case FF_INSTANTIATE_GL: return FF_FAIL64;
        default: return FF_FAIL32;
    }
}

FFResult Dispatch(uint32_t code, uint64_t input, uint64_t handle)
{
    auto* object = reinterpret_cast<CFreeFrameGLPlugin*>(static_cast<uintptr_t>(handle));
    const auto index = static_cast<uint32_t>(input);
    const FFResult failure = FailureOf(code);

    switch (code)
    {
        case FF_GET_INFO:
            return PointerResult(CurrentPluginInfo != nullptr ? CurrentPluginInfo->GetInfo() : nullptr);
        case FF_INITIALISE:
            return Result32(EnsurePrototype());
        case FF_DEINITIALISE:
            return Result32(Deinitialise());
        case FF_GET_EXTENDED_INFO:
            return PointerResult(CurrentPluginInfo != nullptr ? CurrentPluginInfo->ExtendedInfo() : nullptr);
        case FF_INSTANTIATE_GL:
            return InstantiateGL(reinterpret_cast<const FFGLViewport*>(static_cast<uintptr_t>(input)));
        default:
            break;
    }

    switch (code)
    {
        case FF_GET_NUM_PARAMETERS:
        case FF_GET_PARAMETER_NAME:
        case FF_GET_PARAMETER_DEFAULT:
        case FF_GET_PLUGIN_CAPS:
        case FF_GET_PARAMETER_TYPE:
        case FF_GET_NUM_PARAMETER_ELEMENTS:
        case FF_GET_PARAMETER_CODE32:
        case FF_GET_PLUGIN_SHORT_NAME:
        {
            if (EnsurePrototype() != FF_SUCCESS)
                return failure;
            const CFreeFrameGLPlugin& prototype = *PrototypeInstance;
            switch (code)
            {
                case FF_GET_NUM_PARAMETERS: return Result32(prototype.GetNumParams());
                case FF_GET_PARAMETER_NAME: return PointerResult(prototype.FindParamName(index));
                case FF_GET_PARAMETER_DEFAULT: return prototype.FindParamDefault(index);
                case FF_GET_PLUGIN_CAPS: return GetPluginCaps(index);
                case FF_GET_PARAMETER_TYPE: return Result32(prototype.FindParamType(index));
                case FF_GET_NUM_PARAMETER_ELEMENTS: return Result32(prototype.FindParamElementCount(index));
                case FF_GET_PARAMETER_CODE32: return Result32(prototype.FindParamCode32Value(index));
                default: return PointerResult(PrototypeInstance->GetShortName());
            }
        }

        case FF_GET_PARAMETER_DISPLAY:
        case FF_SET_PARAMETER:
        case FF_GET_PARAMETER:
        case FF_GET_INPUT_STATUS:
        case FF_PROCESS_OPENGL:
        case FF_DEINSTANTIATE_GL:
        case FF_SET_TIME:
        case FF_CONNECT:
        case FF_DISCONNECT:
        case FF_RESIZE:
        {
            if (object == nullptr)
                return failure;
            // Records are the host's; a null one is refused rather than read.
            const bool needsRecord = code == FF_SET_PARAMETER || code == FF_PROCESS_OPENGL
                                     || code == FF_SET_TIME || code == FF_RESIZE;
            if (needsRecord && input == 0)
                return failure;
            void* record = reinterpret_cast<void*>(static_cast<uintptr_t>(input));

            switch (code)
            {
                case FF_GET_PARAMETER_DISPLAY: return PointerResult(object->GetParameterDisplay(index));
                case FF_SET_PARAMETER: return SetParameter(*object, *static_cast<const ParamValueInput*>(record));
                case FF_GET_PARAMETER: return GetParameter(*object, index);
                case FF_GET_INPUT_STATUS: return Result32(object->GetInputStatus(index));
                case FF_PROCESS_OPENGL: return ProcessFrame(*object, static_cast<ProcessOpenGLStruct*>(record));
                case FF_DEINSTANTIATE_GL: return Result32(DeInstantiateGL(object));
                case FF_SET_TIME: return Result32(object->SetTime(*static_cast<const double*>(record)));
                case FF_CONNECT: return Result32(ConnectInstance(*object));
                case FF_DISCONNECT: return Result32(DisconnectInstance(*object));
                default: return Result32(object->Resize(static_cast<const FFGLViewport*>(record)));
            }
        }

        default:
            // 3, 11, 12, 14, 24 to 30 and everything above 33.
            return FF_FAIL32;
    }
}
} // namespace

extern "C" ZM_PLUGIN_EXPORT uint64_t plugMain(uint32_t code, uint64_t input, uint64_t instance)
{
    return CallGuarded(code, [&] { return Dispatch(code, input, instance); }, FailureOf);
}
