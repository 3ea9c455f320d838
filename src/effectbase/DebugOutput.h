#pragma once

inline namespace ZM_BUILD_NAMESPACE
{

/**
    Reports a shader failure: writes the prefix immediately followed by the
    message to the debugger output channel, then a separate line end to that
    channel, and then the same text and a line end to standard output, which is
    flushed.

    The debugger channel is the one a Windows debugger shows; on other
    platforms standard error stands in for it.

    A null prefix or message counts as empty text.
*/
void logToDebugOutput(const char* prefix, const char* message);

} // namespace ZM_BUILD_NAMESPACE
