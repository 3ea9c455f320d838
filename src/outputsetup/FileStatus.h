#pragma once

#include <juce_core/juce_core.h>

/**
    What the reader needs to know of one of the host's files, from a single query of the
    file system: what kind of file it is, which file it is, when it was last written and
    changed, and how long it is.

    The reader polls the host's files every frame with it, and the XML guard checks a
    file with it before opening it. Two statuses of one file compare equal when none of
    these changed: a save that keeps the time and the length still shows, as another file
    put in its place (rename) or as a new change time.
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

    /** Last write in nanoseconds since 1970 UTC, to the file system's own resolution;
        0 when missing. */
    juce::int64 modified = 0;

    /** Last change of the file's content or attributes (its ctime on Linux, its change
        time on Windows), in the same units; 0 when missing. */
    juce::int64 changed = 0;

    /** Which file this is: the device and inode on Linux, the volume serial number and
        file index on Windows; 0 when missing. */
    juce::uint64 volume = 0, identity = 0;

    /** Length in bytes; 0 when missing. */
    juce::int64 size = 0;

    /** Present and not a folder. */
    bool ExistsAsFile() const noexcept { return kind != Kind::missing; }

    /** Queries the file system once. Allocates nothing on Linux, so that polling is free
        when nothing changed. */
    static FileStatus Of(const juce::File& file) noexcept;

    /** The clock the file system stamps files with, in the units of modified: the
        coarse clock that moves once per tick, so that a file written after a call to
        Now() never carries an earlier time. Allocates nothing. */
    static juce::int64 Now() noexcept;

    /** What tests put in place of the platform, which cannot fail an open or stop the
        clock on demand (the tests run as root). Both null in the plug-in: never set them
        there. */
    struct TestStandIns
    {
        /** Replaces Now(). */
        juce::int64 (*now)() = nullptr;

        /** Asked each time the XML guard opens a file; true makes that open fail, as a
            file the host holds locked or a file without read permission would. */
        bool (*openFails)(const juce::File&) = nullptr;
    };

    static TestStandIns testStandIns;

    bool operator==(const FileStatus& other) const noexcept
    {
        return kind == other.kind && modified == other.modified && changed == other.changed && volume == other.volume &&
               identity == other.identity && size == other.size;
    }

    bool operator!=(const FileStatus& other) const noexcept { return !operator==(other); }
};
