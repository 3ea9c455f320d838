// Checks on the delivered FFGL 2.1 plug-in as a host loads it.

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

std::string RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[256];
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr)
        output += buffer;
    pclose(pipe);
    return output;
}

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

struct ThumbnailRequest
{
    uint32_t width;
    uint32_t height;
    void* pixels;
};
} // namespace

TEST(PluginLibrary, ExportsOnlyPlugMain)
{
    const std::string symbols = RunCommand("nm -D --defined-only '" ZM_PLUGIN_PATH "'");
    std::vector<std::string> names;
    size_t start = 0;
    while (start < symbols.size())
    {
        const size_t end = symbols.find('\n', start);
        const std::string line = symbols.substr(start, end - start);
        if (! line.empty())
            names.push_back(line.substr(line.rfind(' ') + 1));
        start = end == std::string::npos ? symbols.size() : end + 1;
    }
    EXPECT_EQ(names, std::vector<std::string>{ "plugMain" }) << symbols;
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

    ThumbnailRequest sizeOnly{ 0, 0, nullptr };
    EXPECT_EQ(static_cast<uint32_t>(plugin.plugMain(42, reinterpret_cast<uint64_t>(&sizeOnly), 0)), 0u);
    EXPECT_EQ(sizeOnly.width, 160u);
    EXPECT_EQ(sizeOnly.height, 120u);

    std::vector<uint8_t> pixels(76800 + 4, 0x5A);
    ThumbnailRequest copy{ 0, 0, pixels.data() };
    EXPECT_EQ(static_cast<uint32_t>(plugin.plugMain(42, reinterpret_cast<uint64_t>(&copy), 0)), 0u);
    int opaque = 0;
    for (size_t i = 0; i < 76800; i += 4)
        opaque += pixels[i] == 255 ? 1 : 0;
    EXPECT_EQ(opaque, 160 * 120) << "every pixel's first byte is its alpha";
    EXPECT_EQ(pixels[76800], 0x5A) << "nothing is written past 76,800 bytes";
}
