// Checks on the delivered FFGL 2.1 plug-in as a host loads it.

#include "DefinedDynamicSymbols.h"
#include "FFGLTypes.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{
using PlugMain = uint64_t (*)(uint32_t, uint64_t, uint64_t);

// Opens the plug-in for one test and releases its prototype before closing it.
class LoadedPlugin
{
public:
    LoadedPlugin() : handle(dlopen(ZM_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL))
    {
        if (handle != nullptr)
            plugMain = reinterpret_cast<PlugMain>(dlsym(handle, "plugMain"));
    }

    ~LoadedPlugin()
    {
        if (handle != nullptr)
        {
            if (plugMain != nullptr)
                plugMain(2, 0, 0);
            dlclose(handle);
        }
    }

    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    void* handle;
    PlugMain plugMain = nullptr;
};
} // namespace

TEST(PluginLibrary, ExportsOnlyPlugMain)
{
    EXPECT_EQ(DefinedDynamicSymbols(ZM_PLUGIN_PATH), std::vector<std::string>{ "plugMain" });
}

TEST(PluginLibrary, LoadsUnloadsAndLoadsAgain)
{
    for (int round = 0; round < 3; ++round)
    {
        {
            LoadedPlugin plugin;
            ASSERT_NE(plugin.handle, nullptr) << dlerror();
            ASSERT_NE(plugin.plugMain, nullptr);
            EXPECT_NE(plugin.plugMain(0, 0, 0), 0u);
            EXPECT_EQ(static_cast<uint32_t>(plugin.plugMain(34, 0, 0)), 0u);
        }
        EXPECT_EQ(dlopen(ZM_PLUGIN_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the library stayed in memory";
    }
}

TEST(PluginLibrary, RegistersItsInformationAndThumbnail)
{
    LoadedPlugin plugin;
    ASSERT_NE(plugin.plugMain, nullptr) << dlerror();

    const auto* info = reinterpret_cast<const uint8_t*>(plugin.plugMain(0, 0, 0));
    ASSERT_NE(info, nullptr);
    uint32_t words[2] = {};
    std::memcpy(words, info, 8);
    EXPECT_EQ(words[0], 2u);
    EXPECT_EQ(words[1], 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info + 8), 4), "KVRN");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info + 12), 16), std::string("Zephyrmantle\0\0\0\0", 16));
    uint32_t type = 0;
    std::memcpy(&type, info + 28, 4);
    EXPECT_EQ(type, 1u);

    const auto* extended = reinterpret_cast<const uint8_t*>(plugin.plugMain(13, 0, 0));
    ASSERT_EQ(extended, info + 32);
    std::memcpy(words, extended, 8);
    EXPECT_EQ(words[0], 2u);
    EXPECT_EQ(words[1], 1u);
    const char* text = nullptr;
    std::memcpy(&text, extended + 8, 8);
    EXPECT_STREQ(text, "");
    std::memcpy(&text, extended + 16, 8);
    EXPECT_STREQ(text, "Oskvar Labworks");

    ThumbnailInput sizeOnly{ 0, 0, nullptr };
    EXPECT_EQ(static_cast<uint32_t>(plugin.plugMain(42, reinterpret_cast<uint64_t>(&sizeOnly), 0)), 0u);
    EXPECT_EQ(sizeOnly.width, 160u);
    EXPECT_EQ(sizeOnly.height, 120u);

    std::vector<uint8_t> pixels(76800 + 4, 0x5A);
    ThumbnailInput copy{ 0, 0, pixels.data() };
    EXPECT_EQ(static_cast<uint32_t>(plugin.plugMain(42, reinterpret_cast<uint64_t>(&copy), 0)), 0u);
    int opaque = 0;
    for (size_t i = 0; i < 76800; i += 4)
        opaque += pixels[i] == 255 ? 1 : 0;
    EXPECT_EQ(opaque, 160 * 120) << "every pixel's first byte is its alpha";
    EXPECT_EQ(pixels[76800], 0x5A) << "nothing is written past 76,800 bytes";
}
