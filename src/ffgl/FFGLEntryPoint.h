#pragma once

#include "FFGLTypes.h"

#include <cstdint>
#include <cstring>

/*
    What the two plugMain sources (FFGL 2.1 and FFGL 1.5) share: the export
    marker, the function and capability numbers both standards give the same
    meaning, and the packing of values into plugMain's 64-bit result.

    Only the entry-point sources include this; each build keeps its own
    dispatch and its own failure answer per code.

    Usage:
        extern "C" ZM_PLUGIN_EXPORT uint64_t plugMain (uint32_t code, uint64_t input, uint64_t instance);
        ...
        case FF_GET_PARAMETER: return FloatResult (instance.GetFloatParameter (index));
*/

#ifdef _WIN32
 #define ZM_PLUGIN_EXPORT __declspec(dllexport)
#else
 #define ZM_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

/** Function codes 0 to 33, as both standards number them. Code 1 is answered by the FFGL 1.5 build only. */
enum FFGLFunctionCode : uint32_t
{
    FF_GET_INFO = 0,
    FF_INITIALISE = 1,
    FF_DEINITIALISE = 2,
    FF_GET_NUM_PARAMETERS = 4,
    FF_GET_PARAMETER_NAME = 5,
    FF_GET_PARAMETER_DEFAULT = 6,
    FF_GET_PARAMETER_DISPLAY = 7,
    FF_SET_PARAMETER = 8,
    FF_GET_PARAMETER = 9,
    FF_GET_PLUGIN_CAPS = 10,
    FF_GET_EXTENDED_INFO = 13,
    FF_GET_PARAMETER_TYPE = 15,
    FF_GET_INPUT_STATUS = 16,
    FF_PROCESS_OPENGL = 17,
    FF_INSTANTIATE_GL = 18,
    FF_DEINSTANTIATE_GL = 19,
    FF_SET_TIME = 20,
    FF_CONNECT = 21,
    FF_DISCONNECT = 22,
    FF_RESIZE = 23,
    FF_GET_NUM_PARAMETER_ELEMENTS = 31,
    FF_GET_PARAMETER_CODE32 = 32,
    FF_GET_PLUGIN_SHORT_NAME = 33,
};

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

/** A float's bit pattern in the low half. */
inline FFResult FloatResult(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

/** An address in all 64 bits. */
inline FFResult PointerResult(const void* pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

/** The float whose bit pattern is the low 32 bits of a host's value; the upper half is ignored. */
inline float FloatFromBits(uint64_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    float number = 0.0f;
    std::memcpy(&number, &bits, sizeof(number));
    return number;
}

/** Runs dispatch () and returns its result; an exception is answered with failure (code) instead,
    because nothing may unwind into the host. */
template <typename Dispatch, typename Failure>
FFResult CallGuarded(uint32_t code, Dispatch&& dispatch, Failure&& failure) noexcept
{
    try
    {
        return dispatch();
    }
    catch (...)
    {
        return failure(code);
    }
}

/** An input-frame count as a capability answer: never below 0. */
inline uint32_t NonNegativeFrames(int32_t frames)
{
    return frames < 0 ? 0u : static_cast<uint32_t>(frames);
}
