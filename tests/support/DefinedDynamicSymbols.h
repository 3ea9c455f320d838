#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

/**
    The names a shared library exports, as `nm -D --defined-only` lists them;
    empty when nm cannot be run. The delivered plug-ins must export plugMain
    and nothing else.

    Usage:
        EXPECT_EQ (DefinedDynamicSymbols (ZM_PLUGIN_PATH), std::vector<std::string> { "plugMain" });
*/
inline std::vector<std::string> DefinedDynamicSymbols(const std::string& library)
{
    std::vector<std::string> names;
    const std::string command = "nm -D --defined-only '" + library + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr)
    {
        std::istringstream fields(line);
        std::string address, kind, name;
        if (fields >> address >> kind >> name)
            names.push_back(name);
    }
    ::pclose(pipe);
    return names;
}
