// The distance image's worker threads run code of the plug-in library, so none may
// outlive the last plug-in object: a host unloads the library right after.
#include "GLTestEnvironment.h"
#include "PluginLibrary.h"
#include "ScopedHome.h"
#include "WorkerPool.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

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

using DistanceImageLibrary = GLTest;
} // namespace

TEST_F(DistanceImageLibrary, NoWorkerOutlivesTheLastObjectAndTheLibraryUnloads)
{
    ScopedHome home(ZM_EXAMPLE_HOME);
    ASSERT_EQ(CountWorkerThreads(), 0);

    {
        PluginLibrary lib;
        ASSERT_TRUE(lib.Load(ZM_PLUGIN21_PATH)) << lib.GetError();

        // The GL initialisation rebuilds the distance image on the workers.
        const uint64_t instance = lib.Instantiate(1280, 720);
        ASSERT_NE(instance, 0u);

        const bool pooled = std::thread::hardware_concurrency() > 1;
        EXPECT_EQ(CountWorkerThreads() > 0, pooled);

        // The prototype still lives: the workers wait for the next rebuild.
        EXPECT_TRUE(lib.Deinstantiate(instance));
        EXPECT_EQ(CountWorkerThreads() > 0, pooled);

        lib.Deinitialise(); // the prototype, the last object
        EXPECT_EQ(CountWorkerThreads(), 0);
        lib.Unload();
    }

    EXPECT_EQ(dlopen(ZM_PLUGIN21_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the library stayed in memory";
}
