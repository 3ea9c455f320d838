#include "DebugOutput.h"

#include <iostream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include "WindowsIncludes.h"
#else
namespace
{
// Where no debugger channel exists, standard error is the closest thing a developer watches.
void OutputDebugStringA(const char* text)
{
    std::cerr << text << std::flush;
}
} // namespace
#endif

void logToDebugOutput(const char* prefix, const char* message)
{
    std::ostringstream stream;
    stream << (prefix != nullptr ? prefix : "") << (message != nullptr ? message : "");
    const std::string text = stream.str();

    OutputDebugStringA(text.c_str());
    OutputDebugStringA("\n");

    std::cout << text << std::endl;
}

void logToDebuggerOnly(const char* message)
{
    OutputDebugStringA(message != nullptr ? message : "");
    OutputDebugStringA("\n");
}
