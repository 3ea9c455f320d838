#pragma once

#include "PluginLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

/** What a loaded plug-in should say about itself in its two information records. */
struct ExpectedIdentity
{
    std::string uniqueId;
    std::string name;
    uint32_t apiMajor = 0;
    uint32_t apiMinor = 0;
    uint32_t pluginType = 0;
    uint32_t pluginMajor = 0;
    uint32_t pluginMinor = 0;
    std::string about;
    std::optional<std::string> description; ///< left unchecked when empty
};

/** Reads both information records of a loaded plug-in and compares them with what is expected.
    Call it through ASSERT_NO_FATAL_FAILURE: a record that cannot be read stops the check. */
inline void ExpectIdentity(PluginLibrary& lib, const ExpectedIdentity& expected)
{
    PluginLibrary::Info info;
    ASSERT_TRUE(lib.GetInfo(info));
    EXPECT_EQ(info.uniqueId, expected.uniqueId);
    EXPECT_EQ(info.name, expected.name);
    EXPECT_EQ(info.apiMajor, expected.apiMajor);
    EXPECT_EQ(info.apiMinor, expected.apiMinor);
    EXPECT_EQ(info.pluginType, expected.pluginType);

    PluginLibrary::ExtendedInfo extended;
    ASSERT_TRUE(lib.GetExtendedInfo(extended));
    EXPECT_EQ(extended.pluginMajor, expected.pluginMajor);
    EXPECT_EQ(extended.pluginMinor, expected.pluginMinor);
    EXPECT_EQ(extended.about, expected.about);
    if (expected.description.has_value())
    {
        EXPECT_EQ(extended.description, *expected.description);
    }
}
