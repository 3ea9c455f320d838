// Runs in a process of its own: once the GL entry points have failed to load,
// no later instantiation in the process may succeed.

#include "GLTestEnvironment.h"
#include "GLVersionOverride.h"

#include "FFGLTypes.h"
#include "InstanceLifecycle.h"
#include "TestPlugin.h"

#include <cstring>

extern "C" uint64_t plugMain(uint32_t functionCode, uint64_t input, uint64_t instance);

// First, so that its children start from a process that has not touched GL yet.
TEST(GLLoadFailure, ContextsBelowOpenGL30AreRefused)
{
    EXPECT_EQ(InstantiateUnderGLVersion("2.1", plugMain), instanceRefused);
    EXPECT_EQ(InstantiateUnderGLVersion("3.0", plugMain), instanceMade);
}

TEST(GLLoadFailure, IsPermanentButQueriesKeepWorking)
{
    testControl.Reset();
    FFGLViewport viewport { 0, 0, 32, 32 };
    const auto viewportAddress = reinterpret_cast<uint64_t>(&viewport);

    // No context is current yet: the one load attempt fails.
    EXPECT_EQ(plugMain(18, viewportAddress, 0), FF_FAIL64);
    EXPECT_TRUE(glLoadAttempted);
    EXPECT_FALSE(glLoadSucceeded);
    EXPECT_EQ(testControl.Count("InitGL"), 0);
    EXPECT_EQ(testControl.liveObjects, 1) << "only the prototype survives";

    // A context now exists, but the process does not try again.
    EglContext context;
    ASSERT_TRUE(context.Create(EglContext::Profile::Core33)) << context.GetError();
    EXPECT_EQ(plugMain(18, viewportAddress, 0), FF_FAIL64);
    EXPECT_EQ(testControl.Count("InitGL"), 0);
    EXPECT_EQ(testControl.Count("Destroy"), 2);

    EXPECT_EQ(static_cast<uint32_t>(plugMain(4, 0, 0)), 6u);
    EXPECT_STREQ(reinterpret_cast<const char*>(plugMain(5, 1, 0)), "Mode");
    EXPECT_EQ(static_cast<uint32_t>(plugMain(34, 0, 0)), 0u);
    EXPECT_EQ(static_cast<uint32_t>(plugMain(2, 0, 0)), 0u);
    EXPECT_EQ(testControl.liveObjects, 0);
    EXPECT_EQ(plugMain(18, viewportAddress, 0), FF_FAIL64);
    plugMain(2, 0, 0);
}
