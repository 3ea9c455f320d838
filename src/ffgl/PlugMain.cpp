// The one export of an FFGL 2.1 plug-in. Each plug-in library compiles this
// file itself (it is not part of zm_ffgl21) next to its own registration.

#include "CFFGLPlugin.h"
#include "FFGLEntryPoint.h"
#include "InstanceLifecycle.h"
#include "InstanceSteps.h"
#include "PluginInfo.h"
#include "ThumbnailInfo.h"

#include <cstring>

namespace
{
template <typename Record>
const Record* InputRecord(uint64_t input)
{
    return reinterpret_cast<const Record*>(static_cast<uintptr_t>(input));
}

template <typename Record>
Record* OutputRecord(uint64_t input)
{
    return reinterpret_cast<Record*>(static_cast<uintptr_t>(input));
}

// The prototype's record for a parameter id, making the prototype first;
// nullptr when either is missing.
const ParamInfo* PrototypeParam(uint32_t index)
{
    if (EnsurePrototype() != FF_SUCCESS)
        return nullptr;
    return PrototypeInstance->FindParam(static_cast<int32_t>(index));
}

// The prototype's option element, or nullptr when there is no such element.
const ParamElement* PrototypeElement(const IndexPairInput& input)
{
    const ParamInfo* record = PrototypeParam(input.paramIndex);
    if (record == nullptr || input.itemIndex >= record->elements.size())
        return nullptr;
    return &record->elements[input.itemIndex];
}

FFResult GetParameterDefault(uint32_t index)
{
    const ParamInfo* record = PrototypeParam(index);
    if (record == nullptr)
        return FF_FAIL32;
    if (IsTextParamType(record->type))
        return PointerResult(record->defaultText.c_str());
    return FloatResult(record->defaultValue);
}

FFResult SetParameter(CFFGLPlugin& instance, const ParamValueInput* input)
{
    if (input == nullptr)
        return FF_FAIL32;
    // The type always comes from the prototype, whatever the instance's own table says.
    if (IsTextParamType(GetParamType(input->index)))
    {
        const auto* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(input->value));
        return Result32(instance.SetTextParameter(input->index, text));
    }
    return Result32(instance.SetFloatParameter(input->index, FloatFromBits(static_cast<uint32_t>(input->value))));
}

FFResult GetParameter(CFFGLPlugin& instance, uint32_t index)
{
    if (IsTextParamType(GetParamType(index)))
        return PointerResult(instance.GetTextParameter(index));
    return FloatResult(instance.GetFloatParameter(index));
}

FFResult GetCapability(uint32_t capability)
{
    if (EnsurePrototype() != FF_SUCCESS)
        return FF_FAIL32;
    switch (capability)
    {
        case FF_CAP_SET_TIME: return Result32(PrototypeInstance->IsTimeSupported() ? 1u : 0u);
        case FF_CAP_MIN_INPUT_FRAMES: return Result32(NonNegativeFrames(PrototypeInstance->GetMinInputFrames()));
        case FF_CAP_MAX_INPUT_FRAMES: return Result32(NonNegativeFrames(PrototypeInstance->GetMaxInputFrames()));
        default: return Result32(0u);
    }
}

FFResult ProcessFrame(CFFGLPlugin& instance, ProcessOpenGLStruct* frame)
{
    if (frame == nullptr)
        return FF_FAIL32;
    ConnectBeforeFrame(instance);
    return Result32(instance.ProcessOpenGL(frame));
}

FFResult SetTime(CFFGLPlugin& instance, uint64_t input)
{
    const auto* hostTime = InputRecord<unsigned char>(input);
    if (hostTime == nullptr)
        return FF_FAIL32;
    double value = 0.0;
    std::memcpy(&value, hostTime, sizeof(value));
    return Result32(instance.SetTime(value));
}

FFResult SetElementValue(CFFGLPlugin& instance, const ElementValueInput* input)
{
    if (input == nullptr)
        return FF_FAIL32;
    // Only this instance's own table changes; queries keep reading the prototype's.
    ParamInfo* record = instance.FindParam(static_cast<int32_t>(input->paramIndex));
    if (record == nullptr || input->elementIndex >= record->elements.size())
        return FF_FAIL32;
    record->elements[input->elementIndex].value = input->value;
    return Result32(FF_SUCCESS);
}

