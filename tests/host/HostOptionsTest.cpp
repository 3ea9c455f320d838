#include "HostOptions.h"

#include <gtest/gtest.h>

namespace
{
bool Parse(std::vector<std::string> arguments, HostOptions& options, std::string& error)
{
    return HostOptions::Parse(arguments, options, error);
}
} // namespace

TEST(HostOptions, ReadsEveryOptionInBothSpellings)
{
    HostOptions options;
    std::string error;
    ASSERT_TRUE(Parse({ "--plugin", "p.so", "--home=/h", "--size", "64x48", "--frames=3", "--set", "Inside=0.5",
                        "--set=Hidden Screens=true", "--set", "Name=a=b", "--resize", "10x20", "--output", "o.png",
                        "--info-only" },
                      options, error))
        << error;
    EXPECT_EQ(options.pluginPath, "p.so");
    EXPECT_EQ(options.homeFolder, "/h");
    EXPECT_EQ(options.width, 64u);
    EXPECT_EQ(options.height, 48u);
    EXPECT_EQ(options.frames, 3u);
    ASSERT_EQ(options.settings.size(), 3u);
    EXPECT_EQ(options.settings[0], std::make_pair(std::string("Inside"), std::string("0.5")));
    EXPECT_EQ(options.settings[1], std::make_pair(std::string("Hidden Screens"), std::string("true")));
    EXPECT_EQ(options.settings[2], std::make_pair(std::string("Name"), std::string("a=b")));
    EXPECT_TRUE(options.resize);
    EXPECT_EQ(options.resizeWidth, 10u);
    EXPECT_EQ(options.resizeHeight, 20u);
    EXPECT_EQ(options.outputPath, "o.png");
    EXPECT_TRUE(options.infoOnly);
}

TEST(HostOptions, DefaultsAndHelp)
{
    HostOptions options;
    std::string error;
    ASSERT_TRUE(Parse({ "--plugin", "p.so" }, options, error));
    EXPECT_EQ(options.width, 1920u);
    EXPECT_EQ(options.height, 1080u);
    EXPECT_EQ(options.frames, 1u);
    EXPECT_FALSE(options.resize);
    EXPECT_TRUE(options.outputPath.empty());

    ASSERT_TRUE(Parse({ "--help" }, options, error)) << "help needs no plug-in";
    EXPECT_TRUE(options.help);
}

TEST(HostOptions, RejectsBadSizes)
{
    for (const char* size : { "0x10", "10x0", "abc", "10x", "x10", "10x10x", "16385x1", "-1x5", "10X10", "", " 10x10",
                              "10x10 ", "+5x5", "99999999999x1" })
    {
        HostOptions options;
        std::string error;
        EXPECT_FALSE(Parse({ "--plugin", "p.so", "--size", size }, options, error)) << size;
        EXPECT_NE(error.find("bad --size value"), std::string::npos) << error;
        EXPECT_FALSE(Parse({ "--plugin", "p.so", "--resize", size }, options, error)) << size;
    }

    uint32_t w = 0, h = 0;
    EXPECT_TRUE(HostOptions::ParseSize("16384x1", w, h));
    EXPECT_EQ(w, 16384u);
    EXPECT_EQ(h, 1u);
}

TEST(HostOptions, RejectsMalformedCommandLines)
{
    const std::vector<std::vector<std::string>> cases = {
        { "--plugin" }, // value missing
        { "--plugin", "p.so", "--frames" },
        { "--plugin", "p.so", "--frames", "0" },
        { "--plugin", "p.so", "--frames", "abc" },
        { "--plugin", "p.so", "--frames", "1000001" },
        { "--plugin", "p.so", "--set", "novalue" },
        { "--plugin", "p.so", "--set", "=5" },
        { "--plugin", "p.so", "--bogus" },
        { "--plugin", "p.so", "stray" },
        { "--size", "10x10" }, // no plug-in
    };
    for (const auto& arguments : cases)
    {
        HostOptions options;
        std::string error;
        EXPECT_FALSE(Parse(arguments, options, error)) << arguments.back();
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}
