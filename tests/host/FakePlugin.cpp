// A small FFGL source plug-in for the host's tests: five parameters of different
// kinds (one with a full 16-byte name, one option, one text), a picture whose
// top and bottom halves differ so the row order of read-backs shows, and a log of
// every function code it was called with. Built once per API version.

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

#include "FFGLTypes.h"

#include <cstring>
#include <new>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
// The full-width name is followed by bytes that are no part of it: a reader must stop at 16.
struct ParameterName
{
    char chars[16];
    char trailing[4];
};

const FFGLInfoStruct info = {
    ZM_FAKE_API_MAJOR, ZM_FAKE_API_MAJOR >= 2 ? 1u : 5u, { 'F', 'A', 'K', 'E' }, "Fake Source", 1
};
const FFGLExtendedInfoStruct extended = { 3, 7, "fake description", "fake about", 0, nullptr };

enum : uint32_t
{
    failFrames,
    level,
    mode,
    longName,
    caption,
    parameterCount
};

const ParameterName names[parameterCount] = {
    { "Fail Frames", "" },
    { "Level", "" },
    { "Mode", "" },
    { { 'S', 'i', 'x', 't', 'e', 'e', 'n', 'C', 'h', 'a', 'r', 'N', 'a', 'm', 'e', '!' }, "XYZ" },
    { "Caption", "" }
};
const int32_t types[parameterCount] = { FF_TYPE_BOOLEAN, FF_TYPE_STANDARD, FF_TYPE_OPTION, FF_TYPE_STANDARD,
                                        FF_TYPE_TEXT };
const float defaults[parameterCount] = { 0.0f, 0.5f, 0.0f, 0.25f, 0.0f };
const char* const elementNames[2] = { "Red", "Green Tint" };
const float elementValues[2] = { 0.0f, 1.0f };

struct Instance
{
    FFGLViewport viewport;
    float values[parameterCount];
    std::string caption;
};

std::string callLog;

uint64_t Address(const void* pointer)
{
    return reinterpret_cast<uintptr_t>(pointer);
}

template <typename T>
T* Record(uint64_t input)
{
    return reinterpret_cast<T*>(static_cast<uintptr_t>(input));
}

uint64_t DrawFrame(Instance& instance, const ProcessOpenGLStruct& frame)
{
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    if (instance.values[failFrames] != 0.0f || static_cast<uint32_t>(bound) != frame.HostFBO)
        return FF_FAIL32;

    const GLsizei w = static_cast<GLsizei>(instance.viewport.width);
    const GLsizei h = static_cast<GLsizei>(instance.viewport.height);
    const float strength = instance.values[level];
    glEnable(GL_SCISSOR_TEST);
    // Bottom half (GL rows 0 .. h/2): translucent blue.
    glScissor(0, 0, w, h / 2);
    glClearColor(0.0f, 0.0f, 1.0f, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT);
    // Top half: red, or green for the second option element, at the "Level" strength.
    glScissor(0, h / 2, w, h - h / 2);
    if (instance.values[mode] == 1.0f)
        glClearColor(0.0f, strength, 0.0f, 1.0f);
    else
        glClearColor(strength, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // Left enabled on purpose: the host must not rely on the plug-in's GL state.
    glScissor(0, 0, 1, 1);
    return FF_SUCCESS;
}

uint64_t Dispatch(uint32_t code, uint64_t input, uint64_t handle)
{
    Instance* instance = Record<Instance>(handle);
    const uint32_t index = static_cast<uint32_t>(input);

    // FFGL 1.x knows no codes above 33.
    if (ZM_FAKE_API_MAJOR < 2 && code > 33)
        return FF_FAIL32;

    switch (code)
    {
        case 0: return Address(&info);
        case 2: return FF_SUCCESS;
        case 4: return parameterCount;
        case 5: return index < parameterCount ? Address(names[index].chars) : 0;
        case 6:
            if (index >= parameterCount)
                return FF_FAIL32;
            return types[index] == FF_TYPE_TEXT ? Address("hello") : FloatResult(defaults[index]);
        case 8:
        {
            const auto* value = Record<ParamValueInput>(input);
            if (instance == nullptr || value->index >= parameterCount)
                return FF_FAIL32;
            if (types[value->index] == FF_TYPE_TEXT)
                instance->caption = Record<const char>(value->value);
            else
                instance->values[value->index] = FloatFromBits(value->value);
            return FF_SUCCESS;
        }
        case 9:
            if (instance == nullptr || index >= parameterCount)
                return FF_FAIL32;
            return FloatResult(instance->values[index]);
        case 13: return Address(&extended);
        case 15: return index < parameterCount ? static_cast<uint32_t>(types[index]) : FF_FAIL32;
        case 17:
            if (instance == nullptr || input == 0)
                return FF_FAIL32;
            return DrawFrame(*instance, *Record<ProcessOpenGLStruct>(input));
        case 18:
        {
            const auto* viewport = Record<FFGLViewport>(input);
            if (viewport == nullptr || viewport->width == 13) // 13: the way tests ask for a failure
                return FF_FAIL64;
            auto* made = new (std::nothrow) Instance { *viewport, {}, "hello" };
            if (made == nullptr)
                return FF_FAIL64;
            std::memcpy(made->values, defaults, sizeof(defaults));
            return Address(made);
        }
        case 19:
            if (instance == nullptr)
                return FF_FAIL32;
            delete instance;
            return FF_SUCCESS;
        case 23:
            if (instance == nullptr)
                return FF_FAIL32;
            instance->viewport = *Record<FFGLViewport>(input);
            return FF_SUCCESS;
        case 31: return index < parameterCount ? (types[index] == FF_TYPE_OPTION ? 2u : 1u) : FF_FAIL32;
        case 35:
        case 36:
        {
            const auto* pair = Record<IndexPairInput>(input);
            if (pair->paramIndex >= parameterCount)
                return code == 35 ? 0 : FF_FAIL32;
            const bool option = types[pair->paramIndex] == FF_TYPE_OPTION;
            if (pair->itemIndex >= (option ? 2u : 1u))
                return code == 35 ? 0 : FF_FAIL32;
            if (code == 35)
                return Address(option ? elementNames[pair->itemIndex] : "");
            return FloatResult(option ? elementValues[pair->itemIndex] : 0.0f);
        }
        default: return FF_FAIL32;
    }
}
} // namespace

FAKE_EXPORT uint64_t plugMain(uint32_t code, uint64_t input, uint64_t instance)
{
    callLog += std::to_string(code) + " ";
    return Dispatch(code, input, instance);
}

/** Every function code received since the last reset, each followed by a space. */
FAKE_EXPORT const char* fakeCallLog()
{
    return callLog.c_str();
}

FAKE_EXPORT void fakeResetLog()
{
    callLog.clear();
}
