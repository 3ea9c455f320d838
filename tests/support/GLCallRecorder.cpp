#include "GLCallRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <type_traits>

// Each build's own list of entry points, so that the recorder covers exactly what that build calls.
#if ZM_RECORD_FFGL15
#include "GLEntryPoints15.h"
#define ZM_RECORDED_ENTRY_POINTS(X) ZM_GL15_LOADED_ENTRY_POINTS(X) ZM_GL15_SYSTEM_ENTRY_POINTS(X)
#else
#include "GLEntryPoints.h"
#define ZM_RECORDED_ENTRY_POINTS(X) ZM_GL_ENTRY_POINTS(X)
#endif

namespace
{
GLCallRecorder* active = nullptr;
bool forwarding = false;

template <typename T>
void AddIfNumeric(std::vector<double>& numbers, T value)
{
    if constexpr (std::is_arithmetic_v<T>)
        numbers.push_back(static_cast<double>(value));
}

template <const char* Name, typename Fn>
struct Stub;

template <const char* Name, typename R, typename... Args>
struct Stub<Name, R(APIENTRYP)(Args...)>
{
    static inline R(APIENTRYP real)(Args...) = nullptr;
    static inline R(APIENTRYP fake)(Args...) = nullptr;

    static R APIENTRY Call(Args... args)
    {
        if (active != nullptr)
        {
            active->calls.emplace_back(Name);
            active->arguments.emplace_back();
            (AddIfNumeric(active->arguments.back(), args), ...);
        }
        if (fake != nullptr)
            return fake(args...);
        if (forwarding && real != nullptr)
            return real(args...);
        return R();
    }
};

#define ZM_LABEL(type, name) constexpr char name##Label[] = #name;
ZM_RECORDED_ENTRY_POINTS(ZM_LABEL)
#undef ZM_LABEL
} // namespace

GLCallRecorder::GLCallRecorder(bool forwardToGL)
{
    EXPECT_EQ(active, nullptr) << "recorders do not nest";
    active = this;
    forwarding = forwardToGL;
#define ZM_INSTALL(type, name)                  \
    Stub<name##Label, type>::real = zmgl::name; \
    zmgl::name = &Stub<name##Label, type>::Call;
    ZM_RECORDED_ENTRY_POINTS(ZM_INSTALL)
#undef ZM_INSTALL
}

GLCallRecorder::~GLCallRecorder()
{
#define ZM_RESTORE(type, name)                  \
    zmgl::name = Stub<name##Label, type>::real; \
    Stub<name##Label, type>::fake = nullptr;
    ZM_RECORDED_ENTRY_POINTS(ZM_RESTORE)
#undef ZM_RESTORE
    active = nullptr;
}

void GLCallRecorder::Redirect(const void* entryPoint, void (*fake)())
{
#define ZM_REDIRECT(type, name)                                       \
    if (entryPoint == &zmgl::name)                                    \
    {                                                                 \
        Stub<name##Label, type>::fake = reinterpret_cast<type>(fake); \
        return;                                                       \
    }
    ZM_RECORDED_ENTRY_POINTS(ZM_REDIRECT)
#undef ZM_REDIRECT
    ADD_FAILURE() << "not an entry point of this build";
}

long GLCallRecorder::Count(const std::string& name) const
{
    return std::count(calls.begin(), calls.end(), name);
}

std::vector<std::vector<double>> GLCallRecorder::ArgumentsOf(const std::string& name) const
{
    // A test that cleared calls alone still finds each call's arguments: they are the last ones.
    const size_t offset = arguments.size() - calls.size();
    std::vector<std::vector<double>> matching;
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i] == name)
            matching.push_back(arguments[offset + i]);
    return matching;
}

void GLCallRecorder::Clear()
{
    calls.clear();
    arguments.clear();
}
