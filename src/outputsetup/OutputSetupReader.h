#pragma once

#include "FileStatus.h"
#include "ScreenInfo.h"

#include <juce_core/juce_core.h>

#include <limits>
#include <memory>
#include <vector>

/**
    Reads the host's Advanced Output layout into screens and slices, and keeps it current.

    The host keeps its output layout in "Preferences/AdvancedOutput.xml" below its folder
    in the user's Documents folder; that file either holds the layout itself or names a
    preset file under "Presets/Advanced Output/" that does. The reader reads them once on
    construction; call Poll() once per frame to pick up the host's changes, which are found
    by comparing the two files' statuses (FileStatus: times, identity and size; no thread,
    no file watching).

    @code
    OutputSetupReader reader (false);          // "Resolume Arena/"
    for (auto& screen : reader.screens) ...    // read-only
    if (reader.Poll()) ...                     // the layout was read again
    @endcode

    The reader never writes, locks or creates the host's files, never reports anything and
    never throws. What cannot be read gives an empty list of screens, with two exceptions
    in which the screens of the last good read stay: a file that was read before and fails
    to parse now is most likely being written by the host, and stays so until it changes
    again; a file that cannot be opened or read to its end (held locked by the host, no
    permission) is tried again at every poll until it is read.

    A save may keep a file's time and length. Two more rules catch those: a file read
    within the tick of its own modification time may still change within that tick
    without any sign, so it is read once more when that time is safely past; and another
    file put in its place differs in identity.
*/
class OutputSetupReader
{
public:
    /** Reads the host's files at once; the flag picks "Resolume Arena 6/" (true) or
        "Resolume Arena/" (false) as the host's folder. */
    explicit OutputSetupReader(bool useArena6Folder);

    ~OutputSetupReader();

    /** Checks the settings file's and then the preset file's status; when one differs from
        what was last seen, or a file waits to be read again (see above), reads the layout
        again. Returns true when the screens were read again, false when nothing changed or
        when the last screens were kept: a file failed to parse or to open, or the settings
        changed but still name the same, unchanged preset, which is then not read again. A
        file read again only because it waited (its status unchanged) gives true only when
        the screens came out different. Cheap when nothing changed: one query per file, no parsing, no allocation. */
    bool Poll() noexcept;

    /** Reads the layout again from the settings file; no screens when it is missing. A
        preset unchanged since it gave the screens is not read again: it would give them again. */
    void Reload() noexcept;

    /** Reads the given settings file (adopting it as the one to watch) and the preset it
        names, replacing screens with what it finds. A file that has never parsed, or that is
        missing, gives no screens; a file that parsed before and fails now (the host is most
        likely writing it) keeps the screens of the last good read until it changes again,
        and a file that cannot be opened or read whole keeps them until a poll reads it. */
    void LoadSettingsFile(juce::File file) noexcept;

    /** Appends the screens found below a screen-setup element; nullptr reads nothing. */
    void ReadScreenSetup(const juce::XmlElement* screenSetup);

    /** True once a settings file has been examined, whether or not anything was read. */
    bool IsLoaded() const noexcept { return loaded; }

    /** The screens of the last read, in document order. Read only; a Poll() that returns
        true replaces them, so keep no references into it across Poll(). */
    std::vector<ScreenInfo> screens;

private:
    static constexpr juce::int64 never = std::numeric_limits<juce::int64>::max();

    // One of the host's files, as the reader last saw it.
    struct WatchedFile
    {
        juce::File file;                    // empty until a preset is named
        FileStatus status;                  // when last read or polled
        bool parsedBefore = false;          // has given a document since it was adopted
        juce::int64 readAgainAfter = never; // read again once FileStatus::Now() is past this
    };

    bool loaded = false;
    FileStatus presetOfScreens; // the preset's status when it gave the screens; missing when they came from elsewhere
    juce::String hostFolder;
    WatchedFile preset;
    WatchedFile settings;

    static bool HasChanged(WatchedFile&, bool& statusChanged) noexcept;
    static bool SameScreens(const std::vector<ScreenInfo>&, const std::vector<ScreenInfo>&) noexcept;
    static void Adopt(WatchedFile&, const juce::File&);
    static std::unique_ptr<juce::XmlElement> Parse(WatchedFile&, bool& keepScreens);
    bool Reread() noexcept;
    bool Load(const juce::File&) noexcept;
    void ReadFiles(bool& keepScreens, const FileStatus& presetOfLastScreens);

    JUCE_DECLARE_NON_COPYABLE(OutputSetupReader)
};
