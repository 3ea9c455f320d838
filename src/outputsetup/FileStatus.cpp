#include "FileStatus.h"

#ifdef _WIN32
#include "WindowsIncludes.h"
#else
#include <sys/stat.h>
#include <time.h>
#endif

FileStatus::TestStandIns FileStatus::testStandIns;

// JUCE would need several queries for this (existence, time, size), keeps only whole
// seconds on Linux and knows neither a file's identity nor its change time.
#ifdef _WIN32
namespace
{
// File times count 100 ns steps from 1601-01-01. Wrapping arithmetic: a time far beyond
// any real one only has to compare equal to itself.
juce::int64 Nanoseconds(juce::uint64 fileTime) noexcept
{
    return (juce::int64)((fileTime - 116444736000000000ULL) * 100ULL);
}

juce::uint64 FileTimeValue(const FILETIME& time) noexcept
{
    return ((juce::uint64)time.dwHighDateTime << 32) | time.dwLowDateTime;
}
} // namespace

FileStatus FileStatus::Of(const juce::File& file) noexcept
{
    // No access asked for: the query never meets the sharing mode of a host writing the
    // file, and the handle reads attributes only.
    const HANDLE handle = CreateFileW(file.getFullPathName().toWideCharPointer(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);

    if (handle == INVALID_HANDLE_VALUE)
        return {};

    BY_HANDLE_FILE_INFORMATION info {};
    FILE_BASIC_INFO basic {};
    const bool known = GetFileInformationByHandle(handle, &info) &&
                       GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof(basic));
    const bool disk = GetFileType(handle) == FILE_TYPE_DISK;
    CloseHandle(handle);

    if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {};

    FileStatus status;
    status.kind = disk && (info.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0 ? Kind::plainFile : Kind::otherFile;
    status.modified = Nanoseconds(FileTimeValue(info.ftLastWriteTime));
    status.changed = Nanoseconds((juce::uint64)basic.ChangeTime.QuadPart);
    status.volume = info.dwVolumeSerialNumber;
    status.identity = ((juce::uint64)info.nFileIndexHigh << 32) | info.nFileIndexLow;
    status.size = (juce::int64)(((juce::uint64)info.nFileSizeHigh << 32) | info.nFileSizeLow);
    return status;
}

juce::int64 FileStatus::Now() noexcept
{
    if (testStandIns.now != nullptr)
        return testStandIns.now();

    // The system time that stamps files, not the precise one: it moves once per tick.
    FILETIME now {};
    GetSystemTimeAsFileTime(&now);
    return Nanoseconds(FileTimeValue(now));
}
#else
namespace
{
juce::int64 Nanoseconds(const struct timespec& time) noexcept
{
    return (juce::int64)((juce::uint64)time.tv_sec * 1000000000ULL + (juce::uint64)time.tv_nsec);
}
} // namespace

FileStatus FileStatus::Of(const juce::File& file) noexcept
{
    struct stat info
    {
    };

    if (::stat(file.getFullPathName().toRawUTF8(), &info) != 0 || S_ISDIR(info.st_mode))
        return {};

    FileStatus status;
    status.kind = S_ISREG(info.st_mode) ? Kind::plainFile : Kind::otherFile;
    status.modified = Nanoseconds(info.st_mtim);
    status.changed = Nanoseconds(info.st_ctim);
    status.volume = (juce::uint64)info.st_dev;
    status.identity = (juce::uint64)info.st_ino;
    status.size = (juce::int64)info.st_size;
    return status;
}

juce::int64 FileStatus::Now() noexcept
{
    if (testStandIns.now != nullptr)
        return testStandIns.now();

    // The coarse clock is the one the kernel stamps files with.
    struct timespec now
    {
    };

    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return Nanoseconds(now);
}
#endif
