// The Windows branches of the shared code, run under Wine: the GL entry-point
// lookup, the debugger output channel, and the host folder and files in Documents.
#include "DebugOutput.h"
#include "GLEntryPoints.h"
#include "OutputSetupReader.h"
#include "WineHostFiles.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace
{
// Collects what reaches OutputDebugStringA: the call raises a debug-print
// exception that vectored handlers see before any debugger would.
std::vector<std::string>* debugStrings = nullptr;

LONG CALLBACK CollectDebugString(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (debugStrings != nullptr && record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2)
    {
        const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
        const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        // The length counts the terminator.
        debugStrings->emplace_back(text, length > 0 ? length - 1 : 0);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Redirects the C runtime's standard output into a temporary file.
class StdoutCapture
{
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        path = juce::File::createTempFile(".txt").getFullPathName().toStdString();
        saved = _dup(1);
        const int file = _open(path.c_str(), _O_CREAT | _O_TRUNC | _O_WRONLY | _O_BINARY, 0600);
        _dup2(file, 1);
        _close(file);
    }

    std::string Finish()
    {
        std::cout.flush();
        std::fflush(stdout);
        _dup2(saved, 1);
        _close(saved);
        const juce::File file(path);
        const std::string text = file.loadFileAsString().toStdString();
        file.deleteFile();
        return text;
    }

private:
    std::string path;
    int saved = -1;
};

TEST(WindowsGLEntryPoints, NoCurrentContextMeansFailure)
{
    // Nothing is current here; the lookup must report failure, not guess.
    ASSERT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(LoadGLEntryPoints(), 0);
    // glGetString is an OpenGL 1.1 export that wglGetProcAddress does not give:
    // it can only have come from the OpenGL32.dll fallback.
    EXPECT_NE(zmgl::glGetString, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(zmgl::glGetString),
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("OpenGL32.dll"), "glGetString")));
}

TEST(WindowsDebugOutput, MessageThenLineEndOnDebuggerAndStdout)
{
    std::vector<std::string> seen;
    debugStrings = &seen;
    void* handler = AddVectoredExceptionHandler(1, CollectDebugString);
    ASSERT_NE(handler, nullptr);

    StdoutCapture capture;
    logToDebugOutput("Vertex Shader error: ", "0:1(1): syntax error\nnext line");
    const std::string written = capture.Finish();

    RemoveVectoredExceptionHandler(handler);
    debugStrings = nullptr;

    EXPECT_EQ(written, "Vertex Shader error: 0:1(1): syntax error\nnext line\n");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "Vertex Shader error: 0:1(1): syntax error\nnext line");
    EXPECT_EQ(seen[1], "\n");
}

TEST(WindowsOutputSetup, DocumentsFolderIsTheUsersOwn)
{
    const auto juceDocuments = juce::File::getSpecialLocation(juce::File::userDocumentsDirectory).getFullPathName();
    EXPECT_TRUE(juceDocuments.equalsIgnoreCase(juce::String(WineHostFiles::DocumentsFolder())))
        << juceDocuments << " vs " << WineHostFiles::DocumentsFolder();
}

TEST(WindowsOutputSetup, EachBuildReadsItsOwnHostFolder)
{
    WineHostFiles arena("Resolume Arena/");
    WineHostFiles arena6("Resolume Arena 6/");
    ASSERT_TRUE(arena.WriteSettings(WineHostFiles::SettingsWithScreens({ "Seven" })));
    ASSERT_TRUE(arena6.WritePreset("Show", WineHostFiles::PresetWithScreens({ "Six A", "Six B" })));
    ASSERT_TRUE(arena6.WriteSettings(WineHostFiles::SettingsNamingPreset("Show")));

    OutputSetupReader reader21(false);
    OutputSetupReader reader15(true);
    arena.RemoveAll();
    arena6.RemoveAll();

    ASSERT_EQ(reader21.screens.size(), 1u);
    EXPECT_EQ(reader21.screens[0].name, "Seven");
    ASSERT_EQ(reader15.screens.size(), 2u);
    EXPECT_EQ(reader15.screens[0].name, "Six A");
    EXPECT_EQ(reader15.screens[1].name, "Six B");
}

TEST(WindowsOutputSetup, PollSeesTheHostRewriteItsFile)
{
    WineHostFiles arena("Resolume Arena/");
    ASSERT_TRUE(arena.WriteSettings(WineHostFiles::SettingsWithScreens({ "Before" })));
    OutputSetupReader reader(false);
    ASSERT_EQ(reader.screens.size(), 1u);
    EXPECT_FALSE(reader.Poll());

    ASSERT_TRUE(arena.WriteSettings(WineHostFiles::SettingsWithScreens({ "After", "Second" })));
    // Make the change visible whatever the file system's time resolution.
    const juce::File settings = juce::File(juce::String(WineHostFiles::DocumentsFolder()))
                                    .getChildFile("Resolume Arena/Preferences/AdvancedOutput.xml");
    settings.setLastModificationTime(juce::Time::getCurrentTime() + juce::RelativeTime::seconds(5));

    EXPECT_TRUE(reader.Poll());
    arena.RemoveAll();
    ASSERT_EQ(reader.screens.size(), 2u);
    EXPECT_EQ(reader.screens[0].name, "After");
}
TEST(WindowsOutputSetup, FileTheHostHoldsLockedIsReadOnceReleased)
{
    WineHostFiles arena("Resolume Arena/");
    ASSERT_TRUE(arena.WriteSettings(WineHostFiles::SettingsWithScreens({ "Before" })));
    OutputSetupReader reader(false);
    ASSERT_EQ(reader.screens.size(), 1u);

    // The host rewrites its file through a handle that shares nothing, over a few frames.
    const juce::File settings = juce::File(juce::String(WineHostFiles::DocumentsFolder()))
                                    .getChildFile("Resolume Arena/Preferences/AdvancedOutput.xml");
    const HANDLE held = CreateFileW(settings.getFullPathName().toWideCharPointer(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string after = WineHostFiles::SettingsWithScreens({ "After", "Second" });
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(held, after.data(), (DWORD)after.size(), &written, nullptr));

    for (int frame = 0; frame < 3; ++frame)
    {
        EXPECT_FALSE(reader.Poll());
        ASSERT_EQ(reader.screens.size(), 1u) << "the last screens stay";
    }

    CloseHandle(held);
    EXPECT_TRUE(reader.Poll());
    arena.RemoveAll();
    ASSERT_EQ(reader.screens.size(), 2u);
    EXPECT_EQ(reader.screens[0].name, "After");
}
} // namespace
