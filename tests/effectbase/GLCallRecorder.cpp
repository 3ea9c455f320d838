#include "GLCallRecorder.h"

namespace
{
GLCallRecorder* active = nullptr;
bool forwarding = false;

template <const char* Name, typename Fn>
struct Stub;

template <const char* Name, typename R, typename... Args>
struct Stub<Name, R (*)(Args...)>
{
    static inline R (*real)(Args...) = nullptr;

    static R Call(Args... args)
    {
        GLCallRecorder::Record(Name);
        if (forwarding && real != nullptr)
            return real(args...);
        return R();
    }
};

#define ZM_LABEL(type, name) constexpr char name##Label[] = #name;
ZM_GL_ENTRY_POINTS(ZM_LABEL)
#undef ZM_LABEL

struct SavedEntryPoints
{
#define ZM_SAVED(type, name) type name = nullptr;
    ZM_GL_ENTRY_POINTS(ZM_SAVED)
#undef ZM_SAVED
} saved;
} // namespace

GLCallRecorder::GLCallRecorder(bool forwardToGL)
{
    active = this;
    forwarding = forwardToGL;
#define ZM_INSTALL(type, name)                   \
    saved.name = zmgl::name;                     \
    Stub<name##Label, type>::real = zmgl::name;  \
    zmgl::name = &Stub<name##Label, type>::Call;
    ZM_GL_ENTRY_POINTS(ZM_INSTALL)
#undef ZM_INSTALL
}

GLCallRecorder::~GLCallRecorder()
{
#define ZM_RESTORE(type, name) zmgl::name = saved.name;
    ZM_GL_ENTRY_POINTS(ZM_RESTORE)
#undef ZM_RESTORE
    active = nullptr;
}

void GLCallRecorder::Record(const char* name)
{
    if (active != nullptr)
        active->calls.emplace_back(name);
}