FFResult GetRange(RangeInput* input)
{
    if (EnsurePrototype() != FF_SUCCESS || input == nullptr)
        return FF_FAIL32;
    const ParamInfo* record = PrototypeInstance->FindParam(static_cast<int32_t>(input->paramIndex));
    input->min = record != nullptr ? record->min : 0.0f;
    input->max = record != nullptr ? record->max : 1.0f;
    return Result32(FF_SUCCESS);
}

FFResult GetThumbnail(ThumbnailInput* input)
{
    if (input == nullptr)
        return FF_FAIL32;
    const ThumbnailInfo* thumbnail = CurrentThumbnailInfo;
    if (thumbnail == nullptr)
    {
        input->width = 0;
        input->height = 0;
        return FF_FAIL32;
    }
    const auto width = static_cast<uint32_t>(thumbnail->width);
    const auto height = static_cast<uint32_t>(thumbnail->height);
    input->width = width;
    input->height = height;
    if (input->pixels == nullptr || thumbnail->pixels == nullptr || thumbnail->width <= 0 || thumbnail->height <= 0)
        return Result32(FF_SUCCESS);
    // The host's buffer must hold width x height pixels; its size is the host's to get right.
    std::memcpy(input->pixels, thumbnail->pixels, width * height * 4u);
    return Result32(FF_SUCCESS);
}

FFResult GetNumFileExtensions(uint32_t index)
{
    if (EnsurePrototype() != FF_SUCCESS)
        return FF_FAIL32;
    const ParamInfo* record = PrototypeInstance->FindParam(static_cast<int32_t>(index));
    return Result32(record != nullptr ? static_cast<uint32_t>(record->fileExtensions.size()) : 0u);
}

FFResult GetFileExtension(const IndexPairInput* input)
{
    if (input == nullptr)
        return NullPointer;
    const ParamInfo* record = PrototypeParam(input->paramIndex);
    if (record == nullptr || input->itemIndex >= record->fileExtensions.size())
        return NullPointer;
    return PointerResult(record->fileExtensions[input->itemIndex].c_str());
}

FFResult GetCode45Flag(CFFGLPlugin* instance, uint32_t index)
{
    const ParamInfo* record =
        instance != nullptr ? instance->FindParam(static_cast<int32_t>(index)) : PrototypeParam(index);
    if (record == nullptr)
        return FF_FAIL32;
    return Result32(record->code45Flag ? 1u : 0u);
}

FFResult CollectParameterEvents(CFFGLPlugin& instance, EventListInput* input)
{
    if (input == nullptr)
        return FF_FAIL32;
    auto& records = instance.GetParams();
    if (input->entries == nullptr)
    {
        uint32_t pending = 0;
        for (const auto& record : records)
            if (record.pendingEvents != 0)
                ++pending;
        input->count = pending;
        return Result32(FF_SUCCESS);
    }
    const uint32_t capacity = input->count;
    uint32_t written = 0;
    for (auto& record : records)
    {
        if (written >= capacity)
            break;
        if (record.pendingEvents == 0)
            continue;
        input->entries[written].paramId = static_cast<uint32_t>(record.id);
        input->entries[written].events = record.pendingEvents;
        record.pendingEvents = 0;
        ++written;
    }
    input->count = written;
    return Result32(FF_SUCCESS);
}

using Row = CodeRow<CFFGLPlugin>;
using Object = CFFGLPlugin*;

