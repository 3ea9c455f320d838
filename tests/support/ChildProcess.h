#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

/**
    Runs part of a test in a child process of its own and answers the code it
    exits with, so that state a process keeps for good (Mesa's version
    override, GL entry points looked up once) starts afresh each time. The
    child must not touch a GL context the parent made: make the parent's
    contexts after the children, or none at all. -1 when the child could not
    be made or did not exit normally.

    Usage:
        EXPECT_EQ (RunInChildProcess ([] { ::setenv ("MESA_GL_VERSION_OVERRIDE", "2.1", 1); return Check(); }), 0);
*/
template <typename Body>
int RunInChildProcess(Body&& body)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0)
        ::_exit(body());

    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
