#pragma once

#include <cstdlib>
#include <string>

/**
    Points HOME at a folder for the object's lifetime and puts the previous
    value back afterwards (or removes HOME if there was none). The plug-in and
    the reader find the host's files below HOME's Documents folder, so tests
    give them a folder of their own and never touch the real one.

    Usage:
        ScopedHome home (ZM_EXAMPLE_HOME);
        OutputSetupReader reader (false);
*/
class ScopedHome
{
public:
    explicit ScopedHome(const char* folder)
    {
        if (const char* old = std::getenv("HOME"))
        {
            hadHome = true;
            previous = old;
        }
        ::setenv("HOME", folder, 1);
    }

    ~ScopedHome()
    {
        if (hadHome)
            ::setenv("HOME", previous.c_str(), 1);
        else
            ::unsetenv("HOME");
    }

    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

private:
    bool hadHome = false;
    std::string previous;
};
