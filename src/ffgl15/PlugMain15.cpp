// The one export of an FFGL 1.5 plug-in. Each plug-in library compiles this
// file itself (it is not part of zm_ffgl15) next to its own registration.

#include "CFreeFrameGLPlugin.h"
#include "FFGLEntryPoint.h"
#include "InstanceLifecycle15.h"
#include "InstanceSteps.h"
#include "PluginInfo15.h"

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
        return Result32(
            object.SetTextParameter(record.index, reinterpret_cast<const char*>(static_cast<uintptr_t>(record.value))));
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

template <typename Record>
Record* RecordAt(uint64_t input)
{
    return reinterpret_cast<Record*>(static_cast<uintptr_t>(input));
}

uint32_t IndexOf(uint64_t input)
{
    return static_cast<uint32_t>(input);
}

using Row = CodeRow<CFreeFrameGLPlugin>;
using Object = CFreeFrameGLPlugin*;

// The one table of this interface: every code it handles, with what it needs
// and its failure answer (also given when an exception reaches plugMain).
Row RowOf(uint32_t code)
{
    constexpr auto nothing = CodeNeeds::nothing;
    constexpr auto prototype = CodeNeeds::prototype;
    constexpr auto instance = CodeNeeds::instance;
    constexpr auto instanceAndRecord = CodeNeeds::instanceAndRecord;

    switch (code)
    {
        case FF_GET_INFO:
            return { nothing, FF_FAIL32, [](uint64_t, Object) {
                        return PointerResult(CurrentPluginInfo != nullptr ? CurrentPluginInfo->GetInfo() : nullptr);
                    } };
        case FF_INITIALISE: return { nothing, FF_FAIL32, [](uint64_t, Object) { return Result32(EnsurePrototype()); } };
        case FF_DEINITIALISE: return { nothing, FF_FAIL32, [](uint64_t, Object) { return Result32(Deinitialise()); } };
        case FF_GET_EXTENDED_INFO:
            return { nothing, FF_FAIL32, [](uint64_t, Object) {
                        return PointerResult(CurrentPluginInfo != nullptr ? CurrentPluginInfo->ExtendedInfo()
                                                                          : nullptr);
                    } };
        case FF_INSTANTIATE_GL:
            return { nothing, FF_FAIL64,
                     [](uint64_t input, Object) { return InstantiateGL(RecordAt<const FFGLViewport>(input)); } };

        case FF_GET_NUM_PARAMETERS:
            return { prototype, FF_FAIL32,
                     [](uint64_t, Object) { return Result32(PrototypeInstance->GetNumParams()); } };
        case FF_GET_PARAMETER_NAME:
            return { prototype, 0, [](uint64_t input, Object) {
                        return PointerResult(PrototypeInstance->FindParamName(IndexOf(input)));
                    } };
        case FF_GET_PARAMETER_DEFAULT:
            return { prototype, FF_FAIL32,
                     [](uint64_t input, Object) { return PrototypeInstance->FindParamDefault(IndexOf(input)); } };
        case FF_GET_PLUGIN_CAPS:
            return { prototype, FF_FAIL32, [](uint64_t input, Object) { return GetPluginCaps(IndexOf(input)); } };
        case FF_GET_PARAMETER_TYPE:
            return { prototype, FF_FAIL32, [](uint64_t input, Object) {
                        return Result32(PrototypeInstance->FindParamType(IndexOf(input)));
                    } };
        case FF_GET_NUM_PARAMETER_ELEMENTS:
            return { prototype, FF_FAIL32, [](uint64_t input, Object) {
                        return Result32(PrototypeInstance->FindParamElementCount(IndexOf(input)));
                    } };
        case FF_GET_PARAMETER_CODE32:
            return { prototype, FF_FAIL32, [](uint64_t input, Object) {
                        return Result32(PrototypeInstance->FindParamCode32Value(IndexOf(input)));
                    } };
        case FF_GET_PLUGIN_SHORT_NAME:
            return { prototype, 0, [](uint64_t, Object) { return PointerResult(PrototypeInstance->GetShortName()); } };

        case FF_GET_PARAMETER_DISPLAY:
            return { instance, FF_FAIL64, [](uint64_t input, Object object) {
                        return PointerResult(object->GetParameterDisplay(IndexOf(input)));
                    } };
        case FF_SET_PARAMETER:
            return { instanceAndRecord, FF_FAIL32, [](uint64_t input, Object object) {
                        return SetParameter(*object, *RecordAt<const ParamValueInput>(input));
                    } };
        case FF_GET_PARAMETER:
            return { instance, FF_FAIL32,
                     [](uint64_t input, Object object) { return GetParameter(*object, IndexOf(input)); } };
        case FF_GET_INPUT_STATUS:
            return { instance, FF_FAIL32,
                     [](uint64_t input, Object object) { return Result32(object->GetInputStatus(IndexOf(input))); } };
        case FF_PROCESS_OPENGL:
            return { instanceAndRecord, FF_FAIL32, [](uint64_t input, Object object) {
                        return ProcessFrame(*object, RecordAt<ProcessOpenGLStruct>(input));
                    } };
        case FF_DEINSTANTIATE_GL:
            return { instance, FF_FAIL32, [](uint64_t, Object object) { return Result32(DeInstantiateGL(object)); } };
        case FF_SET_TIME:
            return { instanceAndRecord, FF_FAIL32, [](uint64_t input, Object object) {
                        return Result32(object->SetTime(*RecordAt<const double>(input)));
                    } };
        case FF_CONNECT:
            return { instance, FF_FAIL32, [](uint64_t, Object object) { return Result32(ConnectInstance(*object)); } };
        case FF_DISCONNECT:
            return { instance, FF_FAIL32,
                     [](uint64_t, Object object) { return Result32(DisconnectInstance(*object)); } };
        case FF_RESIZE:
            return { instanceAndRecord, FF_FAIL32, [](uint64_t input, Object object) {
                        return Result32(object->Resize(RecordAt<const FFGLViewport>(input)));
                    } };

        default:
            // 3, 11, 12, 14, 24 to 30 and everything above 33.
            return {};
    }
}
} // namespace

extern "C" ZM_PLUGIN_EXPORT uint64_t plugMain(uint32_t code, uint64_t input, uint64_t instance)
{
    return AnswerCode<CFreeFrameGLPlugin>(code, input, instance, RowOf, EnsurePrototype);
}
