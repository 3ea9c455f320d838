#pragma once

#include <string>

/*
    Host files for the Windows tests: finds the Documents folder of the
    current user (inside the Wine prefix when run under Wine) and writes or
    removes the host application's Advanced Output files there, as the host
    itself would.

    Usage:
        WineHostFiles files ("Resolume Arena/");
        files.WriteSettings (WineHostFiles::SettingsWithScreens ({ "Wall", "Floor" }));
        ...
        files.RemoveAll();
*/
class WineHostFiles
{
public:
    /** hostFolder is "Resolume Arena/" or "Resolume Arena 6/" (trailing "/"). */
    explicit WineHostFiles(std::string hostFolder);

    /** The user's Documents folder as Windows reports it (no trailing separator). */
    static std::string DocumentsFolder();

    /** Writes "Preferences/AdvancedOutput.xml" below the host folder; false on failure. */
    bool WriteSettings(const std::string& xml) const;

    /** Writes "Presets/Advanced Output/<name>.xml" below the host folder; false on failure. */
    bool WritePreset(const std::string& name, const std::string& xml);

    /** Removes both files written above (missing files are fine). */
    void RemoveAll() const;

    /** An element holding the given screens, each enabled and with one square slice. */
    static std::string ScreenSetupBody(const std::initializer_list<const char*>& screenNames);

    /** A settings file whose root is itself the screen setup. */
    static std::string SettingsWithScreens(const std::initializer_list<const char*>& screenNames);

    /** A settings file that names a preset. */
    static std::string SettingsNamingPreset(const std::string& presetName);

    /** A preset file with a "ScreenSetup" child holding the given screens. */
    static std::string PresetWithScreens(const std::initializer_list<const char*>& screenNames);

private:
    bool Write(const std::string& relativePath, const std::string& text) const;

    std::string hostFolder;
    std::string presetWritten;
};
