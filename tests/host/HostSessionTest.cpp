#include "FakePluginLog.h"
#include "HostTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
// A session's failure is exactly one line "error: ..." and nothing else on the error stream.
void ExpectOneErrorLine(const SessionResult& result, const std::string& expected)
{
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "error: " + expected + "\n");
}
} // namespace

TEST(HostSession, PrintsInformationAndParameterTable)
{
    const SessionResult result = RunSession({ "--plugin", ZM_FAKE21_PATH, "--info-only" });
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.err.empty());
    for (const char* line :
         { "plug-in     Fake Source\n", "id          FAKE\n", "api         FFGL 2.1\n", "type        1 (source)\n",
           "version     3.7\n", "about       fake about\n", "parameters  5\n", "  0  Fail Frames       boolean     0\n",
           "  2  Mode              option      0  {Red=0, Green Tint=1}\n", "  3  SixteenCharName!  standard    0.25\n",
           "  4  Caption           text        \"hello\"\n" })
        EXPECT_NE(result.out.find(line), std::string::npos) << line << "in:\n" << result.out;
}

TEST(HostSession, RendersTheLastFrameToAPngTopRowFirstWithAlpha)
{
    ScratchFolder scratch;
    const std::string png = scratch.Path("frame.png");
    const SessionResult result = RunSession({ "--plugin", ZM_FAKE21_PATH, "--size", "8x6", "--frames", "3", "--set",
                                              "level=1", "--set", "Mode=Green Tint", "--output", png });
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("wrote       " + png + " (8x6)"), std::string::npos);

    const PngPicture image = LoadPng(png);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.width, 8);
    EXPECT_EQ(image.height, 6);

    EXPECT_EQ(image.At(4, 0, 0), 0);
    EXPECT_EQ(image.At(4, 0, 1), 255);
    EXPECT_EQ(image.At(4, 0, 3), 255);

    // Translucent pixels keep their colour exactly: nothing is premultiplied on the way.
    EXPECT_NEAR(image.At(4, 5, 3), 128, 1);
    EXPECT_EQ(image.At(4, 5, 2), 255);
    EXPECT_EQ(image.At(4, 5, 0), 0);
}

TEST(HostSession, ResizesTheInstanceAndTheFramebuffer)
{
    ScratchFolder scratch;
    const std::string png = scratch.Path("resized.png");
    FakePluginLog log(ZM_FAKE21_PATH);
    const SessionResult result = RunSession(
        { "--plugin", ZM_FAKE21_PATH, "--size", "8x6", "--frames", "2", "--resize", "4x10", "--output", png });
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const PngPicture image = LoadPng(png);
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 10);
    // The fake splits the picture at half of the viewport it was last given.
    EXPECT_NEAR(image.At(0, 4, 0), 128, 1);
    EXPECT_EQ(image.At(0, 5, 0), 0);
    EXPECT_NEAR(image.At(3, 5, 3), 128, 1);

    EXPECT_EQ(log.Count(17), 4u);
    EXPECT_EQ(log.Count(23), 1u);
    EXPECT_EQ(log.Count(18), 1u);
    EXPECT_EQ(log.Count(19), 1u);
    EXPECT_EQ(log.Codes().back(), 2u) << "de-initialised last";
}

TEST(HostSession, DrivesAn15PluginInACompatibilityContext)
{
    ScratchFolder scratch;
    const std::string png = scratch.Path("legacy.png");
    const SessionResult result =
        RunSession({ "--plugin", ZM_FAKE15_PATH, "--size", "4x4", "--set", "Mode=1", "--output", png });
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("api         FFGL 1.5\n"), std::string::npos);
    EXPECT_NE(result.out.find("  2  Mode              option      0  (2 elements)\n"), std::string::npos);
    EXPECT_NEAR(LoadPng(png).At(0, 0, 1), 128, 1);

    // Without element names only numbers select an option.
    ExpectOneErrorLine(RunSession({ "--plugin", ZM_FAKE15_PATH, "--info-only", "--set", "Mode=Red" }),
                       "bad value 'Red' for option parameter 'Mode'");
}

TEST(HostSession, ReportsEachFailureAsOneLine)
{
    ExpectOneErrorLine(RunSession({ "--plugin", ZM_NOENTRY_PATH }), std::string("no plugMain in ") + ZM_NOENTRY_PATH);
    ExpectOneErrorLine(RunSession({ "--plugin", ZM_FAKE21_PATH, "--size", "13x4" }), "instantiate failed (code 18)");
    ExpectOneErrorLine(RunSession({ "--plugin", ZM_FAKE21_PATH, "--info-only", "--set", "Outside=1" }),
                       "unknown parameter 'Outside'");
    ExpectOneErrorLine(RunSession({ "--plugin", ZM_FAKE21_PATH, "--info-only", "--set", "Level=loud" }),
                       "bad value 'loud' for standard parameter 'Level'");
    ExpectOneErrorLine(RunSession({ "--plugin", ZM_FAKE21_PATH, "--size", "4x4", "--output", "/no/such/dir/f.png" }),
                       "cannot write /no/such/dir/f.png: no such folder");
    ExpectOneErrorLine(RunSession({ "--plugin", ZM_FAKE21_PATH, "--home", "/no/such/home" }),
                       "no such folder for --home: /no/such/home");

    const SessionResult missing = RunSession({ "--plugin", "/no/such.so" });
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.rfind("error: cannot load /no/such.so", 0), 0u) << missing.err;
    EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1);
}

TEST(HostSession, TakesTheInstanceDownAfterAFailedFrame)
{
    ScratchFolder scratch;
    const std::string png = scratch.Path("never.png");
    FakePluginLog log(ZM_FAKE21_PATH);
    ExpectOneErrorLine(RunSession({ "--plugin", ZM_FAKE21_PATH, "--size", "4x4", "--frames", "5", "--set",
                                    "fail frames=on", "--output", png }),
                       "frame 1 failed (code 17)");
    EXPECT_EQ(log.Count(17), 1u);
    EXPECT_EQ(log.Count(19), 1u);
    EXPECT_EQ(log.Codes().back(), 2u);
    EXPECT_FALSE(juce::File(png).exists()) << "no picture from a failed run";
}

TEST(HostSession, PointsHomeAtTheGivenFolderBeforeLoading)
{
    HomeGuard guard;
    ScratchFolder scratch;

    const SessionResult result = RunSession({ "--plugin", ZM_FAKE21_PATH, "--info-only", "--home",
                                              scratch.Folder().getFullPathName().toStdString() + "/." });
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(juce::File(home), scratch.Folder()) << "HOME is the resolved folder";
}
