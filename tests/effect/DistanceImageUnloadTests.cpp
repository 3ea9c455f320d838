// The distance image's worker threads run code of the plug-in library, so none may
// exist outside a host call: a host unloads the library, quits or forks between calls.
#include "ChildProcess.h"
#include "GLTestEnvironment.h"
#include "PluginLibrary.h"
#include "ScopedHome.h"
#include "WorkerPool.h"

#include "FFGLTypes.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace
{
// Threads of this process that carry the workers' name.
int CountWorkerThreads()
{
    int count = 0;

    for (auto& task : std::filesystem::directory_iterator("/proc/self/task"))
    {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        count += name == WorkerPool::threadName ? 1 : 0;
    }

    return count;
}

bool IsLoaded(const char* path)
{
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);

    if (handle != nullptr)
        dlclose(handle);

    return handle != nullptr;
}

struct Library
{
    const char* path;
    EglContext::Profile profile;
};

const Library libraries[] = { { ZM_PLUGIN21_PATH, EglContext::Profile::Core33 },
                              { ZM_PLUGIN15_PATH, EglContext::Profile::Compatibility } };

using DistanceImageLibrary = GLTest;
} // namespace

TEST_F(DistanceImageLibrary, NoWorkerExistsBetweenHostCallsAndTheLibraryUnloads)
{
    ScopedHome home(ZM_EXAMPLE_HOME);
    ASSERT_EQ(CountWorkerThreads(), 0);

    {
        PluginLibrary lib;
        ASSERT_TRUE(lib.Load(ZM_PLUGIN21_PATH)) << lib.GetError();

        // The GL initialisation and the resize rebuild the distance image.
        const uint64_t instance = lib.Instantiate(1280, 720);
        ASSERT_NE(instance, 0u);
        EXPECT_EQ(CountWorkerThreads(), 0);
        EXPECT_TRUE(lib.Resize(instance, 1920, 1080));
        EXPECT_EQ(CountWorkerThreads(), 0);

        // A process that forks between calls gives a child with the plug-in as it
        // was: it rebuilds and ends its instance and prototype, or it ends with the
        // objects alive, which runs the library's static destructors as unloading
        // does (Mesa's exit handlers join threads that a forked child lacks, so the
        // child unloads and leaves without them), each with nothing of ours to join.
        glFinish();
        EXPECT_EQ(RunInChildProcess(
                      [&]
                      {
                          const bool ended = lib.Resize(instance, 640, 360) && lib.Deinstantiate(instance) &&
                                             lib.Deinitialise() && CountWorkerThreads() == 0;
                          lib.Unload();
                          return ended && !IsLoaded(ZM_PLUGIN21_PATH) ? 0 : 1;
                      }),
                  0);
        EXPECT_EQ(RunInChildProcess(
                      [&]
                      {
                          lib.Unload();
                          return IsLoaded(ZM_PLUGIN21_PATH) ? 1 : 0;
                      }),
                  0);

        EXPECT_TRUE(lib.Deinstantiate(instance));
        lib.Deinitialise();
        EXPECT_EQ(CountWorkerThreads(), 0);
        lib.Unload();
    }

    EXPECT_FALSE(IsLoaded(ZM_PLUGIN21_PATH)) << "the library stayed in memory";
}

// Two host threads, each with its own context, making the first instances of a freshly
// loaded library at the same moment: the GL entry points are loaded and the prototype
// made once, and both instances work.
TEST(DistanceImageLibraryThreads, TwoThreadsInstantiateTheFreshLibraryAtOnce)
{
    ScopedHome home(ZM_EXAMPLE_HOME);

    for (const auto& library : libraries)
        for (int load = 0; load < 4; ++load)
        {
            PluginLibrary lib;
            ASSERT_TRUE(lib.Load(library.path)) << lib.GetError();

            std::atomic<int> ready { 0 };
            uint64_t instances[2] = { 0, 0 };
            bool ended[2] = { false, false };

            auto host = [&](int n)
            {
                EglContext context;
                const bool current = context.Create(library.profile);
                ++ready;

                while (ready.load() < 2)
                    std::this_thread::yield();

                if (!current)
                    return;

                FFGLViewport viewport { 0, 0, 320, 180 };
                instances[n] = lib.Call(FF_INSTANTIATE_GL, reinterpret_cast<uintptr_t>(&viewport), 0);

                if (instances[n] != 0 && !PluginLibrary::IsFailure(instances[n]))
                    ended[n] = lib.Call(FF_DEINSTANTIATE_GL, 0, instances[n]) == FF_SUCCESS;
            };

            std::thread first(host, 0), second(host, 1);
            first.join();
            second.join();

            EXPECT_TRUE(ended[0] && ended[1])
                << library.path << ", load " << load << ": " << instances[0] << ", " << instances[1];
            EXPECT_TRUE(lib.Deinitialise());
            EXPECT_EQ(CountWorkerThreads(), 0);
            lib.Unload();

            ASSERT_FALSE(IsLoaded(library.path)) << library.path << ", load " << load;
        }
}
