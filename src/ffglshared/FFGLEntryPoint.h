#pragma once

#include "FFGLTypes.h"

#include <cstdint>

/*
    What the two plugMain sources (FFGL 2.1 and FFGL 1.5) share: the export
    marker, the capability numbers both standards give the same meaning, and
    the packing of values into plugMain's 64-bit result (floats are packed by
    FFGLTypes.h, which hosts use too).

    Only the entry-point sources include this. Each build describes every code
    it handles in one table (a CodeRow per code: what the code needs, what it
    answers when it cannot work, and its work); plugMain answers each code
    from its row with AnswerCode.

    Usage:
        extern "C" ZM_PLUGIN_EXPORT uint64_t plugMain (uint32_t code, uint64_t input, uint64_t instance);
        ...
        case FF_GET_PARAMETER: return { CodeNeeds::instance, FF_FAIL32, [] (uint64_t input, CFFGLPlugin* instance) { ... } };
*/

#ifdef _WIN32
#define ZM_PLUGIN_EXPORT __declspec(dllexport)
#else
#define ZM_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

/** Capability numbers asked with FF_GET_PLUGIN_CAPS. Only the FFGL 1.5 build answers 4 with 1. */
enum FFGLCapability : uint32_t
{
    FF_CAP_PROCESS_OPENGL = 4,
    FF_CAP_SET_TIME = 5,
    FF_CAP_MIN_INPUT_FRAMES = 10,
    FF_CAP_MAX_INPUT_FRAMES = 11,
};

/** The null-address result of the codes that answer with an address. */
constexpr FFResult NullPointer = 0;

/** A 32-bit result in the low half; the upper half is left zero. */
inline FFResult Result32(int32_t value)
{
    return static_cast<uint32_t>(value);
}

inline FFResult Result32(uint32_t value)
{
    return value;
}

/** An address in all 64 bits. */
inline FFResult PointerResult(const void* pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

/** An input-frame count as a capability answer: never below 0. */
inline uint32_t NonNegativeFrames(int32_t frames)
{
    return frames < 0 ? 0u : static_cast<uint32_t>(frames);
}

/** What a function code needs before its work runs. */
enum class CodeNeeds
{
    nothing,
    prototype,        ///< the prototype, made on demand
    instance,         ///< the host's instance
    instanceAndRecord ///< the host's instance and a non-null input record
};

/**
    One function code of a build's table: what it needs, what it answers when
    it cannot work (also when its work throws), and its work. A row without
    work is a code the build does not handle.
*/
template <typename PluginObject>
struct CodeRow
{
    CodeNeeds needs = CodeNeeds::nothing;
    FFResult failure = FF_FAIL32;
    FFResult (*work)(uint64_t input, PluginObject* instance) = nullptr;
};

/** Answers a code from its row: the failure when the code is not handled or what it needs is
    missing (ensurePrototype () makes the prototype and gives 0 on success), otherwise its work. */
template <typename PluginObject, typename EnsurePrototype>
FFResult RunCodeRow(const CodeRow<PluginObject>& row, uint64_t input, PluginObject* instance,
                    EnsurePrototype&& ensurePrototype)
{
    if (row.work == nullptr)
        return row.failure;
    switch (row.needs)
    {
        case CodeNeeds::nothing: break;
        case CodeNeeds::prototype:
            if (ensurePrototype() != FF_SUCCESS)
                return row.failure;
            break;
        case CodeNeeds::instance:
            if (instance == nullptr)
                return row.failure;
            break;
        case CodeNeeds::instanceAndRecord:
            // Records are the host's; a null one is refused rather than read.
            if (instance == nullptr || input == 0)
                return row.failure;
            break;
    }
    return row.work(input, instance);
}

/** plugMain's answer: the row rowOf (code) gives, run on the host's instance handle. An exception
    is answered with that row's failure, the value hosts already expect from the code, because
    nothing may unwind into the host. */
template <typename PluginObject, typename RowOf, typename EnsurePrototype>
FFResult AnswerCode(uint32_t code, uint64_t input, uint64_t instance, RowOf&& rowOf,
                    EnsurePrototype&& ensurePrototype) noexcept
{
    try
    {
        return RunCodeRow<PluginObject>(
            rowOf(code), input, reinterpret_cast<PluginObject*>(static_cast<uintptr_t>(instance)), ensurePrototype);
    }
    catch (...)
    {
        return rowOf(code).failure;
    }
}
