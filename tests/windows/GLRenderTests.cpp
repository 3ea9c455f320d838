// Renders frames through each plug-in DLL in a real WGL context (Wine's
// OpenGL on Mesa, under a virtual X display), and ends host processes that
// still hold plug-in objects. Skipped where no context can be made, e.g. when
// Wine has no display.
#include "PluginLibrary.h"
#include "WineHostFiles.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/wglext.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace
{
constexpr int frameWidth = 160;
constexpr int frameHeight = 96;

template <typename Fn>
Fn GLProc(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

// A hidden window with an OpenGL context, current while the object lives, and
// a colour framebuffer object standing in for the host's render target.
class WglContext
{
public:
    explicit WglContext(bool coreProfile)
    {
        WNDCLASSA windowClass {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZephyrmantleTestWindow";
        windowClass.style = CS_OWNDC;
        RegisterClassA(&windowClass);
        window = CreateWindowA(windowClass.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, frameWidth, frameHeight,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
        if (window == nullptr)
            return;
        dc = GetDC(window);

        PIXELFORMATDESCRIPTOR format {};
        format.nSize = sizeof(format);
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 32;
        const int chosen = ChoosePixelFormat(dc, &format);
        if (chosen == 0 || !SetPixelFormat(dc, chosen, &format))
            return;

        context = wglCreateContext(dc);
        if (context == nullptr || !wglMakeCurrent(dc, context))
            return;

        if (coreProfile)
        {
            auto createAttribs = GLProc<PFNWGLCREATECONTEXTATTRIBSARBPROC>("wglCreateContextAttribsARB");
            if (createAttribs == nullptr)
                return;
            const int attributes[] = {
                WGL_CONTEXT_MAJOR_VERSION_ARB,    3, WGL_CONTEXT_MINOR_VERSION_ARB, 3, WGL_CONTEXT_PROFILE_MASK_ARB,
                WGL_CONTEXT_CORE_PROFILE_BIT_ARB, 0
            };
            HGLRC core = createAttribs(dc, nullptr, attributes);
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context);
            context = core;
            if (context == nullptr || !wglMakeCurrent(dc, context))
                return;
        }

        auto genFramebuffers = GLProc<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
        auto bindFramebuffer = GLProc<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
        auto genRenderbuffers = GLProc<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
        auto bindRenderbuffer = GLProc<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
        auto storage = GLProc<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
        auto attach = GLProc<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
        if (genFramebuffers == nullptr || bindFramebuffer == nullptr || genRenderbuffers == nullptr ||
            bindRenderbuffer == nullptr || storage == nullptr || attach == nullptr)
            return;
        GLuint colour = 0;
        genRenderbuffers(1, &colour);
        bindRenderbuffer(GL_RENDERBUFFER, colour);
        storage(GL_RENDERBUFFER, GL_RGBA8, frameWidth, frameHeight);
        genFramebuffers(1, &framebuffer);
        bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glViewport(0, 0, frameWidth, frameHeight);
        ready = glGetError() == GL_NO_ERROR;
    }

    ~WglContext()
    {
        if (context != nullptr)
        {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context);
        }
        if (window != nullptr)
        {
            ReleaseDC(window, dc);
            DestroyWindow(window);
        }
    }

    bool IsReady() const { return ready; }
    GLuint Framebuffer() const { return framebuffer; }

    void Clear()
    {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    std::vector<uint32_t> ReadPixels()
    {
        std::vector<uint32_t> pixels(frameWidth * frameHeight);
        glReadPixels(0, 0, frameWidth, frameHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

private:
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    GLuint framebuffer = 0;
    bool ready = false;
};

struct RenderCase
{
    const char* file;
    const char* hostFolder;
    bool coreProfile;
};

std::ostream& operator<<(std::ostream& out, const RenderCase& c)
{
    return out << c.file;
}

class PluginRendering : public ::testing::TestWithParam<RenderCase>
{
};

TEST_P(PluginRendering, DrawsTheSliceOutlinesOfTheHostLayout)
{
    WineHostFiles files(GetParam().hostFolder);
    ASSERT_TRUE(files.WriteSettings(WineHostFiles::SettingsWithScreens({ "Wall" })));

    WglContext gl(GetParam().coreProfile);
    if (!gl.IsReady())
    {
        files.RemoveAll();
        GTEST_SKIP() << "no OpenGL context here (no display for Wine?)";
    }

    PluginLibrary lib;
    ASSERT_TRUE(lib.Load(GetParam().file)) << lib.GetError();
    const uint64_t instance = lib.Instantiate(frameWidth, frameHeight);
    files.RemoveAll();
    ASSERT_NE(instance, 0u);

    gl.Clear();
    EXPECT_TRUE(lib.ProcessFrame(instance, gl.Framebuffer()));
    const std::vector<uint32_t> pixels = gl.ReadPixels();
    // The slice sits in the lower left corner: the frame cannot be one flat colour.
    const std::set<uint32_t> distinct(pixels.begin(), pixels.end());
    EXPECT_GT(distinct.size(), 2u);

    EXPECT_TRUE(lib.Resize(instance, frameWidth / 2, frameHeight / 2));
    EXPECT_TRUE(lib.ProcessFrame(instance, gl.Framebuffer()));
    EXPECT_TRUE(lib.Deinstantiate(instance));
    EXPECT_TRUE(lib.Deinitialise());
}

std::vector<RenderCase> RenderCases()
{
    return { { "Zephyrmantle_FFGL21.dll", "Resolume Arena/", true },
             { "Zephyrmantle_FFGL15.dll", "Resolume Arena 6/", false } };
}

INSTANTIATE_TEST_SUITE_P(Windows, PluginRendering, ::testing::ValuesIn(RenderCases()),
                         [](const ::testing::TestParamInfo<RenderCase>& param)
                         { return std::string(param.param.coreProfile ? "FFGL21" : "FFGL15"); });

// How a host process ends while it holds plug-in objects that have drawn.
enum class HostEnd
{
    FreeLibraryWithInstance,
    FreeLibraryWithPrototype, // the instance ended, code 2 never called
    ExitProcessWithInstance,
    ReturnFromMainWithInstance
};

const char* const hostEndNames[] = { "FreeLibraryWithInstance", "FreeLibraryWithPrototype", "ExitProcessWithInstance",
                                     "ReturnFromMainWithInstance" };

std::ostream& operator<<(std::ostream& out, HostEnd end)
{
    return out << hostEndNames[static_cast<int>(end)];
}

// Each end runs in a child process: this same test, started again with
// childVariable set, plays the host there. The parent only watches, so that a
// process that never ends fails the test within the time limit instead of
// stalling the run.
constexpr const char* childVariable = "ZM_TEST_HOST_END_CHILD";
constexpr DWORD timeLimitMs = 60000;

class PluginHostEnd : public ::testing::TestWithParam<std::tuple<RenderCase, HostEnd>>
{
protected:
    // The child's part: an instance that rebuilt its image twice, then the end.
    void EndAsHost()
    {
        const RenderCase& build = std::get<0>(GetParam());
        const HostEnd end = std::get<1>(GetParam());

        WglContext gl(build.coreProfile);
        ASSERT_TRUE(gl.IsReady());

        // Left for the end to deal with, as a host that never unloads it would.
        auto* lib = new PluginLibrary;
        ASSERT_TRUE(lib->Load(build.file)) << lib->GetError();
        const uint64_t instance = lib->Instantiate(frameWidth, frameHeight);
        ASSERT_NE(instance, 0u);
        ASSERT_TRUE(lib->Resize(instance, frameWidth * 2, frameHeight * 2));

        switch (end)
        {
            case HostEnd::FreeLibraryWithPrototype: ASSERT_TRUE(lib->Deinstantiate(instance)); [[fallthrough]];
            case HostEnd::FreeLibraryWithInstance:
                lib->Unload();
                std::fflush(nullptr);
                // Only the unload is on trial: the process goes without running anything else.
                TerminateProcess(GetCurrentProcess(), 0);
                break;
            case HostEnd::ExitProcessWithInstance: std::fflush(nullptr); ExitProcess(0);
            case HostEnd::ReturnFromMainWithInstance: break;
        }
    }
};

TEST_P(PluginHostEnd, EndsInTime)
{
    if (std::getenv(childVariable) != nullptr)
    {
        EndAsHost();
        return;
    }

    const RenderCase& build = std::get<0>(GetParam());
    {
        WglContext gl(build.coreProfile);
        if (!gl.IsReady())
            GTEST_SKIP() << "no OpenGL context here (no display for Wine?)";
    }

    WineHostFiles files(build.hostFolder);
    ASSERT_TRUE(files.WriteSettings(WineHostFiles::SettingsWithScreens({ "Wall" })));

    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    std::string commandLine =
        std::string("\"") + path + "\" --gtest_filter=" + test->test_suite_name() + "." + test->name();

    SetEnvironmentVariableA(childVariable, "1");
    STARTUPINFOA startup {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child {};
    const BOOL started =
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableA(childVariable, nullptr);
    ASSERT_TRUE(started) << "cannot start " << commandLine;

    const DWORD waited = WaitForSingleObject(child.hProcess, timeLimitMs);
    DWORD exitCode = 0;
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 99);
    else
        GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    files.RemoveAll();

    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the host process did not end within " << timeLimitMs / 1000 << " s";
    EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PluginHostEnd,
    ::testing::Combine(::testing::ValuesIn(RenderCases()),
                       ::testing::Values(HostEnd::FreeLibraryWithInstance, HostEnd::FreeLibraryWithPrototype,
                                         HostEnd::ExitProcessWithInstance, HostEnd::ReturnFromMainWithInstance)),
    [](const ::testing::TestParamInfo<std::tuple<RenderCase, HostEnd>>& param)
    {
        return std::string(std::get<0>(param.param).coreProfile ? "FFGL21_" : "FFGL15_") +
               hostEndNames[static_cast<int>(std::get<1>(param.param))];
    });
} // namespace
