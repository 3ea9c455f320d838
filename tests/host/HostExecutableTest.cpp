#include "HostTestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace
{
struct ProcessResult
{
    int exitCode = -1;
    std::string err;
};

ProcessResult RunHost(const std::string& arguments, const ScratchFolder& scratch)
{
    const std::string errPath = scratch.Path("stderr.txt");
    const std::string command =
        std::string("'") + ZM_HOST_EXECUTABLE + "' " + arguments + " > /dev/null 2> '" + errPath + "'";
    const int status = std::system(command.c_str());
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = juce::File(errPath).loadFileAsString().toStdString();
    return result;
}
} // namespace

TEST(HostExecutable, ExitsNonZeroWithOneErrorLine)
{
    ScratchFolder scratch;

    const ProcessResult badSize = RunHost(std::string("--plugin '") + ZM_FAKE21_PATH + "' --size 12by4", scratch);
    EXPECT_EQ(badSize.exitCode, 2);
    EXPECT_EQ(badSize.err,
              "error: bad --size value '12by4' (expected WIDTHxHEIGHT, each 1 to 16384) (--help for usage)\n");

    const ProcessResult noEntry = RunHost(std::string("--plugin '") + ZM_NOENTRY_PATH + "'", scratch);
    EXPECT_EQ(noEntry.exitCode, 1);
    EXPECT_EQ(noEntry.err, std::string("error: no plugMain in ") + ZM_NOENTRY_PATH + "\n");

    const ProcessResult missing = RunHost("--plugin /no/such/library.so", scratch);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.rfind("error: cannot load /no/such/library.so", 0), 0u);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);
}

TEST(HostExecutable, RendersAPng)
{
    ScratchFolder scratch;
    const std::string png = scratch.Path("out.png");
    const ProcessResult run =
        RunHost(std::string("--plugin '") + ZM_FAKE21_PATH + "' --size 5x3 --output '" + png + "'", scratch);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    const PngPicture image = LoadPng(png);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
}
