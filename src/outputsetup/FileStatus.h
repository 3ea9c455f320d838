#pragma once

#include <juce_core/juce_core.h>

/**
    What the reader needs to know of one of the host's files, from a single query of the
    file system: what kind of file it is, when it was last written and how long it is.

    The reader polls the host's files every frame with it, and the XML guard checks a
    file with it before opening it. Two statuses of one file compare equal when neither
    its kind, its time nor its size changed.
*/
struct FileStatus
{
    /** A folder counts as missing; pipes, devices and sockets exist but must not be opened
        (a pipe without a writer would block the host's thread). */
    enum class Kind
    {
        missing,
        plainFile,
        otherFile
    };

    Kind kind = Kind::missing;

    /** Last write in whole milliseconds since 1970 UTC; 0 when missing. */
    juce::int64 modified = 0;

    /** Length in bytes; 0 when missing. */
    juce::int64 size = 0;

    /** Present and not a folder. */
    bool ExistsAsFile() const noexcept { return kind != Kind::missing; }

    /** Queries the file system once. Allocates nothing on Linux, so that polling is free
        when nothing changed. */
    static FileStatus Of(const juce::File& file) noexcept;

    /** The clock the file system stamps files with, in the units of modified: the
        coarse clock that moves once per tick, so that a file written after a call to
        Now() never carries an earlier time. */
    static juce::int64 Now() noexcept;

    /** What tests put in place of the platform, which cannot fail an open or stop the
        clock on demand (the tests run as root). Both null in the plug-in: never set them
        there. */
    struct TestStandIns
    {
        /** Replaces Now(). */
        juce::int64 (*now)() = nullptr;

        /** Asked before the XML guard opens a file; true makes that open fail, as a file
            the host holds locked or a file without read permission would. */
        bool (*openFails)(const juce::File&) = nullptr;
    };

    static TestStandIns testStandIns;

    bool operator==(const FileStatus& other) const noexcept
    {
        return kind == other.kind && modified == other.modified && size == other.size;
    }

    bool operator!=(const FileStatus& other) const noexcept { return !operator==(other); }
};
