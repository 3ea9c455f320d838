#include "FileStatus.h"

#ifdef _WIN32
#include "WindowsIncludes.h"
#else
#include <sys/stat.h>
#include <time.h>
#endif

FileStatus::TestStandIns FileStatus::testStandIns;

// JUCE would need three queries for this (existence, time, size) and keeps only whole
// seconds on Linux, where two saves by the host within one second would look like one.
#ifdef _WIN32
FileStatus FileStatus::Of(const juce::File& file) noexcept
{
    WIN32_FILE_ATTRIBUTE_DATA data {};

    if (!GetFileAttributesExW(file.getFullPathName().toWideCharPointer(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {};

    // File times count 100 ns steps from 1601-01-01.
    const auto ticks = ((juce::int64)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
    const auto kind = (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0 ? Kind::otherFile : Kind::plainFile;
    return { kind, ticks / 10000 - 11644473600000LL, ((juce::int64)data.nFileSizeHigh << 32) | data.nFileSizeLow };
}

juce::int64 FileStatus::Now() noexcept
{
    if (testStandIns.now != nullptr)
        return testStandIns.now();

    FILETIME now {};
    GetSystemTimeAsFileTime(&now);
    return (((juce::int64)now.dwHighDateTime << 32) | now.dwLowDateTime) / 10000 - 11644473600000LL;
}
#else
FileStatus FileStatus::Of(const juce::File& file) noexcept
{
    struct stat status
    {
    };

    if (::stat(file.getFullPathName().toRawUTF8(), &status) != 0 || S_ISDIR(status.st_mode))
        return {};

    return { S_ISREG(status.st_mode) ? Kind::plainFile : Kind::otherFile,
             (juce::int64)status.st_mtim.tv_sec * 1000 + status.st_mtim.tv_nsec / 1000000,
             (juce::int64)status.st_size };
}

juce::int64 FileStatus::Now() noexcept
{
    if (testStandIns.now != nullptr)
        return testStandIns.now();

    struct timespec now
    {
    };

    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return (juce::int64)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}
#endif
