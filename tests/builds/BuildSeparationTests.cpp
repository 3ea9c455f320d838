// The two plug-in builds compile the same class names with different layouts.
// Each build's code lives in a namespace of its own, so that an object of one
// build can never be linked against the other's: no strong definition is
// common to the static libraries of the two builds.

#include "DefinedDynamicSymbols.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace
{
std::vector<std::string> Libraries(const char* list)
{
    std::vector<std::string> paths;
    std::istringstream stream(list);
    for (std::string path; std::getline(stream, path, ';');)
        paths.push_back(path);
    return paths;
}

/** The strong (not weak, not local) definitions of the libraries, demangled. */
std::set<std::string> StrongDefinitions(const char* list)
{
    std::set<std::string> names;
    for (const auto& library : Libraries(list))
        for (const auto& symbol : DefinedSymbols(library, "--extern-only --demangle"))
            if (symbol.kind != 'W' && symbol.kind != 'V' && symbol.kind != 'u')
                names.insert(symbol.name);
    return names;
}

TEST(BuildSeparation, NoStrongDefinitionIsCommonToBothBuilds)
{
    const auto ffgl21 = StrongDefinitions(ZM_FFGL21_LIBRARIES);
    const auto ffgl15 = StrongDefinitions(ZM_FFGL15_LIBRARIES);
    ASSERT_FALSE(ffgl21.empty());
    ASSERT_FALSE(ffgl15.empty());

    std::vector<std::string> common;
    for (const auto& name : ffgl21)
        if (ffgl15.count(name) != 0)
            common.push_back(name);
    EXPECT_EQ(common, std::vector<std::string> {});

    EXPECT_EQ(ffgl21.count("ffgl21::Plugin::InitGL(FFGLViewport const*)"), 1u);
    EXPECT_EQ(ffgl15.count("ffgl15::Plugin::InitGL(FFGLViewport const*)"), 1u);
}
} // namespace
