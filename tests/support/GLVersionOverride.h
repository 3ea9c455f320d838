#pragma once

#include "ChildProcess.h"
#include "EglContext.h"

#include <cstdint>
#include <cstdlib>

/** What a host gets when it asks for an instance (code 18). */
enum InstantiationOutcome
{
    instanceMade = 0,
    instanceRefused = 1,
    noContext = 2
};

/**
    In a child process: Mesa made to offer OpenGL `version` (its
    MESA_GL_VERSION_OVERRIDE), a compatibility context made current, then one
    instantiation through plugMain, released again when it succeeds. Answers
    an InstantiationOutcome, or -1 when the child failed.

    Usage:
        EXPECT_EQ (InstantiateUnderGLVersion ("2.1", plugMain), instanceRefused);
*/
inline int InstantiateUnderGLVersion(const char* version, uint64_t (*plugMain)(uint32_t, uint64_t, uint64_t))
{
    return RunInChildProcess(
        [=]
        {
            ::setenv("MESA_GL_VERSION_OVERRIDE", version, 1);
            EglContext context;
            if (!context.Create(EglContext::Profile::Compatibility))
                return int(noContext);

            struct // laid out as the host's FFGLViewport
            {
                uint32_t x, y;
                uint32_t width, height;
            } viewport { 0, 0, 32, 32 };
            const uint64_t instance = plugMain(18, reinterpret_cast<uintptr_t>(&viewport), 0);
            if (instance == ~uint64_t(0))
                return int(instanceRefused);
            plugMain(19, 0, instance);
            return int(instanceMade);
        });
}
