#pragma once

#include "ScopedHome.h"

#include <juce_core/juce_core.h>

/**
    Points HOME at a fresh temporary folder for the lifetime of the object, so that the
    reader's Documents folder is one the test owns; restores HOME and deletes the folder
    afterwards. The real home folder is never touched.
*/
class TemporaryHome
{
public:
    TemporaryHome() = default;

    ~TemporaryHome() { folder.deleteRecursively(); }

    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    /** The host's folder below Documents ("Resolume Arena/" or "Resolume Arena 6/"). */
    juce::File HostFolder(bool arena6 = false) const
    {
        return folder.getChildFile(arena6 ? "Documents/Resolume Arena 6" : "Documents/Resolume Arena");
    }

    juce::File SettingsFile(bool arena6 = false) const
    {
        return HostFolder(arena6).getChildFile("Preferences/AdvancedOutput.xml");
    }

    juce::File PresetFile(const juce::String& name, bool arena6 = false) const
    {
        return HostFolder(arena6).getChildFile("Presets/Advanced Output/" + name + ".xml");
    }

    /** Writes text to a file, creating its folders, and gives it the modification time
        base + step seconds (file times are kept in whole seconds on this platform). */
    static void Write(const juce::File& file, const juce::String& text, int step = 0)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText(text, false, false, "\n");
        SetTime(file, step);
    }

    static void SetTime(const juce::File& file, int step)
    {
        file.setLastModificationTime(juce::Time(baseTime + (juce::int64)step * 1000));
    }

    static constexpr juce::int64 baseTime = 1600000000000LL;

    juce::File folder { CreatedFolder() };

private:
    // Unique across parallel test processes.
    static juce::File CreatedFolder()
    {
        auto made = juce::File::getSpecialLocation(juce::File::tempDirectory)
                        .getChildFile("zm-home-" + juce::Uuid().toString());
        made.createDirectory();
        return made;
    }

    ScopedHome home { folder.getFullPathName().toRawUTF8() };
};
