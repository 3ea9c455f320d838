#pragma once

#include "GLEntryPoints.h"

#include <string>
#include <vector>

/*
    Swaps every zmgl:: entry point for a stub that records the call's name and,
    when forwarding, passes the call on to the real entry point; restores them
    all on destruction. A test may replace single pointers afterwards with fakes
    of its own (which may call Record).
*/
class GLCallRecorder
{
public:
    explicit GLCallRecorder(bool forwardToGL);
    ~GLCallRecorder();

    static void Record(const char* name);

    /** The names of the calls made while this recorder was installed. */
    std::vector<std::string> calls;
};
