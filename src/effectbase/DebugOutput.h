#pragma once

// The one debugger-output channel of both builds: the same code in each, so it
// lives outside the builds' namespaces.

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

/**
    Writes a message and a line end to the debugger output channel only: for
    notes a developer may want to see but that a user's console should not show.
    A null message counts as empty text.
*/
void logToDebuggerOnly(const char* message);