// The one table of this interface: every code it handles, with what it needs
// and its failure answer (also given when an exception reaches plugMain).
Row RowOf(uint32_t code)
{
    constexpr auto nothing = CodeNeeds::nothing;
    constexpr auto instance = CodeNeeds::instance;

    switch (code)
    {
        // Neither prototype nor instance.
        case FF_GET_INFO:
            return { nothing, NullPointer, [](uint64_t, Object) {
                        return CurrentPluginInfo != nullptr ? PointerResult(CurrentPluginInfo->GetInfo()) : NullPointer;
                    } };
        case FF_GET_EXTENDED_INFO:
            return { nothing, NullPointer, [](uint64_t, Object) {
                        return CurrentPluginInfo != nullptr ? PointerResult(CurrentPluginInfo->ExtendedInfo())
                                                            : NullPointer;
                    } };
        case FF_DEINITIALISE: return { nothing, FF_FAIL32, [](uint64_t, Object) { return Result32(Deinitialise()); } };
        case FF_INSTANTIATE_GL:
            return { nothing, FF_FAIL64,
                     [](uint64_t input, Object) { return InstantiateGL(InputRecord<FFGLViewport>(input)); } };
        case FF_GET_THUMBNAIL:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object) { return GetThumbnail(OutputRecord<ThumbnailInput>(input)); } };

        // The prototype, made on demand by the work itself (some codes refuse a bad record first).
        case FF_GET_NUM_PARAMETERS:
            return { nothing, FF_FAIL32, [](uint64_t, Object) {
                        return EnsurePrototype() == FF_SUCCESS ? Result32(PrototypeInstance->GetNumParams())
                                                               : FF_FAIL32;
                    } };
        case FF_GET_PARAMETER_NAME:
            return { nothing, NullPointer,
                     [](uint64_t input, Object)
                     {
                         const ParamInfo* record = PrototypeParam(static_cast<uint32_t>(input));
                         return record != nullptr ? PointerResult(record->name) : NullPointer;
                     } };
        case FF_GET_PARAMETER_DEFAULT:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object) { return GetParameterDefault(static_cast<uint32_t>(input)); } };
        case FF_GET_PLUGIN_CAPS:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object) { return GetCapability(static_cast<uint32_t>(input)); } };
        case FF_GET_PARAMETER_TYPE:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object) { return Result32(GetParamType(static_cast<uint32_t>(input))); } };
        case FF_GET_NUM_PARAMETER_ELEMENTS:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object)
                     {
                         const ParamInfo* record = PrototypeParam(static_cast<uint32_t>(input));
                         return record != nullptr ? Result32(static_cast<uint32_t>(record->elements.size()))
                                                  : FF_FAIL32;
                     } };
        case FF_GET_PARAMETER_CODE32:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object)
                     {
                         const ParamInfo* record = PrototypeParam(static_cast<uint32_t>(input));
                         return record != nullptr ? Result32(record->code32Value) : FF_FAIL32;
                     } };
        case FF_GET_PLUGIN_SHORT_NAME:
            return { nothing, NullPointer, [](uint64_t, Object) {
                        return EnsurePrototype() == FF_SUCCESS ? PointerResult(PrototypeInstance->GetShortName())
                                                               : NullPointer;
                    } };
        case FF_INITIALISE_PROTOTYPE:
            return { nothing, FF_FAIL32, [](uint64_t, Object) { return Result32(EnsurePrototype()); } };
        case FF_GET_PARAMETER_ELEMENT_NAME:
            return { nothing, NullPointer,
                     [](uint64_t input, Object)
                     {
                         const auto* pair = InputRecord<IndexPairInput>(input);
                         const ParamElement* element = pair != nullptr ? PrototypeElement(*pair) : nullptr;
                         return element != nullptr ? PointerResult(element->name.c_str()) : NullPointer;
                     } };
        case FF_GET_PARAMETER_ELEMENT_VALUE:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object)
                     {
                         const auto* pair = InputRecord<IndexPairInput>(input);
                         const ParamElement* element = pair != nullptr ? PrototypeElement(*pair) : nullptr;
                         return element != nullptr ? FloatResult(element->value) : FF_FAIL32;
                     } };
        case FF_GET_RANGE:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object) { return GetRange(OutputRecord<RangeInput>(input)); } };
        case FF_GET_NUM_FILE_EXTENSIONS:
            return { nothing, FF_FAIL32,
                     [](uint64_t input, Object) { return GetNumFileExtensions(static_cast<uint32_t>(input)); } };
        case FF_GET_FILE_EXTENSION:
            return { nothing, NullPointer,
                     [](uint64_t input, Object) { return GetFileExtension(InputRecord<IndexPairInput>(input)); } };
        // The host's instance when it names one, the prototype otherwise.
        case FF_GET_CODE45_FLAG:
            return { nothing, FF_FAIL32, [](uint64_t input, Object object) {
                        return GetCode45Flag(object, static_cast<uint32_t>(input));
                    } };

        // The host's instance; a missing record is refused by each work.
        case FF_GET_PARAMETER_DISPLAY:
            return { instance, FF_FAIL64, [](uint64_t input, Object object) {
                        return PointerResult(object->GetParameterDisplay(static_cast<uint32_t>(input)));
                    } };
        case FF_SET_PARAMETER:
            return { instance, FF_FAIL32, [](uint64_t input, Object object) {
                        return SetParameter(*object, InputRecord<ParamValueInput>(input));
                    } };
        case FF_GET_PARAMETER:
            return { instance, FF_FAIL32, [](uint64_t input, Object object) {
                        return GetParameter(*object, static_cast<uint32_t>(input));
                    } };
        case FF_GET_INPUT_STATUS:
            return { instance, FF_FAIL32, [](uint64_t input, Object object) {
                        return Result32(object->GetInputStatus(static_cast<uint32_t>(input)));
                    } };
        case FF_PROCESS_OPENGL:
            return { instance, FF_FAIL32, [](uint64_t input, Object object) {
                        return ProcessFrame(*object, OutputRecord<ProcessOpenGLStruct>(input));
                    } };
        case FF_DEINSTANTIATE_GL:
            return { instance, FF_FAIL32, [](uint64_t, Object object) { return Result32(DeInstantiateGL(object)); } };
        case FF_SET_TIME:
            return { instance, FF_FAIL32, [](uint64_t input, Object object) { return SetTime(*object, input); } };
        case FF_CONNECT:
            return { instance, FF_FAIL32, [](uint64_t, Object object) { return Result32(ConnectInstance(*object)); } };
        case FF_DISCONNECT:
            return { instance, FF_FAIL32,
                     [](uint64_t, Object object) { return Result32(DisconnectInstance(*object)); } };
        case FF_RESIZE:
            return { instance, FF_FAIL32,
                     [](uint64_t input, Object object)
                     {
                         const auto* viewport = InputRecord<FFGLViewport>(input);
                         return viewport != nullptr ? Result32(object->Resize(viewport)) : FF_FAIL32;
                     } };
        case FF_SET_PARAMETER_ELEMENT_VALUE:
            return { instance, FF_FAIL32, [](uint64_t input, Object object) {
                        return SetElementValue(*object, InputRecord<ElementValueInput>(input));
                    } };
        case FF_SET_BEAT_INFO:
            return { instance, FF_FAIL32,
                     [](uint64_t input, Object object)
                     {
                         const auto* beat = InputRecord<BeatInput>(input);
                         if (beat == nullptr)
                             return FF_FAIL32;
                         object->SetBeatInfo(beat->bpm, beat->barPhase);
                         return Result32(FF_SUCCESS);
                     } };
        case FF_SET_HOST_INFO:
            return { instance, FF_FAIL32,
                     [](uint64_t input, Object object)
                     {
                         const auto* host = InputRecord<HostInfoInput>(input);
                         if (host == nullptr)
                             return FF_FAIL32;
                         object->SetHostInfo(host->name, host->version);
                         return Result32(FF_SUCCESS);
                     } };
        case FF_SET_SAMPLE_RATE:
            return { instance, FF_FAIL32,
                     [](uint64_t input, Object object)
                     {
                         object->SetSampleRate(static_cast<uint32_t>(input));
                         return Result32(FF_SUCCESS);
                     } };
        case FF_GET_PARAMETER_EVENTS:
            return { instance, FF_FAIL32, [](uint64_t input, Object object) {
                        return CollectParameterEvents(*object, OutputRecord<EventListInput>(input));
                    } };

        default: return {}; // codes 1, 3, 11, 12, 14, 24 to 30 and everything above 46
    }
}
} // namespace

extern "C" ZM_PLUGIN_EXPORT uint64_t plugMain(uint32_t functionCode, uint64_t input, uint64_t instance)
{
    return AnswerCode<CFFGLPlugin>(functionCode, input, instance, RowOf, EnsurePrototype);
}
