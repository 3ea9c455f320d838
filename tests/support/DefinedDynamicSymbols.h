#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

/** One symbol as nm lists it: its kind letter (T, D, W, ...) and its name. */
struct ListedSymbol
{
    char kind = 0;
    std::string name;
};

/**
    The defined symbols nm lists for a file with the given options (added to
    --defined-only); empty when nm cannot be run.

    Usage:
        for (const auto& symbol : DefinedSymbols ("libzm_ffgl21.a", "--extern-only --demangle")) ...
*/
inline std::vector<ListedSymbol> DefinedSymbols(const std::string& file, const std::string& options)
{
    std::vector<ListedSymbol> symbols;
    const std::string command = "nm --defined-only " + options + " '" + file + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return symbols;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr)
    {
        std::istringstream fields(line);
        std::string address, kind, name;
        // Archives list their members as "name.o:" lines, which have no address.
        if (fields >> address >> kind && std::getline(fields >> std::ws, name) && kind.size() == 1)
            symbols.push_back({ kind[0], name });
    }
    ::pclose(pipe);
    return symbols;
}

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
    for (const auto& symbol : DefinedSymbols(library, "-D"))
        names.push_back(symbol.name);
    return names;
}
